// Handles and objects: stock objects, selection, GetObject, bad handles,
// bitmaps' monochrome default, system colours, metrics and capabilities.
#include "gdi_fixture.h"
#include <cstring>
#include <functional>

using namespace gditest;

namespace {

TEST(GdiObjects, StockObjectsHaveFixedHandlesAndSurviveDeleteObject)
{
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), 0x7FFF0000u);
    EXPECT_EQ(GetStockObject(NULL_PEN), 0x7FFF0008u);
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), 0x7FFF0011u);
    EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetStockObject(9), 0u);
    EXPECT_EQ(GetStockObject(-1), 0u);

    HGDIOBJ black = GetStockObject(BLACK_BRUSH);
    EXPECT_TRUE(DeleteObject(black));
    LOGBRUSH lb{};
    ASSERT_EQ(GetObject(black, sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbStyle, BS_SOLID);
    EXPECT_EQ(lb.lbColor, BLACK);

    struct Grey {
        int index;
        COLORREF color;
    };
    for (Grey g : {Grey{WHITE_BRUSH, WHITE}, Grey{LTGRAY_BRUSH, RGB(192, 192, 192)},
                   Grey{GRAY_BRUSH, RGB(128, 128, 128)}, Grey{DKGRAY_BRUSH, RGB(64, 64, 64)}}) {
        ASSERT_EQ(GetObject(GetStockObject(g.index), sizeof lb, &lb), static_cast<int>(sizeof lb));
        EXPECT_EQ(lb.lbColor, g.color) << g.index;
    }
}

TEST(GdiObjects, StockFontsDescribeTheClassicFaces)
{
    LOGFONT lf{};
    ASSERT_EQ(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), 60);
    EXPECT_EQ(lf.lfHeight, -11); // 8 pt at 96 dpi
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    ASSERT_EQ(GetObject(GetStockObject(ANSI_VAR_FONT), sizeof lf, &lf), 60);
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    ASSERT_EQ(GetObject(GetStockObject(SYSTEM_FONT), sizeof lf, &lf), 60);
    EXPECT_EQ(lf.lfHeight, -13); // 10 pt
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

