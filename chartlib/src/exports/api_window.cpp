// Exports: the window procedures and the sample graphs.
#include "api_p.h"
#include "dvec.h"
#include "plat/clock.h"
#include "plat/crt.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <cmath>
#include <cstring>

using namespace plat;
using namespace qxi;

namespace {

// The sample graphs' own random stream; the simulator's is never touched.
Lcg& sample_random()
{
    static Lcg lcg{uint32_t(crt_time())};
    return lcg;
}

} // namespace

extern "C" {

LRESULT QXIDefWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    GraphRecord* g = graph_of_window(hwnd);
    if (!g)
        return DefWindowProc(hwnd, msg, wp, lp);
    WNDPROC prev = g->prev_proc;
    if (!graph_message(*g, msg, wp, lp))
        return 1;
    // The graph may have been destroyed by a handler the message reached.
    if (GraphRecord* still = graph_of_window(hwnd))
        prev = still->prev_proc;
    return prev ? CallWindowProc(prev, hwnd, msg, wp, lp) : DefWindowProc(hwnd, msg, wp, lp);
}

LRESULT TestWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc) {
            TextOut(dc, 0, 3, "Test", 4);
            EndPaint(hwnd, &ps);
        }
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

int QXISetSampleGraph(QXGRAPH graph, int set_id, int wave, int redraw)
{
    QXI_GRAPH(graph);
    SetRecord* s = find_set(g, set_id);
    if (!s)
        return 0;
    if (wave == 0) {
        free_set_data(*s);
        refresh_extents(g);
    } else {
        constexpr int N = SAMPLE_POINTS;
        double x0 = g.ax[0].view_min, x1 = g.ax[0].view_max, y0 = g.ax[1].view_min, y1 = g.ax[1].view_max;
        HGLOBAL hx = vec_create(g.ax[0].data_type, N), hy = vec_create(g.ax[1].data_type, N);
        if (!hx || !hy) {
            vec_free(hx);
            vec_free(hy);
            return report_error(g, code_of(13));
        }
        {
            VecLock vx(hx), vy(hy);
            double xs[SAMPLE_POINTS], ys[SAMPLE_POINTS];
            sample_wave(wave, set_id, x0, x1, y0, y1, xs, ys, sample_random());
            for (int i = 0; i < N; ++i) {
                vx.set(i, xs[i]);
                vy.set(i, ys[i]);
            }
        }
        s->hint = 1;
        s->hint_min = y0;
        s->hint_max = y1;
        free_set_data(*s);
        s->x = hx;
        s->y = hy;
        s->count = N;
        refresh_extents(g);
    }
    if (redraw && window_visible(g)) {
        if (g.ax[0].min_max_scale == 2 && g.ax[1].min_max_scale == 2)
            redraw_graph(g, 2, 0);
        else
            invalidate(g, nullptr, false);
    }
    return 0;
}

} // extern "C"
