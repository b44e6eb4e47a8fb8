// The file commands, the background story, the machine-work-percent days,
// the tutor's command record and the configuration file.
#include "app/commands.h"
#include "app/dialog_data.h"
#include "app/learn_file.h"
#include "app/sessions.h"
#include "support/driver.h"
#include "support/scenario.h"
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

void put(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

struct ScriptedOpen : OpenUi {
    std::optional<int> level;
    bool tutorial = false;
    std::optional<std::string> scenario;
    int tutorials = 0;
    std::vector<std::string> offered;
    std::optional<int> choose_learn_level(LearnRecord& r) override
    {
        r.tutorial_chosen = tutorial ? 1 : 0;
        return level;
    }
    std::optional<std::string> choose_scenario(const std::vector<std::string>& list) override
    {
        offered = list;
        return scenario;
    }
    void run_tutorial() override { ++tutorials; }
};

const char* const kLearn =
    "[FILE_LIST]\n^1^@\n^LEVEL1.VNB^100^Level one^@\n$\n"
    "[DDP_PROFIT_TABLE]\n^80^1^@\n$\n^0^up^down^@\n$\n"
    "[RESULTS]\n^0^@\n$\n[END OF FILE]\n";

struct CommandFixture : ::testing::Test {
    TempDir dir;
    plat::ScriptedHost host;
    std::string old_dir = fs::current_path().string();
    ~CommandFixture() override { fs::current_path(old_dir); }
};

} // namespace

TEST_F(CommandFixture, OpenWithoutLearnFileAsksForAFile)
{
    std::string path = ScenarioBuilder().write(dir.path() / "s.vnb");
    SessionManager sessions(Configuration{.timer_enabled = false});
    host.ChoosePath(path);
    ASSERT_TRUE(OnOpenSession(sessions, nullptr, dir.path().string()));
    ASSERT_EQ(host.prompts().size(), 1u);
    const plat::FilePrompt& p = host.prompts()[0];
    EXPECT_EQ(p.title, "Open Session");
    ASSERT_EQ(p.filters.size(), 1u);
    EXPECT_EQ(p.filters[0].first, "Vorns files (*.VNB)");
    EXPECT_EQ(p.filters[0].second, "*.VNB;*.vnb");
    EXPECT_EQ(sessions.view()->session_path, path);
    EXPECT_EQ(sessions.view()->learn_session, 0);
    EXPECT_EQ(fs::current_path(), dir.path()) << "Open works in the data folder";

    host.CancelPrompt();
    EXPECT_FALSE(OnOpenSession(sessions, nullptr, dir.path().string()));
    host.ChoosePath(dir / "gone.vnb");
    host.Answer(plat::IDOK, "Open Session", "Unable to open file: " + (dir / "gone.vnb"));
    EXPECT_FALSE(OnOpenSession(sessions, nullptr, dir.path().string()));
    EXPECT_EQ(sessions.view()->session_path, path);

    sessions.view()->EnterHold(HELD_MARKETING);
    host.Answer(plat::IDOK, "Open Session", "Can open a new session in HOLD State");
    EXPECT_FALSE(OnOpenSession(sessions, nullptr, dir.path().string()));
    EXPECT_EQ(host.boxes().size(), 2u);
    EXPECT_EQ(host.prompts().size(), 3u);
}

TEST_F(CommandFixture, OpenOffersConfiguredScenariosBeforeTheFileDialog)
{
    std::string path = ScenarioBuilder().write(dir.path() / "PLANT.VNB");
    Configuration c;
    c.timer_enabled = false;
    c.scenarios = {"PLANT.VNB", "OTHER.VNB"};
    SessionManager sessions(c);
    ScriptedOpen ui;
    ui.scenario = "PLANT.VNB";
    ASSERT_TRUE(OnOpenSession(sessions, &ui, dir.path().string()));
    EXPECT_EQ(ui.offered, c.scenarios);
    EXPECT_EQ(host.prompts().size(), 0u);
}

