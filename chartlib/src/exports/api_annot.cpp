// Exports: references, labels and bookmarks.
#include "api_p.h"
#include "plat/gdi.h"
#include "plat/uihost.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

using namespace plat;
using namespace qxi;

namespace {

// Ids are kept to 11 characters, so a longer id is compared as it is kept.
void cut_id(char (&out)[12], const char* id)
{
    std::memset(out, 0, sizeof out);
    if (id)
        std::strncpy(out, id, 11);
}

template <typename T>
T* find_by_id(std::vector<T>& list, const char* id)
{
    char key[12];
    cut_id(key, id);
    for (T& r : list)
        if (std::strcmp(r.id, key) == 0)
            return &r;
    return nullptr;
}

template <typename T>
bool remove_by_id(std::vector<T>& list, const char* id)
{
    T* r = find_by_id(list, id);
    if (!r)
        return false;
    list.erase(list.begin() + (r - list.data()));
    return true;
}

BookmarkRecord* find_bookmark(GraphRecord& g, int id)
{
    for (auto& b : g.bookmarks)
        if (b.id == id)
            return &b;
    return nullptr;
}

FontSpec label_font()
{
    FontSpec f = default_font();
    f.weight = FW_BOLD;
    return f;
}

} // namespace

extern "C" {

int QXIAddRef(QXGRAPH graph, const char* id, int kind, int pen, int width, double x, double y, double x2, double y2,
              COLORREF colour, int redraw)
{
    QXI_GRAPH(graph);
    if (find_by_id(g.refs, id))
        return report_error(g, code_of(19));
    RefRecord r;
    cut_id(r.id, id);
    r.kind = kind;
    r.pen = pen;
    r.width = width;
    r.x = x;
    r.y = y;
    r.x2 = x2;
    r.y2 = y2;
    r.colour = colour;
    try {
        g.refs.push_back(r);
    } catch (const std::bad_alloc&) {
        return report_error(g, code_of(13));
    }
    if (redraw && window_visible(g))
        redraw_graph(g, 2, 0);
    return 1;
}

int QXIRemoveRef(QXGRAPH graph, const char* id)
{
    QXI_GRAPH(graph);
    return remove_by_id(g.refs, id) ? 1 : report_error(g, code_of(20));
}

int QXIRemoveAllRefs(QXGRAPH graph)
{
    QXI_GRAPH(graph);
    g.refs.clear();
    return 0;
}

int QXIAddLabel(QXGRAPH graph, const char* id, const char* text, int, int placement, double x, double y, int value_a,
                int value_b, COLORREF colour, int redraw)
{
    QXI_GRAPH(graph);
    if (find_by_id(g.labels, id))
        return report_error(g, code_of(21));
    LabelRecord l;
    cut_id(l.id, id);
    copy_cut(l.text, sizeof l.text, text);
    l.font = label_font();
    l.placement = placement;
    l.x = x;
    l.y = y;
    l.value_a = value_a;
    l.value_b = value_b;
    l.colour = colour;
    try {
        g.labels.push_back(l);
    } catch (const std::bad_alloc&) {
        return report_error(g, code_of(13));
    }
    redraw_if_visible(g, redraw);
    return 1;
}

int QXIRemoveLabel(QXGRAPH graph, const char* id)
{
    QXI_GRAPH(graph);
    return remove_by_id(g.labels, id) ? 1 : report_error(g, code_of(22));
}

int QXIRemoveAllLabels(QXGRAPH graph)
{
    QXI_GRAPH(graph);
    g.labels.clear();
    return 0;
}

int QXISetLabelXY(QXGRAPH graph, const char* id, double x, double y, int redraw)
{
    QXI_GRAPH(graph);
    LabelRecord* l = find_by_id(g.labels, id);
    if (!l)
        return report_error(g, code_of(22));
    l->x = x;
    l->y = y;
    redraw_if_visible(g, redraw);
    return 1;
}

int QXISetLabelText(QXGRAPH graph, const char* id, const char* text, int redraw)
{
    QXI_GRAPH(graph);
    LabelRecord* l = find_by_id(g.labels, id);
    if (!l)
        return report_error(g, code_of(22));
    copy_cut(l->text, sizeof l->text, text);
    redraw_if_visible(g, redraw);
    return 1;
}

int QXIAddBookmark(QXGRAPH graph, int id, double x, const char*, int value, int redraw)
{
    QXI_GRAPH(graph);
    int col = px_x(g, x) - g.cur_off;
    if (BookmarkRecord* b = find_bookmark(g, id)) {
        long n = std::strtol(b->text, nullptr, 10);
        std::snprintf(b->text, sizeof b->text, "%ld", n + 1);
        return 0;
    }
    if (int(g.bookmarks.size()) >= MAX_BOOKMARKS) {
        MessageBox(g.window, "The number of bookmarks may not exceed 100", "Korimatx", MB_ICONINFORMATION);
        return 1;
    }
    BookmarkRecord b;
    b.id = id;
    double bx = value_of_px_x(g, double(col) + g.cur_off);
    b.x = std::isfinite(bx) ? std::round(bx) : 0.0;
    std::strcpy(b.text, "1");
    b.value = value;
    double whole = std::trunc(x);
    b.whole_x = std::isfinite(whole) ? int32_t(std::clamp(whole, -2147483648.0, 2147483647.0)) : 0;
    try {
        g.bookmarks.push_back(b);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    if (redraw && window_visible(g)) {
        RECT strip = bookmark_strip(g);
        invalidate(g, &strip, true);
    }
    return 0;
}

int QXIRemoveBookmark(QXGRAPH graph, int id, int redraw)
{
    QXI_GRAPH(graph);
    BookmarkRecord* b = find_bookmark(g, id);
    if (!b)
        return 1;
    g.bookmarks.erase(g.bookmarks.begin() + (b - g.bookmarks.data()));
    redraw_if_visible(g, redraw);
    return 0;
}

int QXIRemoveAllBookmarks(QXGRAPH graph, int redraw)
{
    QXI_GRAPH(graph);
    g.bookmarks.clear();
    if (redraw) {
        RECT strip = bookmark_strip(g);
        invalidate(g, &strip, true);
    }
    return 0;
}

int QXIGotoBookmark(QXGRAPH graph, int id, int)
{
    QXI_GRAPH(graph);
    return find_bookmark(g, id) ? 0 : 1;
}

int QXIGetBookmark(QXGRAPH graph, int index, int* id, double* x, char* text)
{
    QXI_GRAPH(graph);
    if (index < 0 || index >= int(g.bookmarks.size()))
        return 1;
    const BookmarkRecord& b = g.bookmarks[size_t(index)];
    if (id)
        *id = b.id;
    if (x)
        *x = b.x;
    if (text)
        copy_cut(text, QX_BOOKMARK_TEXT_SIZE, b.text);
    return 0;
}

int QXISetBookmarkRemark(QXGRAPH graph, int id, const char* text)
{
    QXI_GRAPH(graph);
    BookmarkRecord* b = find_bookmark(g, id);
    if (!b)
        return 1;
    copy_cut(b->text, sizeof b->text, text);
    return 0;
}

} // extern "C"
