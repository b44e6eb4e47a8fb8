// Device-independent bitmaps and the device: conversions through the
// layer's DIB calls, captures of the screen, painting, pictures and strips.
#include "foundation/datavec.h"
#include "plat/memory.h"
#include "plat/window.h"

using namespace plat;

namespace {

HDC screen_dc() { return GetDC(0); }

} // namespace

HBITMAP dib_to_bitmap(HGLOBAL dib, HPALETTE palette)
{
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    if (p == nullptr)
        return 0;
    const HDC dc = screen_dc();
    HPALETTE old = 0;
    if (palette != 0) {
        old = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    const auto* info = reinterpret_cast<const BITMAPINFO*>(p);
    const HBITMAP bitmap = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, dib_bits(p), info, DIB_RGB_COLORS);
    if (palette != 0)
        SelectPalette(dc, old, FALSE);
    ReleaseDC(0, dc);
    GlobalUnlock(dib);
    return bitmap;
}

HGLOBAL dib_from_bitmap(HBITMAP bitmap, int bits_per_pixel, DWORD compression)
{
    BITMAP bm{};
    if (compression != BI_RGB || GetObject(bitmap, sizeof bm, &bm) == 0)
        return 0;
    const HGLOBAL dib = dib_create(bm.bmWidth, bm.bmHeight, bits_per_pixel);
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    if (p == nullptr) {
        if (dib != 0)
            GlobalFree(dib);
        return 0;
    }
    const HDC dc = screen_dc();
    const int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), dib_bits(p),
                                reinterpret_cast<BITMAPINFO*>(p), DIB_RGB_COLORS);
    ReleaseDC(0, dc);
    GlobalUnlock(dib);
    if (lines != bm.bmHeight) {
        GlobalFree(dib);
        return 0;
    }
    return dib;
}

HGLOBAL bitmap_to_dib(HBITMAP bitmap, HPALETTE) { return dib_from_bitmap(bitmap, 24, BI_RGB); }

HGLOBAL dib_change_format(HGLOBAL dib, int bits_per_pixel, DWORD compression)
{
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    if (p == nullptr)
        return 0;
    const int bits = bits_per_pixel == 0 ? dib_bit_count(p) : bits_per_pixel;
    GlobalUnlock(dib);
    const bool allowed = (bits == 1 || bits == 4 || bits == 8 || bits == 24) && compression == BI_RGB;
    if (!allowed)
        return 0;
    const HBITMAP bitmap = dib_to_bitmap(dib, 0);
    if (bitmap == 0)
        return 0;
    const HGLOBAL copy = dib_from_bitmap(bitmap, bits, compression);
    DeleteObject(bitmap);
    return copy;
}

int device_palette_size(HDC dc)
{
    if ((GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0)
        return GetDeviceCaps(dc, SIZEPALETTE);
    return GetDeviceCaps(dc, NUMCOLORS);
}

// The screen is a true-colour device here: there is no system palette.
HPALETTE system_palette() { return 0; }

HBITMAP capture_rect_bitmap(const RECT& rect)
{
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return 0;
    const HDC screen = screen_dc();
    const HDC mem = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    if (mem != 0 && bitmap != 0) {
        const HGDIOBJ old = SelectObject(mem, bitmap);
        BitBlt(mem, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
        SelectObject(mem, old);
    }
    if (mem != 0)
        DeleteDC(mem);
    ReleaseDC(0, screen);
    return bitmap;
}

HGLOBAL capture_rect_dib(const RECT& rect)
{
    const HBITMAP bitmap = capture_rect_bitmap(rect);
    if (bitmap == 0)
        return 0;
    const HGLOBAL dib = bitmap_to_dib(bitmap, 0);
    DeleteObject(bitmap);
    return dib;
}

HBITMAP capture_window_bitmap(HWND window, bool whole)
{
    RECT r{};
    if (whole) {
        if (!GetWindowRect(window, &r))
            return 0;
    } else {
        if (!GetClientRect(window, &r))
            return 0;
        POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
        ClientToScreen(window, &pts[0]);
        ClientToScreen(window, &pts[1]);
        r = RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
    }
    return capture_rect_bitmap(r);
}

HGLOBAL capture_window_dib(HWND window, bool whole)
{
    const HBITMAP bitmap = capture_window_bitmap(window, whole);
    if (bitmap == 0)
        return 0;
    const HGLOBAL dib = bitmap_to_dib(bitmap, 0);
    DeleteObject(bitmap);
    return dib;
}

void dib_paint(HDC dc, const RECT& dest, HGLOBAL dib, const RECT& source, HPALETTE palette)
{
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    if (p == nullptr)
        return;
    HPALETTE old = 0;
    if (palette != 0) {
        old = SelectPalette(dc, palette, TRUE);
        RealizePalette(dc);
    }
    const auto* info = reinterpret_cast<const BITMAPINFO*>(p);
    const int dw = dest.right - dest.left;
    const int dh = dest.bottom - dest.top;
    const int sw = source.right - source.left;
    const int sh = source.bottom - source.top;
    if (dw == sw && dh == sh) {
        // Rows are counted from the bottom of a bottom-up DIB.
        SetDIBitsToDevice(dc, dest.left, dest.top, static_cast<DWORD>(sw), static_cast<DWORD>(sh), source.left,
                          dib_height(p) - source.bottom, 0, static_cast<UINT>(dib_height(p)), dib_bits(p), info,
                          DIB_RGB_COLORS);
    } else {
        StretchDIBits(dc, dest.left, dest.top, dw, dh, source.left, dib_height(p) - source.bottom, sw, sh,
                      dib_bits(p), info, DIB_RGB_COLORS, SRCCOPY);
    }
    if (palette != 0)
        SelectPalette(dc, old, TRUE);
    GlobalUnlock(dib);
}

bool image_load(BitmapImage& image, const char* path)
{
    image_free(image);
    image.dib = dib_load_file(path);
    if (image.dib == 0)
        return false;
    image.bitmap = dib_to_bitmap(image.dib, 0);
    if (image.bitmap == 0) {
        image_free(image);
        return false;
    }
    return true;
}

SIZE image_size(const BitmapImage& image)
{
    const void* p = GlobalLock(image.dib);
    if (p == nullptr)
        return SIZE{};
    const SIZE s{dib_width(p), dib_height(p)};
    GlobalUnlock(image.dib);
    return s;
}

void image_draw(const BitmapImage& image, HDC dc, int x, int y)
{
    const SIZE s = image_size(image);
    dib_paint(dc, RECT{x, y, x + s.cx, y + s.cy}, image.dib, RECT{0, 0, s.cx, s.cy}, 0);
}

void image_free(BitmapImage& image)
{
    if (image.bitmap != 0)
        DeleteObject(image.bitmap);
    dib_free(image.dib);
    image = BitmapImage{};
}

bool strip_load(ImageStrip& strip, const char* path, int cell_width, int cell_height)
{
    strip.cell_width = cell_width;
    strip.cell_height = cell_height;
    return image_load(strip.image, path);
}

void strip_draw_cell(const ImageStrip& strip, HDC dc, int index, int x, int y)
{
    const RECT source{index * strip.cell_width, 0, (index + 1) * strip.cell_width, strip.cell_height};
    dib_paint(dc, RECT{x, y, x + strip.cell_width, y + strip.cell_height}, strip.image.dib, source, 0);
}