TEST_F(CommandFixture, OpenFromTheLearnListMakesALearnSession)
{
    put(dir / "VORN.LRN", kLearn);
    ScenarioBuilder().write(dir.path() / "LEVEL1.VNB");
    SessionManager sessions(Configuration{.timer_enabled = false});
    ScriptedOpen ui;
    EXPECT_FALSE(OnOpenSession(sessions, &ui, dir.path().string())) << "cancelled";
    ui.level = 0;
    ui.tutorial = true;
    EXPECT_FALSE(OnOpenSession(sessions, &ui, dir.path().string()));
    EXPECT_EQ(ui.tutorials, 1);
    ui.tutorial = false;
    ASSERT_TRUE(OnOpenSession(sessions, &ui, dir.path().string()));
    EXPECT_EQ(sessions.view()->learn_session, 1);
    ASSERT_NE(sessions.view()->learn_record, nullptr);
    EXPECT_EQ(sessions.view()->learn_record->chosen_level, 0);

    // The end of a learn session records its result in the learn file.
    CVornView& v = *sessions.view();
    v.SimulationOver();
    LearnRecord back;
    ASSERT_EQ(load_learn_file(back, dir.path().string()), 1);
    ASSERT_EQ(back.results.size(), 1u);
    EXPECT_EQ(back.results[0].grade, 100);
    EXPECT_EQ(back.results[0].profit, 0);
    EXPECT_EQ(back.results[0].passed, 0) << "profit 0 is below the target 100";
    EXPECT_EQ(host.boxes().size(), 0u) << "a learn session shows no Simulation over box";

    // A plain start clears the learn flag.
    host.ChoosePath(dir / "LEVEL1.VNB");
    fs::remove(dir / "VORN.LRN");
    ASSERT_TRUE(OnOpenSession(sessions, nullptr, dir.path().string()));
    EXPECT_EQ(sessions.view()->learn_session, 0);
}

TEST_F(CommandFixture, SaveAsNamesRulesAndRefusals)
{
    std::string path = ScenarioBuilder().write(dir.path() / "s.vnb");
    Configuration c;
    c.timer_enabled = false;
    c.option_bits = OPTION_PROTECT_SCENARIOS;
    SessionManager sessions(c);
    ASSERT_TRUE(sessions.StartSession(path, {.seed = 1}));
    CVornView& v = *sessions.view();

    host.ChoosePath(dir / "run1");
    host.Answer(plat::IDOK, "Save Session", "Session was saved successfully as: '" + (dir / "run1.vnb") + "'",
                plat::ScriptedHost::Match::Exact);
    ASSERT_TRUE(SaveSessionAs(v));
    EXPECT_TRUE(fs::exists(dir / "run1.vnb"));
    EXPECT_TRUE(fs::exists(dir / "run1.MGR"));

    host.ChoosePath(dir / "run1.vnb");
    host.Answer(plat::IDOK, "Save Session", "Can not overwrite the existing scenario: '" + path + "'");
    EXPECT_FALSE(SaveSessionAs(v));

    v.EnterHold(HELD_PURCHASING);
    host.Answer(plat::IDOK, "Save Session", "Can not save in HOLD State");
    EXPECT_FALSE(SaveSessionAs(v));
    EXPECT_EQ(host.prompts().size(), 2u) << "no prompt in HOLD";
    EXPECT_EQ(host.boxes().size(), 3u);
}

TEST_F(CommandFixture, PoliciesPromptsProposeTheSessionName)
{
    std::string path = ScenarioBuilder().write(dir.path() / "plant.v2.vnb");
    SessionManager sessions(Configuration{.timer_enabled = false});
    ASSERT_TRUE(sessions.StartSession(path, {.seed = 1}));
    host.ChoosePath(dir / "p.PLC");
    ASSERT_TRUE(SavePoliciesCommand(*sessions.view()));
    host.ChoosePath(dir / "p.PLC");
    ASSERT_TRUE(LoadPoliciesCommand(*sessions.view()));
    ASSERT_EQ(host.prompts().size(), 2u);
    EXPECT_EQ(host.prompts()[0].fileName, "plant.v2.PLC");
    EXPECT_EQ(host.prompts()[0].title, "Save Policies");
    EXPECT_EQ(host.prompts()[1].title, "Load Policies File");
    EXPECT_EQ(host.prompts()[1].filters[0].second, "*.PLC;*.plc");
}

