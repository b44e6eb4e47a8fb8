// Drawing helpers: the graphics layer (one current drawing view) and the
// stateless routines that draw into a caller's device context.
#pragma once
#include "plat/gdi.h"
#include "plat/types.h"
#include <cstdint>
#include <string>

// The text background that means "transparent" to gfx_draw_text.
inline constexpr plat::COLORREF GFX_TRANSPARENT = 0x80000000u;

struct GraphicsView {
    plat::HWND window = 0;
    plat::HDC dc = 0;
    int32_t fill_style = 1;
    plat::COLORREF fill_color = 0x000000;
    plat::COLORREF line_color = 0xFFFFFF;
    plat::COLORREF text_color = 0x000000;
    plat::COLORREF text_back_color = 0xFFFFFF;
    plat::HFONT previous_font = 0;
    bool font_selected = false;
};

plat::COLORREF index_to_color(int index);
int color_to_index(plat::COLORREF color);

// The layer's three fonts: 0 bold 8 points, 1 normal 8, 2 normal 6.
void gfx_create_fonts(const char* face0, const char* face1, const char* face2);
void gfx_delete_fonts();
// 0, 1 and 2 name the layer's fonts; any other value is a font handle.
plat::HFONT gfx_font(plat::HFONT index_or_font);

GraphicsView* gfx_open_view(plat::HWND window);
void gfx_select_window(plat::HWND window);
void gfx_release_window(plat::HWND window);
void gfx_free_view(GraphicsView* view);
GraphicsView* gfx_view();
void gfx_set_line_color(plat::COLORREF color);
void gfx_set_text_color(plat::COLORREF color);
void gfx_set_text_back_color(plat::COLORREF color);
void gfx_set_fill(int style, plat::COLORREF color);
void gfx_select_font(plat::HFONT index_or_font);
void gfx_line(int x1, int y1, int x2, int y2);
void gfx_move_to(int x, int y);
void gfx_line_to(int x, int y);
void gfx_line_to_width(int x, int y, int width);
void gfx_thick_line_to(int x, int y, int thickness);
void gfx_fill_rect(int left, int top, int right, int bottom);
void gfx_frame_rect(int left, int top, int right, int bottom);
void gfx_circle(int x, int y, int diameter);
void gfx_flood_fill(int x, int y, plat::COLORREF boundary);
void gfx_text(int x, int y, const char* text);
int gfx_current_x();
int gfx_current_y();
plat::SIZE gfx_text_extent(const char* text);
void gfx_draw_text(const char* text, int x, int y, plat::COLORREF text_color, plat::COLORREF back_color, int width);
void gfx_draw_box(int x, int y, int width, int height, plat::COLORREF color);
void gfx_draw_pane_frame(int x, int y, int width, int height);

void draw_line(plat::HDC dc, int x1, int y1, int x2, int y2, plat::COLORREF color, int width);
void draw_dotted_line(plat::HDC dc, int x1, int y1, int x2, int y2, plat::COLORREF color);
void draw_small_arrow(plat::HDC dc, int x, int y, plat::COLORREF color);
void draw_frame(plat::HDC dc, const plat::RECT& rect, plat::COLORREF color, int thickness);
void frame_rect(plat::HDC dc, const plat::RECT& rect, plat::COLORREF color, int thickness);
// style 0 sunken, 1 raised, other black.
void draw_3d_border(plat::HDC dc, int left, int top, int right, int bottom, int thickness, int style);
void draw_3d_frame(plat::HDC dc, int left, int top, int right, int bottom, int thickness, int style);
void draw_styled_frame(plat::HDC dc, int left, int top, int right, int bottom, int thickness, int style);
void draw_button_frame(plat::HDC dc, int left, int top, int right, int bottom, bool pressed);
void draw_push_face(plat::HDC dc, int left, int top, int right, int bottom, bool pressed, bool black_outline);
void draw_tab_edge(plat::HDC dc, int left, int bottom, int right, int top);
void draw_filled_rect(plat::HDC dc, int x, int y, int width, int height, plat::COLORREF fill, plat::COLORREF border);
void fill_rect(plat::HDC dc, int x, int y, int width, int height, plat::COLORREF fill, plat::COLORREF border);
void blit_bitmap(plat::HDC dc, int x, int y, plat::HBITMAP bitmap, plat::DWORD rop);
plat::HBITMAP save_dc_rect(plat::HDC dc, const plat::RECT& rect);
void restore_dc_rect(plat::HBITMAP bitmap, plat::HDC dc, const plat::RECT& rect);
// Height -(points x dpi / 72); weight 700 bold, else 100; turned: upside down.
plat::HFONT make_font(const char* face, int points, bool bold, bool italic, bool underline, bool strikeout,
                      bool turned);
plat::HFONT create_font(const char* face, int points, bool bold, bool italic, bool underline, bool strikeout);
int font_points_of(const plat::LOGFONT& font);

// A made font selected into a device context for the object's lifetime.
class ScopedFont {
public:
    ScopedFont(plat::HDC dc, const char* face, int points, bool bold);
    ~ScopedFont();
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

private:
    plat::HDC dc_;
    plat::HFONT font_ = 0;
    plat::HGDIOBJ old_ = 0;
};
// A solid rectangle, a one-pixel line and a line of text in one colour.
void dc_fill(plat::HDC dc, const plat::RECT& r, plat::COLORREF colour);
void dc_line(plat::HDC dc, int x1, int y1, int x2, int y2, plat::COLORREF colour);
void dc_text(plat::HDC dc, int x, int y, const std::string& text, plat::COLORREF colour);
// Height in the high 16 bits, width in the low 16 bits.
uint32_t text_extent(plat::HDC dc, const char* text, int length);
plat::SIZE unpack_extent(uint32_t packed);

struct LabelStyle {
    std::string text;
    int points = 8;
    bool bold = false;
    bool italic = false;
    plat::COLORREF color = 0x000000;
};
// "text#12#B#C-9": the text, then directives (size, B, I, C-<palette index>).
LabelStyle parse_label(const char* label);
// Draws (unless measure_only) and measures the label's text; packed extent,
// height at least 8.
uint32_t draw_label(plat::HDC dc, const char* label, int x, int y, bool measure_only);
