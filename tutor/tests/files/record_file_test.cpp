// The hand-off record and the decision-menu file: their byte layouts, the
// safe replacement of each file and what a damaged file gives.
#include "plat/testing.h"
#include "support/tutor_test_support.h"
#include "tutorproto/decision_menu.h"
#include "tutorproto/protocol.h"
#include <cstring>
#include <gtest/gtest.h>
#include <functional>

using tutortest::read_bytes;
using tutortest::TempDir;
using tutortest::write_bytes;

TEST(CommandRecordFile, LayoutAndRoundTrip)
{
    TempDir dir;
    const std::string path = dir / "STEPBIN.CMD";
    CommandRecord rec{TUTOR_SET_EDIT_TEXT, "Order,1002,25\nsecond line"};
    ASSERT_TRUE(write_command_record(path, rec));
    const std::string bytes = read_bytes(path);
    ASSERT_EQ(bytes.size(), COMMAND_RECORD_SIZE);
    EXPECT_EQ(bytes[0], 10);
    EXPECT_EQ(bytes[1], 0);
    // Written as bytes: the line feed stays one byte.
    EXPECT_EQ(bytes.substr(2, rec.text.size()), rec.text);
    EXPECT_EQ(bytes.find_first_not_of('\0', 2 + rec.text.size()), std::string::npos);
    EXPECT_EQ(tutortest::count_files(dir.path, "STEPBIN.CMD"), 1u) << "no temp file left";

    CommandRecord back;
    ASSERT_TRUE(read_command_record(path, back));
    EXPECT_EQ(back.code, rec.code);
    EXPECT_EQ(back.text, rec.text);
    // Write, read, write: the same bytes.
    ASSERT_TRUE(write_command_record(path, back));
    EXPECT_EQ(read_bytes(path), bytes);

    // A negative code keeps its two bytes.
    ASSERT_TRUE(write_command_record(path, CommandRecord{-2, ""}));
    ASSERT_TRUE(read_command_record(path, back));
    EXPECT_EQ(back.code, -2);
}

TEST(CommandRecordFile, TextIsCutAndTheLastByteIsZero)
{
    TempDir dir;
    const std::string path = dir / "STEPBIN.CMD";
    ASSERT_TRUE(write_command_record(path, CommandRecord{TUTOR_SHOW_TEXT, std::string(1500, 'q')}));
    const std::string bytes = read_bytes(path);
    ASSERT_EQ(bytes.size(), COMMAND_RECORD_SIZE);
    EXPECT_EQ(bytes.substr(2, COMMAND_TEXT_MAX), std::string(COMMAND_TEXT_MAX, 'q'));
    EXPECT_EQ(bytes[COMMAND_RECORD_SIZE - 1], '\0');

    // A file whose text runs to the last byte reads with that byte as 0.
    std::string full(COMMAND_RECORD_SIZE, 'z');
    full[0] = 2;
    full[1] = 0;
    write_bytes(path, full);
    CommandRecord back;
    ASSERT_TRUE(read_command_record(path, back));
    EXPECT_EQ(back.code, TUTOR_SHOW_TEXT);
    EXPECT_EQ(back.text, std::string(COMMAND_TEXT_MAX, 'z'));
}

TEST(CommandRecordFile, WrongSizesAreRefusedWithTheBox)
{
    TempDir dir;
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    const std::string path = dir / "STEPBIN.CMD";
    for (size_t size : {size_t{0}, COMMAND_RECORD_SIZE - 1, COMMAND_RECORD_SIZE + 1, size_t{5000}}) {
        SCOPED_TRACE(size);
        host.clear_records();
        write_bytes(path, std::string(size, '\1'));
        CommandRecord back{7, "kept"};
        EXPECT_FALSE(read_command_record(path, back));
        EXPECT_EQ(back.code, 7) << "the old record is kept";
        ASSERT_EQ(host.boxes().size(), 1u);
        EXPECT_EQ(host.boxes()[0].text, "Unable to read command binary file");
    }
    std::filesystem::remove(path);
    CommandRecord back;
    EXPECT_FALSE(read_command_record(path, back));
}