TEST_F(CommandFixture, BackgroundStoryIsReadWhole)
{
    std::string line(250, 'a');
    put(dir / "story.txt", line + "\r\nsecond\nlast without line end");
    std::optional<std::string> text = read_background_story(dir / "story.txt");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, line + "\r\nsecond\r\nlast without line end");

    put(dir / "long.txt", std::string(70000, 'x'));
    text = read_background_story(dir / "long.txt");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), 64000u);

    host.Answer(plat::IDOK, "Background story", "Unable to open file: " + (dir / "none.txt"),
                plat::ScriptedHost::Match::Exact);
    EXPECT_FALSE(read_background_story(dir / "none.txt"));
    EXPECT_TRUE(story_is_help("VORN.hlp"));
    EXPECT_FALSE(story_is_help("story.txt"));
}

TEST(MachineWorkPercent, TheFirstDaysOfJanuary)
{
    struct Case {
        int16_t mode;
        int year, day;
        bool allowed;
        const char* why;
    };
    const Case cases[] = {
        {SHIFT_ONE, 1996, 1, true, "1 January"},
        {SHIFT_ONE, 1995, 2, true, "2 January, a Monday"},
        {SHIFT_ONE, 1995, 3, true, "3 January, a Tuesday"},
        {SHIFT_ONE, 1996, 2, false, "2 January, a Tuesday"},
        {SHIFT_ONE, 1996, 3, false, "3 January, a Wednesday"},
        {SHIFT_ONE, 1998, 2, false, "2 January after a working 1 January"},
        {SHIFT_ONE, 2000, 3, true, "Monday 3 January 2000: the first working day"},
        {SHIFT_ONE, 2000, 4, false, "Tuesday 4 January 2000"},
        {SHIFT_THREE, 2000, 3, false, "three shifts: Saturday 1 January was the first working day"},
    };
    for (const Case& c : cases) {
        CClockPane clock;
        clock.SetShiftMode(c.mode);
        clock.current = {static_cast<int16_t>(c.year - 1900), 1, static_cast<int16_t>(c.day), 8, 0};
        EXPECT_EQ(machine_work_percent_allowed(clock), c.allowed) << c.why;
    }
    CClockPane feb;
    feb.current = {96, 2, 1, 8, 0};
    EXPECT_FALSE(machine_work_percent_allowed(feb));
}

TEST_F(CommandFixture, CommandRecordIsExactly1044Bytes)
{
    std::string record(1044, 'z');
    record[0] = 17;
    record[1] = 0;
    std::string args = "Decisions,1001,3";
    record.replace(2, args.size() + 1, args + '\0');
    put(dir / "STEPBIN.CMD", record);
    CommandRecord r;
    ASSERT_TRUE(read_command_record(dir / "STEPBIN.CMD", r));
    EXPECT_EQ(r.code, 17);
    EXPECT_EQ(r.text, args);

    std::string no_nul(1044, 'y');
    no_nul[0] = 1;
    no_nul[1] = 0;
    put(dir / "stepbin.cmd", no_nul);
    fs::remove(dir / "STEPBIN.CMD");
    ASSERT_TRUE(read_command_record(dir / "STEPBIN.CMD", r)) << "found whatever its case";
    EXPECT_EQ(r.text.size(), 1041u) << "the last byte is always the end";

    put(dir / "stepbin.cmd", std::string(1000, 'x'));
    host.Answer(plat::IDOK, "", "Unable to read command binary file");
    EXPECT_FALSE(read_command_record(dir / "STEPBIN.CMD", r));
    put(dir / "stepbin.cmd", std::string(1045, 'x'));
    EXPECT_FALSE(read_command_record(dir / "STEPBIN.CMD", r));
    EXPECT_EQ(host.boxes().size(), 2u);
}

TEST_F(CommandFixture, ConfigurationFile)
{
    put(dir / "VORN.CFG",
        "[CONFIGURATION]\n^VORNS^1^256^0^@\n$\n"
        "[SCENARIOS]\n^2^@\n^PLANT.VNB^@\n^runs\\OTHER.VNB^@\n$\n"
        "[ABOUT]\n^A small plant to run.^@\n$\n[END OF FILE]\n");
    Configuration c;
    ASSERT_TRUE(load_configuration(dir / "VORN.CFG", c));
    EXPECT_EQ(c.title, "VORNS");
    EXPECT_TRUE(c.timer_enabled);
    EXPECT_EQ(c.option_bits, OPTION_PROTECT_SCENARIOS);
    EXPECT_EQ(c.scenarios, (std::vector<std::string>{"PLANT.VNB", "runs\\OTHER.VNB"}));
    EXPECT_EQ(c.about, "A small plant to run.");

    put(dir / "BAD.CFG", "[SCENARIOS]\n^1^@\n$\n[END OF FILE]\n");
    host.Answer(plat::IDOK, "Data Loading Error", "CONFIGURATION");
    Configuration kept;
    kept.title = "kept";
    EXPECT_FALSE(load_configuration(dir / "BAD.CFG", kept));
    EXPECT_EQ(kept.title, "kept");
}

