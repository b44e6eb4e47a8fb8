// Session state files: the header layout, version ids, damaged files, atomic saves, names.
#include "app/state_names.h"
#include "app/view.h"
#include "foundation/file_steps.h"
#include "support/driver.h"
#include "support/fakes.h"
#include "support/scenario.h"
#include <csignal>
#include <filesystem>
#include <map>
#include <set>
#include <sys/wait.h>
#include <unistd.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct StateFixture : ::testing::Test {
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
    std::string scenario(const std::string& name = "s.vnb")
    {
        return ScenarioBuilder().set("STATUS", "^0^0^0^0^0^21^@\n$\n").write(dir.path() / name);
    }
    // A saved session at tick 0 (Monday 2 January 1995, 08:00) under `name`.
    std::string saved(const std::string& name = "saved.vnb")
    {
        EXPECT_TRUE(driver.start(scenario(), options()));
        std::string path = dir / name;
        EXPECT_TRUE(driver.save(path));
        return path;
    }
    void patch(const std::string& file, size_t at, const std::string& bytes)
    {
        std::vector<uint8_t> b = read_bytes(file);
        std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<long>(at));
        write_bytes(file, b);
    }
    // The department files as a program before the tails wrote them: the records alone.
    void drop_department_tails(const std::string& base = "saved")
    {
        for (const char* ext : {"PRC", "MRK", "PRD", "FNC"})
            write_bytes(dir / (base + "." + ext), {1, 2, 3});
    }
};

// Every file of a set ends with the set's serial.
std::string serial_hex(const std::vector<uint8_t>& b) { return b.size() < 4 ? "" : hex(b, b.size() - 4, 4); }


} // namespace

TEST_F(StateFixture, HeaderFileLayout)
{
    std::string path = saved();
    std::vector<uint8_t> mgr = read_bytes(dir / "saved.MGR");
    ASSERT_EQ(mgr.size(), 90u);
    EXPECT_EQ(hex(mgr, 0, 8), "42475f3130333800") << "version id BG_1038";
    EXPECT_EQ(hex(mgr, 8, 4), "00000000") << "tick count";
    EXPECT_EQ(hex(mgr, 12, 4), "0a090000") << "marker 2314";
    EXPECT_EQ(hex(mgr, 16, 4), "100e0000") << "remaining 3600 s";
    EXPECT_EQ(hex(mgr, 20, 2), "100e") << "rounded, capped at the scenario's 3600";
    // Clock: 2 Jan 95 08:00, hours 0, stored month 1 and year 95, one working
    // day this year and month, month 1 of the simulated year.
    EXPECT_EQ(hex(mgr, 22, 28), "5f000100020008000000" "0000" "0100" "5f00" "0000" "0100" "0100" "0000" "0000" "0100");
    // Reputation: displayed 6.0, current 21.0, five zeros, 21.0.
    EXPECT_EQ(hex(mgr, 50, 32), "0000c040" "0000a841" "0000000000000000000000000000000000000000" "0000a841");
    // The tail: the generator's state, seed 1 and nothing drawn yet.
    EXPECT_EQ(hex(mgr, 82, 4), "01000000");
    EXPECT_EQ(driver.view().rand_state(), 1u);
    // Then the set's serial, the same in every file of the set.
    const std::string serial = hex(mgr, 86, 4);
    // The session file was copied; each department wrote its state.
    EXPECT_EQ(read_bytes(path), read_bytes(dir / "s.vnb"));
    for (const char* ext : {"PRC", "MRK", "PRD", "FNC"})
        EXPECT_EQ(hex(read_bytes(dir / (std::string("saved.") + ext))), "010203" + serial) << ext;
    EXPECT_FALSE(fs::exists(dir / "saved.MGR.tmp"));
}

