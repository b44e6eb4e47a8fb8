// The state file's reader under arbitrary bytes: used by the libFuzzer
// program and, over the kept inputs, by a test on every build.
#pragma once
#include <cstddef>
#include <cstdint>

void fuzz_finance_state(const uint8_t* data, size_t size);
