#include "foundation/datavec.h"
#include "foundation/debugtrace.h"
#include "foundation/draw.h"
#include "gui/gui_support.h"
#include "support/support.h"
#include "plat/memory.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <string>

using namespace plat;

namespace {

void put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// 3 x 2, 24 bits: top red, green, blue; bottom white, black, yellow.
std::string six_colours()
{
    std::string s = "BM";
    put32(s, 14 + 40 + 24);
    put32(s, 0);
    put32(s, 54);
    put32(s, 40);
    put32(s, 3);
    put32(s, 2);
    s += std::string("\x01\0\x18\0", 4);
    put32(s, 0);
    put32(s, 24);
    for (int i = 0; i < 4; ++i)
        put32(s, 0);
    s += std::string("\xff\xff\xff\0\0\0\0\xff\xff\0\0\0", 12);
    s += std::string("\0\0\xff\0\xff\0\xff\0\0\0\0\0", 12);
    return s;
}

constexpr COLORREF kRedC = 0x0000FF, kGreenC = 0x00FF00, kBlueC = 0xFF0000, kYellowC = 0x00FFFF;

} // namespace

TEST(Pictures, ImagesStripsAndStretchedPaint)
{
    ScratchDir dir;
    write_file(dir.file("six.bmp"), six_colours());
    BitmapImage image;
    ASSERT_TRUE(image_load(image, dir.file("six.bmp").c_str()));
    EXPECT_EQ(image_size(image).cx, 3);
    EXPECT_EQ(image_size(image).cy, 2);
    Canvas c(40, 20);
    const HDC dc = GetDC(c.hwnd());
    image_draw(image, dc, 2, 2);
    ImageStrip strip;
    ASSERT_TRUE(strip_load(strip, dir.file("six.bmp").c_str(), 1, 2));
    strip_draw_cell(strip, dc, 1, 10, 2);  // the middle column
    dib_paint(dc, RECT{20, 2, 26, 6}, image.dib, RECT{0, 0, 3, 2}, 0);  // twice the size
    ReleaseDC(c.hwnd(), dc);
    EXPECT_EQ(c.pixel(2, 2), kRedC);
    EXPECT_EQ(c.pixel(3, 2), kGreenC);
    EXPECT_EQ(c.pixel(4, 2), kBlueC);
    EXPECT_EQ(c.pixel(3, 3), 0u);
    EXPECT_EQ(c.pixel(4, 3), kYellowC);
    EXPECT_EQ(c.pixel(10, 2), kGreenC);
    EXPECT_EQ(c.pixel(10, 3), 0u);
    EXPECT_EQ(c.pixel(11, 2), 0xFFFFFFu);  // one cell only
    EXPECT_EQ(c.pixel(21, 3), kRedC);
    EXPECT_EQ(c.pixel(25, 5), kYellowC);
    // Through a device bitmap and back.
    const HGLOBAL copy = bitmap_to_dib(image.bitmap, 0);
    ASSERT_NE(copy, 0u);
    void* p = GlobalLock(copy);
    EXPECT_EQ(dib_width(p), 3);
    EXPECT_EQ(dib_bit_count(p), 24);
    const BYTE* top = dib_bits(p) + 12;  // the top row of a bottom-up 3 x 2
    EXPECT_EQ(top[0], 0x00);
    EXPECT_EQ(top[2], 0xFF);  // red: blue, green, red bytes
    GlobalUnlock(copy);
    dib_free(copy);
    const HGLOBAL eight = dib_change_format(image.dib, 8, BI_RLE4);
    EXPECT_EQ(eight, 0u);  // RLE4 does not fit 8 bits
    image_free(image);
    image_free(strip.image);
    EXPECT_EQ(image.dib, 0u);
}

TEST(DesktopTrace, RowsOfTwentyPixels)
{
    DebugShowInt(1, "Tick", 42);
    DebugShowFloat(2, "Rate", 0.5);
    DebugShowText(1, "Tick", "43");  // the same row again
    const HGLOBAL shot = capture_rect_dib(RECT{0, 0, 240, 80});
    ASSERT_NE(shot, 0u);
    void* p = GlobalLock(shot);
    const BYTE* bits = dib_bits(p);
    const int stride = ((240 * 24 + 31) / 32) * 4;
    auto at = [&](int x, int y) {
        const BYTE* q = bits + (79 - y) * stride + x * 3;
        return static_cast<COLORREF>(q[2] | (q[1] << 8) | (q[0] << 16));
    };
    EXPECT_EQ(at(0, 20), 0u);         // the strip's black border
    EXPECT_EQ(at(219, 39), 0u);
    EXPECT_EQ(at(200, 30), 0xFFFFFFu);  // white inside
    EXPECT_EQ(at(150, 50), 0xFFFFFFu);  // row 2 from y 40
    EXPECT_NE(at(225, 30), 0xFFFFFFu);  // right of the strip: the desktop
    GlobalUnlock(shot);
    dib_free(shot);
    DebugDelay(0);
    DebugDelay(1000);
}
