// Private to chartlib/src. What the parts of the library call on each other:
// graph table, errors, set operations, layout over the real fonts, redraws.
#pragma once
#include "graph.h"
#include "layout.h"
#include "plat/crt.h"
#include <cstdint>

namespace qxi {

inline constexpr int32_t code_of(int index) { return (index << 16) | 1; }
inline constexpr int32_t ERR_INVALID_GRAPH = code_of(8);

// ---- graph table (handles with generation bits) --------------------------
uint32_t graph_register(std::unique_ptr<GraphRecord> g);
GraphRecord* graph_from_handle(uint32_t handle);
std::unique_ptr<GraphRecord> graph_release(uint32_t handle);
GraphRecord* graph_of_window(plat::HWND window);
bool graph_registry_exists();

// ---- errors ---------------------------------------------------------------
// Stores the code and its text in the graph and shows it in run mode 1;
// returns the code.
int32_t report_error(GraphRecord& g, int32_t code);
void register_library_module();
plat::HINSTANCE library_instance();

// ---- sets -----------------------------------------------------------------
SetRecord* find_set(GraphRecord& g, int id);
int set_position(const GraphRecord& g, int id);
void free_set_data(SetRecord& s);
// 0, or the ErrorCode of the failure.
int32_t add_set(GraphRecord& g, int id, plat::HGLOBAL x, plat::HGLOBAL y);
void delete_set(GraphRecord& g, int id);
int32_t grow_set(GraphRecord& g, SetRecord& s, int64_t n);
void set_point(GraphRecord& g, SetRecord& s, int index, const double* x, const double* y);
// Extents of the modes that track them, automatic scales, mapping, and the
// scroller range after a data change.
void refresh_extents(GraphRecord& g);
void compute_extents(GraphRecord& g, int axis);
void fit_points(GraphRecord& g);
void disconnect_set(SetRecord& s);

// ---- layout with the real fonts ---------------------------------------------
Measure& gdi_measure();
// Client size, area, mapping, scales, titles.
void relayout(GraphRecord& g);
void rescale(GraphRecord& g);
plat::HFONT make_font(const FontSpec& f);
FontSpec font_from_handle(plat::HFONT font);

// ---- window side ------------------------------------------------------------
enum ScrollVariant { SCROLL_DATA, SCROLL_VIEW, SCROLL_RESIZE };
void scroller_create(GraphRecord& g);
void scroller_destroy(GraphRecord& g);
void scroller_range(GraphRecord& g, ScrollVariant v);
void scroller_show(GraphRecord& g);
void scroller_place(GraphRecord& g);
void scroll_by(GraphRecord& g, int d);
int scroll_step(GraphRecord& g, double step);
void tracer_rebuild(GraphRecord& g);
bool window_visible(const GraphRecord& g);
void invalidate(GraphRecord& g, const RECT* r, bool erase);
void redraw_graph(GraphRecord& g, int mode, int id);
void repaint_now(GraphRecord& g, const RECT* r);
// false when the caller's procedure must not see the message (WM_PAINT).
bool graph_message(GraphRecord& g, plat::UINT msg, plat::WPARAM wp, plat::LPARAM lp);

// ---- painting -----------------------------------------------------------------
// Paints the layers of `mask` into `dc` over the client rectangle `client`.
void paint_layers(GraphRecord& g, plat::HDC dc, const RECT& client, int mask, bool printer);
// Draws points first..last (-1: to the last) of set index `set` straight into dc.
void draw_set(GraphRecord& g, plat::HDC dc, int set, int first, int last, bool printer);

// ---- annotations ----------------------------------------------------------------
RECT bookmark_strip(const GraphRecord& g);
int bookmark_hit(GraphRecord& g, int x, int y);
void glyph_size(int& w, int& h);
inline constexpr int GLYPH_BITMAP_ID = 103;
inline constexpr COLORREF GLYPH_KEY = 0xFF00FF;
// The glyph's pixels, read from bitmap 103 when a graph is created.
void glyph_load(GraphRecord& g);

// ---- sample graphs -------------------------------------------------------------
inline constexpr int SAMPLE_POINTS = 300;
// The points of a sample wave over the view; `random` serves the random wave.
void sample_wave(int wave, int id, double x0, double x1, double y0, double y1, double* xs, double* ys,
                 plat::Lcg& random);

// ---- connectivity ----------------------------------------------------------------
void connect_remember_instance(plat::HINSTANCE instance);
// The library stays loaded once it was (one per process).
bool connect_loaded();
// The connectivity library's function, or null with the ErrorCode in `error`.
void* connect_function(const char* name, int32_t& error);

} // namespace qxi
