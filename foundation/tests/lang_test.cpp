#include "foundation/coder.h"
#include "foundation/lang.h"
#include "support/support.h"
#include <gtest/gtest.h>
#include <string>

namespace {

enum class Form { Plain, Coded, Crlf };

// Puts the fixture into the folder as vorn.lng in one of its stored forms.
void install(const ScratchDir& dir, const char* fixture, Form form)
{
    std::string bytes = read_file(test_data(fixture));
    if (form == Form::Crlf) {
        std::string crlf;
        for (char c : bytes) {
            if (c == '\n')
                crlf += '\r';
            crlf += c;
        }
        bytes = crlf;
    }
    write_file(dir.file("vorn.lng"), bytes);
    if (form == Form::Coded) {
        ASSERT_TRUE(code_file_quiet(dir.file("vorn.lng").c_str(), true));
    }
    lang_set_folder(dir.path());
}

} // namespace

TEST(Translation, PseudoTranslationInEveryForm)
{
    for (Form form : {Form::Plain, Form::Coded, Form::Crlf}) {
        SCOPED_TRACE(static_cast<int>(form));
        ScratchDir dir;
        install(dir, "lang/pseudo.lng", form);
        ASSERT_EQ(lang_load(0), 1);
        EXPECT_STREQ(lang_font("MS Sans Serif"), "Arial");
        EXPECT_STREQ(lang_translate("Open"), "Ouvrir");
        EXPECT_STREQ(lang_translate("Empty"), "Vide");   // the empty first entry is passed over
        EXPECT_STREQ(lang_translate("Twice"), "First");  // the first of two
        EXPECT_STREQ(lang_translate("case"), "case");    // case counts
        EXPECT_STREQ(lang_translate("Unknown text"), "Unknown text");
        EXPECT_STREQ(lang_translate("NoEquals"), "NoEquals");
        const char* high = "\xe9t\xe9";
        EXPECT_EQ(lang_translate(high), high);  // first byte 128 or more: the text itself
        EXPECT_STREQ(lang_translate("Src"), "Dst");
        EXPECT_STREQ(lang_translate("Tail"), "Tail");  // past 329 characters: dropped, not a line
        EXPECT_EQ(std::string(lang_translate("Long")), std::string(150, 'L'));
        EXPECT_STREQ(lang_translate(std::string(150, 'S').c_str()), "cut source");
    }
}

TEST(Translation, FontOnlyAndMissingFiles)
{
    ScratchDir dir;
    install(dir, "lang/font_only.lng", Form::Plain);
    ASSERT_EQ(lang_load(0), 1);
    EXPECT_STREQ(lang_font("MS Sans Serif"), "MS Sans Serif");
    EXPECT_EQ(lang_entry_count(), 0);
    EXPECT_STREQ(lang_translate("Open"), "Open");
    ScratchDir empty;
    lang_set_folder(empty.path());
    EXPECT_EQ(lang_load(0), 0);
    EXPECT_EQ(lang_entry_count(), 0);
}

TEST(Translation, WriteLangsAppendsEachTextOnceInTheFilesForm)
{
    for (Form form : {Form::Plain, Form::Coded}) {
        SCOPED_TRACE(static_cast<int>(form));
        ScratchDir dir;
        install(dir, "lang/font_only.lng", form);
        const std::string before = read_file(dir.file("vorn.lng"));
        ASSERT_EQ(lang_load(1), 1);
        EXPECT_STREQ(lang_translate("New text"), "New text");
        EXPECT_STREQ(lang_translate("New text"), "New text");
        lang_translate("X marks a developer text");
        lang_translate("42 items");
        lang_translate("");  // nothing to translate: no bare line
        EXPECT_EQ(lang_load(0), 1);
        std::string line = "\nNew text";
        if (form == Form::Coded) {
            code_string(line);
        }
        EXPECT_EQ(read_file(dir.file("vorn.lng")), before + line);
        EXPECT_EQ(is_coded_file(dir.file("vorn.lng").c_str()) != 0, form == Form::Coded);
        EXPECT_EQ(lang_entry_count(), 1);
    }
}