TEST_F(StateFixture, ResumeLoadsWithoutAFirstTickAndSavesTheSameBytes)
{
    std::string path = saved();
    driver.view().tick_count = 0;
    set.trace.clear();
    SessionDriver second;
    set.configure = [](RecordingSet& s) { s.finance->state = {9, 9, 9}; };
    ASSERT_TRUE(second.start(path, options()));
    EXPECT_TRUE(second.view().resumed());
    EXPECT_EQ(second.tickCount(), 0);
    EXPECT_EQ(set.trace.count("Mkt", "daily_step"), 0) << "a resumed session makes no first tick";
    EXPECT_EQ(hex(set.finance->state), "010203");
    EXPECT_EQ(second.view().reputation.displayed, 6.0f);

    std::string again = dir / "again.vnb";
    ASSERT_TRUE(second.save(again));
    for (const char* ext : {"MGR", "PRC", "MRK", "PRD", "FNC"})
        EXPECT_EQ(read_bytes(dir / (std::string("again.") + ext)), read_bytes(dir / (std::string("saved.") + ext)))
            << ext;
}

TEST_F(StateFixture, VersionIdsOfTheHeader)
{
    std::string path = saved();
    std::string mgr = dir / "saved.MGR";
    struct Case {
        const char* id;
        bool loads;
        bool oldest;
        const char* box;
    };
    const Case cases[] = {
        {"BG_1038", true, false, nullptr},
        {"BG_1037", true, false, nullptr},
        {"BG_1020", true, false, nullptr},
        {"BG_1015", true, true, nullptr},
        {"BG_1012", true, true, nullptr},
        {"BG_1039", false, false, "Damaged session state file"},
        {"XX_1037", false, false, "Damaged session state file"},
    };
    const std::vector<uint8_t> with_tail = read_bytes(mgr);
    const std::vector<uint8_t> without_tail(with_tail.begin(), with_tail.begin() + 82);
    const std::vector<uint8_t> department = read_bytes(dir / "saved.PRD");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        // Files before the tails end after the Reputation pane's record.
        const bool old = std::string(c.id) < "BG_1038";
        write_bytes(mgr, old ? without_tail : with_tail);
        patch(mgr, 0, std::string(c.id, 7));
        if (old)
            drop_department_tails();
        else
            for (const char* ext : {"PRC", "MRK", "PRD", "FNC"})
                write_bytes(dir / (std::string("saved.") + ext), department);
        SessionDriver d;
        if (c.box != nullptr)
            d.host().Answer(plat::IDOK, "", c.box);
        EXPECT_EQ(d.start(path, options()), c.loads);
        if (c.loads) {
            EXPECT_EQ(d.view().IsOldestStateVersion() != 0, c.oldest);
            EXPECT_EQ(d.view().CheckVersionId("BG_1012") != 0, true);
            EXPECT_EQ(d.view().CheckVersionId("BG_1018") != 0, !c.oldest);
        } else {
            EXPECT_EQ(d.prompts().size(), 1u);
        }
    }
}

// A header older than the oldest accepted id ends the program (code 0)
// after its box, not only the load: there is no session to go back to.
TEST_F(StateFixture, AHeaderOlderThanTheOldestEndsTheProgram)
{
    std::string path = saved();
    std::string mgr = dir / "saved.MGR";
    const std::vector<uint8_t> with_tail = read_bytes(mgr);
    write_bytes(mgr, std::vector<uint8_t>(with_tail.begin(), with_tail.begin() + 82));
    drop_department_tails();
    for (const char* id : {"BG_1011", "BG_0999"}) {
        SCOPED_TRACE(id);
        patch(mgr, 0, std::string(id, 7));
        SessionDriver d;
        d.host().Answer(plat::IDOK, "", "Old version of");
        try {
            d.start(path, options());
            ADD_FAILURE() << "the program went on";
        } catch (const plat::ExitRequest& e) {
            EXPECT_EQ(e.code, 0);
            EXPECT_EQ(e.kind, plat::ExitKind::Normal);
        }
        ASSERT_EQ(d.prompts().size(), 1u);
        EXPECT_NE(d.prompts()[0].find("|\nOld version of " + path + " state files - program aborted"), std::string::npos)
            << d.prompts()[0];
    }
    // A damaged header after it is refused as before: the exit did not stay armed.
    patch(mgr, 0, std::string("XX_1037", 7));
    SessionDriver d;
    d.host().Answer(plat::IDOK, "", "Damaged session state file");
    EXPECT_FALSE(d.start(path, options()));
}

