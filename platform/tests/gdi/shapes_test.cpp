// Golden pixels for lines, shapes, fills, ROP2, flood fill, clipping and
// mapping, drawn into memory-DC bitmaps.
#include "gdi_fixture.h"
#include <ostream>

using namespace gditest;

namespace {

struct LineCase {
    const char* name;
    POINT from, to;
    std::vector<std::string> grid;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineEnds : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineEnds, LastPixelIsNotDrawn)
{
    const LineCase& c = GetParam();
    Canvas cv(7, 5);
    MoveToEx(cv.dc, c.from.x, c.from.y, nullptr);
    LineTo(cv.dc, c.to.x, c.to.y);
    EXPECT_EQ(Joined(cv.Grid()), Joined(c.grid)) << c.name;
    POINT cp;
    GetCurrentPositionEx(cv.dc, &cp);
    EXPECT_EQ(cp.x, c.to.x);
    EXPECT_EQ(cp.y, c.to.y);
}

INSTANTIATE_TEST_SUITE_P(
    Gdi, LineEnds,
    ::testing::Values(
        LineCase{"right", {1, 1}, {5, 1}, {".......", ".####..", ".......", ".......", "......."}},
        LineCase{"left", {5, 1}, {1, 1}, {".......", "..####.", ".......", ".......", "......."}},
        LineCase{"down", {2, 0}, {2, 4}, {"..#....", "..#....", "..#....", "..#....", "......."}},
        LineCase{"up", {2, 4}, {2, 0}, {".......", "..#....", "..#....", "..#....", "..#...."}},
        LineCase{"diagonal", {0, 0}, {4, 4}, {"#......", ".#.....", "..#....", "...#...", "......."}},
        LineCase{"diagonal back", {4, 4}, {0, 0}, {".......", ".#.....", "..#....", "...#...", "....#.."}},
        LineCase{"anti-diagonal", {5, 0}, {1, 4}, {".....#.", "....#..", "...#...", "..#....", "......."}},
        LineCase{"shallow", {0, 0}, {6, 2}, {"##.....", "..###..", ".....#.", ".......", "......."}},
        LineCase{"zero length", {3, 2}, {3, 2}, {".......", ".......", ".......", ".......", "......."}},
        LineCase{"off the bitmap", {-3, 2}, {20, 2}, {".......", ".......", "#######", ".......", "......."}},
        LineCase{"huge", {-2000000000, 2}, {2000000000, 2}, {".......", ".......", "#######", ".......", "......."}},
        LineCase{"huge steep", {3, -2000000000}, {3, 2000000000}, {"...#...", "...#...", "...#...", "...#...", "...#..."}}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (ch == ' ' || ch == '-')
                ch = '_';
        return n;
    });

TEST(GdiLines, PolylineJoinsDrawEachPixelOnceSoXorKeepsThem)
{
    Canvas cv(6, 4);
    SetROP2(cv.dc, R2_XORPEN);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255)); // white XOR white = black
    SelectObject(cv.dc, pen);
    cv.Clear(WHITE);
    const POINT pts[] = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
    Polyline(cv.dc, pts, 4);
    // A joint drawn twice would XOR back to white.
    EXPECT_GRID(cv.Grid(), {"#####.", "....#.", "....#.", ".####."});
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiLines, XorLineDrawnTwiceRestoresThePicture)
{
    Canvas cv(12, 8);
    HBRUSH blue = CreateSolidBrush(BLUE);
    RECT r{3, 2, 9, 6};
    FillRect(cv.dc, &r, blue);
    const auto before = cv.Grid();

    HPEN pen = CreatePen(PS_SOLID, 1, RED);
    SelectObject(cv.dc, pen);
    SetROP2(cv.dc, R2_XORPEN);
    MoveToEx(cv.dc, 0, 7, nullptr);
    LineTo(cv.dc, 12, 0);
    // Drawn once: white ^ red is cyan, blue ^ red is magenta.
    EXPECT_EQ(GetPixel(cv.dc, 0, 7), RGB(0, 255, 255));
    EXPECT_EQ(cv.Count(RGB(255, 0, 255)) > 0, true);
    MoveToEx(cv.dc, 0, 7, nullptr);
    LineTo(cv.dc, 12, 0);
    EXPECT_EQ(Joined(cv.Grid()), Joined(before));

    // R2_NOT ignores the pen colour and inverts.
    SetROP2(cv.dc, R2_NOT);
    MoveToEx(cv.dc, 0, 0, nullptr);
    LineTo(cv.dc, 4, 0);
    EXPECT_EQ(GetPixel(cv.dc, 0, 0), BLACK);
    EXPECT_EQ(GetPixel(cv.dc, 4, 0), WHITE);
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
    DeleteObject(blue);
}

