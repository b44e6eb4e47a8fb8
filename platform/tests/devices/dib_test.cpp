// Bitmap files and DIBs: hand-built images of every depth and row order,
// damaged headers refused, pixels moved between DIBs and DCs.
#include "plat/config.h"
#include "plat/dib.h"
#include "plat/gdi.h"
#include "plat/module.h"
#include "plat/res.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace {

using namespace plat;
using Bytes = std::vector<BYTE>;

void put16(Bytes& b, size_t at, uint16_t v)
{
    b[at] = static_cast<BYTE>(v);
    b[at + 1] = static_cast<BYTE>(v >> 8);
}
void put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<BYTE>(v >> (8 * i));
}

// A .BMP written byte by byte: 14-byte file header, 40-byte info header,
// colour table (B, G, R, 0 each), then the stored rows as given.
Bytes make_bmp(int32_t w, int32_t h, uint16_t bpp, const std::vector<COLORREF>& pal, const Bytes& rows,
               uint32_t clrUsed = 0)
{
    const size_t off = 14 + 40 + pal.size() * 4;
    Bytes b(off + rows.size(), 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<uint32_t>(b.size()));
    put32(b, 10, static_cast<uint32_t>(off));
    put32(b, 14, 40);
    put32(b, 18, static_cast<uint32_t>(w));
    put32(b, 22, static_cast<uint32_t>(h));
    put16(b, 26, 1);
    put16(b, 28, bpp);
    put32(b, 30, 0);
    put32(b, 34, static_cast<uint32_t>(rows.size()));
    put32(b, 46, clrUsed);
    for (size_t i = 0; i < pal.size(); ++i) {
        b[54 + i * 4] = GetBValue(pal[i]);
        b[54 + i * 4 + 1] = GetGValue(pal[i]);
        b[54 + i * 4 + 2] = GetRValue(pal[i]);
    }
    std::memcpy(b.data() + off, rows.data(), rows.size());
    return b;
}

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0),
                   kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

// 3 x 2, 1 bit, bottom-up: stored bottom row 1 0 1, top row 0 1 0; rows of 4 bytes.
Bytes mono_3x2() { return make_bmp(3, 2, 1, {kBlack, kWhite}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}); }

std::vector<COLORREF> pixels(const Bytes& b, DibLayout* out = nullptr)
{
    DibLayout l;
    EXPECT_TRUE(ParseBmpFile(b.data(), b.size(), &l));
    if (out)
        *out = l;
    std::vector<COLORREF> px;
    for (int y = 0; y < l.height; ++y)
        for (int x = 0; x < l.width; ++x)
            px.push_back(DibPixel(b.data(), l, x, y));
    return px;
}

TEST(Dib, EveryDepthAndRowOrderReadsAsDrawn)
{
    // 1 bit bottom-up.
    EXPECT_EQ(pixels(mono_3x2()), (std::vector<COLORREF>{kBlack, kWhite, kBlack, kWhite, kBlack, kWhite}));

    // 4 bits top-down: stored top row (1, 2), bottom row (2, 1).
    std::vector<COLORREF> pal16(16, kBlack);
    pal16[1] = kRed;
    pal16[2] = kGreen;
    DibLayout l;
    EXPECT_EQ(pixels(make_bmp(2, -2, 4, pal16, {0x12, 0, 0, 0, 0x21, 0, 0, 0}), &l),
              (std::vector<COLORREF>{kRed, kGreen, kGreen, kRed}));
    EXPECT_TRUE(l.topDown);
    EXPECT_EQ(l.rowBytes, 4u);

    // 8 bits with a short colour table: an index past it reads black.
    EXPECT_EQ(pixels(make_bmp(2, 1, 8, {kWhite, kRed, kBlue}, {2, 5, 0, 0}, 3)),
              (std::vector<COLORREF>{kBlue, kBlack}));

    // 24 bits bottom-up, rows padded: 2 px = 6 bytes + 2 padding.
    EXPECT_EQ(pixels(make_bmp(2, 2, 24, {},
                              {0, 0, 255, 0, 255, 0, 0, 0,      // bottom: red, green
                               255, 0, 0, 255, 255, 255, 0, 0})), // top: blue, white
              (std::vector<COLORREF>{kBlue, kWhite, kRed, kGreen}));
}

