// Surfaces: the paint cycle, drawing outside it, resizing, scrolling.
#include "core_fixture.h"
#include <algorithm>
#include "plat/uihost.h"

using namespace coretest;

namespace {

class Paint : public CoreTest {};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

void fill(HDC dc, int l, int t, int r, int b, COLORREF c)
{
    const RECT rc{l, t, r, b};
    const HBRUSH br = CreateSolidBrush(c);
    FillRect(dc, &rc, br);
    DeleteObject(br);
}

TEST_F(Paint, EraseComesFromBeginPaintAndOnlyWhenAsked)
{
    const HWND h = top(0, 0, 60, 40);
    PumpEvents(10);
    MessageTracer t;
    ignore_noise(t);
    t.Watch(h);
    struct Case {
        BOOL erase;
        std::vector<UINT> msgs;
    } cases[] = {{TRUE, {WM_PAINT, WM_ERASEBKGND}}, {FALSE, {WM_PAINT}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.erase);
        t.clear();
        InvalidateRect(h, nullptr, c.erase);
        PumpEvents(10);
        EXPECT_EQ(t.messages(), c.msgs);
    }
}

TEST_F(Paint, UpdateWindowPaintsAtOnceWithItsChildren)
{
    const HWND p = top(0, 0, 60, 40);
    const HWND c = child(p, 1, 5, 5, 20, 20);
    const HWND other = top(100, 0, 60, 40);
    MessageTracer t;
    ignore_noise(t);
    for (HWND h : {p, c, other})
        t.Watch(h);
    EXPECT_TRUE(UpdateWindow(p));
    EXPECT_EQ(pairs(t), (std::vector<std::pair<HWND, UINT>>{
                            {p, WM_PAINT}, {p, WM_ERASEBKGND}, {c, WM_PAINT}, {c, WM_ERASEBKGND}}));
    t.clear();
    EXPECT_TRUE(UpdateWindow(p));
    EXPECT_TRUE(t.entries().empty()) << "nothing left to paint";
}

TEST_F(Paint, PaintDcIsClippedToTheUpdateRegion)
{
    const HWND h = top(0, 0, 60, 40);
    PumpEvents(10);
    RECT seen{};
    BOOL seenErase = TRUE;
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        seen = ps.rcPaint;
        seenErase = ps.fErase;
        fill(dc, 0, 0, 60, 40, kRed);
        EndPaint(w, &ps);
        return 0;
    };
    const RECT part{10, 5, 20, 15};
    InvalidateRect(h, &part, FALSE);
    PumpEvents(10);
    EXPECT_EQ(seen.left, 10);
    EXPECT_EQ(seen.top, 5);
    EXPECT_EQ(seen.right, 20);
    EXPECT_EQ(seen.bottom, 15);
    EXPECT_FALSE(seenErase);
    EXPECT_EQ(GetSurfacePixel(h, 10, 5), kRed);
    EXPECT_EQ(GetSurfacePixel(h, 19, 14), kRed);
    EXPECT_EQ(GetSurfacePixel(h, 20, 14), kWhite) << "right edge is outside";
    EXPECT_EQ(GetSurfacePixel(h, 9, 5), kWhite);
    EXPECT_EQ(GetSurfacePixel(h, 10, 15), kWhite);
}

TEST_F(Paint, PaintIsNotReenteredForTheSameWindow)
{
    ASSERT_NE(top(0, 0, 30, 20), 0u);
    int depth = 0, deepest = 0, paints = 0;
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_PAINT)
            return std::nullopt;
        ++paints;
        deepest = std::max(deepest, ++depth);
        if (paints == 1) {
            InvalidateRect(w, nullptr, FALSE);
            PumpEvents(20);
        }
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        --depth;
        return 0;
    };
    PumpEvents(30);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(paints, 1) << "BeginPaint took the new invalid part too";
}

TEST_F(Paint, BeginPaintWithNothingInvalidDrawsNothing)
{
    const HWND h = top(0, 0, 30, 20);
    PumpEvents(10);
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(h, &ps);
    ASSERT_NE(dc, 0u);
    EXPECT_EQ(ps.rcPaint.right, 0);
    fill(dc, 0, 0, 30, 20, kRed);
    EndPaint(h, &ps);
    EXPECT_EQ(GetSurfacePixel(h, 5, 5), kWhite);
}

TEST_F(Paint, BackgroundIsTheWindowBrush)
{
    const HWND h = top(0, 0, 30, 20);
    const HBRUSH blue = CreateSolidBrush(kBlue);
    SetClassLongPtr(h, GCLP_HBRBACKGROUND, blue);
    PumpEvents(10);
    EXPECT_EQ(GetSurfacePixel(h, 0, 0), kBlue);
    EXPECT_EQ(GetSurfacePixel(h, 29, 19), kBlue);
    EXPECT_EQ(GetSurfacePixel(h, 30, 19), CLR_INVALID);
    DestroyWindow(h);
    DeleteObject(blue);
}

TEST_F(Paint, HiddenWindowsAreNotPaintedUntilShown)
{
    const HWND h = top(0, 0, 30, 20, WS_OVERLAPPED);
    int paints = 0;
    g_handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        paints += m == WM_PAINT;
        return std::nullopt;
    };
    PumpEvents(10);
    EXPECT_EQ(paints, 0);
    ShowWindow(h, SW_SHOW);
    PumpEvents(10);
    EXPECT_EQ(paints, 1);
}

