// Fonts and text: measured metrics and extents, text cells placed by their
// top left, OPAQUE cell fills, alignment, DrawText layout, prefixes and
// turned text. Glyph shapes are never compared, only cells and ink boxes.
#include "gdi_fixture.h"
#include <ostream>
#include <cstring>

using namespace gditest;

namespace {

struct Measured {
    TEXTMETRIC tm{};
    SIZE ext{};
};

Measured measure(HDC dc, const char* text)
{
    Measured m;
    EXPECT_TRUE(GetTextMetrics(dc, &m.tm));
    EXPECT_TRUE(GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &m.ext));
    return m;
}

HFONT make_font(int height, int weight = FW_NORMAL, int escapement = 0, const char* face = "MS Sans Serif",
                BYTE underline = 0)
{
    return CreateFont(height, 0, escapement, escapement, weight, 0, underline, 0, ANSI_CHARSET, 0, 0, 0,
                      VARIABLE_PITCH | FF_SWISS, face);
}

bool same_rect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string str(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ")";
}

struct FontCase {
    const char* name;
    int height; // as given to CreateFont
    int weight;
    int em;     // expected em pixels, 0 = check the cell rule instead
};

void PrintTo(const FontCase& c, std::ostream* os) { *os << c.name; }

class FontMetrics : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontMetrics, HeightIsAscentPlusDescentAndExtentsAreSumsOfAdvances)
{
    const FontCase& c = GetParam();
    Canvas cv(4, 4);
    HFONT f = make_font(c.height, c.weight);
    SelectObject(cv.dc, f);
    const Measured m = measure(cv.dc, "AB");
    EXPECT_EQ(m.tm.tmHeight, m.tm.tmAscent + m.tm.tmDescent);
    EXPECT_EQ(m.ext.cy, m.tm.tmHeight);
    if (c.em > 0) {
        EXPECT_EQ(m.tm.tmInternalLeading, m.tm.tmHeight - c.em);
    } else {
        // A positive height is the whole cell, and the largest font that fits.
        EXPECT_LE(m.tm.tmHeight, c.height);
        EXPECT_GE(m.tm.tmHeight, c.height - 2);
    }
    EXPECT_EQ(m.tm.tmWeight, c.weight >= 600 ? FW_BOLD : FW_NORMAL);
    SIZE a{}, b{}, empty{};
    GetTextExtentPoint32(cv.dc, "A", 1, &a);
    GetTextExtentPoint32(cv.dc, "B", 1, &b);
    EXPECT_EQ(m.ext.cx, a.cx + b.cx);
    GetTextExtentPoint32(cv.dc, "", 0, &empty);
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, m.tm.tmHeight);
    EXPECT_GT(m.tm.tmAveCharWidth, 0);
    EXPECT_GE(m.tm.tmMaxCharWidth, m.tm.tmAveCharWidth);
    SelectObject(cv.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
}

