// A developer's trace of named values in numbered rows at the top-left of
// the screen, and a processor-bound delay.
#pragma once
#include <cstdint>

void DebugShowText(int row, const char* name, const char* value);
void DebugShowInt(int row, const char* name, int32_t value);
void DebugShowFloat(int row, const char* name, double value);
void DebugShowThreadId(int row);
void DebugDelay(int32_t n);
