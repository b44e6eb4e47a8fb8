// The GUI host under the offscreen platform, and start-up configuration.
#include "plat/config.h"
#include "plat/filedlg.h"
#include "plat/fw/wrappers.h"
#include "plat/modal.h"
#include "plat/testing.h"
#include "plat/uihost.h"
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>
#include <gtest/gtest.h>

using namespace plat;

namespace {

class Gui : public ::testing::Test {
protected:
    void SetUp() override { InitGui(); }
};

} // namespace

TEST_F(Gui, StartUpPutsNumbersBackToC)
{
    EXPECT_TRUE(GuiAvailable());
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2f", 1234.5);
    EXPECT_STREQ(buf, "1234.50");
    InitGui(); // a second call changes nothing
    EXPECT_TRUE(GuiAvailable());
    EXPECT_EQ(GetUiHost(), GuiUiHost());
}

TEST_F(Gui, ScriptedHostSetFirstStays)
{
    SetUiHost(nullptr);
    ScriptedHost host;
    InitGui();
    EXPECT_EQ(GetUiHost(), &host);
}

TEST_F(Gui, BoxIsAnsweredByItsButton)
{
    ASSERT_EQ(GetUiHost(), GuiUiHost());
    struct Case {
        UINT type;
        int press; // 0: Esc
        int answer;
        std::vector<int> buttons;
        int def;
        const char* why;
    };
    const Case cases[] = {
        {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, IDYES, IDYES, {IDYES, IDNO, IDCANCEL}, IDNO,
         "three buttons, second default"},
        {MB_OKCANCEL, 0, IDCANCEL, {IDOK, IDCANCEL}, IDOK, "Esc is Cancel"},
        {MB_OK | MB_ICONSTOP, 0, IDOK, {IDOK}, IDOK, "Esc on a lone OK"},
        {MB_RETRYCANCEL | MB_ICONEXCLAMATION, IDRETRY, IDRETRY, {IDRETRY, IDCANCEL}, IDRETRY, "retry"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        GuiBoxSeen seen;
        AnswerNextGuiBox(c.press, &seen);
        EXPECT_EQ(MessageBox(0, "Save changes to caf\xE9?", "Vorn", c.type), c.answer);
        EXPECT_EQ(seen.title, "Vorn");
        EXPECT_EQ(seen.text, "Save changes to caf\xE9?");
        EXPECT_EQ(seen.buttons, c.buttons);
        EXPECT_EQ(seen.defaultButton, c.def);
        EXPECT_TRUE(seen.appModal) << "no owner: application modal";
        EXPECT_EQ(seen.modalDepth, 1);
    }
    EXPECT_EQ(ModalDepth(), 0);
}

TEST_F(Gui, BoxPicture)
{
    const std::string png = std::string(VORN_BINARY_DIR) + "/gui_host_box.png";
    std::filesystem::remove(png);
    AnswerNextGuiBox(IDNO, nullptr, png.c_str());
    EXPECT_EQ(MessageBox(0, "Not enough cash for this order.\nPlace it anyway?", "Purchasing",
                         MB_YESNO | MB_ICONEXCLAMATION | MB_TASKMODAL),
              IDNO);
    EXPECT_TRUE(std::filesystem::exists(png));
}

TEST(Config, DesktopSize)
{
    const char* old = std::getenv("PLAT_DESKTOP");
    const std::string saved = old ? old : "";
    ::unsetenv("PLAT_DESKTOP");
    const SIZE fallback = DesktopSize();
    if (!GuiAvailable()) {
        EXPECT_EQ(fallback.cx, 1024) << "no GUI: the default";
        EXPECT_EQ(fallback.cy, 768);
    }
    ::setenv("PLAT_DESKTOP", "1000x700", 1);
    EXPECT_EQ(DesktopSize().cx, 1000);
    EXPECT_EQ(DesktopSize().cy, 700);
    SetDesktopSize(640, 480);
    EXPECT_EQ(DesktopSize().cx, 640) << "set by hand wins over the environment";
    EXPECT_EQ(DesktopSize().cy, 480);
    SetDesktopSize(0, 0);
    for (const char* bad : {"1000", "x700", "1000x700x2", "0x700", "axb"}) {
        SCOPED_TRACE(bad);
        ::setenv("PLAT_DESKTOP", bad, 1);
        EXPECT_EQ(DesktopSize().cx, fallback.cx) << "a bad value is ignored";
        EXPECT_EQ(DesktopSize().cy, fallback.cy);
    }
    if (saved.empty())
        ::unsetenv("PLAT_DESKTOP");
    else
        ::setenv("PLAT_DESKTOP", saved.c_str(), 1);
    EXPECT_EQ(SCREEN_DPI, 96);
}

TEST(Config, Folders)
{
    const char* old = std::getenv("VORN_DATA_DIR");
    const std::string saved = old ? old : "";
    ::setenv("VORN_DATA_DIR", "/srv/vorn/", 1);
    EXPECT_EQ(ProgramDataDir(), "/srv/vorn");
    ::unsetenv("VORN_DATA_DIR");
    EXPECT_EQ(ProgramDataDir(), ExecutableDir());
    EXPECT_EQ(ExecutableDir(), std::string(VORN_BINARY_DIR) + "/bin");
    if (!saved.empty())
        ::setenv("VORN_DATA_DIR", saved.c_str(), 1);

    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = xdg ? xdg : "";
    const std::string home = std::string(VORN_BINARY_DIR) + "/test-home/config-folders";
    std::filesystem::remove_all(home);
    ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    EXPECT_EQ(ProfileDir(), home + "/vorn");
    EXPECT_TRUE(std::filesystem::is_directory(home + "/vorn")) << "created on demand";
    ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    const char* h = std::getenv("HOME");
    if (h && *h) {
        EXPECT_EQ(ProfileDir(), std::string(h) + "/.config/vorn");
    }
    ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}

// The open prompt offers files whose names differ from the filter's patterns
// only in case, as the classic file system did; other files stay out.
TEST_F(Gui, FilePromptFiltersIgnoreCase)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "gui_file_prompt";
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    for (const char* name : {"s.Vnb", "t.VNB", "u.vnb", "notes.txt", "vnb"})
        std::ofstream(dir / name) << "x";
    const std::string folder = dir.string();
    const std::set<std::string> want = {"sub", "s.Vnb", "t.VNB", "u.vnb"};
    struct Case {
        const char* filter;
        int chooseType;                 // 0: the one the program selects
        std::vector<std::string> shown; // the type list, as the program wrote it
        DWORD typeOut;                  // the filter index handed back
    };
    const Case cases[] = {
        {"Scenario (*.VNB)|*.VNB;*.vnb|Text (*.txt)|*.txt||", 0, {"Scenario (*.VNB)", "Text (*.txt)"}, 1},
        {"Text (*.txt)|*.txt|Scenario (*.VNB)|*.VNB;*.vnb||", 2, {"Text (*.txt)", "Scenario (*.VNB)"}, 2},
        {"Scenario (*.VNB)|*.VNB||", 0, {"Scenario (*.VNB)"}, 1},
        {"Scenario|*.vnb||", 0, {"Scenario"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        CFileDialog dlg(TRUE, "VNB", nullptr, OFN_FILEMUSTEXIST, c.filter);
        dlg.m_ofn.lpstrInitialDir = folder.c_str();
        GuiPromptSeen seen;
        AnswerNextGuiFilePrompt("s.Vnb", &seen, c.chooseType);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(std::set<std::string>(seen.offered.begin(), seen.offered.end()), want);
        EXPECT_EQ(seen.filters, c.shown);
        EXPECT_EQ(fs::path(dlg.GetPathName()), dir / "s.Vnb");
        EXPECT_EQ(dlg.m_ofn.nFilterIndex, c.typeOut);
    }
    CFileDialog cancelled(TRUE, "VNB", nullptr, OFN_FILEMUSTEXIST, "Scenario (*.VNB)|*.VNB;*.vnb||");
    cancelled.m_ofn.lpstrInitialDir = folder.c_str();
    AnswerNextGuiFilePrompt(nullptr);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(ModalDepth(), 0);
}
