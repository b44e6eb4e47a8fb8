// The session under the layer's real message loop: a dialog opened inside
// a daily step runs its own loop for 200 ms, and no tick starts meanwhile.
#include "app/sessions.h"
#include "plat/config.h"
#include "plat/loop.h"
#include "plat/modal.h"
#include "plat/testing.h"
#include "plat/window.h"
#include "support/fakes.h"
#include "support/scenario.h"
#include <chrono>
#include <gtest/gtest.h>

namespace {
bool g_dialog_done = false;
void end_dialog(plat::HWND, plat::UINT, plat::UINT_PTR id, plat::DWORD)
{
    plat::KillTimer(0, id);
    g_dialog_done = true;
}
}

TEST(SessionLoop, NoTickWhileADialogOfADailyStepRunsItsLoop)
{
    plat::InitGui();
    plat::ScriptedHost host;
    TempDir dir;
    RecordingSet set;
    int32_t ticks_during = -1;
    double dialog_ms = 0;
    SessionManager sessions(Configuration{.timer_enabled = false}, set.factory());
    set.configure = [&](RecordingSet& s) {
        RecordingDepartment* mk = s.marketing;
        mk->on_daily = [&, mk](int16_t) -> BOOL16 {
            CVornView* v = mk->view();
            if (v->tick_count != 480)
                return 1;
            int32_t before = v->tick_count;
            auto start = std::chrono::steady_clock::now();
            g_dialog_done = false;
            plat::SetTimer(0, 0, 200, end_dialog);
            plat::RunModalLoop(g_dialog_done);
            dialog_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            ticks_during = v->tick_count - before;
            return 1;
        };
    };
    ASSERT_TRUE(sessions.StartSession(ScenarioBuilder().write(dir.path() / "s.vnb"), {.seed = 1}));
    CVornView& v = *sessions.view();
    v.run_until.year = 120;
    v.SetRunState(RUN_RUNNING);
    plat::SetIdleHandler([&](plat::LONG) -> plat::BOOL {
        sessions.IdleStep();
        if (v.tick_count >= 600) {
            plat::PostQuitMessage(0);
            return plat::FALSE;
        }
        return plat::TRUE;
    });
    plat::RunMessageLoop();
    plat::SetIdleHandler(nullptr);
    EXPECT_EQ(ticks_during, 0);
    EXPECT_GE(dialog_ms, 150.0) << "the dialog's loop really ran";
    EXPECT_EQ(v.tick_count, 600);
    EXPECT_EQ(set.trace.count("Mkt", "daily_step"), 2);
}
