// The tutorials that ship beside the sample: their first line stays plain
// enough that the coded-file test never takes them for coded, every
// keyword is known, and each coded twin reads as the same records.
#include "foundation/coder.h"
#include "plat/testing.h"
#include "purchasing/order_dialog_ids.h"
#include "support/tutor_test_support.h"
#include "tutor/command_file.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> sources()
{
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(fs::path(VORN_SOURCE_DIR) / "tutor" / "data"))
        if (e.path().string().ends_with(".cmd.in"))
            out.push_back(e.path());
    return out;
}

std::string bundled_name(const fs::path& source)
{
    std::string name = source.filename().string();
    return name.substr(0, name.size() - 3);
}

} // namespace

TEST(BundledTutorials, FirstLinesArePlainAndFilesAreComplete)
{
    const auto files = sources();
    ASSERT_FALSE(files.empty());
    for (const fs::path& src : files) {
        SCOPED_TRACE(src.string());
        const std::string text = tutortest::read_bytes(src.string());
        const std::string first = text.substr(0, text.find('\n'));
        for (unsigned char c : first)
            EXPECT_TRUE(c >= 0x20 && c <= 0x7A) << "byte " << int(c) << " on line 1";
        EXPECT_EQ(text.find('\r'), std::string::npos) << "written with LF only";
    }
}

TEST(BundledTutorials, PlainAndCodedTwinsGiveTheSameKnownRecords)
{
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    const fs::path data = fs::path(VORN_BINARY_DIR) / "data";
    for (const fs::path& src : sources()) {
        const std::string name = bundled_name(src);
        SCOPED_TRACE(name);
        const fs::path plain = data / name;
        const fs::path coded = data / "coded" / name;
        ASSERT_TRUE(fs::exists(plain));
        ASSERT_TRUE(fs::exists(coded));
        EXPECT_EQ(tutortest::read_bytes(plain.string()).find('@'), std::string::npos)
            << "every @name@ is filled in";
        EXPECT_EQ(is_coded_file(plain.c_str()), plat::FALSE);
        EXPECT_NE(is_coded_file(coded.c_str()), plat::FALSE);
        std::vector<CommandRecord> a, b;
        ASSERT_TRUE(load_command_file(plain.string(), a));
        ASSERT_TRUE(load_command_file(coded.string(), b));
        ASSERT_FALSE(a.empty());
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_GE(a[i].code, 1) << i;
            EXPECT_EQ(a[i].code, b[i].code) << i;
            EXPECT_EQ(a[i].text, b[i].text) << i;
        }
    }
    EXPECT_TRUE(host.boxes().empty());
}

// The tutorial of the Help menu, record by record; the control ids in it
// are the ones the Order dialog is built with, as filled in by the build.
TEST(BundledTutorials, RunTutorialOrdersXBInTheOrderDialog)
{
    plat::ScriptedHost host;
    const std::string order = "Order,";
    const struct {
        int16_t code;
        std::string text;
    } expected[] = {
        {TUTOR_SHOW_TEXT, "Welcome. This tutorial opens a sample company\r\nand buys raw material.\r\n"},
        {TUTOR_CONFIRM_CONTINUE, ""},
        {TUTOR_POSITION, "-1,0"},
        {TUTOR_OPEN_FILE, "SAMPLE.VNB"},
        {TUTOR_POST_MENU, "32779"},
        {TUTOR_CONFIRM_TEXT, "This is Purchasing: one box per material.\r\n"},
        {TUTOR_EXEC_MENU, "2,120,40,1"},
        {TUTOR_DELAY, "600"},
        {TUTOR_SET_COMBO, order + std::to_string(IDC_ORDER_MATERIAL) + ",1"},
        {TUTOR_SET_EDIT_TEXT, order + std::to_string(IDC_ORDER_QTY) + ",25"},
        {TUTOR_CLICK_BUTTON, order + std::to_string(IDC_ORDER_SILENT)},
        {TUTOR_CLOSE_WINDOW, ""},
        {TUTOR_SHOW_TEXT, "25 units of XB are on order. End of the tutorial.\r\n"},
    };
    for (const char* file : {"steplay.cmd", "coded/steplay.cmd"}) {
        SCOPED_TRACE(file);
        std::vector<CommandRecord> r;
        ASSERT_TRUE(load_command_file((fs::path(VORN_BINARY_DIR) / "data" / file).string(), r));
        ASSERT_EQ(r.size(), std::size(expected));
        for (size_t i = 0; i < r.size(); ++i) {
            EXPECT_EQ(r[i].code, expected[i].code) << i;
            EXPECT_EQ(r[i].text, expected[i].text) << i;
        }
    }
    EXPECT_TRUE(host.boxes().empty());
}

TEST(BundledTutorials, GuidedRunOneOpensTheSampleAndPurchasing)
{
    plat::ScriptedHost host;
    std::vector<CommandRecord> r;
    ASSERT_TRUE(load_command_file((fs::path(VORN_BINARY_DIR) / "data" / "guide1.cmd").string(), r));
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0].code, TUTOR_OPEN_FILE);
    EXPECT_EQ(r[0].text, "SAMPLE.VNB");
    EXPECT_TRUE(fs::exists(fs::path(VORN_BINARY_DIR) / "data" / r[0].text)) << "the file it opens ships too";
    EXPECT_EQ(r[1].code, TUTOR_POST_MENU);
    EXPECT_EQ(r[1].text, "32779");
    EXPECT_EQ(r[3].text, "501");
    EXPECT_EQ(r[5].code, TUTOR_CONFIRM_TEXT);
}
