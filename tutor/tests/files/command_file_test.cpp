// The command-file reader: line rules, keywords, fields, coded files and
// the boxes of a file that cannot be read.
#include "foundation/coder.h"
#include "plat/testing.h"
#include "support/tutor_test_support.h"
#include "tutor/command_file.h"
#include <gtest/gtest.h>

using tutortest::TempDir;

namespace {

std::vector<CommandRecord> parse(const std::string& text, bool coded = false)
{
    CommandFileParser parser(coded);
    parser.feed_text(text);
    return parser.take();
}

std::vector<CommandRecord> load(const std::string& path)
{
    std::vector<CommandRecord> out;
    EXPECT_TRUE(load_command_file(path, out)) << path;
    return out;
}

void expect_records(const std::vector<CommandRecord>& got,
                    const std::vector<std::pair<int16_t, std::string>>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].code, want[i].first) << "record " << i;
        EXPECT_EQ(got[i].text, want[i].second) << "record " << i;
    }
}

// Every keyword once, in odd cases, with comments, blanks, a text of two
// lines and one unknown keyword.
const char* const kFixture =
    "; a comment line\n"
    "text before any command is ignored\n"
    "[ShowText]\n"
    "Welcome.   \n"
    "   \n"
    "Second line\n"
    "[confirmtext]\n"
    "Press Continue\n"
    "[OPENFILE]\n"
    "SAMPLE.VNB   \n"
    "[ShowMenu]\n"
    "2,120,40\n"
    "[ExecMenu]\n"
    "32779\n"
    "[Delay]\n"
    "600\n"
    "[CloseWindow]\n"
    "Order\n"
    "[clickbutton]\n"
    "Order,1\n"
    "[CheckButton]\n"
    "Order,1001,1\n"
    "[SetEditText]\n"
    "Order,1002,25,more\n"
    "[SelectCombo]\n"
    "Order,1003,1\n"
    "[SelectList]\n"
    "Order,1004,2\n"
    "[SimulateExecMenu]\n"
    "2,120,40,1\n"
    "[ConfirmContinue]\n"
    "[PositionWizard]\n"
    "500,500\n"
    "[CloseCurrentWindow]\n"
    "[SimulateSelectCombo]\n"
    "Order,1003,1\n"
    "[NoSuchCommand]\n"
    "ignored argument\n"
    "[ShowText]\n"
    "last";

} // namespace

TEST(CommandFile, FixtureGivesOneRecordPerCommandLine)
{
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    expect_records(parse(kFixture), {
        // Spaces go only from the end of the whole text, so those before a
        // text's line break stay.
        {TUTOR_SHOW_TEXT, "Welcome.   \r\nSecond line\r\n"},
        {TUTOR_CONFIRM_TEXT, "Press Continue\r\n"},
        {TUTOR_OPEN_FILE, "SAMPLE.VNB"},
        {TUTOR_SHOW_MENU, "2,120,40"},
        {TUTOR_POST_MENU, "32779"},
        {TUTOR_DELAY, "600"},
        {TUTOR_CLOSE_TITLED, "Order"},
        {TUTOR_CLICK_BUTTON, "Order,1"},
        {TUTOR_CHECK_BUTTON, "Order,1001,1"},
        {TUTOR_SET_EDIT_TEXT, "Order,1002,25,more"},
        {TUTOR_SET_COMBO, "Order,1003,1"},
        {TUTOR_SET_LIST, "Order,1004,2"},
        {TUTOR_EXEC_MENU, "2,120,40,1"},
        {TUTOR_CONFIRM_CONTINUE, ""},
        {TUTOR_POSITION, "500,500"},
        {TUTOR_CLOSE_WINDOW, ""},
        {TUTOR_SELECT_COMBO, "Order,1003,1"},
        {TUTOR_UNKNOWN, "ignored argument"},
        {TUTOR_SHOW_TEXT, "last"},
    });
    // Only the unknown keyword raised a box, under the program's title.
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Unknown command found in commands file: NoSuchCommand");
    EXPECT_EQ(host.boxes()[0].caption, STEPLAY_TITLE);
}

TEST(CommandFile, LineEndsAndLongLines)
{
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::pair<int16_t, std::string>> want;
    };
    const std::string k450(450, 'k');
    const Case cases[] = {
        // A final line feed ends the last line; it makes no second copy.
        {"final LF", "[ExecMenu]\n32779\n", {{TUTOR_POST_MENU, "32779"}}},
        {"no final LF", "[ExecMenu]\n32779", {{TUTOR_POST_MENU, "32779"}}},
        {"last line a command", "[ShowText]\nA\n[ConfirmContinue]\n",
         {{TUTOR_SHOW_TEXT, "A\r\n"}, {TUTOR_CONFIRM_CONTINUE, ""}}},
        // CR LF files read as plain ones; only the texts get CR LF, once.
        {"CRLF", "[ShowText]\r\nOne\r\nTwo\r\n[Delay]\r\n600\r\n",
         {{TUTOR_SHOW_TEXT, "One\r\nTwo\r\n"}, {TUTOR_DELAY, "600"}}},
        // A line of 450 characters keeps its first 400; the rest is no new line.
        {"450 chars", "[SetEditText]\n" + k450 + "\n", {{TUTOR_SET_EDIT_TEXT, std::string(400, 'k')}}},
        // The keyword ends at "]" or at the end of the line.
        {"keyword without ]", "[Delay\n10\n", {{TUTOR_DELAY, "10"}}},
        {"text after ]", "[Delay] trailing words\n10\n", {{TUTOR_DELAY, "10"}}},
        {"blank lines inside arguments", "[SetEditText]\nA,\n\n  \nB\n", {{TUTOR_SET_EDIT_TEXT, "A,B"}}},
        {"tab is not a blank line", "[SetEditText]\n\t\n", {{TUTOR_SET_EDIT_TEXT, "\t"}}},
        // The records hold C texts: a NUL byte ends its line.
        {"NUL in a line", std::string("[SetEditText]\nab\0cd\nef\n", 22), {{TUTOR_SET_EDIT_TEXT, "abef"}}},
        {"no commands", "; only a comment\n\nplain words\n", {}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expect_records(parse(c.text), c.want);
    }
}

