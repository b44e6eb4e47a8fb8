// Private to platform/src. The counter non-window handles come from.
#pragma once
#include <cstdint>

namespace plat {

// From 0x10000 up, never reused, so a stale handle of any kind is never
// taken for a live one.
uint32_t NextObjectHandle();

} // namespace plat