namespace {
struct FgMarketing : CDepartmentWnd {
    void finished_goods(std::vector<FinishedGoodsRow>& out) override
    {
        out = {{0, 0, "AA", false, 12, 3.5f}, {0, 1, "AB", true, 99, 1.0f}, {1, 0, "BA", false, 0, 10.0f}};
    }
};
struct FgFinance : CDepartmentWnd {
    int32_t unit_added_value(int16_t family, int16_t product) override { return family * 10 + product + 7; }
    int32_t fg_value(bool with) override { return with ? 5000 : 4000; }
};
}

TEST_F(CommandFixture, FinishedGoodsText)
{
    std::string path = ScenarioBuilder().write(dir.path() / "s.vnb");
    SessionManager sessions(Configuration{.timer_enabled = false}, [](CVornView& v) {
        Departments d = base_departments(v);
        d.marketing = std::make_unique<FgMarketing>();
        d.finance = std::make_unique<FgFinance>();
        return d;
    });
    ASSERT_TRUE(sessions.StartSession(path, {.seed = 1}));
    EXPECT_EQ(finished_goods_text(*sessions.view()),
              "       Inv    RmCost    AddValue\n"
              "AA     12     3.50    7\n"
              "BA     0     10.00    17\n"
              "FG Inv with add value: 5000\n"
              "FG Inv with no add value: 4000\n");
}

TEST(DialogData, SeriesSetsStopAtTheirTable)
{
    plat::ScriptedHost host;
    static const float months[12] = {};
    SalesSummarySets sets;
    EXPECT_TRUE(sets.DefineSeries(0, 0, "Sales", months, 1, 2));
    EXPECT_TRUE(sets.DefineSeries(0, 4, "Sales", months, 1, 2));
    EXPECT_FALSE(sets.DefineSeries(0, 5, "Sales", months, 1, 2)) << "a sixth series";
    EXPECT_TRUE(sets.DefineSeries(49, 0, "Last", months, 3, 4));
    EXPECT_FALSE(sets.DefineSeries(50, 0, "Beyond", months, 3, 4)) << "a 51st set";
    EXPECT_EQ(sets.set_count(), 50);
    EXPECT_EQ(sets.set(0).count, 5);
    EXPECT_EQ(sets.set(49).title, "Last");
}

TEST_F(CommandFixture, ForecastRangeGuidedRunsAndLevelButtons)
{
    std::string path = ScenarioBuilder().write(dir.path() / "s.vnb");
    SessionManager sessions(Configuration{.timer_enabled = false});
    ASSERT_TRUE(sessions.StartSession(path, {.seed = 1}));
    EXPECT_EQ(forecast_range_days(2, true), 44) << "one shift: 22 working days a month";
    EXPECT_EQ(forecast_range_days(2, false), 2);
    host.Answer(plat::IDOK, "Forecast Range", "Invalid range", plat::ScriptedHost::Match::Exact);
    EXPECT_FALSE(forecast_range_days(0, true));
    EXPECT_EQ(host.boxes().size(), 1u);

    EXPECT_TRUE(guided_run_names(dir.path().string()).empty());
    put(dir / "guide1.cmd", "");
    put(dir / "Guide3.cmd", "");
    EXPECT_EQ(guided_run_names(dir.path().string()), (std::vector<std::string>{"Guide1", "Guide3"}));

    LearnRecord r;
    r.folder = dir.path().string();
    r.threshold = 80;
    r.levels = {{"A.VNB", "One", 10, {}}, {"B.VNB", "Two", 10, {}}, {"C.VNB", "Three", 10, {}}};
    r.results = {{90, 20, 1}};
    std::vector<LevelButton> b = open_session_buttons(r);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_TRUE(b[0].enabled);
    EXPECT_TRUE(b[1].enabled);
    EXPECT_FALSE(b[2].enabled);
    put(dir / "LASTLRN", "");
    b = open_session_buttons(r);
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[3].label, "Last session");
}
