#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "support/support.h"
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include "plat/testing.h"

class CVornView {};

TEST(Fatal, CheckIndexPassesBelowTheLimitOnly)
{
    check_index(4, 5, "MAX_FAMILYS");
    check_index_beep(4, 5, "MAX_FAMILYS");
    EXPECT_EXIT(check_index(5, 5, "MAX_FAMILYS"), testing::ExitedWithCode(1),
                "Index Overflow MAX_FAMILYS - Press ENTER To Terminate");
    EXPECT_EXIT(check_index_beep(7, 5, "EXP_MAX_OPEN_ORDERS"), testing::ExitedWithCode(1),
                "Index Overflow EXP_MAX_OPEN_ORDERS - Terminate \\(CR\\)");
}

TEST(Fatal, FatalErrorsEndWithCodeOne)
{
    EXPECT_EXIT(fatal_error("NOT ENOUGH MEMORY var :FileIndex,load_parameters_file"), testing::ExitedWithCode(1),
                "NOT ENOUGH MEMORY var :FileIndex,load_parameters_file");
    EXPECT_EXIT(fatal_error_now("Rand table not found X"), testing::ExitedWithCode(1), "Rand table not found X");
}

TEST(Boxes, NotImplementedAndTranslatedBoxes)
{
    ScratchDir dir;
    write_file(dir.file("vorn.lng"), "Font==\nNot saved=Pas sauv\xe9=\nError=Erreur=\n");
    lang_set_folder(dir.path());
    ASSERT_EQ(lang_load(0), 1);
    BoxCapture boxes;
    not_implemented("dlg_financial_status");
    lang_message_box(0, "Not saved", "Error", 0);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].caption, "dlg_financial_status");
    EXPECT_EQ(boxes.boxes()[0].text, "Not implemented yet");
    EXPECT_EQ(boxes.boxes()[1].caption, "Erreur");
    EXPECT_EQ(boxes.boxes()[1].text, "Pas sauv\xe9");
    lang_init();
}

TEST(Boxes, BeepSoundsWhateverItsArguments)
{
    BoxCapture boxes;
    beep(500, 100);
    beep(1000, 30);
    EXPECT_EQ(boxes.beeps(), 2);
}

TEST(Fatal, OverflowWithBeepsUnderTheScriptedHost)
{
    plat::ScriptedHost host;
    try {
        check_index_beep(3, 3, "MAX_LOADED_CONTRACTS");
        FAIL() << "no exit";
    } catch (const plat::ExitRequest& e) {
        EXPECT_EQ(e.code, 1);
        EXPECT_EQ(e.caption, "Application Error");
        EXPECT_EQ(e.text, "Index Overflow MAX_LOADED_CONTRACTS - Terminate (CR)");
    }
    EXPECT_EQ(host.beeps().size(), 2u);
}

TEST(ViewAccess, NoViewUntilTheApplicationSetsIt)
{
    EXPECT_EQ(GetView(), nullptr);
    static CVornView view;
    set_view_accessor([] { return &view; });
    EXPECT_EQ(GetView(), &view);
    set_view_accessor(nullptr);
    EXPECT_EQ(GetView(), nullptr);
}

TEST(Calendar, ShiftModesAndScaling)
{
    static int mode = 0;
    set_shift_mode_source([] { return mode; });
    struct Case {
        int mode, days, hours;
    };
    for (Case c : {Case{0, 22, 8}, Case{1, 30, 24}, Case{2, 22, 16}, Case{3, 0, 0}}) {
        SCOPED_TRACE(c.mode);
        mode = c.mode;
        EXPECT_EQ(work_days_per_month(), c.days);
        EXPECT_EQ(work_hours_per_day(), c.hours);
    }
    set_shift_mode_source(nullptr);
    set_screen_scale(1.6f, 1.5f);
    EXPECT_EQ(scale_x(100), 160);
    EXPECT_EQ(scale_y(3), 4);  // 4.5 truncated
    EXPECT_EQ(scale_y(-3), -4);
    set_screen_scale(1.0f, 1.0f);
}

TEST(Lines, MakeLineAppendsHeapCopies)
{
    RList lines(2, 2, 1, "txt - dlg_production_forecast()");
    std::string text = "first";
    make_line(lines, text.c_str());
    text = "changed";
    make_line(lines, "");
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_STREQ(static_cast<const char*>(lines.GetAt(0)), "first");
    EXPECT_STREQ(static_cast<const char*>(lines.GetAt(1)), "");
}