TEST(CommandFile, ArgumentTextAndKeywordsAreBounded)
{
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    // 1100 characters over three lines: the text stops at 1041.
    std::string text = "[SetEditText]\n";
    for (int i = 0; i < 3; ++i)
        text += std::string(i < 2 ? 400 : 300, static_cast<char>('a' + i)) + "\n";
    auto records = parse(text);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].text.size(), COMMAND_TEXT_MAX);
    EXPECT_EQ(records[0].text.substr(800), std::string(241, 'c'));

    // A keyword of more than 200 characters is unknown, named by its first 200.
    const std::string keyword = "ShowText" + std::string(250, 'x');
    records = parse("[" + keyword + "]\nhello\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].code, TUTOR_UNKNOWN);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Unknown command found in commands file: " + keyword.substr(0, 200));

    // A keyword of exactly 200 characters is still looked up (and unknown).
    EXPECT_EQ(parse_command_name(std::string(200, 'y')), TUTOR_UNKNOWN);
    EXPECT_EQ(parse_command_name("CLICKBUTTON"), TUTOR_CLICK_BUTTON);
    EXPECT_EQ(parse_command_name("ShowTextx"), TUTOR_UNKNOWN) << "whole keyword only";
    EXPECT_EQ(parse_command_name(""), TUTOR_UNKNOWN);
}

TEST(CommandFile, FieldsAndNumbers)
{
    struct Case {
        std::string text;
        int n;
        std::string field;
        int32_t number;
    };
    const Case cases[] = {
        {"a,,b", 2, "", 0},
        {"a,,b", 3, "b", 0},
        {"a,,b", 4, "", 0},
        {"Order, -7x,3", 2, " -7x", -7},
        {"+12", 1, "+12", 12},
        {"x12", 1, "x12", 0},
        {"- 5", 1, "- 5", 0},
        {"  42  ", 1, "  42  ", 42},
        {"Order,1002,25,more", 3, "25", 25},
        {"99999999999", 1, "99999999999", INT32_MAX},
        {"-99999999999", 1, "-99999999999", INT32_MIN},
        {"-2147483648", 1, "-2147483648", INT32_MIN},
        {"", 1, "", 0},
        {"a,b", 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " #" + std::to_string(c.n));
        EXPECT_EQ(command_field(c.text, c.n), c.field);
        EXPECT_EQ(command_field_int(c.text, c.n), c.number);
    }
}

TEST(CommandFile, CodedFileTest)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string first_line;
        bool coded;
    };
    const Case cases[] = {
        {"ASCII", "; VORN tutorial - ASCII 0x20..0x7A only on this line\n", false},
        {"byte 0x80", std::string("; a \x80 byte\n"), true},
        {"brace", "; {braces}\n", true},
        {"CRLF plain", "; plain\r\n", false},
        {"empty", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / "case.cmd";
        tutortest::write_bytes(path, c.first_line + "[Delay]\n5\n");
        EXPECT_EQ(is_coded_file(path.c_str()) != plat::FALSE, c.coded);
    }
    EXPECT_EQ(is_coded_file((dir / "missing.cmd").c_str()), plat::FALSE);
}

TEST(CommandFile, CodedTwinGivesTheSameRecords)
{
    TempDir dir;
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    const std::string plain = dir / "plain.cmd";
    const std::string coded = dir / "coded.cmd";
    const std::string text = std::string("; VORN tutorial - ASCII 0x20..0x7A only on this line\r\n") + kFixture;
    tutortest::write_bytes(plain, text);
    tutortest::write_bytes(coded, text);
    ASSERT_TRUE(code_file_quiet(coded.c_str(), true));
    ASSERT_NE(tutortest::read_bytes(coded), text);
    ASSERT_NE(is_coded_file(coded.c_str()), plat::FALSE);

    const auto a = load(plain);
    const auto b = load(coded);
    ASSERT_EQ(a.size(), 19u);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].code, b[i].code) << i;
        EXPECT_EQ(a[i].text, b[i].text) << i;
    }
}

TEST(CommandFile, FilesThatCannotBeRead)
{
    TempDir dir;
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    std::vector<CommandRecord> out{CommandRecord{TUTOR_DELAY, "1"}};
    const std::string missing = dir / "nothere.cmd";
    EXPECT_FALSE(load_command_file(missing, out));
    EXPECT_TRUE(out.empty());
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Unable to open wizard file '" + missing + "'.");
    EXPECT_EQ(host.boxes()[0].caption, "Learning");

    // A folder exists but is no file to read.
    host.clear_records();
    std::filesystem::create_directory(dir.path / "folder.cmd");
    EXPECT_FALSE(load_command_file(dir / "folder.cmd", out));
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Unable to open wizard commands file");
    EXPECT_EQ(host.boxes()[0].caption, STEPLAY_TITLE);

    // Found whatever the case of its name.
    tutortest::write_bytes(dir / "Guide1.CMD", "[Delay]\n7\n");
    expect_records(load(dir / "guide1.cmd"), {{TUTOR_DELAY, "7"}});
}
