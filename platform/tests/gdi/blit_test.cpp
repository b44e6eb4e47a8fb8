// Golden pixels for BitBlt, StretchBlt and PatBlt: raster operations,
// monochrome conversions, the mask-and-picture transparent blit.
#include "gdi_fixture.h"
#include <ostream>

using namespace gditest;

namespace {

// A memory DC holding a bitmap painted pixel by pixel from a character row
// list ('.' white, '#' black, 'r' red, 'b' blue, 'y' yellow).
class Sprite {
public:
    Sprite(const std::vector<std::string>& rows, bool mono)
    {
        const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
        dc = CreateCompatibleDC(0);
        bmp = CreateBitmap(w, h, 1, mono ? 1 : 32, nullptr);
        old = SelectObject(dc, bmp);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                SetPixel(dc, x, y, ColorOf(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]));
    }
    ~Sprite()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    static COLORREF ColorOf(char c)
    {
        switch (c) {
        case '#': return BLACK;
        case 'r': return RED;
        case 'g': return GREEN;
        case 'b': return BLUE;
        case 'y': return YELLOW;
        default: return WHITE;
        }
    }
    std::vector<std::string> Grid(int w, int h) const
    {
        std::vector<std::string> rows;
        for (int y = 0; y < h; ++y) {
            std::string r;
            for (int x = 0; x < w; ++x)
                r.push_back(CharOf(GetPixel(dc, x, y)));
            rows.push_back(r);
        }
        return rows;
    }
    HDC dc = 0;
    HBITMAP bmp = 0;
    HGDIOBJ old = 0;
};

TEST(GdiBlit, MonoBitsFromCreateBitmapAreWordAlignedRows)
{
    // Rows of 8 pixels padded to 16 bits: 0xF0 then 0x0F.
    const uint8_t bits[] = {0xF0, 0x00, 0x0F, 0x00};
    HBITMAP mono = CreateBitmap(8, 2, 1, 1, bits);
    HDC src = CreateCompatibleDC(0);
    HGDIOBJ old = SelectObject(src, mono);

    // Monochrome to colour: 1 takes the destination's background colour,
    // 0 its text colour.
    Canvas cv(8, 2);
    SetTextColor(cv.dc, RED);
    SetBkColor(cv.dc, BLUE);
    EXPECT_TRUE(BitBlt(cv.dc, 0, 0, 8, 2, src, 0, 0, SRCCOPY));
    EXPECT_GRID(cv.Grid(), {"bbbbrrrr", "rrrrbbbb"});

    BITMAP bm{};
    ASSERT_EQ(GetObject(mono, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 8);
    EXPECT_EQ(bm.bmHeight, 2);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 2);
    SelectObject(src, old);
    DeleteObject(mono);
    DeleteDC(src);
}

TEST(GdiBlit, ColourToMonoMarksTheSourceBackgroundColourAsWhite)
{
    Sprite pic({"rbr#", ".rr."}, false);
    Sprite mask({"....", "...."}, true);
    SetBkColor(pic.dc, RED);
    EXPECT_TRUE(BitBlt(mask.dc, 0, 0, 4, 2, pic.dc, 0, 0, SRCCOPY));
    EXPECT_GRID(mask.Grid(4, 2), {".#.#", "#..#"});
    // Drawing into a monochrome bitmap snaps colours to black or white.
    EXPECT_EQ(SetPixel(mask.dc, 0, 0, RGB(200, 200, 200)), WHITE);
    EXPECT_EQ(SetPixel(mask.dc, 0, 0, RGB(60, 60, 60)), BLACK);
}

