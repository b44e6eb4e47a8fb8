// A window drawn only through the layer: text, lines, filled shapes, a
// child with a sunken edge and a scroll bar, a clock drawn outside painting
// and an XOR rubber-band line dragged with the left button.
#include "plat/config.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <cstdio>
#include <cstring>

using namespace plat;

namespace {

constexpr int IDT_CLOCK = 1;
int g_seconds = 0;
bool g_dragging = false;
POINT g_anchor, g_end;

void rubber_band(HWND hwnd)
{
    HDC dc = GetDC(hwnd);
    SetROP2(dc, R2_NOTXORPEN);
    MoveToEx(dc, g_anchor.x, g_anchor.y, nullptr);
    LineTo(dc, g_end.x, g_end.y);
    ReleaseDC(hwnd, dc);
}

void draw_clock(HWND hwnd, HDC dc)
{
    char text[32];
    std::snprintf(text, sizeof text, "Running %02d:%02d", g_seconds / 60, g_seconds % 60);
    SetTextColor(dc, RGB(0, 0, 128));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, OPAQUE);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT rc;
    GetClientRect(hwnd, &rc);
    TextOut(dc, 16, rc.bottom - 24, text, static_cast<int>(std::strlen(text)));
}

void paint(HWND hwnd, HDC dc)
{
    RECT rc;
    GetClientRect(hwnd, &rc);

    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    const char* title = "Platform layer demo";
    TextOut(dc, 16, 12, title, static_cast<int>(std::strlen(title)));
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    const char* hint = "Drag with the left button for a rubber-band line.";
    TextOut(dc, 16, 36, hint, static_cast<int>(std::strlen(hint)));

    // A fan of lines in the pen styles.
    const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    for (int i = 0; i < 5; ++i) {
        HPEN pen = CreatePen(styles[i], 1, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, 16, 64 + i * 8, nullptr);
        LineTo(dc, 196, 64 + i * 8);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    HPEN thick = CreatePen(PS_SOLID, 3, RGB(0, 128, 0));
    HGDIOBJ oldPen = SelectObject(dc, thick);
    MoveToEx(dc, 16, 120, nullptr);
    LineTo(dc, 196, 160);
    SelectObject(dc, oldPen);
    DeleteObject(thick);

    // Filled shapes.
    HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
    HBRUSH yellow = CreateSolidBrush(RGB(255, 220, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 64, 192));
    HGDIOBJ oldBrush = SelectObject(dc, red);
    Rectangle(dc, 220, 64, 300, 124);
    SelectObject(dc, yellow);
    Ellipse(dc, 316, 64, 396, 124);
    SelectObject(dc, blue);
    const POINT tri[] = {{456, 64}, {496, 124}, {416, 124}};
    Polygon(dc, tri, 3);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 220, 136, 300, 176, 16, 16);
    SelectObject(dc, oldBrush);
    DeleteObject(red);
    DeleteObject(yellow);
    DeleteObject(blue);
    RECT strip{316, 136, 496, 176};
    FillRect(dc, &strip, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    DrawText(dc, "Centred text", -1, &strip, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, RGB(0, 0, 0));

    RECT box{16, 190, rc.right - 16, rc.bottom - 32};
    FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    draw_clock(hwnd, dc);
}

LRESULT demo_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        SetTimer(hwnd, IDT_CLOCK, 1000, nullptr);
        CreateWindowEx(WS_EX_CLIENTEDGE, "PlatWnd", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 520, 64, 100, 112,
                       hwnd, 1, 0, nullptr);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        paint(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER: {
        // Drawn straight into the window, as the simulation draws its clock.
        ++g_seconds;
        HDC dc = GetDC(hwnd);
        draw_clock(hwnd, dc);
        ReleaseDC(hwnd, dc);
        return 0;
    }
    case WM_LBUTTONDOWN:
        g_dragging = true;
        g_anchor = g_end = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        SetCapture(hwnd);
        rubber_band(hwnd);
        return 0;
    case WM_MOUSEMOVE:
        if (g_dragging) {
            rubber_band(hwnd);
            g_end = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            rubber_band(hwnd);
        }
        return 0;
    case WM_LBUTTONUP:
        if (g_dragging) {
            rubber_band(hwnd);
            g_dragging = false;
            ReleaseCapture();
        }
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, IDT_CLOCK);
        return 0;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv)
{
    InitGui(argc, argv);
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = demo_proc;
    wc.hCursor = LoadCursor(0, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "PlatDemo";
    if (!RegisterClass(&wc))
        return 1;
    HWND main = CreateWindow("PlatDemo", "Platform demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 640, 420, 0,
                             0, 0, nullptr);
    if (!main)
        return 1;
    SetMainWindow(main);
    // A rubber band drawn once, so a screenshot shows the XOR line too.
    g_anchor = POINT{240, 250};
    g_end = POINT{600, 330};
    UpdateWindow(main);
    rubber_band(main);
    g_anchor = g_end;
    return RunMessageLoop();
}
