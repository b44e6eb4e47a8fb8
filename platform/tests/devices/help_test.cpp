// The help viewer: topics by context id, the contents for unknown ids, a
// box when the help is missing, the window placed from WIN.INI.
#include "plat/config.h"
#include "plat/help.h"
#include "plat/profile.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <cstdlib>

namespace {

using namespace plat;
namespace fs = std::filesystem;

class HelpTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitGui(); }
    void SetUp() override
    {
        // CTest runs each case in its own process, side by side: each gets
        // its own folder and its own WIN.INI.
        dir = fs::path(VORN_BINARY_DIR) / "help_test" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir / "vorn.help");
        fs::create_directories(dir / "config");
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        std::ofstream(dir / "vorn.help" / "contents.html") << "<h1>Contents</h1>";
        std::ofstream(dir / "vorn.help" / "1234.html") << "<h1>Orders</h1>";
    }
    void TearDown() override
    {
        WinHelp(0, nullptr, HELP_QUIT, 0);
        WriteProfileString("Windows Help", "M_WindowPosition", nullptr);
    }
    fs::path dir;
};

TEST_F(HelpTest, ContextIdOpensItsTopicAndUnknownIdsTheContents)
{
    // The program names the file in another case and with backslashes.
    const std::string hlp = (dir / "VORN.HLP").string();
    ASSERT_TRUE(WinHelp(0, hlp.c_str(), HELP_CONTEXT, 1234));
    EXPECT_EQ(fs::path(HelpViewerPage()).filename(), "1234.html");
    ASSERT_TRUE(WinHelp(0, hlp.c_str(), HELP_CONTEXT, 999));
    EXPECT_EQ(fs::path(HelpViewerPage()).filename(), "contents.html");
    ASSERT_TRUE(WinHelp(0, hlp.c_str(), HELP_CONTENTS, 0));
    EXPECT_EQ(fs::path(HelpViewerPage()).filename(), "contents.html");
    EXPECT_TRUE(WinHelp(0, hlp.c_str(), HELP_QUIT, 0));
    EXPECT_STREQ(HelpViewerPage(), "");
}

TEST_F(HelpTest, MissingHelpShowsABox)
{
    ScriptedHost host;
    host.Answer(IDOK, "Help");
    const std::string hlp = (dir / "other.hlp").string();
    EXPECT_FALSE(WinHelp(0, hlp.c_str(), HELP_CONTEXT, 1));
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_NE(host.boxes()[0].text.find("other.hlp"), std::string::npos);
}

TEST_F(HelpTest, WindowPlacedFromTheProfile)
{
    WriteProfileString("Windows Help", "M_WindowPosition", "[30,40,320,240,0]");
    const std::string hlp = (dir / "vorn.hlp").string();
    ASSERT_TRUE(WinHelp(0, hlp.c_str(), HELP_CONTEXT, 1234));
    RECT r;
    ASSERT_TRUE(GetHelpViewerRect(&r));
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 320);
    EXPECT_EQ(r.bottom - r.top, 240);
}

} // namespace
