// The graphics layer and the stateless drawing routines.
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "host_p.h"
#include "plat/window.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace plat;

namespace {

constexpr COLORREF kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                   0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kLightGrey = 0xC0C0C0;
constexpr COLORREF kBlack = 0x000000;

GraphicsView* g_view = nullptr;
HFONT g_fonts[3] = {0, 0, 0};

// A filled run of pixels (half-open rectangle) in one colour.
void paint(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    if (right <= left || bottom <= top)
        return;
    const HBRUSH brush = CreateSolidBrush(color);
    if (brush == 0)
        return;
    const RECT r{left, top, right, bottom};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void hline(HDC dc, int x1, int x2, int y, COLORREF c) { paint(dc, x1, y, x2 + 1, y + 1, c); }
void vline(HDC dc, int x, int y1, int y2, COLORREF c) { paint(dc, x, y1, x + 1, y2 + 1, c); }

// One bevel of a half-open rectangle: top and left in one colour, bottom and
// right in another, the bottom-left and top-right corners light grey.
void bevel(HDC dc, int left, int top, int right, int bottom, COLORREF top_left, COLORREF bottom_right)
{
    if (right - left < 1 || bottom - top < 1)
        return;
    hline(dc, left, right - 1, top, top_left);
    vline(dc, left, top, bottom - 1, top_left);
    hline(dc, left, right - 1, bottom - 1, bottom_right);
    vline(dc, right - 1, top, bottom - 1, bottom_right);
    SetPixel(dc, left, bottom - 1, kLightGrey);
    SetPixel(dc, right - 1, top, kLightGrey);
}

void bevels(HDC dc, int left, int top, int right, int bottom, int thickness, int style)
{
    for (int k = 0; k < thickness; ++k) {
        const COLORREF tl = style == 0 ? kGrey : style == 1 ? kWhite : kBlack;
        const COLORREF br = style == 0 ? kWhite : style == 1 ? kGrey : kBlack;
        bevel(dc, left + k, top + k, right - k, bottom - k, tl, br);
    }
}

// Runs f with a solid pen of the colour and width selected, then restores.
template <class F>
void with_pen(HDC dc, COLORREF color, int width, F f)
{
    const HPEN pen = CreatePen(PS_SOLID, width, color);
    if (pen == 0)
        return;
    const HGDIOBJ old = SelectObject(dc, pen);
    f();
    SelectObject(dc, old);
    DeleteObject(pen);
}

} // namespace

COLORREF index_to_color(int index) { return index >= 0 && index < 16 ? kPalette[index] : 0; }

int color_to_index(COLORREF color)
{
    for (int i = 0; i < 16; ++i)
        if (kPalette[i] == color)
            return i;
    return 0;
}

void gfx_create_fonts(const char* face0, const char* face1, const char* face2)
{
    gfx_delete_fonts();
    g_fonts[0] = create_font(face0, 8, true, false, false, false);
    g_fonts[1] = create_font(face1, 8, false, false, false, false);
    g_fonts[2] = create_font(face2, 6, false, false, false, false);
}

void gfx_delete_fonts()
{
    for (HFONT& f : g_fonts) {
        if (f != 0)
            DeleteObject(f);
        f = 0;
    }
}

HFONT gfx_font(HFONT index_or_font) { return index_or_font <= 2 ? g_fonts[index_or_font] : index_or_font; }

GraphicsView* gfx_open_view(HWND window)
{
    auto* view = new (std::nothrow) GraphicsView{};
    if (view == nullptr) {
        fhost::message_box(0, "Fail to Create view", "Graphics", fhost::BOX_ICONSTOP);
        return nullptr;
    }
    view->window = window;
    view->dc = GetDC(window);
    if (view->dc == 0) {
        fhost::message_box(0, "Fail to Create dc for view", "Graphics", fhost::BOX_ICONSTOP);
        delete view;
        return nullptr;
    }
    g_view = view;
    gfx_select_font(0);
    return view;
}

void gfx_select_window(HWND window)
{
    if (g_view != nullptr && g_view->window == window)
        return;
    if (g_view != nullptr)
        gfx_free_view(g_view);
    gfx_open_view(window);
}

void gfx_release_window(HWND window)
{
    if (g_view != nullptr && g_view->window == window)
        gfx_free_view(g_view);
}

void gfx_free_view(GraphicsView* view)
{
    if (view == nullptr)
        return;
    if (view->font_selected)
        SelectObject(view->dc, view->previous_font);
    ReleaseDC(view->window, view->dc);
    if (g_view == view)
        g_view = nullptr;
    delete view;
}

GraphicsView* gfx_view() { return g_view; }

void gfx_set_line_color(COLORREF color)
{
    if (g_view != nullptr)
        g_view->line_color = color;
}

void gfx_set_text_color(COLORREF color)
{
    if (g_view != nullptr)
        g_view->text_color = color;
}

void gfx_set_text_back_color(COLORREF color)
{
    if (g_view != nullptr)
        g_view->text_back_color = color;
}

void gfx_set_fill(int style, COLORREF color)
{
    if (g_view == nullptr)
        return;
    g_view->fill_style = style;
    g_view->fill_color = color;
}

void gfx_select_font(HFONT index_or_font)
{
    if (g_view == nullptr)
        return;
    const HFONT font = gfx_font(index_or_font);
    if (font == 0)
        return;
    const HGDIOBJ old = SelectObject(g_view->dc, font);
    if (!g_view->font_selected) {
        g_view->previous_font = old;
        g_view->font_selected = true;
    }
}

void gfx_line(int x1, int y1, int x2, int y2)
{
    if (g_view == nullptr)
        return;
    draw_line(g_view->dc, x1, y1, x2, y2, g_view->line_color, 1);
    MoveToEx(g_view->dc, x2, y2, nullptr);
}

void gfx_move_to(int x, int y)
{
    if (g_view != nullptr)
        MoveToEx(g_view->dc, x, y, nullptr);
}

void gfx_line_to(int x, int y) { gfx_line_to_width(x, y, 1); }

void gfx_line_to_width(int x, int y, int width)
{
    if (g_view == nullptr)
        return;
    with_pen(g_view->dc, g_view->line_color, width, [&] { LineTo(g_view->dc, x, y); });
}

void gfx_thick_line_to(int x, int y, int thickness)
{
    if (g_view == nullptr)
        return;
    POINT from{};
    GetCurrentPositionEx(g_view->dc, &from);
    const HDC dc = g_view->dc;
    with_pen(dc, g_view->line_color, 1, [&] {
        MoveToEx(dc, from.x, from.y, nullptr);
        LineTo(dc, x, y);
        for (int i = 1; i <= thickness / 2; ++i) {
            MoveToEx(dc, from.x, from.y - i, nullptr);
            LineTo(dc, x, y - i);
            MoveToEx(dc, from.x, from.y + i, nullptr);
            LineTo(dc, x, y + i);
        }
        MoveToEx(dc, x, y, nullptr);
    });
}

void gfx_fill_rect(int left, int top, int right, int bottom)
{
    if (g_view == nullptr)
        return;
    const HDC dc = g_view->dc;
    const HBRUSH brush = CreateSolidBrush(g_view->fill_color);
    if (brush == 0)
        return;
    const HGDIOBJ old_brush = SelectObject(dc, brush);
    with_pen(dc, g_view->fill_color, 1, [&] { Rectangle(dc, left, top, right, bottom); });
    SelectObject(dc, old_brush);
    DeleteObject(brush);
}

void gfx_frame_rect(int left, int top, int right, int bottom)
{
    if (g_view == nullptr)
        return;
    const HDC dc = g_view->dc;
    const HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    with_pen(dc, g_view->line_color, 1, [&] { Rectangle(dc, left, top, right, bottom); });
    SelectObject(dc, old_brush);
}

void gfx_circle(int x, int y, int diameter)
{
    if (g_view == nullptr)
        return;
    const int left = x - diameter / 2;
    const int top = y - diameter / 2;
    Ellipse(g_view->dc, left, top, left + diameter, top + diameter);
}

void gfx_flood_fill(int x, int y, COLORREF boundary)
{
    if (g_view == nullptr)
        return;
    const HBRUSH brush = CreateSolidBrush(g_view->fill_color);
    if (brush == 0)
        return;
    const HGDIOBJ old = SelectObject(g_view->dc, brush);
    FloodFill(g_view->dc, x, y, boundary);
    SelectObject(g_view->dc, old);
    DeleteObject(brush);
}

void gfx_text(int x, int y, const char* text)
{
    if (g_view == nullptr || text == nullptr)
        return;
    SetTextColor(g_view->dc, g_view->text_color);
    SetBkColor(g_view->dc, g_view->text_back_color);
    SetBkMode(g_view->dc, OPAQUE);
    TextOut(g_view->dc, x, y, text, static_cast<int>(std::strlen(text)));
}

int gfx_current_x()
{
    POINT p{};
    if (g_view != nullptr)
        GetCurrentPositionEx(g_view->dc, &p);
    return p.x;
}

int gfx_current_y()
{
    POINT p{};
    if (g_view != nullptr)
        GetCurrentPositionEx(g_view->dc, &p);
    return p.y;
}

SIZE gfx_text_extent(const char* text)
{
    SIZE s{};
    if (g_view != nullptr && text != nullptr)
        GetTextExtentPoint32(g_view->dc, text, static_cast<int>(std::strlen(text)), &s);
    return s;
}

void gfx_draw_text(const char* text, int x, int y, COLORREF text_color, COLORREF back_color, int width)
{
    if (g_view == nullptr || text == nullptr)
        return;
    const HDC dc = g_view->dc;
    const int length = static_cast<int>(std::strlen(text));
    SetTextColor(dc, text_color);
    SIZE extent{};
    GetTextExtentPoint32(dc, text, length, &extent);
    RECT box = width > 0 ? RECT{x, y, x + width, y + extent.cy} : RECT{x, y, x + extent.cx, y + extent.cy};
    if (back_color != GFX_TRANSPARENT)
        paint(dc, box.left, box.top, box.right, box.bottom, back_color);
    SetBkMode(dc, TRANSPARENT);
    if (width > 0)
        DrawText(dc, text, length, &box, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    else
        TextOut(dc, x, y, text, length);
    SetBkMode(dc, OPAQUE);
}

void gfx_draw_box(int x, int y, int width, int height, COLORREF color)
{
    if (g_view == nullptr)
        return;
    const HDC dc = g_view->dc;
    // The outline takes the columns x and x + width, the rows y and y + height.
    hline(dc, x, x + width, y, kBlack);
    hline(dc, x, x + width, y + height, kBlack);
    vline(dc, x, y, y + height, kBlack);
    vline(dc, x + width, y, y + height, kBlack);
    paint(dc, x + 1, y + 1, x + width, y + height, color);
}

void gfx_draw_pane_frame(int x, int y, int width, int height)
{
    if (g_view == nullptr)
        return;
    const HDC dc = g_view->dc;
    const int right = x + width - 1;
    const int bottom = y + height - 1;
    // Engraved: a grey line with a white one beside it, outside and inside.
    hline(dc, x, right, y, kGrey);
    vline(dc, x, y, bottom, kGrey);
    hline(dc, x, right, bottom, kGrey);
    vline(dc, right, y, bottom, kGrey);
    hline(dc, x + 1, right - 1, y + 1, kWhite);
    vline(dc, x + 1, y + 1, bottom - 1, kWhite);
    const int il = x + 3;
    const int it = y + 16;
    const int ir = right - 3;
    const int ib = bottom - 3;
    hline(dc, il, ir, it, kGrey);
    vline(dc, il, it, ib, kGrey);
    hline(dc, il, ir, ib, kGrey);
    vline(dc, ir, it, ib, kGrey);
    hline(dc, il, ir + 1, ib + 1, kWhite);
    vline(dc, ir + 1, it, ib + 1, kWhite);
}

void draw_line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int width)
{
    with_pen(dc, color, width, [&] {
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
    });
}

void draw_dotted_line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color)
{
    if (y1 == y2) {
        for (int x = std::min(x1, x2); x < std::max(x1, x2); x += 2)
            SetPixel(dc, x, y1, color);
    } else if (x1 == x2) {
        for (int y = std::min(y1, y2); y < std::max(y1, y2); y += 2)
            SetPixel(dc, x1, y, color);
    }
}

