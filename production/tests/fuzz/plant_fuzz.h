// The Production state file read by the engine over the sample plant, as the
// libFuzzer target and the kept inputs' replay both run it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Whether the bytes loaded. A file that loads must save to bytes that load
// again to the same bytes, and the plant must run an hour on it; otherwise
// the process aborts (a finding).
bool fuzz_plant_file(const uint8_t* data, size_t size, std::string* error = nullptr);
