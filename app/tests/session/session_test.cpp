// Session lifecycle: sections in order, seeds, first department, refused
// loads, two sessions side by side, menus and policies files.
#include "app/sessions.h"
#include "app/view.h"
#include "app/sim_host.h"
#include "foundation/msgbox.h"
#include "foundation/randtables.h"
#include "plat/fw/app.h"
#include "support/driver.h"
#include "support/fakes.h"
#include "support/scenario.h"
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

struct SessionFixture : ::testing::Test {
    TempDir dir;
    RecordingSet set;
    SessionDriver driver;
    DriverOptions options()
    {
        DriverOptions o;
        o.factory = set.factory();
        o.config.timer_enabled = false;
        return o;
    }
    std::string write(const ScenarioBuilder& b, const std::string& name = "s.vnb") { return b.write(dir.path() / name); }
};

struct SeedUi : ViewUi {
    std::vector<int32_t> asked;
    std::vector<std::string> stories;
    std::optional<int32_t> change_seed(int32_t seed) override
    {
        asked.push_back(seed);
        return std::nullopt;
    }
    void show_story(const std::string& name) override { stories.push_back(name); }
};

} // namespace

TEST_F(SessionFixture, SectionsLoadInTheirFixedOrder)
{
    ASSERT_TRUE(driver.start(write(ScenarioBuilder()), options()));
    std::vector<std::string> load;
    for (const HookCall& c : set.trace.calls)
        if (c.hook == "load_data" || c.hook == "after_load")
            load.push_back(c.dept + " " + c.hook);
    EXPECT_THAT(load, ElementsAre("Prc load_data", "Mkt load_data", "Prd load_data", "Fin load_data",
                                  "Mkt after_load", "Fin after_load", "Prd after_load"));
    EXPECT_EQ(driver.view().new_features_present, 1);
    EXPECT_EQ(driver.view().shown_command, ID_MARKETING);
    EXPECT_EQ(driver.view().session_open, 1);
}

