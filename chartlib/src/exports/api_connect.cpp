// Exports: the connectivity road. Nothing here makes a connection; a set
// that has one exchanges its data through the connectivity library.
#include "api_p.h"
#include "dvec.h"
#include <cstring>

using namespace plat;
using namespace qxi;

extern "C" {

int QXIConnectGraphSet(QXGRAPH graph, intptr_t, intptr_t, intptr_t, intptr_t)
{
    QXI_GRAPH(graph);
    (void)g;
    return 1;
}

int QXIDriverConnectGraphSet(QXGRAPH graph, intptr_t, intptr_t)
{
    QXI_GRAPH(graph);
    (void)g;
    return 1;
}

int QXIDisconnectGraphSet(QXGRAPH graph, intptr_t, intptr_t, intptr_t)
{
    QXI_GRAPH(graph);
    (void)g;
    return 0;
}

int QXISetGraphSetConnectParam(QXGRAPH graph, intptr_t, intptr_t, intptr_t, intptr_t)
{
    QXI_GRAPH(graph);
    (void)g;
    return 1;
}

int QXIGetGraphSetConnectParam(QXGRAPH graph, intptr_t, intptr_t, intptr_t, intptr_t)
{
    QXI_GRAPH(graph);
    (void)g;
    return 1;
}

int QXILoadGraphSetData(QXGRAPH graph, int set_id, const char* source, int redraw)
{
    QXI_GRAPH(graph);
    SetRecord* s = find_set(g, set_id);
    if (!s)
        return report_error(g, code_of(5));
    if (!s->connection)
        return report_error(g, code_of(3));
    int32_t error;
    using GetData = int (*)(int32_t, const char*, HGLOBAL*, HGLOBAL*);
    auto f = reinterpret_cast<GetData>(connect_function("QXLGetData", error));
    if (!f)
        return report_error(g, error);
    HGLOBAL x = 0, y = 0;
    int r = f(s->connection, source ? source : "", &x, &y);
    s = find_set(g, set_id);
    if (uint32_t(r) >= 0x10000)
        return report_error(g, r);
    if (!s || (!x && !y))
        return 1;
    free_set_data(*s);
    s->y = y;
    s->count = y ? vec_count(y) : vec_count(x);
    s->x = x;
    if (!x && y && g.default_x) {
        s->x = vec_create(g.ax[0].data_type, s->count);
        VecLock v(s->x);
        for (int i = 0; v && i < s->count; ++i)
            v.set(i, i);
    }
    refresh_extents(g);
    s->connection_text[0] = 0;
    copy_cut(s->source_text, sizeof s->source_text, source);
    redraw_if_visible(g, redraw);
    return 1;
}

int QXISetGraphSetData(QXGRAPH graph, int set_id, int)
{
    QXI_GRAPH(graph);
    SetRecord* s = find_set(g, set_id);
    if (!s)
        return report_error(g, code_of(5));
    if (!s->connection)
        return report_error(g, code_of(3));
    int32_t error;
    using SetData = int (*)(int32_t, HGLOBAL, HGLOBAL);
    auto f = reinterpret_cast<SetData>(connect_function("QXLSetData", error));
    if (!f)
        return report_error(g, error);
    int r = f(s->connection, s->x, s->y);
    return r == 0 ? 1 : report_error(g, r);
}

} // extern "C"