TEST(CommandRecordFile, FailedWriteLeavesTheOldFile)
{
    TempDir dir;
    const std::string path = dir / "STEPBIN.CMD";
    ASSERT_TRUE(write_command_record(path, CommandRecord{TUTOR_OPEN_FILE, "OLD.VNB"}));
    {
        // The disk is full: the write fails at its flush.
        tutortest::FileSizeLimit full(100);
        EXPECT_FALSE(write_command_record(path, CommandRecord{TUTOR_CLOSE_WINDOW, ""}));
    }
    EXPECT_EQ(tutortest::count_files(dir.path, "STEPBIN.CMD"), 1u) << "no temp file left";
    CommandRecord back;
    ASSERT_TRUE(read_command_record(path, back));
    EXPECT_EQ(back.code, TUTOR_OPEN_FILE);
    EXPECT_EQ(back.text, "OLD.VNB");
    // A folder where the file should be: nothing replaces it.
    const std::string folder = dir / "sub";
    std::filesystem::create_directories(folder + "/STEPBIN.CMD/inner");
    EXPECT_FALSE(write_command_record(folder + "/STEPBIN.CMD", CommandRecord{TUTOR_DELAY, "1"}));
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/STEPBIN.CMD"));
    EXPECT_EQ(tutortest::count_files(folder, "STEPBIN.CMD"), 1u);
}

TEST(CommandRecordFile, KeywordTable)
{
    EXPECT_STREQ(tutor_keyword(1), "OpenFile");
    EXPECT_STREQ(tutor_keyword(8), "CLickButton");
    EXPECT_STREQ(tutor_keyword(17), "SimulateSelectCombo");
    EXPECT_EQ(tutor_keyword(0), nullptr);
    EXPECT_EQ(tutor_keyword(18), nullptr);
    for (int16_t code = 1; code <= TUTOR_LAST_CODE; ++code)
        EXPECT_EQ(tutor_code_of(tutor_keyword(code)), code);
    const int16_t handed[] = {TUTOR_OPEN_FILE, TUTOR_EXEC_MENU, TUTOR_CLOSE_WINDOW, TUTOR_SELECT_COMBO};
    for (int16_t code = 0; code <= TUTOR_LAST_CODE; ++code)
        EXPECT_EQ(tutor_is_handed_over(code), std::find(std::begin(handed), std::end(handed), code) != std::end(handed))
            << code;
}

namespace {

// The test's own image, put together from the offsets the file is known
// by, not from the writer's constants.
struct Image {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(14036, 0);
    void text(size_t at, const char* t) { std::memcpy(bytes.data() + at, t, std::strlen(t)); }
    void number(size_t at, int32_t v) { std::memcpy(bytes.data() + at, &v, 4); }
};

DecisionMenu sample_menu()
{
    DecisionMenu m;
    m.title = "Decisions";
    m.close_caption = "&Close";
    m.actions_label = "Actions";
    m.policies_label = "Policies";
    m.groups[0].name = "Marketing";
    m.groups[1].name = "Production";
    m.groups[2].name = "Purchasing";
    m.groups[2].actions = {{"&Order", 401}, {"&Packages", 402}, {"&Suppliers", 403}};
    m.groups[2].policies = {{"&Material parameters", 501}, {"&Purchasing policy", 502}};
    return m;
}

Image expected_image()
{
    Image im;
    im.text(0, "Decisions");
    im.text(101, "&Close");
    im.text(202, "Actions");
    im.text(303, "Policies");
    im.text(404, "Marketing");
    im.text(3812, "Production");
    im.text(7220, "Purchasing");
    const char* actions[] = {"&Order", "&Packages", "&Suppliers"};
    for (int k = 0; k < 3; ++k) {
        im.text(7260 + 84 * k, actions[k]);
        im.number(7260 + 84 * k + 80, 401 + k);
    }
    im.number(8940, 3);
    im.text(8944, "&Material parameters");
    im.number(8944 + 80, 501);
    im.text(8944 + 84, "&Purchasing policy");
    im.number(8944 + 84 + 80, 502);
    im.number(10624, 2);
    return im;
}

} // namespace

