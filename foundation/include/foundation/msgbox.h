// The view accessor, the message-box conventions and a few small routines
// that put values into controls and scale design coordinates.
#pragma once
#include "foundation/rlist.h"
#include "plat/types.h"
#include <cstdint>
#include <string>

class CVornView;

// The session's view, or nullptr until the application has created it. The
// application sets the accessor once at start-up (it answers the main
// frame's active view after the started flag is set):
//     set_view_accessor([] { return app_started ? active_view() : nullptr; });
CVornView* GetView();
void set_view_accessor(CVornView* (*accessor)());

// Box "Application Error" (stop icon), then the program ends with code 1,
// running the exit handlers.
[[noreturn]] void fatal_error(const char* text);
// The same box; then the logs are flushed and the program ends with code 1
// at once, without exit handlers.
[[noreturn]] void fatal_error_now(const char* text);
// Fatal "Index Overflow %s - Press ENTER To Terminate" when index >= limit.
void check_index(int16_t index, int16_t limit, const char* name);
// Two beeps and the fatal "Index Overflow %s - Terminate (CR)" when index >= limit.
void check_index_beep(int16_t index, int16_t limit, const char* name);
int not_implemented(const char* caption);
// Text and caption translated first; type = buttons and icon.
int lang_message_box(plat::HWND owner, const char* text, const char* caption, plat::UINT type);
// Appends a heap copy of the text (std::malloc) to a list of texts.
void make_line(RList& list, const char* text);
void beep(int frequency, int duration);
void set_int_text(plat::HWND window, int32_t value);
void set_short_text(plat::HWND window, int16_t value);
// "%0.2f" in the C locale.
void set_float_text(plat::HWND window, float value);

// The departments' codes ("%c%c") for the combo boxes; the Marketing and
// Purchasing departments register the walks over their records.
using CodeWalk = void (*)(void (*add)(char family, char item, void* ctx), void* ctx);
void set_product_code_walk(CodeWalk walk);
void set_material_code_walk(CodeWalk walk);
void fill_product_code_combo(plat::HWND combo);
void fill_material_code_combo(plat::HWND combo);

// From the clock's shift mode (set by the clock; 0 until then).
void set_shift_mode_source(int (*shift_mode)());
int32_t work_days_per_month();
int32_t work_hours_per_day();
void center_window(plat::HWND window, int16_t dx, int16_t dy);
// The view's scale factors (screen size / 640 x 480); the view and the
// diagram dialogs set them.
void set_screen_scale(float sx, float sy);
float screen_scale_x();
float screen_scale_y();
int32_t scale_x(int16_t x);
int32_t scale_y(int16_t y);