TEST_F(SessionFixture, SeedsFromTheScenarioTheOptionsOrTheClock)
{
    struct Case {
        const char* new_features;  // "" = no section
        std::optional<int32_t> option;
        int32_t seed;              // 0 = the wall clock
        bool asked;
        const char* why;
    };
    const Case cases[] = {
        {"", std::nullopt, 0, false, "no NEW_FEATURES: the clock"},
        {"^-1^0^-1^@", std::nullopt, 0, false, "three items never touch the seed"},
        {"^-1^0^-1^-1^@", std::nullopt, 0, false, "-1: the clock"},
        {"^-1^0^-1^0^@", std::nullopt, 0, true, "0: the clock, shown through Change seed"},
        {"^-1^0^-1^77^@", std::nullopt, 77, false, "the scenario's seed"},
        {"^-1^0^-1^77^@", 5, 5, false, "the option replaces it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScenarioBuilder b;
        if (*c.new_features == 0)
            b.remove("NEW_FEATURES");
        else
            b.set("NEW_FEATURES", std::string(c.new_features) + "\n$\n");
        SeedUi ui;
        SessionManager sessions(Configuration{}, set.factory());
        sessions.set_ui(&ui);
        sessions.set_wall_clock([] { return int64_t{4242}; });
        StartOptions o;
        o.seed = c.option;
        ASSERT_TRUE(sessions.StartSession(write(b), o));
        int32_t expected = c.seed == 0 ? 4242 : c.seed;
        EXPECT_EQ(sessions.view()->random_seed, expected);
        EXPECT_EQ(ui.asked.size(), c.asked ? 1u : 0u);
        plat::Lcg reference(static_cast<uint32_t>(expected));
        EXPECT_EQ(sessions.view()->rand(), reference.next());
    }
}

TEST_F(SessionFixture, KnownDrawsOfSeedOne)
{
    DriverOptions o = options();
    o.seed = 1;
    ASSERT_TRUE(driver.start(write(ScenarioBuilder()), o));
    EXPECT_EQ(driver.view().rand(), 41);
    EXPECT_EQ(driver.view().rand(), 18467);
    EXPECT_EQ(driver.view().rand(), 6334);
}

namespace {

// Draws 0..99 give 1, up to 9999 2, up to 19999 3, up to 29999 4, the rest 5.
void install_step_table()
{
    RandTable t{};
    std::snprintf(t.name, sizeof t.name, "STEPS");
    const int16_t thresholds[] = {100, 10000, 20000, 30000, 32767};
    for (int i = 0; i < 5; ++i) {
        t.threshold[i] = thresholds[i];
        t.value[i] = static_cast<int16_t>(i + 1);
    }
    t.count = 5;
    rand_tables_clear();
    ASSERT_TRUE(rand_tables_add(t));
}

double step_of(int draw)
{
    const int bounds[] = {100, 10000, 20000, 30000, 32767};
    for (int i = 0; i < 5; ++i)
        if (draw < bounds[i])
            return i + 1;
    return 5;
}

} // namespace

TEST_F(SessionFixture, TableAndShopFloorDrawsInterleaveFromTheSessionSeed)
{
    install_step_table();
    // Inside the first tick, Marketing's daily step draws both kinds in turn.
    std::vector<double> seen;
    set.configure = [&](RecordingSet& s) {
        s.marketing->on_daily = [&seen, m = s.marketing](int16_t) -> BOOL16 {
            if (seen.empty()) {
                ViewSimHost floor(*m->view());
                seen.push_back(floor.rng());
                seen.push_back(draw_rand_table("steps"));
                seen.push_back(m->view()->rand());
                seen.push_back(draw_rand_table("STEPS"));
                seen.push_back(floor.rng());
            }
            return 1;
        };
    };
    DriverOptions o = options();
    o.seed = 1;
    ASSERT_TRUE(driver.start(write(ScenarioBuilder()), o));
    // The C runtime's sequence for seed 1: 41, 18467, 6334, 26500, 19169.
    EXPECT_THAT(seen, ElementsAre(41.0, step_of(18467), 6334.0, step_of(26500), 19169.0));
    EXPECT_EQ(step_of(18467), 3.0);
    EXPECT_EQ(step_of(26500), 4.0);
    EXPECT_EQ(driver.view().rand(), 15724) << "the sixth draw of seed 1";
}

TEST_F(SessionFixture, SessionsOpenedOneAfterTheOtherEachStartFromTheirOwnSeed)
{
    install_step_table();
    auto table_draws = [](int n) {
        std::vector<double> out;
        for (int i = 0; i < n; ++i)
            out.push_back(draw_rand_table("STEPS"));
        return out;
    };
    auto expected = [](uint32_t seed, int n) {
        plat::Lcg g(seed);
        std::vector<double> out;
        for (int i = 0; i < n; ++i)
            out.push_back(step_of(g.next()));
        return out;
    };
    SessionManager sessions(Configuration{}, set.factory());
    ASSERT_TRUE(sessions.StartSession(write(ScenarioBuilder(), "a.vnb"), {.seed = 1}));
    EXPECT_EQ(table_draws(8), expected(1, 8));
    ASSERT_TRUE(sessions.StartSession(write(ScenarioBuilder(), "b.vnb"), {.seed = 2}));
    EXPECT_EQ(table_draws(8), expected(2, 8)) << "the second session draws from its own seed";
    // The first seed again: the same draws, whatever the sessions before drew.
    ASSERT_TRUE(sessions.StartSession(write(ScenarioBuilder(), "c.vnb"), {.seed = 1}));
    EXPECT_EQ(table_draws(8), expected(1, 8));
    // A load refused on the way leaves the open session's generator alone.
    CVornView* open = sessions.view();
    const uint32_t state = open->rand_state();
    sessions.set_ui(nullptr);
    driver.host().Answer(plat::IDOK, "", "");
    EXPECT_FALSE(sessions.StartSession((dir.path() / "missing.vnb").string(), {.seed = 3}));
    EXPECT_EQ(sessions.view(), open);
    EXPECT_EQ(open->rand_state(), state);
    const std::vector<double> ten = expected(1, 10);
    EXPECT_EQ(table_draws(2), std::vector<double>(ten.begin() + 8, ten.end()));
}

namespace {
struct PaneUi : ViewUi {
    std::vector<unsigned> notices;
    void panes_changed(unsigned panes) override { notices.push_back(panes); }
};
} // namespace

TEST_F(SessionFixture, PaneNoticesReachTheWindowsAndCostNothingHeadless)
{
    ASSERT_TRUE(driver.start(write(ScenarioBuilder()), options()));
    CVornView& v = driver.view();
    v.notify_panes(PANE_CASH);   // headless: no windows, nothing to tell
    PaneUi ui;
    v.set_ui(&ui);
    v.notify_panes(PANE_CASH | PANE_PROFIT);
    v.reputation.AddPeriodValue(1.5f);
    v.notify_panes(PANE_REPUTATION);
    v.set_ui(nullptr);
    EXPECT_THAT(ui.notices, ElementsAre(PANE_CASH | PANE_PROFIT, PANE_REPUTATION));
    // The three panes are three bits.
    EXPECT_EQ(PANE_REPUTATION | PANE_CASH | PANE_PROFIT, 7u);
}

TEST_F(SessionFixture, NewFeaturesItems)
{
    SeedUi ui;
    SessionManager sessions(Configuration{}, set.factory());
    sessions.set_ui(&ui);
    ASSERT_TRUE(sessions.StartSession(
        write(ScenarioBuilder().set("NEW_FEATURES", "^05/06/96^2^story.txt^9^31^-1^@\n$\n")), {}));
    CVornView& v = *sessions.view();
    EXPECT_EQ(v.clock.session_end.year, 96);
    EXPECT_EQ(v.clock.session_end.month, 6);
    EXPECT_EQ(v.clock.session_end.day, 5);
    EXPECT_EQ(v.shown_command, ID_PURCHASING);
    EXPECT_EQ(v.story_file, "story.txt");
    EXPECT_THAT(ui.stories, ElementsAre("story.txt"));
    EXPECT_EQ(v.new_features_item5, 31);
    EXPECT_EQ(v.new_features_item6, -1);

    ASSERT_TRUE(sessions.StartSession(write(ScenarioBuilder().set("NEW_FEATURES", "^-1^4^-1^@\n$\n"), "f4.vnb"), {}));
    EXPECT_EQ(sessions.view()->shown_command, ID_MARKETING) << "department 4 counts as Marketing";
    EXPECT_EQ(sessions.view()->clock.session_end.year, 100) << "-1: the end stays five years on";
}

TEST_F(SessionFixture, BadScenarioIsRefusedAndTheOpenSessionStays)
{
    ASSERT_TRUE(driver.start(write(ScenarioBuilder()), options()));
    driver.runTicks(7);
    CVornView* open = &driver.view();
    struct Case {
        ScenarioBuilder scenario;
        const char* line;
        const char* why;
    };
    const Case cases[] = {
        {ScenarioBuilder().remove("DEBUG"), "Section name : DEBUG", "no DEBUG"},
        {ScenarioBuilder().set("TIME", "^310295^1^1^0^@\n$\n"), "Item num : 1", "31 February"},
        {ScenarioBuilder().set("NEW_FEATURES", "^-1^7^-1^@\n$\n"), "Item num : 2", "department 7"},
        {ScenarioBuilder().set("NEW_FEATURES", "^1/2^0^-1^@\n$\n"), "Item num : 1", "unparsable end date"},
        {ScenarioBuilder().set("TIMER", "^40000^@\n$\n"), "Item num : 1", "timer beyond 32767"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        driver.host().Answer(plat::IDOK, "Data Loading Error", c.line, plat::ScriptedHost::Match::Substring, 1);
        EXPECT_FALSE(driver.sessions().StartSession(write(c.scenario, "bad" + std::to_string(n++) + ".vnb"), {}));
        EXPECT_EQ(&driver.view(), open);
        EXPECT_EQ(driver.tickCount(), 7);
        EXPECT_EQ(active_view(), open);
    }
    EXPECT_EQ(driver.prompts().size(), 5u);
    EXPECT_THAT(driver.prompts()[0], HasSubstr("unable to load SECTION"));
    driver.host().Answer(plat::IDOK, "Application Error", "Unable to open paramters file");
    EXPECT_FALSE(driver.sessions().StartSession(dir / "missing.vnb", {}));
    EXPECT_EQ(&driver.view(), open);
}

TEST_F(SessionFixture, TwoSessionsInOneProcessAreIndependent)
{
    std::string a = write(ScenarioBuilder(), "a.vnb");
    std::string b = write(ScenarioBuilder().set("TIME", "^020195^2^1^0^@\n$\n"), "b.vnb");
    plat::ScriptedHost host;
    SessionManager one(Configuration{.timer_enabled = false});
    SessionManager two(Configuration{.timer_enabled = false});
    ASSERT_TRUE(one.StartSession(a, {.seed = 1}));
    ASSERT_TRUE(two.StartSession(b, {.seed = 1}));
    EXPECT_EQ(one.view()->rand(), 41);
    EXPECT_EQ(one.view()->rand(), 18467);
    EXPECT_EQ(two.view()->rand(), 41) << "each session has its own generator";
    one.view()->SetRunState(RUN_RUNNING);
    one.view()->run_until.year = 120;
    two.view()->SetRunState(RUN_RUNNING);
    two.view()->run_until.year = 120;
    for (int i = 0; i < 600; ++i) {
        one.IdleStep();
        if (i % 2 == 0)
            two.IdleStep();
    }
    EXPECT_EQ(one.view()->tick_count, 600);
    EXPECT_EQ(two.view()->tick_count, 300);
    EXPECT_EQ(one.view()->clock.current.day, 3) << "one shift: 600 minutes is the next day";
    EXPECT_EQ(two.view()->clock.current.day, 2) << "three shifts: still the first day";
    EXPECT_EQ(two.view()->clock.current.hour, 13);
}

TEST_F(SessionFixture, QueuedCloseWaitsForTheTickAndTheDialogs)
{
    int dialogs = 1;
    int closes = 0;
    bool closed_inside = true;
    set.configure = [&](RecordingSet& s) {
        RecordingDepartment* mk = s.marketing;
        mk->on_daily = [&, mk](int16_t) -> BOOL16 {
            if (mk->view()->tick_count == 480) {
                driver.sessions().RequestClose();
                driver.sessions().ProcessRequests();
                closed_inside = driver.sessions().view() == nullptr;
            }
            return 1;
        };
    };
    ASSERT_TRUE(driver.start(write(ScenarioBuilder()), options()));
    driver.sessions().open_dialogs = [&] { return dialogs; };
    driver.sessions().close_dialogs = [&] {
        ++closes;
        dialogs = 0;
    };
    driver.runTicks(481);
    EXPECT_FALSE(closed_inside) << "the close waits for the tick on the stack";
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(set.trace.count("Fin", "daily_step"), 2) << "the tick completed";
    EXPECT_EQ(driver.sessions().view(), nullptr) << "closed at the next idle pass";
}

TEST_F(SessionFixture, MenuOptionsSelectTextsAndTranslateIds)
{
    set.configure = [](RecordingSet& s) { s.marketing->menu_texts = {5, 2, 1}; };
    ScenarioBuilder b;
    b.set("Marketing View Menus", "^2^3^1^@\n^1^2^@\n^0^@\n$\n");
    ASSERT_TRUE(driver.start(write(b), options()));
    CVornView& v = driver.view();
    const MenuTable& info = v.menu_tables.tables[MENU_INFORMATION];
    EXPECT_EQ(info.count, 2);
    EXPECT_EQ(info.texts[1], "Mkt info 3");
    EXPECT_EQ(info.texts[2], "Mkt info 1");
    EXPECT_EQ(v.menu_tables.tables[MENU_ACTIONS].texts[1], "Mkt action 2");
    EXPECT_EQ(v.menu_tables.tables[MENU_POLICIES].count, 0);
    EXPECT_EQ(v.marketing->translate_menu_options(302), 301);
    EXPECT_EQ(v.marketing->translate_menu_options(301), 303);
    EXPECT_EQ(v.marketing->translate_menu_options(401), 402);
    EXPECT_TRUE(v.DepartmentHasMenuText(ID_MARKETING, 2, "Mkt info 3"));
    EXPECT_FALSE(v.DepartmentHasMenuText(ID_MARKETING, 2, "Mkt info 2"));
    EXPECT_EQ(v.production->option_list(MENU_INFORMATION).count, 0) << "no section: no options";
}

TEST_F(SessionFixture, MenuOptionsBeyondTheTextsAreRefused)
{
    set.configure = [](RecordingSet& s) { s.production->menu_texts = {5, 2, 2}; };
    struct Case {
        const char* section;
        const char* where;
    };
    const Case cases[] = {
        {"^3^9^2^3^@\n^0^@\n^0^@\n$\n", "Record num : 1\n Item num : 2"},
        {"^1^1^@\n^1^3^@\n^0^@\n$\n", "Record num : 2\n Item num : 2"},
        {"^22^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^@\n^0^@\n^0^@\n$\n", "Record num : 1\n Item num : 1"},
        {"^1^0^@\n^0^@\n^0^@\n$\n", "Record num : 1\n Item num : 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        SessionDriver d;
        d.host().Answer(plat::IDOK, "Data Loading Error", c.where);
        EXPECT_FALSE(d.start(write(ScenarioBuilder().set("Production View Menus", c.section)), options()));
        ASSERT_EQ(d.prompts().size(), 1u);
        EXPECT_THAT(d.prompts()[0], HasSubstr("Section name : Production View Menus"));
    }
}

TEST_F(SessionFixture, PoliciesRoundTripAndSizeCheck)
{
    set.configure = [](RecordingSet& s) {
        s.marketing->settings = {1, 2, 3};
        s.purchasing->settings = {4, 5};
        s.production->settings = {6};
    };
    ASSERT_TRUE(driver.start(write(ScenarioBuilder()), options()));
    CVornView& v = driver.view();
    std::vector<std::string> decisions;
    v.decision_hook = [&](const char* dept, const char* key, const std::string& item, const std::string& o,
                          const std::string& n, int, int) {
        decisions.push_back(std::string(dept) + "|" + key + "|" + item + "|" + o + "|" + n);
    };
    std::string plc = dir / "mine.PLC";
    ASSERT_TRUE(v.SavePolicies(plc));
    EXPECT_EQ(hex(read_bytes(plc)), "010002000300" "04000500" "0600");

    set.marketing->settings = {9, 9, 9};
    set.production->settings = {9};
    set.trace.clear();
    ASSERT_TRUE(v.LoadPolicies(plc));
    EXPECT_THAT(set.marketing->settings, ElementsAre(1, 2, 3));
    EXPECT_THAT(set.production->settings, ElementsAre(6));
    EXPECT_THAT(set.trace.lines(), ElementsAre("0 Mkt read_policies 0", "0 Prc read_policies 0", "0 Prd read_policies 0",
                                               "0 Prd apply_loaded_policies 0", "0 Prc apply_loaded_policies 0",
                                               "0 Mkt apply_loaded_policies 0"));
    EXPECT_THAT(decisions, ElementsAre("Mgr|Loaded Policies|mine.PLC|---|---"));

    // One byte short: refused whole, nothing applied, nothing logged.
    std::vector<uint8_t> bytes = read_bytes(plc);
    bytes.pop_back();
    write_bytes(plc, bytes);
    set.marketing->settings = {7, 7, 7};
    set.trace.clear();
    driver.host().Answer(plat::IDOK, "Load Policies File", "does not fit");
    EXPECT_FALSE(v.LoadPolicies(plc));
    EXPECT_THAT(set.marketing->settings, ElementsAre(7, 7, 7));
    EXPECT_TRUE(set.trace.lines().empty());
    EXPECT_EQ(decisions.size(), 1u);
}

TEST_F(SessionFixture, QueuedStartRunsAfterTheTickAndKeepsTheOldOnFailure)
{
    std::string next = write(ScenarioBuilder().set("TIME", "^060195^1^1^0^@\n$\n"), "next.vnb");
    std::string broken = write(ScenarioBuilder().remove("TIMER"), "broken.vnb");
    std::string asked;
    set.configure = [&](RecordingSet& s) {
        RecordingDepartment* mk = s.marketing;
        mk->on_daily = [&, mk](int16_t) -> BOOL16 {
            if (!asked.empty() && mk->view()->tick_count == 480)
                driver.sessions().RequestStart(asked);
            return 1;
        };
    };
    ASSERT_TRUE(driver.start(write(ScenarioBuilder()), options()));
    CVornView* first = &driver.view();

    asked = broken;
    driver.host().Answer(plat::IDOK, "Data Loading Error", "Section name : TIMER");
    driver.runTicks(481);
    driver.sessions().IdleStep();
    EXPECT_EQ(&driver.view(), first) << "a start that fails keeps the session";
    EXPECT_EQ(set.trace.count("Fin", "daily_step"), 2);

    set.trace.clear();
    first->tick_count = 479;
    first->clock.current.day = 2;
    first->clock.current.hour = 15;
    first->clock.current.minute = 59;
    first->clock.hours_into_day = 7;
    asked = next;
    driver.runTicks(1);
    driver.sessions().IdleStep();
    ASSERT_NE(driver.sessions().view(), nullptr);
    EXPECT_EQ(driver.view().session_path, next);
    EXPECT_EQ(driver.clock().current.day, 6);
}

TEST_F(SessionFixture, FoundationReachesTheRunningSession)
{
    ASSERT_TRUE(driver.start(write(ScenarioBuilder().set("TIME", "^050195^3^1^0^@\n$\n")), options()));
    EXPECT_EQ(GetView(), &driver.view());
    EXPECT_EQ(work_hours_per_day(), 16);
    EXPECT_EQ(work_days_per_month(), 22);
    // Thursday 5 January to Monday 9 January: two working-day steps.
    SimDateTime thu{95, 1, 5, 8, 0}, mon{95, 1, 9, 8, 0};
    EXPECT_EQ(count_work_days(mon, thu), 2);
    driver.sessions().CloseSession();
    EXPECT_EQ(GetView(), nullptr);
}

TEST_F(SessionFixture, OnlyRunningOutOfMemoryEndsTheProgramDuringALoad)
{
    struct FatalDepartment : RecordingDepartment {
        FatalDepartment(Trace& t, const char* text) : RecordingDepartment("Prd", t), text_(text) {}
        void load_data() override { fatal_error(text_); }
        const char* text_;
    };
    const char* said = "Index Overflow MAX_MACHINES - Press ENTER To Terminate";
    auto factory = [&](CVornView& v) {
        Departments d = base_departments(v);
        d.production = std::make_unique<FatalDepartment>(set.trace, said);
        return d;
    };
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "Application Error", "");
    SessionManager sessions(Configuration{.timer_enabled = false}, factory);
    std::string path = write(ScenarioBuilder());
    EXPECT_FALSE(sessions.StartSession(path, {}));
    EXPECT_EQ(sessions.view(), nullptr);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, said);

    said = "NOT ENOUGH MEMORY var :FileIndex,load_parameters_file";
    try {
        sessions.StartSession(path, {});
        ADD_FAILURE() << "the load went on";
    } catch (const plat::ExitRequest& e) {
        EXPECT_NE(e.code, 0);
    }
}

TEST_F(SessionFixture, TheProfileDecidesWhetherResumeIsAsked)
{
    // The application's profile in a folder of this test's own.
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved_home = old != nullptr ? old : "";
    ::setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    {
        plat::CWinApp app("VORN");
        ASSERT_TRUE(driver.start(write(ScenarioBuilder()), options()));
        const std::string path = dir.path() / "saved.vnb";
        ASSERT_TRUE(driver.save(path));
        struct Case {
            const char* value;  // nullptr: no entry
            int answer;
            bool asked, resumed;
        };
        const Case cases[] = {
            {nullptr, plat::IDNO, false, true},
            {"0", plat::IDNO, false, true},
            {"1", plat::IDNO, true, false},
            {"1", plat::IDYES, true, true},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.value != nullptr ? c.value : "none");
            app.WriteProfileString("General", "AskResumeSession", c.value);
            plat::ScriptedHost host;
            host.Answer(c.answer, "Open Session", "Resume last session?");
            SessionManager sessions(Configuration{}, set.factory());
            ASSERT_TRUE(sessions.StartSession(path, {}));
            EXPECT_EQ(sessions.view()->resumed(), c.resumed);
            EXPECT_EQ(host.boxes().size(), c.asked ? 1u : 0u);
        }
    }
    ::setenv("XDG_CONFIG_HOME", saved_home.c_str(), 1);
}
