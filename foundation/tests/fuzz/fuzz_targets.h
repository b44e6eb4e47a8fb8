// One entry per file reader: reads the bytes as that file, then writes what
// it read again where the reader has a writer. Never ends the program: a
// fatal load error is caught as the scripted host's exit.
#pragma once
#include <cstddef>
#include <cstdint>

void fuzz_datafile(const uint8_t* data, size_t size);
void fuzz_randtables(const uint8_t* data, size_t size);
void fuzz_lang(const uint8_t* data, size_t size);
void fuzz_coded(const uint8_t* data, size_t size);
void fuzz_bitmap(const uint8_t* data, size_t size);