void draw_small_arrow(HDC dc, int x, int y, COLORREF color)
{
    for (int i = 0; i < 4; ++i)
        draw_line(dc, x + i - 2, y + i, x + 5 - i, y + i, color, 1);
}

void draw_frame(HDC dc, const RECT& rect, COLORREF color, int thickness)
{
    const HBRUSH brush = CreateSolidBrush(color);
    if (brush == 0)
        return;
    RECT r = rect;
    for (int i = 0; i < thickness; ++i) {
        FrameRect(dc, &r, brush);
        r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    DeleteObject(brush);
}

void frame_rect(HDC dc, const RECT& rect, COLORREF color, int thickness) { draw_frame(dc, rect, color, thickness); }

void draw_3d_border(HDC dc, int left, int top, int right, int bottom, int thickness, int style)
{
    bevels(dc, left, top, right, bottom, thickness, style);
}

void draw_3d_frame(HDC dc, int left, int top, int right, int bottom, int thickness, int style)
{
    bevels(dc, left, top, right, bottom, thickness, style);
}

void draw_styled_frame(HDC dc, int left, int top, int right, int bottom, int thickness, int style)
{
    if (style == 0 || style == 1) {
        bevels(dc, left, top, right, bottom, thickness, style);
    } else if (style == 2 && thickness <= 1) {
        bevels(dc, left, top, right, bottom, 1, 1);
    } else if (style == 2) {
        // A groove: raised outside, a light grey band, sunken inside.
        bevels(dc, left, top, right, bottom, 1, 1);
        for (int k = 1; k <= thickness; ++k) {
            const RECT r{left + k, top + k, right - k, bottom - k};
            hline(dc, r.left, r.right - 1, r.top, kLightGrey);
            hline(dc, r.left, r.right - 1, r.bottom - 1, kLightGrey);
            vline(dc, r.left, r.top, r.bottom - 1, kLightGrey);
            vline(dc, r.right - 1, r.top, r.bottom - 1, kLightGrey);
        }
        const int k = thickness + 1;
        bevels(dc, left + k, top + k, right - k, bottom - k, 1, 0);
    }
}

void draw_button_frame(HDC dc, int left, int top, int right, int bottom, bool pressed)
{
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    const HBRUSH brush = CreateSolidBrush(frame);
    if (brush == 0)
        return;
    const RECT r{left, top, right, bottom};
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
    const int l = left + 1, t = top + 1, rr = right - 2, b = bottom - 2;
    if (pressed) {
        hline(dc, l, rr, t, kGrey);
        vline(dc, l, t, b, kGrey);
        return;
    }
    hline(dc, l, rr, t, kWhite);
    vline(dc, l, t, b, kWhite);
    hline(dc, l, rr, b, kGrey);
    vline(dc, rr, t, b, kGrey);
    hline(dc, l + 1, rr - 1, b - 1, kGrey);
    if (frame != kLightGrey)
        vline(dc, rr - 1, t + 1, b - 1, kGrey);
}

void draw_push_face(HDC dc, int left, int top, int right, int bottom, bool pressed, bool black_outline)
{
    if (pressed) {
        const HBRUSH brush = CreateSolidBrush(kGrey);
        if (brush == 0)
            return;
        const HGDIOBJ old = SelectObject(dc, brush);
        with_pen(dc, kBlack, 1, [&] { Rectangle(dc, left, top, right, bottom); });
        SelectObject(dc, old);
        DeleteObject(brush);
        hline(dc, left + 1, right - 2, top + 1, kBlack);
        vline(dc, left + 1, top + 1, bottom - 2, kBlack);
        return;
    }
    const HBRUSH brush = CreateSolidBrush(kLightGrey);
    if (brush == 0)
        return;
    const HGDIOBJ old = SelectObject(dc, brush);
    with_pen(dc, black_outline ? kBlack : kLightGrey, 1, [&] { Rectangle(dc, left, top, right, bottom); });
    SelectObject(dc, old);
    DeleteObject(brush);
    bevel(dc, left + 1, top + 1, right - 1, bottom - 1, kWhite, kGrey);
}

void draw_tab_edge(HDC dc, int left, int bottom, int right, int top)
{
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    // Left and top in white with a cut corner, right side grey inside the
    // frame colour; the bottom stays open.
    vline(dc, left, top + 2, bottom, kWhite);
    SetPixel(dc, left + 1, top + 1, kWhite);
    hline(dc, left + 2, right - 3, top, kWhite);
    hline(dc, left + 2, right - 3, top + 1, kLightGrey);
    vline(dc, right - 2, top + 1, bottom, kGrey);
    SetPixel(dc, right - 2, top, frame);
    vline(dc, right - 1, top + 2, bottom, frame);
}

void draw_filled_rect(HDC dc, int x, int y, int width, int height, COLORREF fill, COLORREF border)
{
    const HBRUSH brush = CreateSolidBrush(fill);
    if (brush == 0)
        return;
    const HGDIOBJ old = SelectObject(dc, brush);
    with_pen(dc, border, 1, [&] { Rectangle(dc, x, y, x + width, y + height); });
    SelectObject(dc, old);
    DeleteObject(brush);
}

void fill_rect(HDC dc, int x, int y, int width, int height, COLORREF fill, COLORREF border)
{
    draw_filled_rect(dc, x, y, width, height, fill, border);
}

void blit_bitmap(HDC dc, int x, int y, HBITMAP bitmap, DWORD rop)
{
    BITMAP bm{};
    if (GetObject(bitmap, sizeof bm, &bm) == 0)
        return;
    const HDC mem = CreateCompatibleDC(dc);
    if (mem == 0)
        return;
    const HGDIOBJ old = SelectObject(mem, bitmap);
    SetBkColor(dc, kWhite);
    SetTextColor(dc, kBlack);
    BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, rop);
    SelectObject(mem, old);
    DeleteDC(mem);
}