namespace {

// A header written before the tails: "BG_1037", tick 0, the marker, 3600 s
// left (rounded 3600), the clock at 2 Jan 95 08:00, the Reputation pane.
const char* const HEADER_1037 =
    "42475f3130333700" "00000000" "0a090000" "100e0000" "100e"
    "5f000100020008000000" "0000" "0100" "5f00" "0000" "0100" "0100" "0000" "0000" "0100"
    "0000c040" "0000a841" "0000000000000000000000000000000000000000" "0000a841";

std::vector<uint8_t> from_hex(const std::string& text)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}

std::vector<int> draws(CVornView& view, int n)
{
    std::vector<int> out;
    for (int i = 0; i < n; ++i)
        out.push_back(view.rand());
    return out;
}

std::vector<int> formula(uint32_t seed, int skip, int n)
{
    plat::Lcg g(seed);
    for (int i = 0; i < skip; ++i)
        g.next();
    std::vector<int> out;
    for (int i = 0; i < n; ++i)
        out.push_back(g.next());
    return out;
}

} // namespace

TEST_F(StateFixture, TheGeneratorResumesWhereTheSavedSessionStopped)
{
    ASSERT_TRUE(driver.start(scenario(), options()));
    draws(driver.view(), 7);
    const std::string path = dir / "drawn.vnb";
    ASSERT_TRUE(driver.save(path));
    const std::vector<int> unbroken = draws(driver.view(), 5);
    EXPECT_EQ(unbroken, formula(1, 7, 5));

    // Reopened under another seed: the saved state wins over the start's seed.
    SessionDriver d;
    DriverOptions o = options();
    o.seed = 99;
    ASSERT_TRUE(d.start(path, o));
    ASSERT_TRUE(d.view().resumed());
    EXPECT_EQ(draws(d.view(), 5), unbroken);
}

TEST_F(StateFixture, AHeaderBeforeTheTailsLoadsAndTheSessionKeepsItsStartSeed)
{
    std::string path = saved();
    set.configure = [](RecordingSet& s) { s.production->tail = {0xAA, 0xBB}; };
    write_bytes(dir / "saved.MGR", from_hex(HEADER_1037));
    drop_department_tails();
    SessionDriver d;
    DriverOptions o = options();
    o.seed = 5;
    ASSERT_TRUE(d.start(path, o));
    ASSERT_TRUE(d.view().resumed());
    EXPECT_EQ(d.tickCount(), 0);
    EXPECT_EQ(d.view().timer.remaining, 3600);
    EXPECT_FALSE(d.view().HasStateTail());
    EXPECT_EQ(set.production->tails_read, 0) << "an older file has no tails to read";
    EXPECT_EQ(hex(set.production->tail), "aabb");
    // Reseeded as every session start seeds: the start's seed, nothing drawn.
    EXPECT_EQ(draws(d.view(), 5), formula(5, 0, 5));
    // Saved again, it is a file of this version, with the tails.
    const std::string again = dir / "again.vnb";
    ASSERT_TRUE(d.save(again));
    std::vector<uint8_t> mgr = read_bytes(dir / "again.MGR");
    ASSERT_EQ(mgr.size(), 90u);
    EXPECT_EQ(hex(mgr, 0, 8), "42475f3130333800");
    EXPECT_EQ(hex(read_bytes(dir / "again.PRD")), "010203aabb" + serial_hex(mgr));
}

