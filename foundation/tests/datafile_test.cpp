#include "foundation/coder.h"
#include "foundation/datafile.h"
#include "support/support.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "plat/testing.h"

namespace {

// The small scenario in one of its three stored forms.
enum class Form { Plain, Coded, Crlf };

std::string make_form(const ScratchDir& dir, Form form)
{
    const std::string plain = read_file(test_data("small.dat"));
    const std::string path = dir.file("small.dat");
    if (form == Form::Crlf) {
        std::string crlf;
        for (char c : plain) {
            if (c == '\n')
                crlf += '\r';
            crlf += c;
        }
        write_file(path, crlf);
    } else {
        write_file(path, plain);
        if (form == Form::Coded) {
            EXPECT_TRUE(code_file_quiet(path.c_str(), true));
        }
    }
    return path;
}

// Everything the fixture answers, as one comparable list of texts.
std::vector<std::string> read_everything(const std::string& path)
{
    std::vector<std::string> out;
    DataFile file;
    EXPECT_TRUE(file.Open(path.c_str()));
    std::string section;
    std::string record;
    std::string item;
    EXPECT_EQ(find_section(file, "TIME", section, 1), 1);
    out.push_back(std::to_string(get_record(1, 1, section, record)));
    for (int16_t i = 1; i <= 3; ++i)
        out.push_back(std::to_string(get_item_int(i, record)));
    EXPECT_EQ(find_section(file, "PRODUCTS", section, 1), 1);
    out.push_back(std::to_string(count_records(section)));
    out.push_back(std::to_string(get_record(1, 1, section, record)));
    get_item(1, record, item);
    out.push_back(item);
    out.push_back(std::to_string(get_item_float(2, record)));
    out.push_back(std::string(1, get_item_char(3, record)));
    get_item(4, record, item);
    out.push_back(item);
    out.push_back(std::to_string(get_record(1, 2, section, record)));
    out.push_back(std::to_string(get_item_int(2, record)));
    out.push_back(std::to_string(static_cast<int>(get_item_char(3, record))));
    out.push_back(std::to_string(get_item_int(3, record)));
    get_record(2, 1, section, record);
    out.push_back(std::to_string(get_item_int(1, record)));
    EXPECT_EQ(find_section(file, "DUP", section, 1), 1);
    get_record(1, 1, section, record);
    get_item(1, record, item);
    out.push_back(item);
    EXPECT_EQ(find_section(file, "LAST", section, 1), 1);
    get_record(1, 1, section, record);
    out.push_back(std::to_string(get_item_int(2, record)));
    out.push_back(std::to_string(find_section(file, "END OF FILE", section, 0)));
    out.push_back(std::to_string(find_section(file, "time", section, 0)));
    return out;
}

std::string death_regex(const char* level, const char* section, int topic = -1, int record = -1, int item = -1)
{
    std::string r = std::string("unable to load ") + level + ".*Section name : " + section;
    if (topic >= 0)
        r += ".*Topic num : " + std::to_string(topic) + ".*Record num : " + std::to_string(record);
    if (item >= 0)
        r += ".*Item num : " + std::to_string(item);
    return r;
}

} // namespace

TEST(DataFile, PlainCodedAndCrlfTwinsReadAlike)
{
    const std::vector<std::string> expected = {
        "3", "90", "1", "1",               // TIME
        "3", "4", "AA", "12.500000", "x",  // PRODUCTS record 1
        "hello world", "3", "-3", "0", "0", "7",
        "first",                           // the first of two sections of one name
        "2",                               // the section before [END OF FILE]
        "0", "0"};                         // END OF FILE and a case twin are never found
    for (Form form : {Form::Plain, Form::Coded, Form::Crlf}) {
        SCOPED_TRACE(static_cast<int>(form));
        ScratchDir dir;
        const std::string path = make_form(dir, form);
        EXPECT_EQ(is_coded_file(path.c_str()) != 0, form == Form::Coded);
        EXPECT_EQ(read_everything(path), expected);
    }
}

TEST(DataFile, IndexHoldsNamesAndRawOffsets)
{
    ScratchDir dir;
    const std::string path = make_form(dir, Form::Crlf);
    DataFile file;
    ASSERT_TRUE(file.Open(path.c_str()));
    const FileIndexList& index = file.Index();
    ASSERT_EQ(index.Count(), 6);
    EXPECT_STREQ(index.GetAt(0)->name, "TIME");
    EXPECT_STREQ(index.GetAt(5)->name, "END OF FILE");
    const std::string bytes = read_file(path);
    EXPECT_EQ(index.GetAt(0)->offset, static_cast<int32_t>(bytes.find("^90")));
    EXPECT_EQ(index.GetAt(0)->length, static_cast<int32_t>(bytes.find("^AA") - bytes.find("^90")));
    EXPECT_EQ(index.GetAt(5)->offset, static_cast<int32_t>(bytes.rfind(']')));
}