TEST(GdiObjects, NewDcStartsWithBlackPenWhiteBrushSystemFontAndClassicColours)
{
    HDC dc = CreateCompatibleDC(0);
    EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetTextColor(dc), BLACK);
    EXPECT_EQ(GetBkColor(dc), WHITE);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_EQ(GetTextAlign(dc), TA_LEFT | TA_TOP);

    HPEN pen = CreatePen(PS_SOLID, 1, RED);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), pen);
    EXPECT_EQ(SetTextColor(dc, RED), BLACK);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, 7), 0);
    EXPECT_EQ(SetROP2(dc, 0), 0);
    DeleteObject(pen);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiObjects, GetObjectReturnsWhatWasAskedFor)
{
    LOGFONT in{};
    in.lfHeight = 37;
    in.lfEscapement = 900;
    in.lfWeight = 100;
    in.lfItalic = 1;
    in.lfPitchAndFamily = FF_ROMAN;
    std::memset(in.lfFaceName, 'x', sizeof in.lfFaceName); // no NUL at all
    HFONT f = CreateFontIndirect(&in);
    ASSERT_NE(f, 0u);
    EXPECT_EQ(GetObject(f, 0, nullptr), 60);
    LOGFONT out{};
    ASSERT_EQ(GetObject(f, sizeof out, &out), 60);
    EXPECT_EQ(out.lfHeight, 37);
    EXPECT_EQ(out.lfEscapement, 900);
    EXPECT_EQ(out.lfWeight, 100);
    EXPECT_EQ(out.lfItalic, 1);
    EXPECT_EQ(std::string(out.lfFaceName), std::string(31, 'x'));
    DeleteObject(f);

    HFONT g = CreateFont(0, 0, 0, 0, FW_BOLD, 0, 1, 0, ANSI_CHARSET, 0, 0, 0, 0,
                         "A face name that is longer than thirty-one bytes");
    ASSERT_EQ(GetObject(g, sizeof out, &out), 60);
    EXPECT_EQ(std::strlen(out.lfFaceName), 31u);
    EXPECT_EQ(out.lfUnderline, 1);
    DeleteObject(g);

    HPEN pen = CreatePen(PS_DASH, 3, BLUE);
    LOGPEN lp{};
    ASSERT_EQ(GetObject(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, BLUE);
    DeleteObject(pen);

    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RED);
    LOGBRUSH lb{};
    ASSERT_EQ(GetObject(hatch, sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbStyle, BS_HATCHED);
    EXPECT_EQ(lb.lbHatch, static_cast<uintptr_t>(HS_CROSS));
    DeleteObject(hatch);
}

TEST(GdiObjects, HandlesCountUpAndAreNeverReused)
{
    HBRUSH a = CreateSolidBrush(RED);
    EXPECT_GE(a, 0x10000u);
    EXPECT_TRUE(DeleteObject(a));
    HBRUSH b = CreateSolidBrush(RED);
    EXPECT_GT(b, a);
    EXPECT_FALSE(DeleteObject(a));
    DeleteObject(b);
}

// Every call handed a freed, unknown or wrong-kind handle gives its failure
// value and draws nothing.
TEST(GdiObjects, BadHandlesGiveTheFailureValue)
{
    Canvas cv(4, 4);
    HPEN freedPen = CreatePen(PS_SOLID, 1, RED);
    DeleteObject(freedPen);
    HDC freedDc = CreateCompatibleDC(0);
    DeleteDC(freedDc);
    HBRUSH brush = CreateSolidBrush(RED);
    HRGN rgn = CreateRectRgn(0, 0, 1, 1);
    const HGDIOBJ unknown = 0x00ABCDEF;

    for (HDC bad : {static_cast<HDC>(freedDc), static_cast<HDC>(unknown), static_cast<HDC>(brush), HDC{0}}) {
        SCOPED_TRACE(bad);
        RECT r{0, 0, 4, 4};
        SIZE sz{};
        TEXTMETRIC tm{};
        EXPECT_FALSE(LineTo(bad, 3, 3));
        EXPECT_FALSE(MoveToEx(bad, 1, 1, nullptr));
        EXPECT_FALSE(Rectangle(bad, 0, 0, 4, 4));
        EXPECT_FALSE(Ellipse(bad, 0, 0, 4, 4));
        EXPECT_EQ(FillRect(bad, &r, brush), 0);
        EXPECT_EQ(GetPixel(bad, 0, 0), CLR_INVALID);
        EXPECT_EQ(SetPixel(bad, 0, 0, RED), CLR_INVALID);
        EXPECT_EQ(SelectObject(bad, brush), 0u);
        EXPECT_EQ(SetTextColor(bad, RED), CLR_INVALID);
        EXPECT_EQ(SaveDC(bad), 0);
        EXPECT_FALSE(RestoreDC(bad, -1));
        EXPECT_FALSE(TextOut(bad, 0, 0, "x", 1));
        EXPECT_FALSE(GetTextExtentPoint32(bad, "x", 1, &sz));
        EXPECT_FALSE(GetTextMetrics(bad, &tm));
        EXPECT_EQ(DrawText(bad, "x", 1, &r, 0), 0);
        EXPECT_EQ(GetClipBox(bad, &r), ERROR);
        EXPECT_EQ(SelectClipRgn(bad, rgn), ERROR);
        EXPECT_FALSE(DeleteDC(bad));
        EXPECT_EQ(CreateCompatibleDC(bad == 0 ? unknown : bad), 0u);
    }
    for (HGDIOBJ bad : {static_cast<HGDIOBJ>(freedPen), unknown, static_cast<HGDIOBJ>(cv.dc)}) {
        SCOPED_TRACE(bad);
        RECT r{0, 0, 4, 4};
        EXPECT_EQ(SelectObject(cv.dc, bad), 0u);
        char buf[64];
        EXPECT_EQ(GetObject(bad, sizeof buf, buf), 0);
        EXPECT_EQ(FillRect(cv.dc, &r, bad), 0);
        EXPECT_EQ(FrameRect(cv.dc, &r, bad), 0);
        EXPECT_EQ(SelectClipRgn(cv.dc, bad), ERROR);
        EXPECT_EQ(CombineRgn(rgn, bad, rgn, RGN_OR), ERROR);
        EXPECT_EQ(CombineRgn(bad, rgn, rgn, RGN_OR), ERROR);
    }
    EXPECT_FALSE(DeleteObject(unknown));
    EXPECT_FALSE(DeleteObject(cv.dc)); // a DC is ended by DeleteDC
    EXPECT_FALSE(DeleteDC(brush));
    EXPECT_EQ(GetObjectType(unknown), 0u);
    EXPECT_EQ(GetObjectType(rgn), OBJ_REGION);
    // Still intact after all that.
    EXPECT_EQ(cv.Grid()[0], "....");
    DeleteObject(brush);
    DeleteObject(rgn);
}

TEST(GdiObjects, CompatibleBitmapOfAFreshMemoryDcIsMonochrome)
{
    HDC mem = CreateCompatibleDC(0);
    auto bits_of = [](HBITMAP b) {
        BITMAP bm{};
        return GetObject(b, sizeof bm, &bm) ? bm.bmBitsPixel : 0;
    };
    HBITMAP mono = CreateCompatibleBitmap(mem, 5, 5);
    EXPECT_EQ(bits_of(mono), 1);
    HBITMAP colour = CreateCompatibleBitmap(0, 5, 5);
    EXPECT_EQ(bits_of(colour), 32);
    HGDIOBJ old = SelectObject(mem, colour);
    EXPECT_EQ(GetObjectType(old), OBJ_BITMAP);
    HBITMAP colour2 = CreateCompatibleBitmap(mem, 5, 5);
    EXPECT_EQ(bits_of(colour2), 32);

    BITMAP bm{};
    HBITMAP empty = CreateCompatibleBitmap(0, 0, 7);
    ASSERT_NE(GetObject(empty, sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(CreateCompatibleBitmap(0, -1, 5), 0u);
    EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), 0u);

    // A bitmap lives in one DC at a time and cannot be deleted while there.
    HDC other = CreateCompatibleDC(0);
    EXPECT_EQ(SelectObject(other, colour), 0u);
    EXPECT_FALSE(DeleteObject(colour));
    EXPECT_EQ(SelectObject(mem, old), colour);
    EXPECT_NE(SelectObject(other, colour), 0u);
    DeleteDC(other); // releases it
    EXPECT_TRUE(DeleteObject(colour));
    EXPECT_EQ(GetCurrentObject(mem, OBJ_BITMAP), old);
    DeleteObject(mono);
    DeleteObject(colour2);
    DeleteObject(empty);
    DeleteDC(mem);
}

TEST(GdiSystem, ClassicColours)
{
    struct C {
        int index;
        COLORREF color;
    };
    for (C c : {C{COLOR_BACKGROUND, RGB(0, 128, 128)}, C{COLOR_WINDOW, WHITE}, C{COLOR_HIGHLIGHTTEXT, WHITE},
                C{COLOR_BTNHIGHLIGHT, WHITE}, C{COLOR_WINDOWFRAME, BLACK}, C{COLOR_WINDOWTEXT, BLACK},
                C{COLOR_BTNTEXT, BLACK}, C{COLOR_3DDKSHADOW, BLACK}, C{COLOR_HIGHLIGHT, RGB(0, 0, 128)},
                C{COLOR_BTNFACE, RGB(192, 192, 192)}, C{COLOR_BTNSHADOW, RGB(128, 128, 128)},
                C{COLOR_GRAYTEXT, RGB(128, 128, 128)}}) {
        EXPECT_EQ(GetSysColor(c.index), c.color) << c.index;
        HBRUSH b = GetSysColorBrush(c.index);
        LOGBRUSH lb{};
        ASSERT_NE(GetObject(b, sizeof lb, &lb), 0) << c.index;
        EXPECT_EQ(lb.lbColor, c.color) << c.index;
        EXPECT_TRUE(DeleteObject(b)); // harmless: it stays
        EXPECT_NE(GetObject(b, sizeof lb, &lb), 0);
    }
    EXPECT_EQ(GetSysColorBrush(99), 0u);
}

TEST(GdiSystem, MetricsAndCapabilities)
{
    // The tests run with PLAT_DESKTOP=1024x768.
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);

    HDC dc = CreateCompatibleDC(0);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1024);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 768);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(dc, NUMCOLORS), -1);
    EXPECT_EQ(GetDeviceCaps(dc, SIZEPALETTE), 0);
    EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_NE(GetDeviceCaps(dc, RASTERCAPS) & RC_BITBLT, 0);

    // Palettes are accepted and change nothing.
    LOGPALETTE lp{0x300, 1, {{1, 2, 3, 0}}};
    HPALETTE pal = CreatePalette(&lp);
    ASSERT_NE(pal, 0u);
    EXPECT_EQ(SelectPalette(dc, pal, FALSE), GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(dc), 0u);
    EXPECT_EQ(SelectPalette(dc, GetStockObject(DEFAULT_PALETTE), FALSE), pal);
    DeleteObject(pal);
    DeleteDC(dc);
}

TEST(GdiObjects, HatchBrushesPaintTheBackgroundOnlyWhenOpaque)
{
    Canvas cv(8, 8);
    HBRUSH h = CreateHatchBrush(HS_HORIZONTAL, RED);
    RECT r{0, 0, 8, 8};
    SetBkColor(cv.dc, BLUE);
    SetBkMode(cv.dc, TRANSPARENT);
    FillRect(cv.dc, &r, h);
    const int red = cv.Count(RED);
    EXPECT_EQ(red, 8); // one full row per 8
    EXPECT_EQ(cv.Count(WHITE), 56);
    SetBkMode(cv.dc, OPAQUE);
    FillRect(cv.dc, &r, h);
    EXPECT_EQ(cv.Count(RED), 8);
    EXPECT_EQ(cv.Count(BLUE), 56);
    DeleteObject(h);
}

} // namespace