TEST_F(StateFixture, DepartmentTailsFollowTheirRecordsAndComeBackExactly)
{
    set.configure = [](RecordingSet& s) {
        s.marketing->tail = {0x10, 0x11, 0x12};
        s.finance->tail = {0x20};
    };
    std::string path = saved();
    const std::string serial = serial_hex(read_bytes(dir / "saved.MGR"));
    EXPECT_EQ(hex(read_bytes(dir / "saved.MRK")), "010203101112" + serial);
    EXPECT_EQ(hex(read_bytes(dir / "saved.FNC")), "01020320" + serial);
    EXPECT_EQ(hex(read_bytes(dir / "saved.PRC")), "010203" + serial);

    set.configure = [](RecordingSet& s) {
        s.marketing->tail = {0, 0, 0};
        s.finance->tail = {0};
    };
    SessionDriver d;
    ASSERT_TRUE(d.start(path, options()));
    ASSERT_TRUE(d.view().resumed());
    EXPECT_TRUE(d.view().HasStateTail());
    EXPECT_EQ(hex(set.marketing->tail), "101112");
    EXPECT_EQ(hex(set.finance->tail), "20");
    EXPECT_EQ(set.purchasing->tails_read, 1) << "an empty tail is still asked for";

    // A tail cut short, or one byte too many, is a damaged file.
    const std::vector<uint8_t> mgr = read_bytes(dir / "saved.MGR");
    const std::vector<uint8_t> serial_bytes(mgr.end() - 4, mgr.end());
    for (std::vector<uint8_t> bytes : {std::vector<uint8_t>{1, 2, 3, 0x10, 0x11},
                                       std::vector<uint8_t>{1, 2, 3, 0x10, 0x11, 0x12, 0x13}}) {
        bytes.insert(bytes.end(), serial_bytes.begin(), serial_bytes.end());
        write_bytes(dir / "saved.MRK", bytes);
        SessionDriver e;
        e.host().Answer(plat::IDOK, "Open Session", "Damaged session state file", plat::ScriptedHost::Match::Substring);
        EXPECT_FALSE(e.start(path, options()));
        EXPECT_EQ(e.prompts().size(), 1u);
    }
}

TEST_F(StateFixture, HeaderWithoutMarkerKeepsTheScenarioTimerUnlessSmaller)
{
    std::string path = saved();
    std::string mgr = dir / "saved.MGR";
    patch(mgr, 12, std::string("\0\0\0\0", 4));
    patch(mgr, 16, std::string("\x01\x00\x00\x00", 4));  // remaining 1 s, ignored
    patch(mgr, 20, std::string("\x58\x02", 2));          // rounded 600
    SessionDriver d;
    ASSERT_TRUE(d.start(path, options()));
    EXPECT_EQ(d.view().timer.remaining, 600);
    patch(mgr, 20, std::string("\x20\x1c", 2));  // 7200: above the scenario's 3600
    SessionDriver e;
    ASSERT_TRUE(e.start(path, options()));
    EXPECT_EQ(e.view().timer.remaining, 3600);
}