TEST(DataFile, NamesWithBackslashesAndAnotherCase)
{
    ScratchDir dir;
    std::filesystem::create_directories(dir.file("Scen"));
    write_file(dir.file("Scen/small.dat"), read_file(test_data("small.dat")));
    DataFile file;
    ASSERT_TRUE(file.Open((dir.path() + "\\SCEN\\SMALL.DAT").c_str()));
    std::string text;
    EXPECT_EQ(find_section(file, "LAST", text, 0), 1);
}

TEST(DataFile, FileWithoutEndMarkerCannotGiveItsLastSection)
{
    ScratchDir dir;
    write_file(dir.file("cut.dat"), "[A]\n^1^@\n$\n[B]\n^2^@\n$\n");
    DataFile file;
    ASSERT_TRUE(file.Open(dir.file("cut.dat").c_str()));
    std::string text;
    EXPECT_EQ(find_section(file, "A", text, 0), 1);
    EXPECT_EQ(find_section(file, "B", text, 0), 0);
    EXPECT_FALSE(file.Open(dir.file("none.dat").c_str()));
}

TEST(DataFile, RecordsOnLinesOfTheirOwn)
{
    // Records and "$" on separate lines: a missing record must not read on
    // into the next topic.
    const std::string section = "^1^@\n  \n$\n^2^@\n$\n[NEXT]\n";
    std::string record;
    EXPECT_EQ(get_record(2, 1, section, record), 1);
    EXPECT_EQ(get_item_int(1, record), 2);
    EXPECT_EXIT(get_record(1, 2, section, record), testing::ExitedWithCode(1),
                death_regex("RECORD", "", 1, 2));
}

TEST(DataFileDeath, MissingPiecesAreFatalAndNamed)
{
    ScratchDir dir;
    const std::string path = make_form(dir, Form::Plain);
    DataFile file;
    ASSERT_TRUE(file.Open(path.c_str()));
    std::string section;
    std::string record;
    std::string item;
    EXPECT_EXIT(find_section(file, "NOPE", section, 1), testing::ExitedWithCode(1), death_regex("SECTION", "NOPE"));
    ASSERT_EQ(find_section(file, "PRODUCTS", section, 1), 1);
    EXPECT_EXIT(get_record(1, 3, section, record), testing::ExitedWithCode(1),
                death_regex("RECORD", "PRODUCTS", 1, 3));
    EXPECT_EXIT(get_record(3, 1, section, record), testing::ExitedWithCode(1),
                death_regex("RECORD", "PRODUCTS", 3, 1));
    ASSERT_EQ(get_record(1, 2, section, record), 3);
    EXPECT_EXIT(get_item(4, record, item), testing::ExitedWithCode(1), death_regex("ITEM", "PRODUCTS", 1, 2, 4));
    // A record whose last "^" is missing: its last item is not there.
    EXPECT_EXIT(get_item(3, "^a^b^c", item), testing::ExitedWithCode(1), death_regex("ITEM", "PRODUCTS", 1, 2, 3));
    // Numbers and characters longer than 79 characters are refused.
    const std::string long_item = "^" + std::string(80, '1') + "^";
    get_item(1, long_item, item);
    EXPECT_EQ(item.size(), 80u);
    EXPECT_EXIT(get_item_int(1, long_item), testing::ExitedWithCode(1), death_regex("ITEM", "PRODUCTS", 1, 2, 1));
}

TEST(DataFileDeath, OversizedPiecesAreRefused)
{
    ScratchDir dir;
    // 32767 bytes of text are fine, 32768 are not. The text runs up to the
    // "]" of "[END OF FILE]", 12 bytes of it.
    for (size_t size : {32767u, 32768u}) {
        std::string text = "^" + std::string(size - 4 - 12, '1') + "^@\n";
        const std::string path = dir.file("big" + std::to_string(size) + ".dat");
        write_file(path, "[BIG]\n" + text + "[END OF FILE]\n");
        DataFile file;
        ASSERT_TRUE(file.Open(path.c_str()));
        std::string section;
        if (size == 32767u) {
            EXPECT_EQ(find_section(file, "BIG", section, 1), 1);
            EXPECT_EQ(section.size(), 32767u);
        } else {
            EXPECT_EXIT(find_section(file, "BIG", section, 1), testing::ExitedWithCode(1),
                        death_regex("SECTION", "BIG"));
        }
    }
    // A header 50000 bytes before its first "^" cannot be indexed.
    write_file(dir.file("far.dat"), "[FAR]" + std::string(50000, ' ') + "^1^@\n[END OF FILE]\n");
    DataFile far;
    EXPECT_EXIT(far.Open(dir.file("far.dat").c_str()), testing::ExitedWithCode(1), "unable to load SECTION");
    // A name of 80 characters.
    write_file(dir.file("name.dat"), "[" + std::string(80, 'N') + "]\n^1^@\n[END OF FILE]\n");
    DataFile named;
    EXPECT_EXIT(named.Open(dir.file("name.dat").c_str()), testing::ExitedWithCode(1), "unable to load SECTION");
}

