// Time as the programs read it; a test can put a fake clock in its place.
#pragma once
#include "plat/types.h"

namespace plat {

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// Milliseconds, wrapping at 2^32. A flush point: pending drawing reaches the
// screen before a busy wait starts.
DWORD GetTickCount();
void GetLocalTime(SYSTEMTIME* out);
void GetSystemTime(SYSTEMTIME* out);
// Flushes first. Under the fake clock it only advances the clock.
void Sleep(DWORD ms);

} // namespace plat