TEST_F(StateFixture, DamagedStateFilesAreRefusedAndTheOpenSessionStays)
{
    std::string path = saved();
    CVornView* open = &driver.view();
    driver.runTicks(10);
    struct Case {
        const char* file;
        std::vector<uint8_t> bytes;
        const char* why;
    };
    const Case cases[] = {
        {"saved.PRD", {1, 2}, "a short department file"},
        {"saved.FNC", {1, 2, 3, 4}, "a byte left over"},
        {"saved.MGR", std::vector<uint8_t>(81, 0x42), "a short header"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::vector<uint8_t> good = read_bytes(dir / c.file);
        write_bytes(dir / c.file, c.bytes);
        driver.host().Answer(plat::IDOK, "Open Session", "Damaged session state file", plat::ScriptedHost::Match::Substring, 1);
        EXPECT_FALSE(driver.sessions().StartSession(path, {}));
        EXPECT_EQ(&driver.view(), open);
        EXPECT_EQ(driver.tickCount(), 10);
        EXPECT_EQ(driver.view().session_open, 1);
        write_bytes(dir / c.file, good);
    }
    EXPECT_EQ(driver.prompts().size(), 3u);
    // The clock record of a damaged header is refused too: month 13.
    patch(dir / "saved.MGR", 24, std::string("\x0d\x00", 2));
    driver.host().Answer(plat::IDOK, "Open Session", "Damaged session state file");
    EXPECT_FALSE(driver.sessions().StartSession(path, {}));
    EXPECT_EQ(&driver.view(), open);
}

TEST_F(StateFixture, MissingDepartmentFilesStopTheLoadSilently)
{
    std::string path = saved();
    fs::remove(dir / "saved.PRD");
    set.configure = [](RecordingSet& s) {
        for (RecordingDepartment* d : {s.marketing, s.production, s.purchasing, s.finance})
            d->state = {7, 7, 7};
    };
    SessionDriver d;
    ASSERT_TRUE(d.start(path, options()));
    EXPECT_FALSE(d.view().resumed()) << "resume needs all five files";
    EXPECT_EQ(d.tickCount(), 0);
    EXPECT_EQ(d.prompts().size(), 0u);
    // Loading the files directly reads up to the first missing one.
    ASSERT_TRUE(d.view().LoadSessionFiles(path));
    EXPECT_EQ(hex(set.purchasing->state), "010203");
    EXPECT_EQ(hex(set.marketing->state), "010203");
    EXPECT_EQ(hex(set.production->state), "070707");
    EXPECT_EQ(hex(set.finance->state), "070707");
}

TEST_F(StateFixture, FailedSaveKeepsTheOldFilesAndSaysSo)
{
    std::string path = saved();
    std::vector<uint8_t> old_mgr = read_bytes(dir / "saved.MGR");
    driver.runTicks(5);
    // The Production file cannot be written: its temporary name is a folder.
    fs::create_directory(dir / "saved.PRD.tmp");
    driver.host().Answer(plat::IDOK, "Save Session", "Unable to save the session file");
    EXPECT_FALSE(driver.save(path, true));
    ASSERT_EQ(driver.prompts().size(), 1u);
    EXPECT_THAT(driver.prompts()[0], ::testing::HasSubstr("saved.PRD"));
    EXPECT_EQ(read_bytes(dir / "saved.MGR"), old_mgr) << "nothing replaced";
    EXPECT_FALSE(fs::exists(dir / "saved.MGR.tmp"));
    fs::remove(dir / "saved.PRD.tmp");

    driver.host().Answer(plat::IDOK, "Save Session", "Session was saved successfully as: '" + path + "'",
                         plat::ScriptedHost::Match::Exact);
    EXPECT_TRUE(driver.save(path, true));
    EXPECT_NE(read_bytes(dir / "saved.MGR"), old_mgr);
    EXPECT_EQ(driver.prompts().size(), 2u);
}

namespace {

const char* const SET_EXTS[] = {"MGR", "PRC", "MRK", "PRD", "FNC"};
using FileSet = std::map<std::string, std::vector<uint8_t>>;

FileSet read_set(const TempDir& dir, const std::string& base)
{
    FileSet out;
    for (const char* ext : SET_EXTS)
        if (fs::exists(dir / (base + "." + ext)))
            out[ext] = read_bytes(dir / (base + "." + ext));
    return out;
}

void write_set(const TempDir& dir, const std::string& base, const FileSet& set)
{
    for (const char* ext : SET_EXTS) {
        write_bytes(dir / (base + "." + ext), set.at(ext));
        fs::remove(dir / (base + "." + ext + ".tmp"));
    }
}

// The steps of a save, counted from the fault's installing; the one numbered
// `at` fails, or ends the process there.
struct StepFault {
    static inline int seen = 0;
    static inline int at = -1;
    static inline bool kill = false;
    static inline FileStep step = FileStep::Write;
    static bool fault(FileStep s, const std::string&)
    {
        if (seen++ != at)
            return false;
        step = s;
        if (kill)
            std::raise(SIGKILL);
        return true;
    }
    FileStepFault before;
    StepFault(int fail_at, bool kill_there)
    {
        seen = 0;
        at = fail_at;
        kill = kill_there;
        before = set_file_step_fault(fault);
    }
    ~StepFault() { set_file_step_fault(before); }
};

} // namespace

// The set's serial: a header with a department file of another save, or the
// reverse, is refused; the same session saved again gives the same serial.
TEST_F(StateFixture, ASetOfFilesFromTwoSavesIsRefused)
{
    const std::string path = saved();
    const FileSet first = read_set(dir, "saved");
    driver.runTicks(5);
    ASSERT_TRUE(driver.save(dir / "later.vnb"));
    const FileSet later = read_set(dir, "later");
    ASSERT_NE(serial_hex(first.at("MGR")), serial_hex(later.at("MGR")));
    ASSERT_TRUE(driver.save(dir / "again.vnb"));
    EXPECT_EQ(read_set(dir, "again"), later) << "the same state, the same bytes";

    for (const char* odd : {"MGR", "PRC", "MRK", "PRD", "FNC"}) {
        SCOPED_TRACE(odd);
        FileSet mixed = first;
        mixed[odd] = later.at(odd);
        write_set(dir, "saved", mixed);
        // The header decides: the first file that does not match it is named.
        const std::string named = std::string(odd) == "MGR" ? "saved.PRC" : std::string("saved.") + odd;
        SessionDriver d;
        d.host().Answer(plat::IDOK, "Open Session", "Damaged session state file: '" + (dir / named) + "'");
        EXPECT_FALSE(d.start(path, options()));
        EXPECT_EQ(d.prompts().size(), 1u);
    }
    write_set(dir, "saved", first);
    SessionDriver d;
    ASSERT_TRUE(d.start(path, options()));
    EXPECT_TRUE(d.view().resumed());
}

// A write, flush, sync, close or rename that fails at any step of a save
// leaves the old session or the new one, each opening as it was saved, and
// the box says which of the two it is.
TEST_F(StateFixture, AFaultAtAnyStepOfASaveLeavesTheOldSessionOrTheNewAndSaysWhich)
{
    const std::string path = saved();
    const FileSet old_set = read_set(dir, "saved");
    driver.runTicks(5);
    ASSERT_TRUE(driver.save(dir / "new.vnb"));
    const FileSet new_set = read_set(dir, "new");
    ASSERT_NE(old_set, new_set);

    int steps = 0;
    {
        StepFault none(-1, false);
        ASSERT_TRUE(driver.save(path));
        steps = StepFault::seen;
    }
    ASSERT_EQ(read_set(dir, "saved"), new_set);
    std::set<FileStep> kinds;
    int kept_old = 0, kept_new = 0;
    for (int at = 0; at < steps; ++at) {
        SCOPED_TRACE("step " + std::to_string(at));
        write_set(dir, "saved", old_set);
        driver.host().clear_records();
        driver.host().Answer(plat::IDOK, "Save Session", "", plat::ScriptedHost::Match::Substring, 1);
        {
            StepFault fault(at, false);
            EXPECT_FALSE(driver.save(path, true));
        }
        kinds.insert(StepFault::step);
        ASSERT_EQ(driver.prompts().size(), 1u);
        const bool says_saved = driver.prompts()[0].find("The session was saved;") != std::string::npos;
        EXPECT_NE(says_saved, driver.prompts()[0].find("The session was not saved.") != std::string::npos)
            << driver.prompts()[0];

        SessionDriver reopened;
        ASSERT_TRUE(reopened.start(path, options())) << driver.prompts()[0];
        ASSERT_TRUE(reopened.view().resumed());
        EXPECT_EQ(reopened.tickCount(), says_saved ? 5 : 0);
        EXPECT_EQ(read_set(dir, "saved"), says_saved ? new_set : old_set);
        for (const char* ext : SET_EXTS)
            EXPECT_FALSE(fs::exists(dir / (std::string("saved.") + ext + ".tmp"))) << ext;
        (says_saved ? kept_new : kept_old) += 1;
    }
    EXPECT_EQ(kinds, (std::set<FileStep>{FileStep::Write, FileStep::Flush, FileStep::Sync, FileStep::Close,
                                         FileStep::Rename}));
    EXPECT_GT(kept_old, 0);
    EXPECT_GT(kept_new, 0) << "a rename after the first leaves the new set to be finished";
}

// The program killed between any two steps of a save, in a child: the files
// left open as the old session or the new one, never as a mix.
TEST_F(StateFixture, ASaveKilledAtAnyStepOpensAsTheOldSessionOrTheNew)
{
    const std::string path = saved();
    const FileSet old_set = read_set(dir, "saved");
    driver.runTicks(5);
    ASSERT_TRUE(driver.save(dir / "new.vnb"));
    const FileSet new_set = read_set(dir, "new");

    int steps = 0;
    {
        StepFault none(-1, false);
        ASSERT_TRUE(driver.save(path));
        steps = StepFault::seen;
    }
    int opened_old = 0, opened_new = 0;
    for (int at = 0; at <= steps; ++at) {
        SCOPED_TRACE("killed at step " + std::to_string(at));
        write_set(dir, "saved", old_set);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            StepFault fault(at, true);
            ::_exit(driver.save(path) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (at < steps) {
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        } else {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
        SessionDriver reopened;
        ASSERT_TRUE(reopened.start(path, options()));
        ASSERT_TRUE(reopened.view().resumed());
        const FileSet on_disk = read_set(dir, "saved");
        const bool is_new = on_disk == new_set;
        EXPECT_TRUE(is_new || on_disk == old_set);
        EXPECT_EQ(reopened.tickCount(), is_new ? 5 : 0);
        (is_new ? opened_new : opened_old) += 1;
        // Whatever was opened saves and opens again.
        ASSERT_TRUE(reopened.save(path));
        SessionDriver again;
        ASSERT_TRUE(again.start(path, options()));
    }
    EXPECT_GT(opened_old, 0);
    EXPECT_GT(opened_new, 1) << "killed after every file was written, the save is finished at the next open";
}

TEST_F(StateFixture, SaveUnderItsOwnPathInAnotherCaseCopiesNothing)
{
    ASSERT_TRUE(driver.start(scenario("plant.vnb"), options()));
    ASSERT_TRUE(driver.save(dir / "PLANT.VNB"));
    EXPECT_FALSE(fs::exists(dir / "PLANT.VNB.tmp"));
    int vnb = 0;
    for (const auto& e : fs::directory_iterator(dir.path()))
        vnb += e.path().extension() == ".vnb" || e.path().extension() == ".VNB";
    EXPECT_EQ(vnb, 1) << "the session file itself is not copied onto itself";
    EXPECT_TRUE(fs::exists(dir / "PLANT.MGR"));
}

TEST(StateNames, BaseNameDropsOnlyTheLastExtensionOfTheFileName)
{
    struct Case {
        const char* path;
        const char* mgr;
    };
    const Case cases[] = {
        {"runs.v2/plant.a.vnb", "runs.v2/plant.a.MGR"},
        {"runs.v2/plant.b.vnb", "runs.v2/plant.b.MGR"},
        {"./s.vnb", "./s.MGR"},
        {"noext", "noext.MGR"},
        {"runs.v2/noext", "runs.v2/noext.MGR"},
        {"C:\\runs.v2\\PLANT.PAR", "C:\\runs.v2\\PLANT.MGR"},
        {"/tmp/.hidden", "/tmp/.hidden.MGR"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(state_file_name(c.path, "MGR"), c.mgr) << c.path;
    EXPECT_EQ(state_file_name("RUNS/PLANT.PAR", "000"), "RUNS/PLANT.000");
    EXPECT_EQ(state_file_name("RUNS/PLANT.PAR", "0bs"), "RUNS/PLANT.0bs");
    EXPECT_EQ(save_session_name("dir.v/x"), "dir.v/x.vnb");
    EXPECT_EQ(save_session_name("dir.v/x.sav"), "dir.v/x.sav");
    EXPECT_EQ(file_name_part("a\\b/c.vnb"), "c.vnb");
}

TEST_F(StateFixture, LongPathsAndDottedFoldersKeepSessionsApart)
{
    std::string folder = (dir.path() / "runs.v2" / std::string(120, 'x')).string();
    fs::create_directories(folder);
    ASSERT_TRUE(driver.start(scenario(), options()));
    std::string a = folder + "/plant.a.vnb";
    std::string b = folder + "/plant.b.vnb";
    ASSERT_GT(a.size(), 150u);
    ASSERT_TRUE(driver.save(a));
    driver.runTicks(3);
    ASSERT_TRUE(driver.save(b));
    EXPECT_NE(read_bytes(folder + "/plant.a.MGR"), read_bytes(folder + "/plant.b.MGR"));
    SessionDriver d;
    ASSERT_TRUE(d.start(a, options()));
    EXPECT_EQ(d.tickCount(), 0);
    EXPECT_EQ(d.view().session_path, a);
}

TEST_F(StateFixture, EveryCutAndFlipOfTheHeaderLoadsOrIsRefused)
{
    std::string path = saved();
    std::string mgr = dir / "saved.MGR";
    const std::vector<uint8_t> good = read_bytes(mgr);
    driver.host().Answer(plat::IDOK, "", "");
    auto refusals = [&] {
        size_t n = 0;
        for (const std::string& p : driver.prompts())
            n += p.find("Damaged session state file") != std::string::npos || p.find("Old version") != std::string::npos;
        return n;
    };
    // Each try is counted on its own: loaded with no box, or refused with exactly one.
    auto try_load = [&](const std::vector<uint8_t>& bytes, size_t& loaded, size_t& refused) {
        write_bytes(mgr, bytes);
        const size_t before = refusals();
        const bool ok = driver.sessions().StartSession(path, {.seed = 1});
        const size_t boxes = refusals() - before;
        if (ok) {
            ++loaded;
            const SimDateTime& now = driver.clock().current;
            EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.minute < 60);
            EXPECT_EQ(boxes, 0u);
        } else {
            refused += boxes == 1;
        }
    };
    size_t cuts_loaded = 0, cuts_refused = 0;
    for (size_t n = 0; n < good.size(); ++n)
        try_load(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n)), cuts_loaded, cuts_refused);
    EXPECT_EQ(cuts_loaded, 0u) << "no cut loads";
    EXPECT_EQ(cuts_refused, good.size()) << "every cut is refused with its box";
    size_t flips_loaded = 0, flips_refused = 0;
    for (size_t i = 0; i < good.size(); ++i) {
        std::vector<uint8_t> flipped = good;
        flipped[i] ^= 0xFF;
        try_load(flipped, flips_loaded, flips_refused);
    }
    EXPECT_EQ(flips_loaded + flips_refused, good.size()) << "every flip loads or is refused with its box";
    EXPECT_GT(flips_refused, 0u);
}

TEST_F(StateFixture, AClockTheRunCannotGoOnFromIsRefused)
{
    // The scenario runs five years from Monday 2 January 1995 on one shift (8 working hours).
    std::string path = saved();
    const std::vector<uint8_t> good = read_bytes(dir / "saved.MGR");
    // The clock's fields: year 22, day 26, hours into the day 32, the year last seen 36, years
    // elapsed 38, work days this year 40 and this month 42, months elapsed 46, month of the
    // simulated year 48.
    using Patches = std::vector<std::pair<size_t, std::string>>;
    auto i16 = [](int v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; };
    // Monday 4 January 1999, four years and 48 months in.
    const Patches in_1999 = {{22, i16(99)}, {26, i16(4)}, {36, i16(99)}, {38, i16(4)}, {46, i16(48)}};
    struct Case { const char* why; Patches patches; bool loads; };
    const Case cases[] = {
        {"seven hours into the day", {{32, i16(7)}}, true},
        {"eight hours: the day would never end", {{32, i16(8)}}, false},
        {"twenty-three hours into the day", {{32, i16(23)}}, false},
        {"the year 1999, within the run", in_1999, true},
        {"the year 1999 with the counters of 1995", {{22, i16(99)}, {26, i16(4)}}, false},
        {"a new year the year check has not seen", {{22, i16(96)}, {26, i16(1)}, {38, i16(1)}, {46, i16(12)}}, false},
        {"a year elapsed in the first year", {{38, i16(1)}}, false},
        {"a month elapsed in the first month", {{46, i16(1)}}, false},
        {"the second month of the year in January", {{48, i16(2)}}, false},
        {"a work day counted on 2 January", {{40, i16(1)}, {42, i16(1)}}, true},
        {"three work days counted by 2 January", {{40, i16(3)}, {42, i16(3)}}, false},
        {"more work days in the month than in the year", {{40, i16(1)}, {42, i16(2)}}, false},
        {"the year 2035, far past the run's end", {{22, i16(135)}}, false},
        {"the year 1994, before the run's start", {{22, i16(94)}}, false},
        {"month of the simulated year 0", {{48, i16(0)}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        write_bytes(dir / "saved.MGR", good);
        for (const auto& [at, bytes] : c.patches)
            patch(dir / "saved.MGR", at, bytes);
        const size_t boxes = driver.prompts().size();
        driver.host().Answer(plat::IDOK, "Open Session", "Damaged session state file");
        EXPECT_EQ(driver.sessions().StartSession(path, {}), c.loads);
        EXPECT_EQ(driver.prompts().size() - boxes, c.loads ? 0u : 1u);
    }
}