// The simulation draws rows and gauges straight into windows every minute;
// the screen must show them at the next flush point, not at some later paint.
TEST_F(Paint, DirectDrawReachesTheScreenAtFlushPoints)
{
    const HWND h = top(0, 0, 60, 40);
    PumpEvents(20);
    ASSERT_EQ(GetShownPixel(h, 5, 5), kWhite);
    struct Case {
        const char* why;
        std::function<void()> flush;
    } cases[] = {
        {"UpdateWindow", [&] { UpdateWindow(h); }},
        {"FlushSurfaces", [] { FlushSurfaces(); }},
        {"MessageBeep", [] { MessageBeep(0); }},
    };
    COLORREF colour = RGB(10, 20, 30);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const HDC dc = GetDC(h);
        fill(dc, 0, 0, 10, 10, colour);
        ReleaseDC(h, dc);
        EXPECT_EQ(GetSurfacePixel(h, 5, 5), colour) << "the surface has it at once";
        EXPECT_NE(GetShownPixel(h, 5, 5), colour) << "the screen not yet";
        c.flush();
        EXPECT_EQ(GetShownPixel(h, 5, 5), colour);
        EXPECT_EQ(GetShownPixel(h, 15, 5), kWhite);
        colour += RGB(20, 0, 0);
    }
}

TEST_F(Paint, HeldDcFollowsTheSurfaceAcrossResize)
{
    const HWND h = top(0, 0, 40, 30);
    PumpEvents(10);
    const HDC dc = GetDC(h);
    MoveWindow(h, 0, 0, 80, 60, FALSE);
    PumpEvents(10);
    fill(dc, 70, 50, 80, 60, kRed);
    ReleaseDC(h, dc);
    EXPECT_EQ(GetSurfacePixel(h, 75, 55), kRed);
}

TEST_F(Paint, ResizeKeepsPixelsAndInvalidatesTheNewStrip)
{
    const HWND h = top(0, 0, 40, 30);
    PumpEvents(10);
    HDC dc = GetDC(h);
    fill(dc, 0, 0, 40, 30, kRed);
    ReleaseDC(h, dc);
    std::vector<RECT> painted;
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_PAINT) {
            RECT rc;
            GetUpdateRect(w, &rc, FALSE);
            painted.push_back(rc);
        }
        return std::nullopt;
    };
    MoveWindow(h, 0, 0, 50, 30, FALSE);
    PumpEvents(10);
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].left, 40);
    EXPECT_EQ(painted[0].right, 50);
    EXPECT_EQ(painted[0].bottom, 30);
    EXPECT_EQ(GetSurfacePixel(h, 39, 29), kRed) << "old pixels stay";
    EXPECT_EQ(GetSurfacePixel(h, 45, 10), kWhite) << "the strip was erased";
}

TEST_F(Paint, RedrawClassStylesInvalidateEverything)
{
    WNDCLASS wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = test_proc;
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "CoreRedrawWnd";
    static bool once = RegisterClass(&wc) != 0;
    EXPECT_TRUE(once);
    const HWND h = top(0, 0, 40, 30, WS_OVERLAPPED | WS_VISIBLE, "CoreRedrawWnd");
    PumpEvents(10);
    RECT rc{};
    MoveWindow(h, 0, 0, 41, 30, FALSE);
    EXPECT_TRUE(GetUpdateRect(h, &rc, FALSE));
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.right, 41);
}

TEST_F(Paint, ScrollWindowMovesPixelsAndInvalidatesTheUncovered)
{
    const HWND h = top(0, 0, 40, 30);
    PumpEvents(10);
    HDC dc = GetDC(h);
    fill(dc, 0, 0, 40, 30, kWhite);
    fill(dc, 0, 0, 10, 10, kRed);
    ReleaseDC(h, dc);
    ValidateRect(h, nullptr);
    ScrollWindow(h, 5, 3, nullptr, nullptr);
    EXPECT_EQ(GetSurfacePixel(h, 5, 3), kRed);
    EXPECT_EQ(GetSurfacePixel(h, 14, 12), kRed);
    EXPECT_EQ(GetSurfacePixel(h, 15, 12), kWhite);
    RECT rc;
    ASSERT_TRUE(GetUpdateRect(h, &rc, FALSE));
    // The uncovered L: columns 0-4 and rows 0-2.
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, 40);
    EXPECT_EQ(rc.bottom, 30);
    const HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(h, rgn, FALSE), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(rgn, 4, 29));
    EXPECT_TRUE(PtInRegion(rgn, 39, 2));
    EXPECT_FALSE(PtInRegion(rgn, 5, 3));
    DeleteObject(rgn);
}

TEST_F(Paint, InvalidateRgnAndValidate)
{
    const HWND h = top(0, 0, 40, 30);
    PumpEvents(10);
    const HRGN rgn = CreateRectRgn(2, 3, 6, 7);
    EXPECT_TRUE(InvalidateRgn(h, rgn, FALSE));
    RECT rc;
    ASSERT_TRUE(GetUpdateRect(h, &rc, FALSE));
    EXPECT_EQ(rc.left, 2);
    EXPECT_EQ(rc.bottom, 7);
    ValidateRgn(h, rgn);
    EXPECT_FALSE(GetUpdateRect(h, &rc, FALSE));
    DeleteObject(rgn);
}

} // namespace
