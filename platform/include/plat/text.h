// Single-byte Windows-1252 text, the layer's string form, and its mapping to
// Unicode at the boundaries (screen, file names).
#pragma once
#include <string>
#include <string_view>

namespace plat {

char32_t AnsiToUnicode(unsigned char byte);
// '?' for anything 1252 cannot hold.
unsigned char UnicodeToAnsi(char32_t cp);

std::string AnsiToUtf8(std::string_view ansi);
// Invalid UTF-8 sequences become '?' byte by byte.
std::string Utf8ToAnsi(std::string_view utf8);

} // namespace plat