HBITMAP save_dc_rect(HDC dc, const RECT& rect)
{
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return 0;
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
    const HDC mem = CreateCompatibleDC(dc);
    if (bitmap == 0 || mem == 0) {
        if (bitmap != 0)
            DeleteObject(bitmap);
        if (mem != 0)
            DeleteDC(mem);
        return 0;
    }
    const HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    return bitmap;
}

void restore_dc_rect(HBITMAP bitmap, HDC dc, const RECT& rect)
{
    if (bitmap == 0)
        return;
    const HDC mem = CreateCompatibleDC(dc);
    if (mem != 0) {
        const HGDIOBJ old = SelectObject(mem, bitmap);
        BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    DeleteObject(bitmap);
}

HFONT make_font(const char* face, int points, bool bold, bool italic, bool underline, bool strikeout, bool turned)
{
    const HDC screen = GetDC(0);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(0, screen);
    LOGFONT lf{};
    lf.lfHeight = -(points * dpi / 72);
    // The program asks for weight 100 for its normal fonts; the layer
    // draws that as a normal face.
    lf.lfWeight = bold ? 700 : 100;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfUnderline = underline ? 1 : 0;
    lf.lfStrikeOut = strikeout ? 1 : 0;
    if (turned) {
        lf.lfEscapement = 1800;
        lf.lfOrientation = 1800;
    }
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", face != nullptr ? face : "");
    return CreateFontIndirect(&lf);
}

HFONT create_font(const char* face, int points, bool bold, bool italic, bool underline, bool strikeout)
{
    return make_font(face, points, bold, italic, underline, strikeout, false);
}

int font_points_of(const LOGFONT& font)
{
    const HDC screen = GetDC(0);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(0, screen);
    if (dpi <= 0)
        return 0;
    const double points = -static_cast<double>(font.lfHeight) * 72.0 / dpi;
    return static_cast<int>(points < 0 ? -std::floor(-points + 0.5) : std::floor(points + 0.5));
}

uint32_t text_extent(HDC dc, const char* text, int length)
{
    SIZE s{};
    if (text != nullptr)
        GetTextExtentPoint32(dc, text, length, &s);
    return (static_cast<uint32_t>(s.cy & 0xFFFF) << 16) | static_cast<uint32_t>(s.cx & 0xFFFF);
}

SIZE unpack_extent(uint32_t packed)
{
    return SIZE{static_cast<LONG>(packed & 0xFFFF), static_cast<LONG>(packed >> 16)};
}

LabelStyle parse_label(const char* label)
{
    LabelStyle style;
    const std::string text = label != nullptr ? label : "";
    size_t start = 0;
    size_t hash = text.find('#');
    style.text = text.substr(0, hash);
    while (hash != std::string::npos) {
        start = hash + 1;
        hash = text.find('#', start);
        std::string d = text.substr(start, hash == std::string::npos ? std::string::npos : hash - start);
        while (!d.empty() && d.back() == ' ')
            d.pop_back();
        if (d.empty())
            continue;
        if (d.find_first_not_of("0123456789") == std::string::npos) {
            style.points = d.size() > 4 ? 8 : std::atoi(d.c_str());
        } else if (d == "B") {
            style.bold = true;
        } else if (d == "I") {
            style.italic = true;
        } else if (d[0] == 'C') {
            const size_t dash = d.find('-');
            style.color = dash == std::string::npos ? 0 : index_to_color(std::atoi(d.c_str() + dash + 1));
        }
    }
    return style;
}

uint32_t draw_label(HDC dc, const char* label, int x, int y, bool measure_only)
{
    const LabelStyle style = parse_label(label);
    SetTextColor(dc, style.color);
    const HFONT font = create_font(lang_font("Ms Sans Serif"), style.points, style.bold, style.italic, false, false);
    const HGDIOBJ old = font != 0 ? SelectObject(dc, font) : 0;
    SIZE s{};
    GetTextExtentPoint32(dc, style.text.c_str(), static_cast<int>(style.text.size()), &s);
    if (s.cy < 8)
        s.cy = 8;
    if (!measure_only)
        TextOut(dc, x, y, style.text.c_str(), static_cast<int>(style.text.size()));
    if (font != 0) {
        SelectObject(dc, old);
        DeleteObject(font);
    }
    return (static_cast<uint32_t>(s.cy & 0xFFFF) << 16) | static_cast<uint32_t>(s.cx & 0xFFFF);
}

ScopedFont::ScopedFont(HDC dc, const char* face, int points, bool bold) : dc_(dc)
{
    font_ = make_font(face, points, bold, false, false, false, false);
    if (font_ != 0)
        old_ = SelectObject(dc_, font_);
}

ScopedFont::~ScopedFont()
{
    if (font_ == 0)
        return;
    SelectObject(dc_, old_);
    DeleteObject(font_);
}

void dc_fill(HDC dc, const RECT& r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void dc_line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void dc_text(HDC dc, int x, int y, const std::string& text, COLORREF colour)
{
    SetTextColor(dc, colour);
    TextOut(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}