TEST(Dib, CoreHeaderIsReadForSizesAndColours)
{
    // 12-byte header, 3-byte colour entries.
    Bytes b(14 + 12 + 6 + 4, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, 14 + 12 + 6);
    put32(b, 14, 12);
    put16(b, 18, 2);
    put16(b, 20, 1);
    put16(b, 22, 1);
    put16(b, 24, 1);
    b[26] = 0; b[27] = 0; b[28] = 255; // red
    b[29] = 255; b[30] = 0; b[31] = 0; // blue
    b[32] = 0x40;                      // pixels 0, 1
    DibLayout l;
    ASSERT_TRUE(ParseBmpFile(b.data(), b.size(), &l));
    EXPECT_TRUE(l.core);
    EXPECT_EQ(l.width, 2);
    EXPECT_EQ(l.colors, 2);
    EXPECT_EQ(DibPixel(b.data(), l, 0, 0), kRed);
    EXPECT_EQ(DibPixel(b.data(), l, 1, 0), kBlue);
}

TEST(Dib, DamagedImagesAreRefusedWhole)
{
    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
    };
    const Case cases[] = {
        {"magic", [](Bytes& b) { b[0] = 'X'; }},
        {"width 0", [](Bytes& b) { put32(b, 18, 0); }},
        {"height 0", [](Bytes& b) { put32(b, 22, 0); }},
        {"16 bits", [](Bytes& b) { put16(b, 28, 16); }},
        {"compressed", [](Bytes& b) { put32(b, 30, BI_RLE8); }},
        {"two planes", [](Bytes& b) { put16(b, 26, 2); }},
        {"too many colours", [](Bytes& b) { put32(b, 46, 3); }},
        {"header size", [](Bytes& b) { put32(b, 14, 20); }},
        {"bits past the end", [](Bytes& b) { put32(b, 10, 1000); }},
        {"bits inside the table", [](Bytes& b) { put32(b, 10, 58); }},
        {"rows cut short", [](Bytes& b) { b.pop_back(); }},
        {"huge", [](Bytes& b) { put32(b, 18, 0x7FFFFFFF); put32(b, 22, 0x7FFFFFFF); }},
        {"header cut", [](Bytes& b) { b.resize(30); }},
        {"file header cut", [](Bytes& b) { b.resize(10); }},
    };
    DibLayout l;
    Bytes good = mono_3x2();
    ASSERT_TRUE(ParseBmpFile(good.data(), good.size(), &l));
    for (const Case& c : cases) {
        Bytes b = mono_3x2();
        c.damage(b);
        EXPECT_FALSE(ParseBmpFile(b.data(), b.size(), &l)) << c.name;
    }
    EXPECT_FALSE(ParseBmpFile(nullptr, 0, &l));
}

TEST(Dib, HeadersRoundTripByteByByte)
{
    BITMAPINFOHEADER h{40, -3, 7, 1, 24, BI_RGB, 84, 2835, 2835, 0, 0};
    BYTE raw[40];
    WriteBitmapInfoHeader(h, raw);
    EXPECT_EQ(raw[4], 0xFD);  // -3 little-endian
    EXPECT_EQ(raw[7], 0xFF);
    EXPECT_EQ(raw[14], 24);
    BITMAPINFOHEADER back{};
    ASSERT_TRUE(ReadBitmapInfoHeader(raw, sizeof raw, &back));
    EXPECT_EQ(back.biWidth, -3);
    EXPECT_EQ(back.biHeight, 7);
    EXPECT_EQ(back.biSizeImage, 84u);
    EXPECT_FALSE(ReadBitmapInfoHeader(raw, 39, &back));
    BITMAPFILEHEADER f{BMP_SIGNATURE, 1234, 0, 0, 62};
    BYTE fr[14];
    WriteBitmapFileHeader(f, fr);
    EXPECT_EQ(fr[0], 'B');
    EXPECT_EQ(fr[1], 'M');
    EXPECT_EQ(fr[2], 0xD2);
    EXPECT_EQ(fr[3], 0x04);
    EXPECT_EQ(fr[10], 62);
}

class DibDc : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitGui(); }
};

