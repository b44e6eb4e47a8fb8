// A tooltip over a whole window.
#include "foundation/utils.h"
#include "plat/commctl.h"
#include "plat/msg.h"
#include "plat/window.h"

using namespace plat;

HWND create_tooltip(HINSTANCE instance, HWND window, const char* text)
{
    InitCommonControls();
    const HWND tip = CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, 0, instance, nullptr);
    if (tip == 0)
        return 0;
    TOOLINFO ti{};
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = window;
    ti.uId = static_cast<UINT_PTR>(window);
    ti.hinst = instance;
    ti.lpszText = text;
    SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
    return tip;
}

