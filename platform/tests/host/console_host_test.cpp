// The headless host: boxes on stderr, real exits.
#include "plat/testing.h"
#include "plat/uihost.h"
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace plat;

TEST(ConsoleHost, AnswersTheDefaultButton)
{
    struct Case {
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL | MB_ICONQUESTION, IDOK},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_OKCANCEL | MB_DEFBUTTON3, IDOK}, // no third button: the first
    };
    UiHost* const old = SetUiHost(ConsoleUiHost());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        testing::internal::CaptureStderr();
        EXPECT_EQ(MessageBox(0, "Continue?", "Vorn", c.type), c.answer);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Vorn: Continue?\n");
    }
    testing::internal::CaptureStderr();
    MessageBox(0, "caf\xE9", nullptr, MB_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: caf\xC3\xA9\n");
    FilePrompt prompt;
    EXPECT_FALSE(PromptFileName(prompt)) << "nobody to ask: cancelled";
    SetUiHost(old);
}

namespace {
void exit_handler() { ::_exit(7); }
} // namespace

TEST(ConsoleHostDeathTest, FatalExitsWithItsCode)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SetUiHost(ConsoleUiHost());
    EXPECT_EXIT(Fatal("Index Overflow MAX_FAMILYS - Press ENTER To Terminate"), testing::ExitedWithCode(1),
                "Application Error: Index Overflow MAX_FAMILYS - Press ENTER To Terminate");
    EXPECT_EXIT(Fatal("gone", "Vorn", 3), testing::ExitedWithCode(3), "Vorn: gone");
    SetUiHost(nullptr);
}

TEST(ConsoleHostDeathTest, ExitRunsHandlersExitNowDoesNot)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SetUiHost(ConsoleUiHost());
    // The handler turns the exit code into 7, so the code shows whether it ran.
    EXPECT_EXIT(
        {
            std::atexit(exit_handler);
            crt_exit(5);
        },
        testing::ExitedWithCode(7), "");
    EXPECT_EXIT(
        {
            std::atexit(exit_handler);
            crt_exit_now(5);
        },
        testing::ExitedWithCode(5), "");
    SetUiHost(nullptr);
}
