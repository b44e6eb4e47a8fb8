// One entry per reader of the player's files: the bytes are read as that
// file and what was read is checked against the reader's bounds and written
// again where there is a writer. A broken bound aborts, so the fuzzer and
// the replay of its seeds both see it.
#pragma once
#include <cstddef>
#include <cstdint>

void fuzz_command_file(const uint8_t* data, size_t size);
void fuzz_decision_menu(const uint8_t* data, size_t size);
