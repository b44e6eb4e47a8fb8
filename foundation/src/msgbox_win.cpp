// The box conventions' window helpers: values into controls, code lists,
// centring.
#include "foundation/msgbox.h"
#include "foundation/utils.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <string>

using namespace plat;

namespace {

CodeWalk g_product_walk = nullptr;
CodeWalk g_material_walk = nullptr;

void fill_combo(HWND combo, CodeWalk walk)
{
    if (walk == nullptr)
        return;
    walk(
        [](char family, char item, void* ctx) {
            const char code[3] = {family, item, '\0'};
            SendMessage(*static_cast<HWND*>(ctx), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code));
        },
        &combo);
}

} // namespace

void set_int_text(HWND window, int32_t value) { SetWindowText(window, std::to_string(value).c_str()); }
void set_short_text(HWND window, int16_t value) { SetWindowText(window, std::to_string(value).c_str()); }
void set_float_text(HWND window, float value) { SetWindowText(window, format_fixed(value, 2).c_str()); }

void set_product_code_walk(CodeWalk walk) { g_product_walk = walk; }
void set_material_code_walk(CodeWalk walk) { g_material_walk = walk; }
void fill_product_code_combo(HWND combo) { fill_combo(combo, g_product_walk); }
void fill_material_code_combo(HWND combo) { fill_combo(combo, g_material_walk); }

void center_window(HWND window, int16_t dx, int16_t dy)
{
    RECT r{};
    if (!GetWindowRect(window, &r))
        return;
    const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - (r.right - r.left) / 2 + dx;
    const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - (r.bottom - r.top) / 2 + dy;
    SetWindowPos(window, 0, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
