// Private to chartlib/src/exports. The handle check every export starts with.
#pragma once
#include "core.h"
#include "qxi32/qxi32.h"

namespace qxi {

// A graph handle that is not live changes nothing and answers 0x80001.
#define QXI_GRAPH(handle)                                   \
    GraphRecord* graph_ptr_ = graph_from_handle(handle);     \
    if (!graph_ptr_)                                         \
        return ERR_INVALID_GRAPH;                            \
    GraphRecord& g = *graph_ptr_

void redraw_all(GraphRecord& g, int redraw);
void redraw_if_visible(GraphRecord& g, int redraw);
void redraw_area(GraphRecord& g, int redraw);
// A setting that enters the layout: re-laid out (auto location) or rescaled.
void layout_setting(GraphRecord& g, int redraw);
void copy_cut(char* dest, size_t size, const char* text);

} // namespace qxi
