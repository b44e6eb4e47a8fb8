// Window placement, fonts, tooltips and timing helpers over the layer.
#include "foundation/utils.h"
#include "plat/clock.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/window.h"

using namespace plat;

namespace {

SIZE desktop()
{
    return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

BOOL set_font_proc(HWND child, LPARAM font)
{
    SendMessage(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

} // namespace

void center_on_desktop(HWND window)
{
    RECT r{};
    if (!GetWindowRect(window, &r))
        return;
    const SIZE d = desktop();
    const int left = d.cx / 2 - (r.right - r.left) / 2;
    const int top = d.cy / 2 - (r.bottom - r.top) / 2;
    SetWindowPos(window, 0, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void place_popup_below(HWND anchor, HWND popup)
{
    RECT a{};
    RECT p{};
    if (!GetWindowRect(anchor, &a) || !GetWindowRect(popup, &p))
        return;
    const SIZE d = desktop();
    const int width = p.right - p.left;
    const int height = p.bottom - p.top;
    int left = a.left;
    if (left + width > d.cx)
        left = a.right - width - 1;
    int top = a.bottom - 2;
    if (top + height > d.cy)
        top = a.top - height + 2;
    SetWindowPos(popup, 0, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void set_children_font(HWND window, HFONT font)
{
    EnumChildWindows(window, set_font_proc, static_cast<LPARAM>(font));
}

BOOL get_dlg_item_rect(HWND dialog, int id, RECT& out)
{
    const HWND item = GetDlgItem(dialog, id);
    RECT r{};
    if (item == 0 || !GetWindowRect(item, &r))
        return FALSE;
    POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(0, dialog, pts, 2);
    out = RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
    return TRUE;
}

void place_on_dlg_item(HWND window, HWND dialog, int id)
{
    RECT r{};
    if (get_dlg_item_rect(dialog, id, r))
        SetWindowPos(window, 0, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int listbox_item_height()
{
    const HWND list = CreateWindow("LISTBOX", "", WS_CHILD, 0, 0, 100, 300, GetDesktopWindow(), 0, 0, nullptr);
    if (list == 0)
        return -1;
    const int height = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    DestroyWindow(list);
    return height;
}

void limit_text(HWND edit, int n) { SendMessage(edit, EM_LIMITTEXT, static_cast<WPARAM>(n), 0); }

// The NT platform: the only one this program runs on.
int platform_id() { return 2; }

void wait_ms(uint32_t milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
    }
}

uint32_t elapsed_ms(uint32_t start, uint32_t end) { return end - start; }
