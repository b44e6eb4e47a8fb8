// Windows-1252 <-> Unicode by table.
#include "plat/text.h"

namespace plat {

namespace {

// 0x80..0x9F; the five bytes 1252 leaves undefined keep their C1 code point.
constexpr char16_t high_block[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void put_utf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

char32_t AnsiToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return high_block[byte - 0x80];
    return byte;
}

unsigned char UnicodeToAnsi(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100))
        return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; ++i)
        if (high_block[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    return '?';
}

std::string AnsiToUtf8(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size());
    for (char c : ansi)
        put_utf8(out, AnsiToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            out.push_back('?');
            ++i;
            continue;
        }
        if (utf8.size() - i <= static_cast<size_t>(extra)) { // cut short
            out.push_back('?');
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
            out.push_back('?');
            ++i;
            continue;
        }
        out.push_back(static_cast<char>(UnicodeToAnsi(cp)));
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

} // namespace plat