TEST_F(DibDc, GetDIBitsGivesBottomUpRowsAndSetDIBitsPutsThemBack)
{
    HDC mem = CreateCompatibleDC(0);
    HBITMAP bmp = CreateBitmap(3, 2, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(mem, bmp);
    SetPixel(mem, 0, 0, kRed);
    SetPixel(mem, 1, 0, kGreen);
    SetPixel(mem, 2, 0, kBlue);
    SetPixel(mem, 0, 1, kWhite);
    SetPixel(mem, 1, 1, RGB(1, 2, 3));
    SetPixel(mem, 2, 1, kBlack);
    SelectObject(mem, old);

    struct {
        BITMAPINFOHEADER h;
        RGBQUAD pal[256];
    } info{};
    info.h.biSize = 40;
    info.h.biWidth = 3;
    info.h.biHeight = 2;
    info.h.biPlanes = 1;
    info.h.biBitCount = 24;
    BYTE bits[2 * 12] = {};
    ASSERT_EQ(GetDIBits(mem, bmp, 0, 2, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
    // First stored row is the bottom one: white, (1,2,3), black, as B G R.
    const BYTE want[24] = {255, 255, 255, 3, 2, 1, 0, 0, 0, 0, 0, 0,
                           0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(bits, want, sizeof want));
    EXPECT_EQ(info.h.biSizeImage, 24u);

    HDC dst = CreateCompatibleDC(0);
    HBITMAP target = CreateBitmap(6, 4, 1, 32, nullptr);
    SelectObject(dst, target);
    EXPECT_EQ(SetDIBitsToDevice(dst, 1, 1, 3, 2, 0, 0, 0, 2, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
    EXPECT_EQ(GetPixel(dst, 1, 1), kRed);
    EXPECT_EQ(GetPixel(dst, 3, 1), kBlue);
    EXPECT_EQ(GetPixel(dst, 2, 2), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(dst, 0, 0), kBlack);

    // Doubled: each source pixel covers 2 x 2.
    EXPECT_GT(StretchDIBits(dst, 0, 0, 6, 4, 0, 0, 3, 2, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(GetPixel(dst, 5, 1), kBlue);
    EXPECT_EQ(GetPixel(dst, 4, 0), kBlue);
    EXPECT_EQ(GetPixel(dst, 0, 3), kWhite);

    // 1 bit: the colour table black/white, white pixels set.
    info.h.biBitCount = 1;
    BYTE mono[2 * 4] = {};
    ASSERT_EQ(GetDIBits(mem, bmp, 0, 2, mono, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
    EXPECT_EQ(mono[0], 0x80) << "bottom row: white, dark, black";
    EXPECT_EQ(info.pal[1].rgbRed, 255);
    DeleteDC(mem);
    DeleteDC(dst);
    DeleteObject(bmp);
    DeleteObject(target);
}

TEST_F(DibDc, CreateDIBitmapAndLoadBitmapKeepExactColours)
{
    std::vector<COLORREF> pal16(16, kBlack);
    pal16[1] = RGB(255, 0, 255);
    pal16[2] = RGB(12, 34, 56);
    const Bytes file = make_bmp(2, -2, 4, pal16, {0x12, 0, 0, 0, 0x20, 0, 0, 0});
    const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + 14);
    // Rows follow the 14 + 40 header bytes and 16 colour entries.
    HBITMAP bmp = CreateDIBitmap(0, &info->bmiHeader, CBM_INIT, file.data() + 118, info, DIB_RGB_COLORS);
    ASSERT_NE(bmp, 0u);
    HDC mem = CreateCompatibleDC(0);
    SelectObject(mem, bmp);
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(mem, 1, 0), RGB(12, 34, 56));
    EXPECT_EQ(GetPixel(mem, 0, 1), RGB(12, 34, 56));
    EXPECT_EQ(GetPixel(mem, 1, 1), kBlack);
    DeleteDC(mem);
    DeleteObject(bmp);

    static const Bytes stored = file;
    static const ImageResource images[] = {{ImageKind::Bitmap, 104, stored.data(), stored.size(), 0, 0}};
    HINSTANCE m = RegisterModule("DIBTEST.EXE", nullptr);
    RegisterImageResources(m, images);
    HBITMAP loaded = LoadBitmap(m, 104);
    ASSERT_NE(loaded, 0u);
    EXPECT_EQ(LoadBitmap(m, 105), 0u);
    mem = CreateCompatibleDC(0);
    SelectObject(mem, loaded);
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(mem, 0, 1), RGB(12, 34, 56));
    DeleteDC(mem);
    DeleteObject(loaded);
}

} // namespace
