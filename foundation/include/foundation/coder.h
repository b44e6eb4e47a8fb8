// The byte-substitution coder of scenario, language, learn and command files.
#pragma once
#include "plat/types.h"
#include <cstdint>
#include <string>

void code_string(char* text);
void uncode_string(char* text);
void code_string(std::string& text);
void uncode_string(std::string& text);
void uncode_bytes(char* buffer, int16_t n);
unsigned char code_byte(unsigned char b);
unsigned char uncode_byte(unsigned char b);
// True when a text line (as read, line feed and carriage return aside) holds
// a byte outside blank .. "z".
bool is_coded_line(const char* line, size_t n);
plat::BOOL is_coded_file(const char* path);
// Code or uncode a whole text file line by line, through "<file>.tmp" beside
// it; the input is replaced only when every write succeeded. Failures and (when
// asked) success are shown in a "File Coding" box. TRUE when done.
plat::BOOL code_file(const char* path, int show_message);
plat::BOOL uncode_file(const char* path, int show_message);
// The byte-level work without boxes: false and an untouched input on failure.
bool code_file_quiet(const char* path, bool code);
