// Boxes, prompts, beeps and exits through the scripted host.
#include "plat/modal.h"
#include "plat/testing.h"
#include "plat/uihost.h"
#include <gtest/gtest.h>

using namespace plat;

namespace {

std::vector<int> g_depthAtFlush;
void record_flush() { g_depthAtFlush.push_back(ModalDepth()); }

class Scripted : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_depthAtFlush.clear();
        oldFlush = SetFlushHandler(record_flush);
    }
    void TearDown() override { SetFlushHandler(oldFlush); }
    ScriptedHost host;
    FlushHandler oldFlush = nullptr;
};

} // namespace

TEST_F(Scripted, AnswerAndRecord)
{
    host.Answer(IDNO, "Save", "changes");
    EXPECT_EQ(ModalDepth(), 0);
    EXPECT_EQ(MessageBox(0x42, "Save changes to TEST?", "Save session", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(ModalDepth(), 0);
    ASSERT_EQ(host.boxes().size(), 1u);
    const BoxRecord& b = host.boxes()[0];
    EXPECT_EQ(b.owner, 0x42u);
    EXPECT_EQ(b.text, "Save changes to TEST?");
    EXPECT_EQ(b.caption, "Save session");
    EXPECT_EQ(b.type, MB_YESNOCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(b.answer, IDNO);
    EXPECT_EQ(b.modalDepth, 1) << "the depth is raised while the box is open";
    EXPECT_EQ(g_depthAtFlush, std::vector<int>{0}) << "drawing flushed before the box";
}

TEST_F(Scripted, MatchingRules)
{
    using M = ScriptedHost::Match;
    host.Answer(IDCANCEL, "Exact caption", "", M::Exact)
        .Answer(IDRETRY, "", "disk", M::Substring, 1)
        .Answer(IDYES, "", "", M::Substring);
    struct Case {
        const char* text;
        const char* caption;
        int answer;
        const char* why;
    };
    const Case cases[] = {
        {"anything", "Exact caption", IDCANCEL, "exact caption"},
        {"anything", "Exact caption!", IDYES, "exact does not match a longer caption"},
        {"the disk is full", "Vorn", IDRETRY, "text substring, used once"},
        {"the disk is full", "Vorn", IDYES, "then gone: the catch-all answers"},
        {"x", nullptr, IDYES, "NULL caption"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(MessageBox(0, c.text, c.caption, MB_OK), c.answer);
    }
    EXPECT_EQ(host.boxes().back().caption, "Error") << "a NULL caption shows \"Error\"";
}

TEST_F(Scripted, UnscriptedBoxFailsTheTest)
{
    host.Answer(IDOK, "Known");
    EXPECT_THROW(MessageBox(0, "Surprise", "Unknown", MB_OK), UnexpectedBox);
    EXPECT_EQ(ModalDepth(), 0) << "unwound";
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Surprise");
}

TEST_F(Scripted, FatalBecomesExitRequest)
{
    try {
        Fatal("Index Overflow MAX_FAMILYS - Press ENTER To Terminate");
        FAIL() << "Fatal returned";
    } catch (const ExitRequest& e) {
        EXPECT_EQ(e.code, 1);
        EXPECT_EQ(e.kind, ExitKind::Fatal);
        EXPECT_EQ(e.text, "Index Overflow MAX_FAMILYS - Press ENTER To Terminate");
        EXPECT_EQ(e.caption, "Application Error");
    }
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].type, MB_ICONSTOP | MB_TASKMODAL);
    EXPECT_EQ(host.boxes()[0].modalDepth, 1);
    EXPECT_EQ(ModalDepth(), 0);

    struct Case {
        void (*call)();
        int code;
        ExitKind kind;
    };
    const Case exits[] = {
        {[] { crt_exit(3); }, 3, ExitKind::Normal},
        {[] { crt_exit_now(4); }, 4, ExitKind::Immediate},
        {[] { Fatal("x", nullptr, 9); }, 9, ExitKind::Fatal},
        {[] { Fatal("x", "y", 0); }, 1, ExitKind::Fatal},
    };
    for (const Case& c : exits) {
        try {
            c.call();
            ADD_FAILURE() << "returned";
        } catch (const ExitRequest& e) {
            EXPECT_EQ(e.code, c.code);
            EXPECT_EQ(e.kind, c.kind);
        }
    }
    ASSERT_EQ(host.exits().size(), 5u);
    EXPECT_EQ(host.exits()[3].caption, "Error");
}

TEST_F(Scripted, BeepsAreCountedAndFlush)
{
    MessageBeep(MB_ICONEXCLAMATION);
    Beep(440, 100);
    MessageBeep(BEEP_SIMPLE);
    ASSERT_EQ(host.beeps().size(), 3u);
    EXPECT_EQ(host.beeps()[0].type, MB_ICONEXCLAMATION);
    EXPECT_EQ(host.beeps()[1].freq, 440u);
    EXPECT_EQ(host.beeps()[1].ms, 100u);
    EXPECT_EQ(host.beeps()[2].type, BEEP_SIMPLE);
    EXPECT_EQ(g_depthAtFlush.size(), 3u);
}

TEST_F(Scripted, PromptsAndDialogs)
{
    host.ChoosePath("/tmp/run1.VNB").CancelPrompt();
    FilePrompt p;
    p.title = "Save session";
    p.filters = {{"Vorns files (*.VNB)", "*.VNB"}};
    EXPECT_TRUE(PromptFileName(p));
    EXPECT_EQ(p.fileName, "/tmp/run1.VNB");
    EXPECT_FALSE(PromptFileName(p));
    EXPECT_THROW(PromptFileName(p), UnexpectedBox);
    ASSERT_EQ(host.prompts().size(), 3u);
    EXPECT_EQ(host.prompts()[0].title, "Save session");

    HWND acted = 0;
    host.OnDialog(130, [&](HWND h) { acted = h; });
    DialogShown(0x55, 131);
    EXPECT_EQ(acted, 0u);
    DialogShown(0x56, 130);
    EXPECT_EQ(acted, 0x56u);
    EXPECT_EQ(host.dialogs().size(), 2u);
}

TEST(ScriptedHostInstall, RestoresThePreviousHost)
{
    UiHost* before = GetUiHost();
    {
        ScriptedHost outer;
        EXPECT_EQ(GetUiHost(), &outer);
        EXPECT_TRUE(UiHostIsExplicit());
        {
            ScriptedHost inner;
            EXPECT_EQ(GetUiHost(), &inner);
        }
        EXPECT_EQ(GetUiHost(), &outer);
    }
    EXPECT_EQ(GetUiHost(), before);
    EXPECT_FALSE(UiHostIsExplicit());
}

TEST(ModalDepth, ScopesNest)
{
    EXPECT_EQ(ModalDepth(), 0);
    {
        ModalScope a;
        ModalScope b;
        EXPECT_EQ(ModalDepth(), 2);
    }
    EXPECT_EQ(ModalDepth(), 0);
}