TEST(DataFile, HeaderAcrossTheChunkBoundaryIsFound)
{
    ScratchDir dir;
    // "[SPLIT]" starts at byte 49995, so its "]" lies in the second chunk.
    std::string head = "[PAD]\n^";
    head += std::string(49995 - head.size() - 3, 'x');
    head += "^@\n";
    ASSERT_EQ(head.size(), 49995u);
    write_file(dir.file("split.dat"), head + "[SPLIT]\n^42^@\n$\n[END OF FILE]\n");
    DataFile file;
    ASSERT_TRUE(file.Open(dir.file("split.dat").c_str()));
    std::string section;
    std::string record;
    ASSERT_EQ(find_section(file, "SPLIT", section, 1), 1);
    get_record(1, 1, section, record);
    EXPECT_EQ(get_item_int(1, record), 42);
}

TEST(DataFile, ErrorBoxTextIsExact)
{
    plat::ScriptedHost host;
    std::string record;
    std::snprintf(data_file_position().section, 80, "%s", "RMachines");
    try {
        get_record(2, 5, "^1^@\n$\n^2^@\n$\n", record);
        FAIL() << "no exit";
    } catch (const plat::ExitRequest& e) {
        EXPECT_EQ(e.code, 1);
        EXPECT_EQ(e.caption, "Data Loading Error");
        EXPECT_EQ(e.text, "\n Data loading error - unable to load RECORD\n\n Section name : RMachines"
                          "\n Topic num : 2\n Record num : 5");
    }
}

TEST(RecordBuilding, ReplaceRecordKeepsTheRest)
{
    std::string data = "[A]\n^1^@\n$\n[RMachines]\n^m1^@\n^m2^@\n$\n^t2^@\n$\n";
    EXPECT_TRUE(replace_record(data, "[RMachines]", 1, 2, "^M2^x^@"));
    EXPECT_TRUE(replace_record(data, "[RMachines]", 1, 1, "^M1^@"));
    EXPECT_TRUE(replace_record(data, "[RMachines]", 2, 1, "^T2^@"));
    EXPECT_EQ(data, "[A]\n^1^@\n$\n[RMachines]\n^M1^@\n^M2^x^@\n$\n^T2^@\n$\n");
    EXPECT_FALSE(replace_record(data, "[Nope]", 1, 1, "^x^@"));
}

TEST(RecordBuilding, ItemsAndLines)
{
    const float floats[] = {1.25f, -2.0f};
    const int16_t shorts[] = {3, -40};
    std::string out;
    format_float_items(floats, 2, out);
    EXPECT_EQ(out, "^1.2^-2.0");
    format_short_items(shorts, 2, out);
    end_record(out);
    append_line(out, "^x^@");
    EXPECT_EQ(out, "^3^-40^@\n^x^@");
    copy_after_two_chars("A-text", out);
    EXPECT_EQ(out, "text");
    copy_after_two_chars("A", out);
    EXPECT_EQ(out, "");
}

TEST(ReportNumbers, RoundingPaddingAndSeparators)
{
    struct R {
        float v;
        int32_t want;
    };
    for (R r : {R{2.5f, 3}, R{2.49f, 2}, R{-2.7f, -3}, R{-2.5f, -3}, R{-2.49f, -2}, R{0.0f, 0}}) {
        SCOPED_TRACE(r.v);
        EXPECT_EQ(round_half_up(r.v), r.want);
    }
    struct S {
        const char* in;
        const char* want;
    };
    for (S s : {S{"  1234", "1,234"}, S{"999", "999"}, S{"-1000.25", "-1,000.25"}, S{"-1234567.5", "-1,234,567.5"},
                S{"123456", "123,456"}}) {
        std::string t = s.in;
        insert_thousands_separators(t);
        EXPECT_EQ(t, s.want);
    }
    std::string p = "42";
    pad_left(p, 5, '*');
    EXPECT_EQ(p, "***42");
    pad_left(p, 3, ' ');
    EXPECT_EQ(p, "***");
    pad_right(p, 2, '-');
    EXPECT_EQ(p, "***--");
    std::string d = "  12";
    insert_dollar_sign(d);
    EXPECT_EQ(d, "  $12");
    const float values[] = {3.0f, -1.0f, 7.5f};
    EXPECT_EQ(min_float(values, 3), -1.0f);
    EXPECT_EQ(max_float(values, 3), 7.5f);
    EXPECT_EQ(max_float(values, 1), 3.0f);
}