TEST(DecisionMenuFile, WriterGivesTheKnownImage)
{
    TempDir dir;
    const std::string path = dir / "vorndec.mnu";
    ASSERT_TRUE(write_decision_menu_file(path, sample_menu()));
    const std::string bytes = read_bytes(path);
    const Image want = expected_image();
    ASSERT_EQ(bytes.size(), want.bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(static_cast<uint8_t>(bytes[i]), want.bytes[i]) << "byte " << i;
    EXPECT_EQ(tutortest::count_files(dir.path, "vorndec.mnu"), 1u) << "no temp file left";

    // Write, read, write: the same bytes.
    DecisionMenu back;
    ASSERT_TRUE(read_decision_menu_file(path, back));
    EXPECT_EQ(back.groups[2].actions.size(), 3u);
    EXPECT_EQ(back.groups[2].policies[1].text, "&Purchasing policy");
    EXPECT_EQ(back.groups[2].policies[1].id, 502);
    EXPECT_TRUE(back.groups[0].actions.empty());
    ASSERT_TRUE(write_decision_menu_file(path, back));
    EXPECT_EQ(read_bytes(path), bytes);
}

TEST(DecisionMenuFile, WriterCutsTextsAndLists)
{
    DecisionMenu m;
    m.title = std::string(150, 't');
    m.groups[1].name = std::string(60, 'n');
    for (int i = 0; i < 25; ++i)
        m.groups[1].actions.push_back({std::string(90, 'a'), 400 + i});
    const DecisionMenuBytes bytes = encode_decision_menu(m);
    ASSERT_EQ(bytes.size(), DECISION_MENU_SIZE);
    DecisionMenu back;
    ASSERT_TRUE(decode_decision_menu(bytes.data(), bytes.size(), back));
    EXPECT_EQ(back.title, std::string(100, 't'));
    EXPECT_EQ(back.groups[1].name, std::string(39, 'n'));
    ASSERT_EQ(back.groups[1].actions.size(), 20u);
    EXPECT_EQ(back.groups[1].actions[19].text, std::string(79, 'a'));
    EXPECT_EQ(back.groups[1].actions[19].id, 419);
    // Each field keeps its terminating zero.
    EXPECT_EQ(bytes[100], 0);
    EXPECT_EQ(bytes[404 + 3408 + 39], 0);
}

TEST(DecisionMenuFile, ReaderOverDamagedImages)
{
    const Image good = expected_image();
    struct Case {
        const char* name;
        std::function<void(Image&)> damage;
        size_t purchasing_actions;
    };
    const Case cases[] = {
        {"count 25 is taken as 20", [](Image& im) { im.number(8940, 25); }, 20},
        {"count -1 is taken as 0", [](Image& im) { im.number(8940, -1); }, 0},
        {"count 0", [](Image& im) { im.number(8940, 0); }, 0},
        {"count INT32_MIN", [](Image& im) { im.number(8940, INT32_MIN); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image im = good;
        c.damage(im);
        DecisionMenu m;
        ASSERT_TRUE(decode_decision_menu(im.bytes.data(), im.bytes.size(), m));
        EXPECT_EQ(m.groups[2].actions.size(), c.purchasing_actions);
        EXPECT_EQ(m.groups[2].policies.size(), 2u);
    }

    // An 80-character text with no zero stops at its field's last byte and
    // does not run into the id.
    Image im = good;
    std::memset(im.bytes.data() + 7260, 'x', 84);
    DecisionMenu m;
    ASSERT_TRUE(decode_decision_menu(im.bytes.data(), im.bytes.size(), m));
    EXPECT_EQ(m.groups[2].actions[0].text, std::string(79, 'x'));
    // A 40-character name the same.
    std::memset(im.bytes.data() + 404, 'm', 40);
    ASSERT_TRUE(decode_decision_menu(im.bytes.data(), im.bytes.size(), m));
    EXPECT_EQ(m.groups[0].name, std::string(39, 'm'));

    // Short or long images are no file at all.
    for (size_t size : {size_t{0}, size_t{14000}, size_t{14035}, size_t{14037}}) {
        std::vector<uint8_t> bytes(size, 0);
        DecisionMenu untouched = sample_menu();
        EXPECT_FALSE(decode_decision_menu(bytes.data(), bytes.size(), untouched)) << size;
        EXPECT_EQ(untouched.groups[2].actions.size(), 3u) << "left as it was";
    }
    TempDir dir;
    write_bytes(dir / "vorndec.mnu", std::string(14000, '\0'));
    EXPECT_FALSE(read_decision_menu_file(dir / "vorndec.mnu", m));
    write_bytes(dir / "vorndec.mnu", std::string(14037, '\0'));
    EXPECT_FALSE(read_decision_menu_file(dir / "vorndec.mnu", m));
    EXPECT_FALSE(read_decision_menu_file(dir / "missing.mnu", m));
}

TEST(DecisionMenuFile, FailedWriteKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = dir / "vorndec.mnu";
    ASSERT_TRUE(write_decision_menu_file(path, sample_menu()));
    const std::string before = read_bytes(path);
    {
        tutortest::FileSizeLimit full(1000);
        EXPECT_FALSE(write_decision_menu_file(path, DecisionMenu{}));
    }
    EXPECT_EQ(read_bytes(path), before);
    EXPECT_EQ(tutortest::count_files(dir.path, "vorndec.mnu"), 1u) << "no temp file left";
}
