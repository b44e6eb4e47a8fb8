// Private to foundation/src: the few services of the layer that the
// foundation goes through (boxes, beeps, the program's end,
// file names), in one place.
#pragma once
#include "plat/types.h"
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace fhost {

inline constexpr plat::UINT BOX_OK = 0x0;
inline constexpr plat::UINT BOX_ICONSTOP = 0x10;
inline constexpr plat::UINT BOX_TASKMODAL = 0x2000;

int message_box(plat::HWND owner, const char* text, const char* caption, plat::UINT type);
// A stop box with the text, then the end of the program with the code.
// now: no exit handlers (logs flushed first).
[[noreturn]] void fatal_exit(const char* text, const char* caption, int code, bool now);
void beep();
// The name as this file system spells it ("\" or "/", any case).
std::string resolve(const char* name);
// Binary stdio open of a resolved name.
std::FILE* open_file(const char* name, const char* mode);
// The computer's local date and time (the layer's clock, fake in tests).
void local_now(std::tm& out);

} // namespace fhost