TEST(GdiBlit, MaskAndThenPictureMakesATransparentSprite)
{
    Canvas cv(4, 1);
    cv.Clear(YELLOW);
    // Black in the picture is the see-through colour; the mask is white there.
    Sprite pic({"r#b#"}, false);
    Sprite mask({"#.#."}, true);
    EXPECT_TRUE(BitBlt(cv.dc, 0, 0, 4, 1, mask.dc, 0, 0, SRCAND));
    EXPECT_EQ(cv.Grid()[0], "#y#y");
    EXPECT_TRUE(BitBlt(cv.dc, 0, 0, 4, 1, pic.dc, 0, 0, SRCPAINT));
    EXPECT_EQ(cv.Grid()[0], "ryby");
}

struct RopCase {
    const char* name;
    DWORD rop;
    // destination "r.#b", source "rr..", brush yellow
    std::vector<COLORREF> expected;
};

void PrintTo(const RopCase& c, std::ostream* os) { *os << c.name; }

class RasterOps : public ::testing::TestWithParam<RopCase> {};

TEST_P(RasterOps, EachOperationOnKnownPixels)
{
    const RopCase& c = GetParam();
    Canvas cv(4, 1);
    SetPixel(cv.dc, 0, 0, RED);
    SetPixel(cv.dc, 2, 0, BLACK);
    SetPixel(cv.dc, 3, 0, BLUE);
    Sprite src({"rr.."}, false);
    HBRUSH yellow = CreateSolidBrush(YELLOW);
    SelectObject(cv.dc, yellow);
    EXPECT_TRUE(BitBlt(cv.dc, 0, 0, 4, 1, src.dc, 0, 0, c.rop));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(GetPixel(cv.dc, x, 0), c.expected[static_cast<size_t>(x)]) << c.name << " x=" << x;
    SelectObject(cv.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(yellow);
}

constexpr COLORREF CYAN = RGB(0, 255, 255);

INSTANTIATE_TEST_SUITE_P(
    Gdi, RasterOps,
    ::testing::Values(RopCase{"SRCCOPY", SRCCOPY, {RED, RED, WHITE, WHITE}},
                      RopCase{"SRCAND", SRCAND, {RED, RED, BLACK, BLUE}},
                      RopCase{"SRCPAINT", SRCPAINT, {RED, WHITE, WHITE, WHITE}},
                      RopCase{"SRCINVERT", SRCINVERT, {BLACK, CYAN, WHITE, YELLOW}},
                      RopCase{"NOTSRCCOPY", NOTSRCCOPY, {CYAN, CYAN, BLACK, BLACK}},
                      RopCase{"MERGECOPY", MERGECOPY, {RED, RED, YELLOW, YELLOW}},
                      RopCase{"PATCOPY", PATCOPY, {YELLOW, YELLOW, YELLOW, YELLOW}},
                      RopCase{"PATINVERT", PATINVERT, {GREEN, BLUE, YELLOW, WHITE}},
                      RopCase{"DSTINVERT", DSTINVERT, {CYAN, BLACK, WHITE, YELLOW}},
                      RopCase{"BLACKNESS", BLACKNESS, {BLACK, BLACK, BLACK, BLACK}},
                      RopCase{"WHITENESS", WHITENESS, {WHITE, WHITE, WHITE, WHITE}},
                      RopCase{"SRCERASE", SRCERASE, {BLACK, BLACK, WHITE, YELLOW}},
                      RopCase{"MERGEPAINT", MERGEPAINT, {WHITE, WHITE, BLACK, BLUE}},
                      RopCase{"PATPAINT", PATPAINT, {WHITE, WHITE, YELLOW, WHITE}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GdiBlit, SrcInvertTwiceRestores)
{
    Canvas cv(3, 1);
    SetPixel(cv.dc, 1, 0, BLUE);
    Sprite src({"rgb"}, false);
    BitBlt(cv.dc, 0, 0, 3, 1, src.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(GetPixel(cv.dc, 1, 0), RGB(0, 255, 255));
    BitBlt(cv.dc, 0, 0, 3, 1, src.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(cv.Grid()[0], ".b.");
}

TEST(GdiBlit, PatBltUsesTheBrushAndRefusesSourceOperations)
{
    Canvas cv(6, 3);
    HBRUSH red = CreateSolidBrush(RED);
    SelectObject(cv.dc, red);
    EXPECT_TRUE(PatBlt(cv.dc, 1, 1, 3, 2, PATCOPY));
    EXPECT_TRUE(PatBlt(cv.dc, 3, 0, 2, 3, DSTINVERT));
    EXPECT_FALSE(PatBlt(cv.dc, 0, 0, 6, 3, SRCCOPY));
    EXPECT_GRID(cv.Grid(), {"...##.", ".rr?#.", ".rr?#."});
    // A hollow brush paints nothing.
    SelectObject(cv.dc, GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(PatBlt(cv.dc, 0, 0, 6, 3, PATCOPY));
    EXPECT_GRID(cv.Grid(), {"...##.", ".rr?#.", ".rr?#."});
    SelectObject(cv.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

TEST(GdiBlit, StretchRepeatsOrDropsPixelsAndMirrors)
{
    Sprite src({"rb", "gy"}, false);
    Canvas cv(4, 4);
    EXPECT_TRUE(StretchBlt(cv.dc, 0, 0, 4, 4, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_GRID(cv.Grid(), {"rrbb", "rrbb", "ggyy", "ggyy"});
    cv.Clear(WHITE);
    // A negative destination width mirrors left to right.
    EXPECT_TRUE(StretchBlt(cv.dc, 4, 0, -4, 2, src.dc, 0, 0, 2, 1, SRCCOPY));
    EXPECT_GRID(cv.Grid(), {"bbrr", "bbrr", "....", "...."});
    cv.Clear(WHITE);
    EXPECT_TRUE(StretchBlt(cv.dc, 0, 0, 1, 1, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(cv.dc, 0, 0), RED);
}

TEST(GdiBlit, OverlappingCopyWithinOneBitmapReadsTheOldPixels)
{
    Canvas cv(7, 1);
    SetPixel(cv.dc, 0, 0, RED);
    SetPixel(cv.dc, 1, 0, GREEN);
    SetPixel(cv.dc, 2, 0, BLUE);
    EXPECT_TRUE(BitBlt(cv.dc, 1, 0, 3, 1, cv.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(cv.Grid()[0], "rrgb...");
    EXPECT_TRUE(BitBlt(cv.dc, 0, 0, 3, 1, cv.dc, 1, 0, SRCCOPY));
    EXPECT_EQ(cv.Grid()[0], "rgbb...");
}

TEST(GdiBlit, ClipAndSourceBoundsLimitTheCopy)
{
    Sprite src({"rrr", "rrr"}, false);
    Canvas cv(6, 3);
    IntersectClipRect(cv.dc, 0, 0, 4, 3);
    // Source pixels past the bitmap's edge leave the destination alone.
    EXPECT_TRUE(BitBlt(cv.dc, 1, 0, 5, 3, src.dc, 0, 0, SRCCOPY));
    EXPECT_GRID(cv.Grid(), {".rrr..", ".rrr..", "......"});
    cv.Clear(WHITE);
    EXPECT_TRUE(BitBlt(cv.dc, 2, 0, 5, 3, src.dc, 0, 0, SRCCOPY));
    EXPECT_GRID(cv.Grid(), {"..rr..", "..rr..", "......"});
}

TEST(GdiBlit, BadHandlesFailWithoutDrawing)
{
    Canvas cv(2, 1);
    HPEN pen = CreatePen(PS_SOLID, 1, RED);
    EXPECT_FALSE(BitBlt(cv.dc, 0, 0, 2, 1, pen, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(pen, 0, 0, 2, 1, cv.dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(cv.dc, 0, 0, 2, 1, 0, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(cv.dc, 0, 0, 2, 1, 0, 0, 0, BLACKNESS)); // no source needed
    EXPECT_EQ(cv.Grid()[0], "##");
    DeleteObject(pen);
}

} // namespace
