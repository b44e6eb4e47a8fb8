// The link's frame decoder driven by arbitrary bytes: every frame it gives
// is read as its type says and must encode back to the bytes it came from.
// A broken rule aborts, so the fuzzer and the replay of its seeds both see it.
#pragma once
#include <cstddef>
#include <cstdint>

void fuzz_link_frames(const uint8_t* data, size_t size);
