// Windows-1252 <-> UTF-8.
#include "plat/text.h"
#include <gtest/gtest.h>

using namespace plat;

TEST(Text, AnsiToUtf8)
{
    struct Case {
        std::string ansi, utf8;
        const char* why;
    };
    const Case cases[] = {
        {"Plant 7", "Plant 7", "ASCII as is"},
        {"\x80", "\xE2\x82\xAC", "euro sign"},
        {"\x81", "\xC2\x81", "undefined byte keeps its C1 code point"},
        {"\x8D\x8F\x90\x9D", "\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "the other four undefined bytes"},
        {"\x92", "\xE2\x80\x99", "right single quote"},
        {"\x9F", "\xC5\xB8", "Y with diaeresis"},
        {"\xA0\xE9\xFF", "\xC2\xA0\xC3\xA9\xC3\xBF", "Latin-1 range"},
        {std::string("a\0b", 3), std::string("a\0b", 3), "NUL passes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(AnsiToUtf8(c.ansi), c.utf8);
    }
}

TEST(Text, Utf8ToAnsi)
{
    struct Case {
        std::string utf8, ansi;
        const char* why;
    };
    const Case cases[] = {
        {"\xE2\x82\xAC 5", "\x80 5", "euro sign"},
        {"\xC3\xA9t\xC3\xA9", "\xE9t\xE9", "Latin-1 letters"},
        {"\xE6\x97\xA5", "?", "no 1252 byte: question mark"},
        {"\xF0\x9F\x99\x82!", "?!", "four-byte sequence"},
        {"\xC3", "?", "cut short at the end"},
        {"\xC0\x80", "??", "overlong NUL, each byte"},
        {"\xFFx", "?x", "byte that starts nothing"},
        {"\xED\xA0\x80", "???", "encoded surrogate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi);
    }
}

TEST(Text, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(UnicodeToAnsi(AnsiToUnicode(static_cast<unsigned char>(b))), b) << b;
    EXPECT_EQ(UnicodeToAnsi(0x3000), '?');
}
