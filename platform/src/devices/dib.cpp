// Device-independent bitmaps: the stored headers byte by byte, checked
// parsing, and pixel transfer through the drawing layer's bitmaps.
#include "plat/dib.h"
#include "gdi/gdi_p.h"
#include "plat/gdi.h"
#include <QImage>
#include <cstring>
#include <limits>
#include <vector>

namespace plat {

namespace {

uint16_t le16(const BYTE* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const BYTE* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void put16(BYTE* p, uint16_t v)
{
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}
void put32(BYTE* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<BYTE>(v >> (8 * i));
}

// Large enough for any picture the system draws, small enough that sizes
// computed from it never overflow.
constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;

// Header fields only (no bounds of the data): used for the API calls, whose
// buffers are the caller's.
bool header_layout(const BYTE* p, size_t n, DibLayout* out)
{
    if (!p || n < 4)
        return false;
    DibLayout l;
    const uint32_t size = le32(p);
    int64_t w, h;
    uint32_t used = 0;
    if (size == 12) {
        if (n < 12)
            return false;
        l.core = true;
        w = le16(p + 4);
        h = le16(p + 6);
        if (le16(p + 8) != 1)
            return false;
        l.bitCount = le16(p + 10);
    } else {
        if (size < 40 || size > 4096 || n < size)
            return false;
        w = static_cast<int32_t>(le32(p + 4));
        h = static_cast<int32_t>(le32(p + 8));
        if (le16(p + 12) != 1)
            return false;
        l.bitCount = le16(p + 14);
        if (le32(p + 16) != BI_RGB)
            return false;
        used = le32(p + 32);
    }
    if (l.bitCount != 1 && l.bitCount != 4 && l.bitCount != 8 && l.bitCount != 24 && l.bitCount != 32)
        return false;
    if (w <= 0 || h == 0 || h == std::numeric_limits<int32_t>::min())
        return false;
    l.topDown = h < 0;
    if (h < 0)
        h = -h;
    if (w * h > kMaxPixels)
        return false;
    l.width = static_cast<int>(w);
    l.height = static_cast<int>(h);
    l.headerSize = size;
    const int full = l.bitCount <= 8 ? (1 << l.bitCount) : 0;
    if (used > 256 || (full && used > static_cast<uint32_t>(full)))
        return false;
    l.colors = used ? static_cast<int>(used) : full;
    l.colorOffset = size;
    l.bitsOffset = size + static_cast<size_t>(l.colors) * (l.core ? 3 : 4);
    l.rowBytes = DibRowBytes(l.width, static_cast<WORD>(l.bitCount));
    *out = l;
    return true;
}

COLORREF pixel_at(const BYTE* colorTable, const BYTE* rows, const DibLayout& l, int x, int y)
{
    const int row = l.topDown ? y : l.height - 1 - y;
    const BYTE* r = rows + static_cast<size_t>(row) * l.rowBytes;
    int index;
    switch (l.bitCount) {
    case 1: index = (r[x / 8] >> (7 - x % 8)) & 1; break;
    case 4: index = (x % 2) ? (r[x / 2] & 0xF) : (r[x / 2] >> 4); break;
    case 8: index = r[x]; break;
    case 24: return RGB(r[x * 3 + 2], r[x * 3 + 1], r[x * 3]);
    default: return RGB(r[x * 4 + 2], r[x * 4 + 1], r[x * 4]);
    }
    if (index >= l.colors)
        return RGB(0, 0, 0);
    const BYTE* e = colorTable + static_cast<size_t>(index) * (l.core ? 3 : 4);
    return RGB(e[2], e[1], e[0]);
}

QImage image_of(const BYTE* info, const BYTE* rows, const DibLayout& l)
{
    QImage img(l.width, l.height, QImage::Format_RGB32);
    if (img.isNull())
        return img;
    for (int y = 0; y < l.height; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < l.width; ++x)
            out[x] = gdi::Rgb(pixel_at(info + l.colorOffset, rows, l, x, y));
    }
    return img;
}

HBITMAP bitmap_of(const QImage& img)
{
    std::vector<BYTE> px(static_cast<size_t>(img.width()) * 4 * static_cast<size_t>(img.height()));
    for (int y = 0; y < img.height(); ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
        BYTE* out = px.data() + static_cast<size_t>(y) * static_cast<size_t>(img.width()) * 4;
        for (int x = 0; x < img.width(); ++x) {
            out[x * 4] = static_cast<BYTE>(in[x]);
            out[x * 4 + 1] = static_cast<BYTE>(in[x] >> 8);
            out[x * 4 + 2] = static_cast<BYTE>(in[x] >> 16);
            out[x * 4 + 3] = 0;
        }
    }
    return CreateBitmap(img.width(), img.height(), 1, 32, px.data());
}

// The colour table GetDIBits writes for depths up to 8 bits.
std::vector<COLORREF> default_palette(int bits)
{
    static const COLORREF vga[16] = {
        RGB(0, 0, 0), RGB(128, 0, 0), RGB(0, 128, 0), RGB(128, 128, 0), RGB(0, 0, 128), RGB(128, 0, 128),
        RGB(0, 128, 128), RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),
        RGB(255, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
    std::vector<COLORREF> pal;
    if (bits == 1)
        return {RGB(0, 0, 0), RGB(255, 255, 255)};
    pal.assign(vga, vga + 16);
    if (bits == 8) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    pal.push_back(RGB(r * 51, g * 51, b * 51));
        for (int i = 0; pal.size() < 256; ++i)
            pal.push_back(RGB(8 + i * 10, 8 + i * 10, 8 + i * 10));
    }
    return pal;
}

int nearest(const std::vector<COLORREF>& pal, COLORREF c)
{
    int best = 0;
    int bestD = INT32_MAX;
    for (size_t i = 0; i < pal.size(); ++i) {
        const int dr = GetRValue(pal[i]) - GetRValue(c);
        const int dg = GetGValue(pal[i]) - GetGValue(c);
        const int db = GetBValue(pal[i]) - GetBValue(c);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

} // namespace

bool ReadBitmapFileHeader(const BYTE* p, size_t n, BITMAPFILEHEADER* out)
{
    if (!p || !out || n < 14)
        return false;
    out->bfType = le16(p);
    out->bfSize = le32(p + 2);
    out->bfReserved1 = le16(p + 6);
    out->bfReserved2 = le16(p + 8);
    out->bfOffBits = le32(p + 10);
    return true;
}

void WriteBitmapFileHeader(const BITMAPFILEHEADER& h, BYTE out[14])
{
    put16(out, h.bfType);
    put32(out + 2, h.bfSize);
    put16(out + 6, h.bfReserved1);
    put16(out + 8, h.bfReserved2);
    put32(out + 10, h.bfOffBits);
}

bool ReadBitmapInfoHeader(const BYTE* p, size_t n, BITMAPINFOHEADER* out)
{
    if (!p || !out || n < 40)
        return false;
    out->biSize = le32(p);
    out->biWidth = static_cast<LONG>(le32(p + 4));
    out->biHeight = static_cast<LONG>(le32(p + 8));
    out->biPlanes = le16(p + 12);
    out->biBitCount = le16(p + 14);
    out->biCompression = le32(p + 16);
    out->biSizeImage = le32(p + 20);
    out->biXPelsPerMeter = static_cast<LONG>(le32(p + 24));
    out->biYPelsPerMeter = static_cast<LONG>(le32(p + 28));
    out->biClrUsed = le32(p + 32);
    out->biClrImportant = le32(p + 36);
    return true;
}

void WriteBitmapInfoHeader(const BITMAPINFOHEADER& h, BYTE out[40])
{
    put32(out, h.biSize);
    put32(out + 4, static_cast<uint32_t>(h.biWidth));
    put32(out + 8, static_cast<uint32_t>(h.biHeight));
    put16(out + 12, h.biPlanes);
    put16(out + 14, h.biBitCount);
    put32(out + 16, h.biCompression);
    put32(out + 20, h.biSizeImage);
    put32(out + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
    put32(out + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
    put32(out + 32, h.biClrUsed);
    put32(out + 36, h.biClrImportant);
}

bool ParseDib(const void* data, size_t n, DibLayout* out)
{
    const auto* p = static_cast<const BYTE*>(data);
    DibLayout l;
    if (!header_layout(p, n, &l) || l.bitCount == 32)
        return false;
    if (l.bitsOffset > n)
        return false;
    const uint64_t need = static_cast<uint64_t>(l.rowBytes) * static_cast<uint64_t>(l.height);
    if (need > n - l.bitsOffset)
        return false;
    *out = l;
    return true;
}

bool ParseBmpFile(const void* data, size_t n, DibLayout* out)
{
    const auto* p = static_cast<const BYTE*>(data);
    BITMAPFILEHEADER fh;
    if (!ReadBitmapFileHeader(p, n, &fh) || fh.bfType != BMP_SIGNATURE)
        return false;
    DibLayout l;
    if (!header_layout(p + 14, n - 14, &l) || l.bitCount == 32)
        return false;
    l.colorOffset += 14;
    const size_t tableEnd = 14 + l.bitsOffset;
    if (tableEnd > n)
        return false;
    // A zero offset means the rows follow the colour table.
    const size_t bits = fh.bfOffBits ? fh.bfOffBits : tableEnd;
    if (bits < tableEnd || bits > n)
        return false;
    const uint64_t need = static_cast<uint64_t>(l.rowBytes) * static_cast<uint64_t>(l.height);
    if (need > n - bits)
        return false;
    l.bitsOffset = bits;
    *out = l;
    return true;
}

COLORREF DibPixel(const void* data, const DibLayout& l, int x, int y)
{
    if (!data || x < 0 || y < 0 || x >= l.width || y >= l.height)
        return CLR_INVALID;
    const auto* p = static_cast<const BYTE*>(data);
    return pixel_at(p + l.colorOffset, p + l.bitsOffset, l, x, y);
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage)
{
    if (!header || usage != DIB_RGB_COLORS)
        return 0;
    DibLayout l;
    const auto* hp = reinterpret_cast<const BYTE*>(header);
    if (!header_layout(hp, header->biSize == 12 ? 12 : 40, &l))
        return 0;
    if (!(init & CBM_INIT) || !bits)
        return CreateCompatibleBitmap(hdc ? hdc : 0, l.width, l.height);
    const auto* ip = reinterpret_cast<const BYTE*>(info ? info : reinterpret_cast<const BITMAPINFO*>(header));
    DibLayout il;
    if (!header_layout(ip, ip == hp ? 40 : 40, &il))
        return 0;
    const QImage img = image_of(ip, static_cast<const BYTE*>(bits), il);
    return img.isNull() ? 0 : bitmap_of(img);
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage)
{
    auto bmp = gdi::Find<gdi::Bitmap>(bitmap, gdi::Kind::Bitmap);
    if (!bmp || !info || usage != DIB_RGB_COLORS)
        return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    const QImage& img = bmp->image;
    if (h.biBitCount == 0) {
        h.biSize = 40;
        h.biWidth = img.width();
        h.biHeight = img.height();
        h.biPlanes = 1;
        h.biBitCount = bmp->mono ? 1 : 32;
        h.biCompression = BI_RGB;
        h.biSizeImage = DibRowBytes(h.biWidth, h.biBitCount) * static_cast<DWORD>(img.height());
        h.biClrUsed = 0;
        h.biClrImportant = 0;
        if (!bits)
            return img.height();
    }
    const int bpp = h.biBitCount;
    if ((bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) || h.biCompression != BI_RGB ||
        h.biWidth != img.width() || (h.biHeight != img.height() && h.biHeight != -img.height()))
        return 0;
    h.biSizeImage = DibRowBytes(h.biWidth, static_cast<WORD>(bpp)) * static_cast<DWORD>(img.height());
    std::vector<COLORREF> pal;
    if (bpp <= 8) {
        pal = default_palette(bpp);
        for (size_t i = 0; i < pal.size(); ++i) {
            RGBQUAD& q = info->bmiColors[i];
            q.rgbRed = GetRValue(pal[i]);
            q.rgbGreen = GetGValue(pal[i]);
            q.rgbBlue = GetBValue(pal[i]);
            q.rgbReserved = 0;
        }
        h.biClrUsed = 0;
    }
    if (!bits)
        return img.height();
    const bool topDown = h.biHeight < 0;
    const int height = img.height();
    if (start >= static_cast<UINT>(height))
        return 0;
    const int count = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(height) - start));
    const size_t rowBytes = DibRowBytes(h.biWidth, static_cast<WORD>(bpp));
    for (int i = 0; i < count; ++i) {
        const int stored = static_cast<int>(start) + i;
        const int y = topDown ? stored : height - 1 - stored;
        BYTE* out = static_cast<BYTE*>(bits) + static_cast<size_t>(i) * rowBytes;
        std::memset(out, 0, rowBytes);
        const auto* in = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const COLORREF c = gdi::ColorOf(in[x]);
            switch (bpp) {
            case 1:
                if (nearest(pal, c))
                    out[x / 8] = static_cast<BYTE>(out[x / 8] | (0x80 >> (x % 8)));
                break;
            case 4:
                out[x / 2] = static_cast<BYTE>(out[x / 2] | (nearest(pal, c) << ((x % 2) ? 0 : 4)));
                break;
            case 8: out[x] = static_cast<BYTE>(nearest(pal, c)); break;
            case 24:
                out[x * 3] = GetBValue(c);
                out[x * 3 + 1] = GetGValue(c);
                out[x * 3 + 2] = GetRValue(c);
                break;
            default:
                out[x * 4] = GetBValue(c);
                out[x * 4 + 1] = GetGValue(c);
                out[x * 4 + 2] = GetRValue(c);
                out[x * 4 + 3] = 0;
                break;
            }
        }
    }
    return count;
}

namespace {

// The DIB's rows startScan..startScan+scanLines as a bitmap of its full size
// (rows outside stay black); the top row of the source rectangle in it.
HBITMAP dib_bitmap(const void* bits, const BITMAPINFO* info, UINT startScan, UINT scanLines, DibLayout* out)
{
    DibLayout l;
    const auto* ip = reinterpret_cast<const BYTE*>(info);
    if (!bits || !info || !header_layout(ip, 40, &l))
        return 0;
    QImage img(l.width, l.height, QImage::Format_RGB32);
    if (img.isNull())
        return 0;
    img.fill(0xFF000000u);
    const int first = static_cast<int>(std::min<UINT>(startScan, static_cast<UINT>(l.height)));
    const int count = static_cast<int>(std::min<UINT>(scanLines, static_cast<UINT>(l.height - first)));
    // Bottom-up rows count from the bottom; the band given starts at startScan.
    DibLayout band = l;
    band.height = count;
    for (int i = 0; i < count; ++i) {
        const int stored = first + i;
        const int y = l.topDown ? stored : l.height - 1 - stored;
        auto* line = reinterpret_cast<uint32_t*>(img.scanLine(y));
        const int bandY = band.topDown ? i : count - 1 - i;
        for (int x = 0; x < l.width; ++x)
            line[x] = gdi::Rgb(pixel_at(ip + l.colorOffset, static_cast<const BYTE*>(bits), band, x, bandY));
    }
    *out = l;
    return bitmap_of(img);
}

int blit_dib(HDC hdc, int xd, int yd, int wd, int hd, int xs, int ys, int ws, int hs, const void* bits,
             const BITMAPINFO* info, UINT startScan, UINT scanLines, DWORD rop, bool stretch)
{
    DibLayout l;
    const HBITMAP bmp = dib_bitmap(bits, info, startScan, scanLines, &l);
    if (!bmp)
        return 0;
    // Source y of a bottom-up DIB counts from its bottom edge.
    const int top = l.topDown ? ys : l.height - ys - hs;
    const HDC mem = CreateCompatibleDC(hdc);
    const HGDIOBJ old = SelectObject(mem, bmp);
    const BOOL ok = stretch ? StretchBlt(hdc, xd, yd, wd, hd, mem, xs, top, ws, hs, rop)
                            : BitBlt(hdc, xd, yd, wd, hd, mem, xs, top, rop);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    return ok ? static_cast<int>(stretch ? hs : scanLines) : 0;
}

} // namespace

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info, UINT usage)
{
    if (usage != DIB_RGB_COLORS)
        return 0;
    return blit_dib(hdc, xDest, yDest, static_cast<int>(width), static_cast<int>(height), xSrc, ySrc,
                    static_cast<int>(width), static_cast<int>(height), bits, info, startScan, scanLines,
                    SRCCOPY, false);
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop)
{
    if (usage != DIB_RGB_COLORS || !info)
        return 0;
    const LONG h = info->bmiHeader.biHeight;
    const UINT lines = static_cast<UINT>(h < 0 ? -static_cast<int64_t>(h) : h);
    return blit_dib(hdc, xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight, bits,
                    info, 0, lines, rop, true);
}

} // namespace plat
