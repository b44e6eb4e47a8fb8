// The fatal boxes, the overflow guards and the other box conventions.
#include "foundation/msgbox.h"
#include "foundation/lang.h"
#include "host_p.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

CVornView* (*g_view_accessor)() = nullptr;
int (*g_shift_mode)() = nullptr;
float g_scale_x = 1.0f;
float g_scale_y = 1.0f;

} // namespace

CVornView* GetView() { return g_view_accessor != nullptr ? g_view_accessor() : nullptr; }
void set_view_accessor(CVornView* (*accessor)()) { g_view_accessor = accessor; }

void fatal_error(const char* text)
{
    fhost::fatal_exit(text != nullptr ? text : "", "Application Error", 1, false);
}

void fatal_error_now(const char* text)
{
    fhost::fatal_exit(text != nullptr ? text : "", "Application Error", 1, true);
}

void check_index(int16_t index, int16_t limit, const char* name)
{
    if (index < limit)
        return;
    char text[200];
    std::snprintf(text, sizeof text, "Index Overflow %.120s - Press ENTER To Terminate", name != nullptr ? name : "");
    fatal_error(text);
}

void check_index_beep(int16_t index, int16_t limit, const char* name)
{
    if (index < limit)
        return;
    fhost::beep();
    fhost::beep();
    char text[200];
    std::snprintf(text, sizeof text, "Index Overflow %.120s - Terminate (CR)", name != nullptr ? name : "");
    fatal_error_now(text);
}

int not_implemented(const char* caption)
{
    return fhost::message_box(0, "Not implemented yet", caption, fhost::BOX_OK);
}

int lang_message_box(plat::HWND owner, const char* text, const char* caption, plat::UINT type)
{
    // The translation of the text may live in the table's storage; copy it
    // before the caption is translated (write-langs mode can add entries).
    const std::string translated = lang_translate(text);
    const std::string translated_caption = lang_translate(caption);
    return fhost::message_box(owner, translated.c_str(), translated_caption.c_str(), type);
}

void make_line(RList& list, const char* text)
{
    const size_t n = text != nullptr ? std::strlen(text) : 0;
    char* copy = static_cast<char*>(std::malloc(n + 1));
    if (copy == nullptr)
        fhost::fatal_exit("Not enough memory for make_line", "Error", 1, false);
    if (n > 0)
        std::memcpy(copy, text, n);
    copy[n] = '\0';
    list.Add(copy);
}

void beep(int, int) { fhost::beep(); }

void set_shift_mode_source(int (*shift_mode)()) { g_shift_mode = shift_mode; }

int32_t work_days_per_month()
{
    switch (g_shift_mode != nullptr ? g_shift_mode() : -1) {
    case 0:
    case 2:
        return 22;
    case 1:
        return 30;
    default:
        return 0;
    }
}

int32_t work_hours_per_day()
{
    switch (g_shift_mode != nullptr ? g_shift_mode() : -1) {
    case 0:
        return 8;
    case 1:
        return 24;
    case 2:
        return 16;
    default:
        return 0;
    }
}

void set_screen_scale(float sx, float sy)
{
    g_scale_x = sx;
    g_scale_y = sy;
}

float screen_scale_x() { return g_scale_x; }
float screen_scale_y() { return g_scale_y; }
int32_t scale_x(int16_t x) { return static_cast<int32_t>(static_cast<float>(x) * g_scale_x); }
int32_t scale_y(int16_t y) { return static_cast<int32_t>(static_cast<float>(y) * g_scale_y); }
