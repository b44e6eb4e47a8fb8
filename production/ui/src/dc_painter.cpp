#include "production/dc_painter.h"
#include "foundation/draw.h"
#include "plat/gdi.h"
#include <algorithm>

using namespace plat;

namespace {

// The plant's colours are colour references, or 0..15 for the drawing
// layer's palette (the machines' scenario colours).
COLORREF colour_of(int32_t value)
{
    return value >= 0 && value < 16 ? index_to_color(value) : static_cast<COLORREF>(value);
}

} // namespace

DcPainter::DcPainter(HDC dc) : dc_(dc)
{
    if (HFONT font = gfx_font(1); font != 0)
        old_font_ = SelectObject(dc_, font);
    SetBkMode(dc_, TRANSPARENT);
}

DcPainter::~DcPainter()
{
    if (old_font_ != 0)
        SelectObject(dc_, old_font_);
}

void DcPainter::rect(int x, int y, int w, int h, int32_t fill, bool frame)
{
    const RECT r{x, y, x + w, y + h};
    if (fill >= 0) {
        HBRUSH brush = CreateSolidBrush(colour_of(fill));
        FillRect(dc_, &r, brush);
        DeleteObject(brush);
    }
    if (frame)
        FrameRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void DcPainter::line(int x1, int y1, int x2, int y2)
{
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
}

void DcPainter::text(int x, int y, std::string_view s, uint32_t colour)
{
    SetTextColor(dc_, colour_of(static_cast<int32_t>(colour)));
    TextOut(dc_, x, y, s.data(), static_cast<int>(s.size()));
}

int DcPainter::text_width(std::string_view s)
{
    SIZE extent{};
    GetTextExtentPoint32(dc_, s.data(), static_cast<int>(s.size()), &extent);
    return extent.cx;
}

void ScaledPainter::rect(int x, int y, int w, int h, int32_t fill, bool frame)
{
    const int left = X(x), top = Y(y);
    to_.rect(left, top, std::max(1, X(x + w) - left), std::max(1, Y(y + h) - top), fill, frame);
}

void ScaledPainter::line(int x1, int y1, int x2, int y2) { to_.line(X(x1), Y(y1), X(x2), Y(y2)); }

void ScaledPainter::text(int x, int y, std::string_view s, uint32_t colour) { to_.text(X(x), Y(y), s, colour); }

int ScaledPainter::text_width(std::string_view s)
{
    const int w = to_.text_width(s);
    return sx_ > 0 ? static_cast<int>(static_cast<float>(w) / sx_) : w;
}
