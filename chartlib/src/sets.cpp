// Graph sets: lookup, ownership of their vectors, points and data extents.
#include "core.h"
#include "dvec.h"
#include <algorithm>
#include <cmath>
#include <new>

namespace qxi {

SetRecord* find_set(GraphRecord& g, int id)
{
    for (auto& s : g.sets)
        if (s->id == id)
            return s.get();
    return nullptr;
}

int set_position(const GraphRecord& g, int id)
{
    for (size_t i = 0; i < g.sets.size(); ++i)
        if (g.sets[i]->id == id)
            return int(i);
    return -1;
}

void free_set_data(SetRecord& s)
{
    if (s.x)
        vec_free(s.x);
    if (s.y)
        vec_free(s.y);
    s.x = s.y = 0;
    s.count = 0;
}

namespace {

int point_count_of(plat::HGLOBAL x, plat::HGLOBAL y)
{
    if (x && y)
        return std::min(vec_count(x), vec_count(y));
    if (x)
        return vec_count(x);
    if (y)
        return vec_count(y);
    return 0;
}

} // namespace

int32_t add_set(GraphRecord& g, int id, plat::HGLOBAL x, plat::HGLOBAL y)
{
    delete_set(g, id);
    std::unique_ptr<SetRecord> s(new (std::nothrow) SetRecord);
    if (!s)
        return code_of(13);
    s->id = id;
    s->x = x;
    s->y = y;
    s->count = point_count_of(x, y);
    try {
        g.sets.push_back(std::move(s));
    } catch (const std::bad_alloc&) {
        // The record goes with `s`; the caller keeps its vectors.
        return code_of(13);
    }
    refresh_extents(g);
    return 0;
}

void delete_set(GraphRecord& g, int id)
{
    int pos = set_position(g, id);
    if (pos < 0)
        return;
    SetRecord& s = *g.sets[size_t(pos)];
    free_set_data(s);
    disconnect_set(s);
    g.sets.erase(g.sets.begin() + pos);
}

int32_t grow_set(GraphRecord& g, SetRecord& s, int64_t n)
{
    if (n < 1 || n > INT32_MAX)
        return code_of(1);
    plat::HGLOBAL nx = 0, ny = 0;
    int old = s.count;
    // Both vectors first, so a failure leaves the set as it was.
    if (!s.x) {
        nx = vec_create(g.ax[0].data_type, n);
        if (!nx)
            return code_of(1);
    }
    if (!s.y) {
        ny = vec_create(g.ax[1].data_type, n);
        if (!ny) {
            vec_free(nx);
            return code_of(1);
        }
    }
    if ((s.x && !vec_resize(s.x, n)) || (s.y && !vec_resize(s.y, n))) {
        vec_free(nx);
        vec_free(ny);
        return code_of(1);
    }
    if (nx)
        s.x = nx;
    if (ny)
        s.y = ny;
    if (g.default_x) {
        VecLock vx(s.x);
        for (int64_t i = nx ? 0 : old; vx && i < n; ++i)
            vx.set(int(i), double(i));
    }
    s.count = int(n);
    return 0;
}

namespace {

void widen(Axis& a, double v)
{
    if (!std::isfinite(v))
        return;
    if (v > a.ext_max)
        a.ext_max = v;
    if (v < a.ext_min)
        a.ext_min = v;
}

} // namespace

void set_point(GraphRecord& g, SetRecord& s, int index, const double* x, const double* y)
{
    if (index < 0 || index >= s.count)
        return;
    double xv = 0;
    bool has_x = false;
    if (x) {
        xv = *x;
        has_x = true;
    } else if (g.default_x) {
        xv = index;
        has_x = true;
    }
    if (has_x) {
        VecLock vx(s.x);
        if (vx && index < vx.count()) {
            vx.set(index, xv);
            xv = vx.get(index);
        }
    }
    double yv = 0;
    if (y) {
        VecLock vy(s.y);
        if (vy && index < vy.count()) {
            vy.set(index, *y);
            yv = vy.get(index);
        }
    }
    if (g.ax[0].min_max_scale != 2 || g.ax[1].min_max_scale != 2) {
        if (has_x && g.ax[0].min_max_scale != 2)
            widen(g.ax[0], xv);
        if (y && g.ax[1].min_max_scale != 2)
            widen(g.ax[1], yv);
        rescale(g);
        scroller_range(g, SCROLL_DATA);
    }
}

bool data_x_bounds(const GraphRecord& g, double& first, double& last)
{
    bool any = false;
    for (const auto& s : g.sets) {
        if (s->count <= 0 || !s->x)
            continue;
        VecLock v(s->x);
        if (!v || v.count() <= 0)
            continue;
        int n = std::min(v.count(), s->count);
        double f = v.get(0), l = v.get(n - 1);
        if (!std::isfinite(f) || !std::isfinite(l))
            continue;
        if (!any) {
            first = f;
            last = l;
            any = true;
        } else {
            first = std::min(first, f);
            last = std::max(last, l);
        }
    }
    return any;
}

void compute_extents(GraphRecord& g, int axis)
{
    double lo = EMPTY_MIN, hi = EMPTY_MAX;
    bool any = false;
    auto take = [&](double v) {
        if (!std::isfinite(v))
            return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        any = true;
    };
    for (const auto& s : g.sets) {
        plat::HGLOBAL h = axis == 0 ? s->x : s->y;
        if (h && s->count > 0) {
            VecLock v(h);
            int n = v ? std::min(v.count(), s->count) : 0;
            if (axis == 0 && g.assume_x != 0 && n > 0) {
                take(v.get(0));
                take(v.get(n - 1));
            } else {
                for (int i = 0; i < n; ++i)
                    take(v.get(i));
            }
        }
        if (axis == 1 && s->hint) {
            take(s->hint_min);
            take(s->hint_max);
        }
    }
    if (any) {
        g.ax[axis].ext_min = lo;
        g.ax[axis].ext_max = hi;
    }
}

void refresh_extents(GraphRecord& g)
{
    if (g.ax[0].min_max_scale != 2)
        compute_extents(g, 0);
    if (g.ax[1].min_max_scale != 2)
        compute_extents(g, 1);
    if (g.ax[0].min_max_scale != 2 || g.ax[1].min_max_scale != 2)
        rescale(g);
    compute_mapping(g);
    scroller_range(g, SCROLL_DATA);
}

void fit_points(GraphRecord& g)
{
    for (int axis = 0; axis < 2; ++axis) {
        Axis& a = g.ax[axis];
        double keep_min = a.ext_min, keep_max = a.ext_max;
        a.ext_min = EMPTY_MIN;
        a.ext_max = EMPTY_MAX;
        compute_extents(g, axis);
        if (a.ext_min != EMPTY_MIN && a.ext_max != EMPTY_MAX) {
            a.view_min = a.ext_min;
            a.view_max = a.ext_max;
        }
        if (a.min_max_scale == 2) {
            a.ext_min = keep_min;
            a.ext_max = keep_max;
        }
    }
    rescale(g);
    scroller_range(g, SCROLL_VIEW);
}

} // namespace qxi