struct StyleCase {
    int style;
    int bkMode;
    int length;
    std::string row;
};

void PrintTo(const StyleCase& c, std::ostream* os) { *os << "style " << c.style << " mode " << c.bkMode << " length " << c.length; }

class PenStyles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(PenStyles, OnOffPatternWithGapsInTheBackgroundWhenOpaque)
{
    const StyleCase& c = GetParam();
    Canvas cv(static_cast<int>(c.row.size()), 1);
    HPEN pen = CreatePen(c.style, 1, BLACK);
    SelectObject(cv.dc, pen);
    SetBkColor(cv.dc, RED);
    SetBkMode(cv.dc, c.bkMode);
    MoveToEx(cv.dc, 0, 0, nullptr);
    LineTo(cv.dc, c.length, 0);
    EXPECT_EQ(cv.Grid()[0], c.row);
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

INSTANTIATE_TEST_SUITE_P(
    Gdi, PenStyles,
    ::testing::Values(
        StyleCase{PS_DOT, OPAQUE, 14, "###rrr###rrr##."},
        StyleCase{PS_DOT, TRANSPARENT, 14, "###...###...##."},
        StyleCase{PS_DASH, TRANSPARENT, 28, "##################......####.."},
        StyleCase{PS_DASHDOT, OPAQUE, 26, "#########rrrrrr###rrrrrr##."},
        StyleCase{PS_DASHDOTDOT, TRANSPARENT, 26, "#########...###...###...##."},
        StyleCase{PS_NULL, OPAQUE, 5, "......"}));

TEST(GdiLines, StyledPatternContinuesAcrossConnectedSegments)
{
    Canvas cv(10, 1);
    HPEN pen = CreatePen(PS_DOT, 1, BLACK);
    SelectObject(cv.dc, pen);
    SetBkMode(cv.dc, TRANSPARENT);
    MoveToEx(cv.dc, 0, 0, nullptr);
    LineTo(cv.dc, 2, 0);
    LineTo(cv.dc, 9, 0);
    EXPECT_EQ(cv.Grid()[0], "###...###.");
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiLines, WidePenIsSolidWithSquareCaps)
{
    Canvas cv(10, 7);
    HPEN pen = CreatePen(PS_DOT, 3, BLACK); // styles exist only on 1-px pens
    SelectObject(cv.dc, pen);
    MoveToEx(cv.dc, 2, 3, nullptr);
    LineTo(cv.dc, 7, 3);
    // Half the width past each end, centred on the line.
    EXPECT_GRID(cv.Grid(), {"..........", "..........", ".########.", ".########.", ".########.",
                            "..........", ".........."});
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

struct RectCase {
    const char* name;
    int pen; // -1 = NULL_PEN, else width
    RECT box;
    std::vector<std::string> grid;
};

void PrintTo(const RectCase& c, std::ostream* os) { *os << c.name; }

class RectangleRules : public ::testing::TestWithParam<RectCase> {};

TEST_P(RectangleRules, PenInsideBrushInsideThePen)
{
    const RectCase& c = GetParam();
    Canvas cv(7, 6);
    HPEN pen = c.pen < 0 ? 0 : CreatePen(PS_SOLID, c.pen, BLACK);
    SelectObject(cv.dc, pen ? pen : GetStockObject(NULL_PEN));
    HBRUSH red = CreateSolidBrush(RED);
    SelectObject(cv.dc, red);
    Rectangle(cv.dc, c.box.left, c.box.top, c.box.right, c.box.bottom);
    EXPECT_EQ(Joined(cv.Grid()), Joined(c.grid)) << c.name;
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    SelectObject(cv.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
    if (pen)
        DeleteObject(pen);
}

INSTANTIATE_TEST_SUITE_P(
    Gdi, RectangleRules,
    ::testing::Values(
        RectCase{"one pixel pen", 1, {1, 1, 6, 5}, {".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}},
        RectCase{"null pen stops short", -1, {1, 1, 6, 5}, {".......", ".rrrr..", ".rrrr..", ".rrrr..", ".......", "......."}},
        RectCase{"wide pen inside", 2, {0, 0, 7, 6}, {"#######", "#######", "##rrr##", "##rrr##", "#######", "#######"}},
        RectCase{"corners swapped", 1, {6, 5, 1, 1}, {".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}},
        RectCase{"empty", 1, {2, 2, 2, 4}, {".......", ".......", ".......", ".......", ".......", "......."}}));

TEST(GdiShapes, StyledRectangleOutlineRunsOnePatternRoundTheBox)
{
    Canvas cv(8, 4);
    HPEN dot = CreatePen(PS_DOT, 1, BLACK);
    SelectObject(cv.dc, dot);
    SelectObject(cv.dc, GetStockObject(NULL_BRUSH));
    SetBkMode(cv.dc, TRANSPARENT);
    Rectangle(cv.dc, 0, 0, 8, 4);
    // Clockwise from the top left: 3 on, 3 off, carried across the corners.
    EXPECT_GRID(cv.Grid(), {"###...##", "#......#", "#.......", "...###.."});
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    SelectObject(cv.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(dot);
}

TEST(GdiShapes, FillRectFrameRectInvertRectAreExactlyHalfOpen)
{
    Canvas cv(7, 5);
    HBRUSH red = CreateSolidBrush(RED);
    RECT fill{1, 1, 4, 3};
    SetROP2(cv.dc, R2_XORPEN); // FillRect paints whatever the ROP2
    FillRect(cv.dc, &fill, red);
    RECT frame{0, 0, 7, 5};
    FrameRect(cv.dc, &frame, (HBRUSH)GetStockObject(BLACK_BRUSH));
    RECT inv{3, 2, 6, 4};
    InvertRect(cv.dc, &inv);
    // Red XOR-inverted is cyan ('?').
    EXPECT_GRID(cv.Grid(), {"#######", "#rrr..#", "#rr?###", "#..####", "#######"});
    DeleteObject(red);
}

TEST(GdiShapes, SystemColourIndexPlusOneIsABrush)
{
    Canvas cv(3, 1);
    RECT r{0, 0, 2, 1};
    EXPECT_NE(FillRect(cv.dc, &r, static_cast<HBRUSH>(COLOR_BTNFACE + 1)), 0);
    EXPECT_EQ(GetPixel(cv.dc, 1, 0), RGB(192, 192, 192));
    EXPECT_EQ(GetPixel(cv.dc, 2, 0), WHITE);
}

TEST(GdiShapes, EllipseFitsItsBoxAndIsSymmetric)
{
    Canvas cv(10, 8);
    HBRUSH red = CreateSolidBrush(RED);
    SelectObject(cv.dc, red);
    Ellipse(cv.dc, 1, 1, 9, 7);
    EXPECT_GRID(cv.Grid(), {"..........", "...####...", "..#rrrr#..", ".#rrrrrr#.", ".#rrrrrr#.",
                            "..#rrrr#..", "...####...", ".........."});

    // Without a pen the fill stops one pixel short right and bottom.
    cv.Clear(WHITE);
    SelectObject(cv.dc, GetStockObject(NULL_PEN));
    Ellipse(cv.dc, 1, 1, 9, 7);
    const RECT ink = cv.Ink();
    EXPECT_EQ(ink.left, 1);
    EXPECT_EQ(ink.top, 1);
    EXPECT_EQ(ink.right, 8);
    EXPECT_EQ(ink.bottom, 6);
    EXPECT_EQ(cv.Count(BLACK), 0);
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    SelectObject(cv.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

TEST(GdiShapes, RoundRectAndPolygonStayInTheirBoxes)
{
    Canvas cv(12, 10);
    HBRUSH red = CreateSolidBrush(RED);
    SelectObject(cv.dc, red);
    RoundRect(cv.dc, 1, 1, 11, 9, 4, 4);
    RECT ink = cv.Ink();
    EXPECT_EQ(ink.left, 1);
    EXPECT_EQ(ink.top, 1);
    EXPECT_EQ(ink.right, 11);
    EXPECT_EQ(ink.bottom, 9);
    EXPECT_EQ(GetPixel(cv.dc, 1, 1), WHITE); // rounded corner
    EXPECT_EQ(GetPixel(cv.dc, 5, 1), BLACK); // straight top edge
    EXPECT_EQ(GetPixel(cv.dc, 5, 5), RED);

    cv.Clear(WHITE);
    // A square given by its corners: the outline passes through every vertex.
    const POINT sq[] = {{2, 2}, {8, 2}, {8, 7}, {2, 7}};
    Polygon(cv.dc, sq, 4);
    EXPECT_GRID(cv.Grid(0, 1, 10, 8), {"..........", "..#######.", "..#rrrrr#.", "..#rrrrr#.", "..#rrrrr#.",
                                       "..#rrrrr#.", "..#######.", ".........."});
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    SelectObject(cv.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

TEST(GdiShapes, HugeShapesAreClippedNotWrapped)
{
    Canvas cv(6, 4);
    SelectObject(cv.dc, GetStockObject(BLACK_BRUSH));
    Ellipse(cv.dc, -2000000000, -2000000000, 2000000000, 2000000000);
    RoundRect(cv.dc, -2000000000, -2000000000, 2000000000, 2000000000, 2000000000, 2000000000);
    EXPECT_EQ(cv.Count(BLACK), 24);
    cv.Clear(WHITE);
    Rectangle(cv.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_EQ(cv.Count(BLACK), 24);
    cv.Clear(WHITE);
    HPEN wide = CreatePen(PS_SOLID, 2000000000, BLACK);
    SelectObject(cv.dc, wide);
    MoveToEx(cv.dc, 0, 0, nullptr);
    LineTo(cv.dc, 1, 1);
    EXPECT_EQ(cv.Count(BLACK), 24);
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
    DeleteObject(wide);
    EXPECT_TRUE(BitBlt(cv.dc, INT32_MAX - 1, 0, INT32_MAX, 4, cv.dc, 0, 0, SRCCOPY));
    SelectObject(cv.dc, GetStockObject(WHITE_BRUSH));
}

TEST(GdiShapes, PolygonFillIsAlternateByDefault)
{
    Canvas cv(10, 10);
    SelectObject(cv.dc, GetStockObject(NULL_PEN));
    SelectObject(cv.dc, GetStockObject(BLACK_BRUSH));
    // Two nested squares as one self-overlapping outline: the inner one is a hole.
    const POINT pts[] = {{0, 0}, {9, 0}, {9, 9}, {0, 9}, {0, 0}, {3, 3}, {6, 3}, {6, 6}, {3, 6}, {3, 3}};
    Polygon(cv.dc, pts, 10);
    EXPECT_EQ(GetPixel(cv.dc, 1, 1), BLACK);
    EXPECT_EQ(GetPixel(cv.dc, 4, 4), WHITE);
    SetPolyFillMode(cv.dc, WINDING);
    Polygon(cv.dc, pts, 10);
    EXPECT_EQ(GetPixel(cv.dc, 4, 4), BLACK);
    SelectObject(cv.dc, GetStockObject(BLACK_PEN));
}

TEST(GdiShapes, FloodFillBorderAndSurface)
{
    Canvas cv(9, 7);
    SelectObject(cv.dc, GetStockObject(NULL_BRUSH));
    Rectangle(cv.dc, 1, 1, 7, 6);
    HBRUSH red = CreateSolidBrush(RED);
    SelectObject(cv.dc, red);
    EXPECT_TRUE(FloodFill(cv.dc, 3, 3, BLACK));
    EXPECT_GRID(cv.Grid(), {".........", ".######..", ".#rrrr#..", ".#rrrr#..", ".#rrrr#..", ".######..", "........."});

    // Surface: everything white connected to (0, 0), outside the box only.
    HBRUSH blue = CreateSolidBrush(BLUE);
    SelectObject(cv.dc, blue);
    EXPECT_TRUE(ExtFloodFill(cv.dc, 0, 0, WHITE, FLOODFILLSURFACE));
    EXPECT_GRID(cv.Grid(), {"bbbbbbbbb", "b######bb", "b#rrrr#bb", "b#rrrr#bb", "b#rrrr#bb", "b######bb", "bbbbbbbbb"});

    // Starting on the border colour, or on another colour for SURFACE, fills nothing.
    EXPECT_FALSE(FloodFill(cv.dc, 1, 1, BLACK));
    EXPECT_FALSE(ExtFloodFill(cv.dc, 3, 3, WHITE, FLOODFILLSURFACE));

    // The fill never leaves the clip.
    cv.Clear(WHITE);
    IntersectClipRect(cv.dc, 0, 0, 4, 7);
    SelectObject(cv.dc, red);
    EXPECT_TRUE(ExtFloodFill(cv.dc, 0, 0, WHITE, FLOODFILLSURFACE));
    EXPECT_GRID(cv.Grid(), {"rrrr.....", "rrrr.....", "rrrr.....", "rrrr.....", "rrrr.....", "rrrr.....", "rrrr....."});
    EXPECT_FALSE(ExtFloodFill(cv.dc, 6, 0, WHITE, FLOODFILLSURFACE));
    SelectClipRgn(cv.dc, 0);
    SelectObject(cv.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
    DeleteObject(blue);
}

TEST(GdiClip, RegionsLimitEveryPrimitive)
{
    Canvas cv(8, 5);
    HRGN a = CreateRectRgn(0, 0, 2, 2);
    HRGN b = CreateRectRgn(5, 3, 8, 5);
    HRGN both = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(both, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(SelectClipRgn(cv.dc, both), COMPLEXREGION);
    DeleteObject(both); // the DC keeps its own copy

    HBRUSH red = CreateSolidBrush(RED);
    RECT all{0, 0, 8, 5};
    FillRect(cv.dc, &all, red);
    MoveToEx(cv.dc, 0, 4, nullptr);
    LineTo(cv.dc, 8, 4);
    EXPECT_EQ(SetPixel(cv.dc, 3, 0, BLUE), CLR_INVALID);
    EXPECT_EQ(GetPixel(cv.dc, 3, 0), CLR_INVALID);
    EXPECT_GRID(cv.Grid(), {"rr......", "rr......", "........", ".....rrr", ".....###"});

    RECT box;
    EXPECT_EQ(GetClipBox(cv.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 8);
    EXPECT_EQ(box.bottom, 5);

    EXPECT_EQ(IntersectClipRect(cv.dc, 6, 0, 8, 5), SIMPLEREGION);
    EXPECT_EQ(GetClipBox(cv.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 6);
    EXPECT_EQ(box.top, 3);
    EXPECT_EQ(IntersectClipRect(cv.dc, 0, 0, 1, 1), NULLREGION);

    // No clip: the whole bitmap.
    EXPECT_EQ(SelectClipRgn(cv.dc, 0), SIMPLEREGION);
    EXPECT_EQ(GetClipBox(cv.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 8);
    EXPECT_EQ(box.bottom, 5);

    HRGN diff = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(diff, a, a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(diff, a, 0, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(diff, a, b, RGN_AND), NULLREGION);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(diff);
    DeleteObject(red);
}

TEST(GdiClip, ClipRectanglesAreDeviceUnitsWhateverTheMapping)
{
    Canvas cv(8, 4);
    SetViewportOrgEx(cv.dc, 2, 0, nullptr);
    IntersectClipRect(cv.dc, 0, 0, 4, 4); // device 0..3, not logical
    HBRUSH red = CreateSolidBrush(RED);
    RECT all{-2, 0, 6, 4};
    FillRect(cv.dc, &all, red);
    EXPECT_EQ(cv.Grid(0, 0, 8, 1)[0], "rrrr....");
    DeleteObject(red);
}

TEST(GdiState, SaveAndRestoreBringBackObjectsColoursClipAndMapping)
{
    Canvas cv(6, 2);
    HPEN pen = CreatePen(PS_SOLID, 1, RED);
    const int level = SaveDC(cv.dc);
    EXPECT_EQ(level, 1);
    SelectObject(cv.dc, pen);
    SetTextColor(cv.dc, BLUE);
    SetBkMode(cv.dc, TRANSPARENT);
    SetROP2(cv.dc, R2_XORPEN);
    IntersectClipRect(cv.dc, 0, 0, 1, 1);
    SetViewportOrgEx(cv.dc, 3, 0, nullptr);
    EXPECT_EQ(SaveDC(cv.dc), 2);
    SetTextColor(cv.dc, GREEN);

    EXPECT_TRUE(RestoreDC(cv.dc, -1));
    EXPECT_EQ(GetTextColor(cv.dc), BLUE);
    EXPECT_TRUE(RestoreDC(cv.dc, level));
    EXPECT_EQ(GetTextColor(cv.dc), BLACK);
    EXPECT_EQ(GetBkMode(cv.dc), OPAQUE);
    EXPECT_EQ(GetROP2(cv.dc), R2_COPYPEN);
    EXPECT_EQ(SelectObject(cv.dc, GetStockObject(BLACK_PEN)), GetStockObject(BLACK_PEN));
    MoveToEx(cv.dc, 0, 0, nullptr);
    LineTo(cv.dc, 6, 0); // no clip, no offset after the restore
    EXPECT_EQ(cv.Grid()[0], "######");
    EXPECT_FALSE(RestoreDC(cv.dc, -1)); // nothing left to restore
    EXPECT_FALSE(RestoreDC(cv.dc, 3));
    DeleteObject(pen);
}

TEST(GdiMapping, AnisotropicScalesAndMovesARectangle)
{
    Canvas cv(12, 10);
    EXPECT_EQ(SetMapMode(cv.dc, MM_ANISOTROPIC), MM_TEXT);
    SetWindowExtEx(cv.dc, 100, 100, nullptr);
    SetViewportExtEx(cv.dc, 10, 10, nullptr);
    SetViewportOrgEx(cv.dc, 1, 1, nullptr);
    SetWindowOrgEx(cv.dc, 0, 0, nullptr);
    // Logical (0,0)-(60,50) is device (1,1)-(7,6).
    Rectangle(cv.dc, 0, 0, 60, 50);
    const RECT ink = cv.Ink();
    EXPECT_EQ(ink.left, 1);
    EXPECT_EQ(ink.top, 1);
    EXPECT_EQ(ink.right, 7);
    EXPECT_EQ(ink.bottom, 6);

    // Mapped coordinates round to nearest, halves away from zero.
    POINT pts[] = {{15, -15}, {14, 26}, {-25, 0}};
    LPtoDP(cv.dc, pts, 3);
    EXPECT_EQ(pts[0].x, 3);
    EXPECT_EQ(pts[0].y, -1);
    EXPECT_EQ(pts[1].x, 2);
    EXPECT_EQ(pts[1].y, 4);
    EXPECT_EQ(pts[2].x, -2);

    // A flipped y axis (extent negative) still gives the same box.
    cv.Clear(WHITE);
    SetViewportExtEx(cv.dc, 10, -10, nullptr);
    SetViewportOrgEx(cv.dc, 1, 9, nullptr);
    Rectangle(cv.dc, 0, 0, 60, 50); // device y from 9 up to 4
    const RECT flipped = cv.Ink();
    EXPECT_EQ(flipped.top, 4);
    EXPECT_EQ(flipped.bottom, 9);

    // Back to MM_TEXT: extents are ignored again.
    SetMapMode(cv.dc, MM_TEXT);
    SetViewportOrgEx(cv.dc, 0, 0, nullptr);
    POINT p{7, 7};
    LPtoDP(cv.dc, &p, 1);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 7);
}

} // namespace