INSTANTIATE_TEST_SUITE_P(Gdi, FontMetrics,
                         ::testing::Values(FontCase{"em11", -11, FW_NORMAL, 11},
                                           FontCase{"em8pt_default", 0, FW_NORMAL, 11},
                                           FontCase{"em20bold", -20, FW_BOLD, 20},
                                           FontCase{"semibold_is_bold", -13, 600, 13},
                                           FontCase{"thin_is_normal", -13, 100, 13},
                                           FontCase{"cell20", 20, FW_NORMAL, 0},
                                           FontCase{"cell33", 33, FW_NORMAL, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GdiFonts, SubstitutionFollowsFaceAndPitch)
{
    Canvas cv(4, 4);
    auto widths_equal = [&](HFONT f) {
        SelectObject(cv.dc, f);
        SIZE i{}, w{};
        GetTextExtentPoint32(cv.dc, "iiii", 4, &i);
        GetTextExtentPoint32(cv.dc, "WWWW", 4, &w);
        SelectObject(cv.dc, GetStockObject(SYSTEM_FONT));
        DeleteObject(f);
        return i.cx == w.cx;
    };
    EXPECT_TRUE(widths_equal(make_font(-13, FW_NORMAL, 0, "Courier New")));
    EXPECT_TRUE(widths_equal(make_font(-13, FW_NORMAL, 0, "courier")));
    EXPECT_TRUE(widths_equal(CreateFont(-13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, FIXED_PITCH, "Unknown")));
    EXPECT_FALSE(widths_equal(make_font(-13, FW_NORMAL, 0, "Arial")));
    EXPECT_FALSE(widths_equal(make_font(-13, FW_NORMAL, 0, "Times New Roman")));
    EXPECT_FALSE(widths_equal(make_font(-13, FW_NORMAL, 0, "")));

    // "MS Sans Serif" and "Helvetica" are the same face; "Times" is another.
    auto extent = [&](const char* face) {
        HFONT f = make_font(-13, FW_NORMAL, 0, face);
        SelectObject(cv.dc, f);
        SIZE s{};
        GetTextExtentPoint32(cv.dc, "Operations Management", 21, &s);
        SelectObject(cv.dc, GetStockObject(SYSTEM_FONT));
        DeleteObject(f);
        return s.cx;
    };
    EXPECT_EQ(extent("MS Sans Serif"), extent("helvetica"));
    EXPECT_EQ(extent("Ms Sans Serif"), extent("Small Fonts"));
    EXPECT_NE(extent("MS Sans Serif"), extent("Times"));
    EXPECT_EQ(extent("MS Serif"), extent("times new roman"));

    // Bold is wider than regular at the same size.
    HFONT reg = make_font(-13), bold = make_font(-13, FW_BOLD);
    SIZE r{}, b{};
    SelectObject(cv.dc, reg);
    GetTextExtentPoint32(cv.dc, "Shop floor", 10, &r);
    SelectObject(cv.dc, bold);
    GetTextExtentPoint32(cv.dc, "Shop floor", 10, &b);
    EXPECT_GT(b.cx, r.cx);
    SelectObject(cv.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(reg);
    DeleteObject(bold);
}

TEST(GdiText, StockGuiFontHasAClassicSize)
{
    Canvas cv(4, 4);
    SelectObject(cv.dc, GetStockObject(DEFAULT_GUI_FONT));
    const Measured m = measure(cv.dc, "x");
    EXPECT_GE(m.tm.tmHeight, 12);
    EXPECT_LE(m.tm.tmHeight, 14);
    EXPECT_GE(m.tm.tmAveCharWidth, 4);
    EXPECT_LE(m.tm.tmAveCharWidth, 7);
}

TEST(GdiText, OpaqueTextFillsExactlyItsCellFromTheTopLeft)
{
    Canvas cv(60, 30);
    SelectObject(cv.dc, GetStockObject(DEFAULT_GUI_FONT));
    const Measured m = measure(cv.dc, "Hi");
    SetBkColor(cv.dc, RED);
    ASSERT_TRUE(TextOut(cv.dc, 3, 4, "Hi", 2));
    const RECT cell{3, 4, 3 + m.ext.cx, 4 + m.tm.tmHeight};
    EXPECT_PRED2(same_rect, cv.Ink(), cell) << str(cv.Ink()) << " vs " << str(cell);
    const int black = cv.Count(BLACK), red = cv.Count(RED);
    EXPECT_GT(black, 0);
    EXPECT_EQ(black + red, m.ext.cx * m.tm.tmHeight); // nothing but text and background colour

    // Transparent: no background, and the letters stand on the baseline at
    // y + ascent ("Hi" has no descenders).
    cv.Clear(WHITE);
    SetBkMode(cv.dc, TRANSPARENT);
    TextOut(cv.dc, 3, 4, "Hi", 2);
    const RECT ink = cv.Ink();
    EXPECT_EQ(cv.Count(RED), 0);
    EXPECT_EQ(ink.bottom, 4 + m.tm.tmAscent);
    EXPECT_GT(ink.top, 4);
    EXPECT_GE(ink.left, 3);
    EXPECT_LE(ink.right, 3 + m.ext.cx);
}

struct AlignCase {
    const char* name;
    UINT align;
};

void PrintTo(const AlignCase& c, std::ostream* os) { *os << c.name; }

class TextAlign : public ::testing::TestWithParam<AlignCase> {};

TEST_P(TextAlign, CellMovesAroundTheReferencePoint)
{
    const AlignCase& c = GetParam();
    Canvas cv(120, 60);
    SelectObject(cv.dc, GetStockObject(DEFAULT_GUI_FONT));
    const Measured m = measure(cv.dc, "Gauge");
    SetBkColor(cv.dc, RED);
    SetTextAlign(cv.dc, c.align);
    TextOut(cv.dc, 60, 30, "Gauge", 5);
    RECT cell{60, 30, 60 + m.ext.cx, 30 + m.tm.tmHeight};
    const UINT h = c.align & (TA_LEFT | TA_RIGHT | TA_CENTER);
    const UINT v = c.align & (TA_TOP | TA_BOTTOM | TA_BASELINE);
    const int dx = h == TA_RIGHT ? -m.ext.cx : h == TA_CENTER ? -(m.ext.cx / 2) : 0;
    const int dy = v == TA_BOTTOM ? -m.tm.tmHeight : v == TA_BASELINE ? -m.tm.tmAscent : 0;
    cell = RECT{cell.left + dx, cell.top + dy, cell.right + dx, cell.bottom + dy};
    EXPECT_PRED2(same_rect, cv.Ink(), cell) << str(cv.Ink()) << " vs " << str(cell);
}

INSTANTIATE_TEST_SUITE_P(Gdi, TextAlign,
                         ::testing::Values(AlignCase{"left_top", TA_LEFT | TA_TOP},
                                           AlignCase{"right_top", TA_RIGHT | TA_TOP},
                                           AlignCase{"center_baseline", TA_CENTER | TA_BASELINE},
                                           AlignCase{"left_bottom", TA_LEFT | TA_BOTTOM},
                                           AlignCase{"right_baseline", TA_RIGHT | TA_BASELINE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GdiText, UpdateCpChainsRuns)
{
    Canvas cv(100, 20);
    SelectObject(cv.dc, GetStockObject(DEFAULT_GUI_FONT));
    const Measured m = measure(cv.dc, "ab");
    SetTextAlign(cv.dc, TA_UPDATECP);
    MoveToEx(cv.dc, 5, 2, nullptr);
    TextOut(cv.dc, 0, 0, "ab", 2); // position ignored
    POINT cp;
    GetCurrentPositionEx(cv.dc, &cp);
    EXPECT_EQ(cp.x, 5 + m.ext.cx);
    EXPECT_EQ(cp.y, 2);
    SetBkColor(cv.dc, RED);
    TextOut(cv.dc, 0, 0, "ab", 2);
    const RECT ink = cv.Ink();
    EXPECT_EQ(ink.left, 5);
    EXPECT_EQ(ink.right, 5 + 2 * m.ext.cx);
    EXPECT_EQ(ink.top, 2);
}

TEST(GdiText, ExtTextOutOpaqueRectangleClippingAndSpacing)
{
    Canvas cv(80, 40);
    SelectObject(cv.dc, GetStockObject(DEFAULT_GUI_FONT));
    const Measured m = measure(cv.dc, "x");
    SetBkMode(cv.dc, TRANSPARENT);
    SetBkColor(cv.dc, BLUE);
    // The classic fast fill: no text, just the opaque rectangle.
    RECT r{10, 5, 30, 12};
    ASSERT_TRUE(ExtTextOut(cv.dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr));
    EXPECT_PRED2(same_rect, cv.Ink(), r) << str(cv.Ink());
    EXPECT_EQ(cv.Count(BLUE), 20 * 7);

    // Clipped to the rectangle, whatever the text's length.
    cv.Clear(WHITE);
    SetBkMode(cv.dc, OPAQUE);
    RECT clip{10, 10, 25, 10 + m.tm.tmHeight};
    ExtTextOut(cv.dc, 10, 10, ETO_CLIPPED, &clip, "Inventory levels", 16, nullptr);
    EXPECT_PRED2(same_rect, cv.Ink(), clip) << str(cv.Ink());

    // Explicit advances set the cell width.
    cv.Clear(WHITE);
    const INT dx[] = {10, 12};
    ExtTextOut(cv.dc, 4, 2, 0, nullptr, "ii", 2, dx);
    const RECT cell{4, 2, 26, 2 + m.tm.tmHeight};
    EXPECT_PRED2(same_rect, cv.Ink(), cell) << str(cv.Ink());
}

struct DrawCase {
    const char* name;
    UINT format;
};

void PrintTo(const DrawCase& c, std::ostream* os) { *os << c.name; }

class DrawTextPlacement : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawTextPlacement, SingleLineInItsRectangle)
{
    const DrawCase& c = GetParam();
    Canvas cv(130, 60);
    SelectObject(cv.dc, GetStockObject(DEFAULT_GUI_FONT));
    const Measured m = measure(cv.dc, "Orders");
    SetBkColor(cv.dc, RED);
    RECT rc{10, 5, 110, 45};
    const int ret = DrawText(cv.dc, "Orders", -1, &rc, c.format | DT_SINGLELINE);
    int x = 10, y = 5;
    if (c.format & DT_CENTER)
        x = 10 + (100 - m.ext.cx) / 2;
    else if (c.format & DT_RIGHT)
        x = 110 - m.ext.cx;
    if (c.format & DT_VCENTER)
        y = 5 + (40 - m.tm.tmHeight) / 2;
    else if (c.format & DT_BOTTOM)
        y = 45 - m.tm.tmHeight;
    const RECT cell{x, y, x + m.ext.cx, y + m.tm.tmHeight};
    EXPECT_PRED2(same_rect, cv.Ink(), cell) << str(cv.Ink()) << " vs " << str(cell);
    EXPECT_EQ(ret, (c.format & (DT_VCENTER | DT_BOTTOM)) ? y - 5 + m.tm.tmHeight : m.tm.tmHeight);
}

INSTANTIATE_TEST_SUITE_P(Gdi, DrawTextPlacement,
                         ::testing::Values(DrawCase{"left_top", DT_LEFT | DT_TOP},
                                           DrawCase{"center_vcenter", DT_CENTER | DT_VCENTER},
                                           DrawCase{"right_bottom", DT_RIGHT | DT_BOTTOM},
                                           DrawCase{"right_vcenter", DT_RIGHT | DT_VCENTER}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GdiText, DrawTextCalcRectLinesAndWordBreak)
{
    Canvas cv(200, 80);
    SelectObject(cv.dc, GetStockObject(DEFAULT_GUI_FONT));
    const Measured m = measure(cv.dc, "Purchasing");
    SIZE aaa{};
    GetTextExtentPoint32(cv.dc, "aaa", 3, &aaa);

    RECT rc{5, 6, 5, 6};
    EXPECT_EQ(DrawText(cv.dc, "Purchasing", -1, &rc, DT_CALCRECT | DT_SINGLELINE), m.tm.tmHeight);
    EXPECT_EQ(rc.right, 5 + m.ext.cx);
    EXPECT_EQ(rc.bottom, 6 + m.tm.tmHeight);
    EXPECT_EQ(cv.Count(WHITE), 200 * 80); // nothing drawn

    RECT two{0, 0, 0, 0};
    SIZE wide{};
    GetTextExtentPoint32(cv.dc, "Purchasing", 10, &wide);
    DrawText(cv.dc, "ab\r\nPurchasing", -1, &two, DT_CALCRECT);
    EXPECT_EQ(two.bottom, 2 * m.tm.tmHeight);
    EXPECT_EQ(two.right, wide.cx);

    RECT narrow{0, 0, aaa.cx + 2, 0};
    DrawText(cv.dc, "aaa aaa aaa", -1, &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(narrow.bottom, 3 * m.tm.tmHeight);
    EXPECT_EQ(narrow.right, aaa.cx);

    // Drawn: the three lines stack from the top.
    SetBkColor(cv.dc, RED);
    RECT box{0, 0, aaa.cx + 2, 80};
    EXPECT_EQ(DrawText(cv.dc, "aaa aaa aaa", -1, &box, DT_WORDBREAK), 3 * m.tm.tmHeight);
    const RECT ink = cv.Ink();
    EXPECT_EQ(ink.top, 0);
    EXPECT_EQ(ink.bottom, 3 * m.tm.tmHeight);
    EXPECT_EQ(ink.right, aaa.cx);
}

TEST(GdiText, AmpersandUnderlinesTheNextLetterUnlessNoPrefix)
{
    Canvas cv(60, 20);
    SelectObject(cv.dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE go{}, g{}, amp{}, aAmpB{};
    GetTextExtentPoint32(cv.dc, "Go", 2, &go);
    GetTextExtentPoint32(cv.dc, "G", 1, &g);
    GetTextExtentPoint32(cv.dc, "&Go", 3, &amp);
    GetTextExtentPoint32(cv.dc, "a&b", 3, &aAmpB);
    TEXTMETRIC tm{};
    GetTextMetrics(cv.dc, &tm);

    RECT rc{0, 0, 0, 0};
    DrawText(cv.dc, "&Go", -1, &rc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(rc.right, go.cx);
    rc = RECT{0, 0, 0, 0};
    DrawText(cv.dc, "&Go", -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(rc.right, amp.cx);
    rc = RECT{0, 0, 0, 0};
    DrawText(cv.dc, "a&&b", -1, &rc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(rc.right, aAmpB.cx);

    SetBkMode(cv.dc, TRANSPARENT);
    RECT box{2, 1, 60, 20};
    DrawText(cv.dc, "&Go", -1, &box, DT_SINGLELINE);
    // The row under the baseline holds the underline below 'G' and nothing else.
    const std::string under = cv.Grid(0, 1 + tm.tmAscent + 1, 60, 1)[0];
    EXPECT_EQ(under, std::string(2, '.') + std::string(static_cast<size_t>(g.cx), '#') +
                         std::string(static_cast<size_t>(58 - g.cx), '.'));

    cv.Clear(WHITE);
    DrawText(cv.dc, "&Go", -1, &box, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(cv.Grid(0, 1 + tm.tmAscent + 1, 60, 1)[0].find('#'), std::string::npos);
}

struct TurnCase {
    int escapement;
};

void PrintTo(const TurnCase& c, std::ostream* os) { *os << "escapement " << c.escapement; }

class TurnedText : public ::testing::TestWithParam<TurnCase> {};

TEST_P(TurnedText, CellTurnsAnticlockwiseAboutTheReferencePoint)
{
    const int esc = GetParam().escapement;
    Canvas cv(120, 120);
    HFONT f = make_font(-13, FW_NORMAL, esc);
    SelectObject(cv.dc, f);
    const Measured m = measure(cv.dc, "Tutor");
    SetBkColor(cv.dc, RED);
    TextOut(cv.dc, 60, 60, "Tutor", 5);
    const int w = m.ext.cx, h = m.tm.tmHeight;
    RECT cell{};
    switch (esc) {
    case 0: cell = RECT{60, 60, 60 + w, 60 + h}; break;
    case 900: cell = RECT{60, 60 - w, 60 + h, 60}; break;       // reads bottom to top
    case 1800: cell = RECT{60 - w, 60 - h, 60, 60}; break;      // upside down
    case 2700: cell = RECT{60 - h, 60, 60, 60 + w}; break;      // reads top to bottom
    }
    EXPECT_PRED2(same_rect, cv.Ink(), cell) << str(cv.Ink()) << " vs " << str(cell);
    EXPECT_GT(cv.Count(BLACK), 0);
    SelectObject(cv.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
}

INSTANTIATE_TEST_SUITE_P(Gdi, TurnedText, ::testing::Values(TurnCase{0}, TurnCase{900}, TurnCase{1800}, TurnCase{2700}),
                         [](const auto& info) { return std::to_string(info.param.escapement); });

TEST(GdiText, UnderlinedFontInksBelowTheBaseline)
{
    Canvas cv(60, 20);
    HFONT f = make_font(-13, FW_NORMAL, 0, "Arial", 1);
    SelectObject(cv.dc, f);
    TEXTMETRIC tm{};
    GetTextMetrics(cv.dc, &tm);
    EXPECT_EQ(tm.tmUnderlined, 1);
    SetBkMode(cv.dc, TRANSPARENT);
    TextOut(cv.dc, 0, 0, "mm", 2);
    EXPECT_GT(cv.Ink().bottom, tm.tmAscent);
    SelectObject(cv.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
}

TEST(GdiText, TextIntoAMonochromeBitmapIsBlackOrWhite)
{
    HDC dc = CreateCompatibleDC(0);
    HBITMAP mono = CreateCompatibleBitmap(dc, 40, 16);
    HGDIOBJ old = SelectObject(dc, mono);
    PatBlt(dc, 0, 0, 40, 16, WHITENESS);
    SetTextColor(dc, RGB(30, 30, 30));
    SetBkColor(dc, RGB(250, 250, 250));
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TextOut(dc, 0, 0, "Mix", 3);
    int black = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 40; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            EXPECT_TRUE(c == BLACK || c == WHITE);
            black += c == BLACK;
        }
    EXPECT_GT(black, 0);
    SelectObject(dc, old);
    DeleteObject(mono);
    DeleteDC(dc);
}

} // namespace
