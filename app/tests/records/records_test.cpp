// Learn files, run-log records, run logs and the best-results file.
#include "app/learn_file.h"
#include "app/log_file.h"
#include "app/run_log.h"
#include "app/view.h"
#include "foundation/coder.h"
#include "support/driver.h"
#include "support/scenario.h"
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Exactly as the writer emits it.
const char* const kLearn =
    "[FILE_LIST]\n"
    "^2^@\n"
    "^LEVEL1.VNB^50000^Level one^@\n"
    "^LEVEL2.VNB^150000^Level two^@\n"
    "$\n"
    "[DDP_PROFIT_TABLE]\n"
    "^80^2^@\n$\n"
    "^0^one low up^one low down^@\n"
    "^50000^one high up^one high down^@\n"
    "$\n"
    "^0^two low up^two low down^@\n"
    "^150000^two high up^two high down^@\n"
    "$\n"
    "[RESULTS]\n"
    "^1^@\n"
    "^85^60000^1^@\n"
    "$\n"
    "[END OF FILE]\n";

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

void put(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(LearnFile, PlainAndCodedFilesRoundTrip)
{
    plat::ScriptedHost host;
    TempDir dir;
    put(dir / "VORN.LRN", kLearn);
    LearnRecord r;
    ASSERT_EQ(load_learn_file(r, dir.path().string()), 1);
    ASSERT_EQ(r.levels.size(), 2u);
    EXPECT_EQ(r.levels[1].file, "LEVEL2.VNB");
    EXPECT_EQ(r.levels[1].target, 150000);
    EXPECT_EQ(r.levels[0].rows[1].upper, "one high up");
    EXPECT_EQ(r.threshold, 80);
    ASSERT_EQ(r.results.size(), 1u);
    EXPECT_EQ(r.results[0].profit, 60000);
    EXPECT_EQ(r.coded, 0);
    ASSERT_TRUE(save_learn_file(r));
    EXPECT_EQ(slurp(dir / "VORN.LRN"), kLearn);

    ASSERT_TRUE(code_file_quiet((dir / "VORN.LRN").c_str(), true));
    std::string coded = slurp(dir / "VORN.LRN");
    ASSERT_NE(coded, kLearn);
    LearnRecord c;
    ASSERT_EQ(load_learn_file(c, dir.path().string()), 1);
    EXPECT_EQ(c.coded, 1);
    EXPECT_EQ(c.levels[0].title, "Level one");
    ASSERT_TRUE(save_learn_file(c));
    EXPECT_EQ(slurp(dir / "VORN.LRN"), coded) << "a coded file stays coded";
    EXPECT_EQ(host.boxes().size(), 0u);
}

TEST(LearnFile, DamagedFilesRefuseTheOpen)
{
    TempDir dir;
    std::string seven = "[FILE_LIST]\n^7^@\n";
    for (int i = 0; i < 7; ++i)
        seven += "^L.VNB^1^t^@\n";
    seven += "$\n[DDP_PROFIT_TABLE]\n^80^0^@\n$\n[RESULTS]\n^0^@\n$\n[END OF FILE]\n";
    std::string six = seven;
    six.replace(six.find("^7^@"), 4, "^6^@");
    struct Case {
        std::string text;
        int answer;
        const char* box;
    };
    std::string long_title = kLearn;
    long_title.replace(long_title.find("Level one"), 9, std::string(41, 'T'));
    std::string many_results = kLearn;
    many_results.replace(many_results.find("^1^@\n^85"), 4, "^7^@");
    std::string many_rows = kLearn;
    many_rows.replace(many_rows.find("^80^2^@"), 7, "^80^16^@");
    const Case cases[] = {
        {seven, -1, "Too many learn levels"},
        {six, 1, nullptr},
        {long_title, -1, "Item num : 3"},
        {many_results, -1, "Item num : 1"},
        {many_rows, -1, "Item num : 2"},
    };
    for (const Case& c : cases) {
        plat::ScriptedHost host;
        if (c.box != nullptr)
            host.Answer(plat::IDOK, "", c.box);
        put(dir / "VORN.LRN", c.text);
        LearnRecord r;
        EXPECT_EQ(load_learn_file(r, dir.path().string()), c.answer) << (c.box ? c.box : "six levels");
        EXPECT_EQ(host.boxes().size(), c.box != nullptr ? 1u : 0u);
        if (c.answer < 0) {
            EXPECT_TRUE(r.levels.empty());
        }
    }
    fs::remove(dir / "VORN.LRN");
    LearnRecord none;
    EXPECT_EQ(load_learn_file(none, dir.path().string()), 0);
}

TEST(LearnFile, LevelsOpenInTurn)
{
    LearnRecord r;
    r.threshold = 80;
    r.levels = {{"A.VNB", "a", 1000, {}}, {"B.VNB", "b", 2000, {}}, {"C.VNB", "c", 3000, {}}};
    EXPECT_TRUE(learn_level_available(r, 0));
    EXPECT_FALSE(learn_level_available(r, 1)) << "no result yet";
    r.results = {{79, 5000, 0}};
    EXPECT_FALSE(learn_level_available(r, 1)) << "grade below the threshold";
    r.results = {{80, 999, 0}};
    EXPECT_FALSE(learn_level_available(r, 1)) << "profit below the target";
    r.results = {{80, 1000, 0}};
    EXPECT_TRUE(learn_level_available(r, 1));
    r.results = {{10, 0, 1}};
    EXPECT_TRUE(learn_level_available(r, 1)) << "passed once stays open";
    EXPECT_FALSE(learn_level_available(r, 2));
}

TEST(LearnFile, ResultPicksTheCommentAndWritesTheFile)
{
    plat::ScriptedHost host;
    TempDir dir;
    put(dir / "VORN.LRN", kLearn);
    LearnRecord r;
    ASSERT_EQ(load_learn_file(r, dir.path().string()), 1);
    struct Case {
        int16_t level;
        int32_t profit;
        float percent;
        const char* comment;
        int32_t passed;
    };
    const Case cases[] = {
        {0, 70000, 79.4f, "one high down", 1},  // low grade: the lower comment; level 0 stays passed
        {0, 49999, 90.0f, "one low up", 1},
        {0, -5, 90.0f, "one low up", 1},        // below the first bound: the first row
        {1, 150000, 80.0f, "two high up", 1},
        {1, 100, 95.0f, "two low up", 1},       // a worse run keeps the pass
    };
    for (const Case& c : cases) {
        r.chosen_level = c.level;
        LearnOutcome o = record_learn_result(r, c.profit, c.percent).value();
        EXPECT_EQ(o.comment, c.comment) << c.profit;
        EXPECT_EQ(r.results[static_cast<size_t>(c.level)].passed, c.passed);
    }
    EXPECT_EQ(r.results.size(), 2u);
    LearnOutcome o = record_learn_result(r, 1234, 87.6f).value();
    EXPECT_EQ(o.profit_text, "1234$");
    EXPECT_EQ(o.grade_text, "88");
    LearnRecord back;
    ASSERT_EQ(load_learn_file(back, dir.path().string()), 1);
    EXPECT_EQ(back.results[1].grade, 88);
    EXPECT_EQ(back.results[1].profit, 1234);
    EXPECT_EQ(back.results[1].passed, 1);
}

TEST(LearnFile, CarriageReturnsNeverReachTheFile)
{
    plat::ScriptedHost host;
    TempDir dir;
    LearnRecord r;
    r.learn_path = dir / "VORN.LRN";
    r.threshold = 80;
    r.rows_per_level = 1;
    r.levels = {{"A.VNB", "a", 10, {{0, "up\r\nhere", "down\r"}}}};
    ASSERT_TRUE(save_learn_file(r));
    EXPECT_THAT(slurp(r.learn_path), HasSubstr("^0^up\nhere^down^@\n"));
    EXPECT_EQ(slurp(r.learn_path).find('\r'), std::string::npos);
}

TEST(LearnFile, FailedSaveKeepsTheOldFile)
{
    plat::ScriptedHost host;
    TempDir dir;
    put(dir / "VORN.LRN", kLearn);
    LearnRecord r;
    ASSERT_EQ(load_learn_file(r, dir.path().string()), 1);
    fs::create_directory(dir / "VORN.LRN.tmp");
    host.Answer(plat::IDOK, "Debug", "errno=");
    r.threshold = 1;
    EXPECT_FALSE(save_learn_file(r));
    EXPECT_EQ(slurp(dir / "VORN.LRN"), kLearn);
    EXPECT_EQ(host.boxes().size(), 1u);
}

TEST(LearnFile, ChoicePaths)
{
    plat::ScriptedHost host;
    TempDir dir;
    put(dir / "VORN.LRN", kLearn);
    put(dir / "LEVEL1.VNB", "x");
    LearnRecord r;
    ASSERT_EQ(load_learn_file(r, dir.path().string()), 1);
    EXPECT_EQ(learn_choice_path(r, 0), dir / "LEVEL1.VNB");
    EXPECT_EQ(r.chosen_level, 0);
    host.Answer(plat::IDOK, "Open Session", "Unable to open file of: Level two", plat::ScriptedHost::Match::Exact);
    EXPECT_EQ(learn_choice_path(r, 1), "");
    host.Answer(plat::IDOK, "Open Session", "Unable to open file of: last session", plat::ScriptedHost::Match::Exact);
    EXPECT_EQ(learn_choice_path(r, 2), "");
    put(dir / "lastlrn.vnb", "x");  // found whatever its case
    EXPECT_EQ(learn_choice_path(r, 2), dir / "LASTLRN.VNB");
    EXPECT_EQ(host.boxes().size(), 2u);
}

TEST(LogFile, RecordsReadBackAsWritten)
{
    plat::ScriptedHost host;
    TempDir dir;
    std::string name = dir / "PLANT.000";
    LogFile log(name);
    ASSERT_EQ(log.WriteHeader("runs/PLANT.PAR", "10/12/26", "77", 0x1234, 0x5678), 1);
    std::string p, d;
    std::vector<LogFields> records, sums;
    LogSummary summary;
    ASSERT_EQ(log.Read(p, d, records, sums, summary), 1);
    EXPECT_EQ(p, "runs/PLANT.PAR");
    EXPECT_EQ(d, "10/12/26");
    EXPECT_TRUE(records.empty());
    EXPECT_THAT(summary.fields, ElementsAre("---", "---", "---", "---", "---"));
    EXPECT_TRUE(summary.items.empty());

    ASSERT_EQ(log.WriteAction({"Mrk", "02/01/95", "Price", "AA", "10", "12"}), 1);
    ASSERT_EQ(log.WritePolicy({"Prd", "03/01/95", "Rule", "M1", "a`b", "c\nd"}), 1);
    ASSERT_EQ(log.WritePartSum({"31/01/95", "1", "2", "3", "100"}), 1);
    ASSERT_EQ(log.WriteSummary({"02/01/96", "5", "6", "7", "81"}, {"AA", "90", "AB", "70"}), 1);
    ASSERT_EQ(log.Read(p, d, records, sums, summary), 1);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_THAT(records[0], ElementsAre("Mrk", "02/01/95", "Price", "AA", "10", "12"));
    EXPECT_THAT(records[1], ElementsAre("Prd", "03/01/95", "Rule", "M1", "a b", "c d")) << "marks blanked";
    ASSERT_EQ(sums.size(), 1u);
    EXPECT_THAT(sums[0], ElementsAre("31/01/95", "1", "2", "3", "100"));
    EXPECT_THAT(summary.fields, ElementsAre("02/01/96", "5", "6", "7", "81"));
    EXPECT_THAT(summary.items, ElementsAre("AA", "90", "AB", "70"));

    // One stored byte per text byte behind the two seed bytes, and scrambled.
    std::string plain = "runs/PLANT.PAR\n10/12/26\n77\n"
                        "`action\nMrk\n02/01/95\nPrice\nAA\n10\n12\n"
                        "`policy\nPrd\n03/01/95\nRule\nM1\na b\nc d\n"
                        "`part_sum\n31/01/95\n1\n2\n3\n100\n"
                        "`summary\n02/01/96\n5\n6\n7\n81\n4\nAA\n90\nAB\n70\n";
    std::string stored = slurp(name);
    EXPECT_EQ(stored.size(), plain.size() + 2);
    EXPECT_EQ(static_cast<uint8_t>(stored[0]), 0x34);
    EXPECT_EQ(static_cast<uint8_t>(stored[1]), 0x78);
    EXPECT_EQ(stored.find("Price"), std::string::npos);
    EXPECT_EQ(host.boxes().size(), 0u);
}

namespace {
// A log file whose plain text is given, scrambled as the writer would.
void write_plain_log(const std::string& path, const std::string& plain)
{
    std::string out = "\x11\x22";
    uint8_t b2 = 0x11, b1 = 0x22;
    for (char c : plain) {
        uint8_t s = scramble_byte(static_cast<uint8_t>(c), b2, b1);
        out += static_cast<char>(s);
        b2 = b1;
        b1 = s;
    }
    put(path, out);
}
}

TEST(LogFile, RecordLimitsAndKinds)
{
    TempDir dir;
    std::string name = dir / "L.000";
    struct Case {
        std::string body;
        int result;
        const char* box;
    };
    // "action\n" + six fields with their line ends: 7 + 1987 + 6 = 2000.
    std::string f1987(1982, 'x');
    std::string exact = "action\n" + f1987 + "\na\nb\nc\nd\ne\n";
    ASSERT_EQ(exact.size(), 2000u);
    const Case cases[] = {
        {exact, 1, nullptr},
        {"action\n" + f1987 + "x\na\nb\nc\nd\ne\n", 0, "Something is wrong with the log file"},
        {"bogus\n1\n", 0, "Error - File Corrupted!!!"},
        {"", 0, "Error in Log File"},
        {"summary\nd\n1\n2\n3\n4\n0\n", 1, nullptr},
    };
    for (const Case& c : cases) {
        plat::ScriptedHost host;
        if (c.box != nullptr)
            host.Answer(plat::IDOK, "", c.box, plat::ScriptedHost::Match::Exact);
        write_plain_log(name, "p\nd\ns\n`" + c.body + (c.body.empty() ? "`action\n" : ""));
        std::string p, d;
        std::vector<LogFields> records, sums;
        LogSummary summary;
        EXPECT_EQ(LogFile(name).Read(p, d, records, sums, summary), c.result) << c.body.substr(0, 20);
        EXPECT_EQ(host.boxes().size(), c.box != nullptr ? 1u : 0u);
    }
}

TEST(LogFile, FailedWritesAnswerZero)
{
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "Error in file system", "");
    LogFile full("/dev/full");
    EXPECT_EQ(full.WriteHeader("p", "d", "1", 1, 2), 0);
    TempDir dir;
    LogFile missing(dir / "no/such/folder/L.000");
    EXPECT_EQ(missing.WriteAction({"a", "b", "c", "d", "e", "f"}), 0);
    EXPECT_EQ(host.boxes().size(), 2u);
}

TEST(RunLog, NamesBesideTheSessionFile)
{
    plat::ScriptedHost host;
    TempDir dir;
    fs::create_directories(dir.path() / "RUNS.v1");
    std::string session = dir / "RUNS.v1/PLANT.PAR";
    EXPECT_EQ(choose_run_log_name(session), dir / "RUNS.v1/PLANT.000");
    put(dir / "RUNS.v1/PLANT.000", "");
    put(dir / "RUNS.v1/PLANT.001", "");
    EXPECT_EQ(choose_run_log_name(session), dir / "RUNS.v1/PLANT.002");
    EXPECT_EQ(best_results_name(session), dir / "RUNS.v1/PLANT.0bs");
    for (int n = 2; n < 100; ++n) {
        char ext[8];
        std::snprintf(ext, sizeof ext, "%03d", n);
        put(dir / (std::string("RUNS.v1/PLANT.") + ext), "");
    }
    EXPECT_EQ(choose_run_log_name(session), "");
}

TEST(RunLog, BestResultsKeepTheHighestProfitAtEightyPercent)
{
    plat::ScriptedHost host;
    TempDir dir;
    std::string session = dir / "P.VNB";
    auto make_log = [&](const std::string& name, const std::string& profit) {
        LogFile log(dir / name);
        log.WriteHeader(session, "d", "1", 1, 2);
        log.WriteSummary({"d", "0", profit, "0", "90"}, {});
        return dir / name;
    };
    std::string best = dir / "P.0bs";
    std::string a = make_log("P.000", "500");
    update_best_results(session, a, 79.9f, 500);
    EXPECT_FALSE(fs::exists(best)) << "below 80: untouched";
    update_best_results(session, a, 80.0f, 500);
    EXPECT_EQ(slurp(best), slurp(a));

    std::string b = make_log("P.001", "500");
    update_best_results(session, b, 95.0f, 500);
    EXPECT_EQ(slurp(best), slurp(a)) << "an equal profit keeps the old best";
    std::string c = make_log("P.002", "501");
    update_best_results(session, c, 95.0f, 501);
    EXPECT_EQ(slurp(best), slurp(c));

    // A failed copy keeps the best file.
    std::string e = make_log("P.003", "900");
    fs::create_directory(dir / "P.0bs.tmp");
    host.Answer(plat::IDOK, "Error", "Couldn't open file");
    update_best_results(session, e, 95.0f, 900);
    EXPECT_EQ(slurp(best), slurp(c));

    put(best, "xx");
    host.Answer(plat::IDOK, "Error", "Error in Best File");
    update_best_results(session, e, 95.0f, 900);
    EXPECT_EQ(slurp(best), "xx");
    EXPECT_EQ(host.boxes().size(), 2u);
}

TEST(RunLog, OneSummaryWhetherTheSessionEndsOrCloses)
{
    TempDir dir;
    std::string path = ScenarioBuilder().set("NEW_FEATURES", "^030195^0^-1^7^@\n$\n").write(dir.path() / "S.VNB");
    SessionDriver driver;
    driver.host().Answer(plat::IDOK, "VORNS", "Simulation over!");
    driver.host().Answer(plat::IDOK, "VORNS", "Logging ON");
    DriverOptions o;
    o.config.timer_enabled = false;
    ASSERT_TRUE(driver.start(path, o));
    driver.view().ToggleLogging();
    std::string log = dir / "S.000";
    ASSERT_TRUE(fs::exists(log));
    driver.view().log_decision("Mrk", "Price", "AA", "1", "2", 1, 1);
    driver.runTicks(1000);
    EXPECT_EQ(driver.state(), RUN_OVER);
    auto size_at_over = fs::file_size(log);
    driver.sessions().CloseSession();
    EXPECT_EQ(fs::file_size(log), size_at_over) << "closing writes no second summary";

    std::string p, d;
    std::vector<LogFields> records, sums;
    LogSummary summary;
    ASSERT_EQ(LogFile(log).Read(p, d, records, sums, summary), 1);
    EXPECT_EQ(p, path);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_THAT(records[0], ElementsAre("Mrk", "02/01/95", "Price", "AA", "1", "2"));
    EXPECT_EQ(summary.fields[0], "03/01/95");
    EXPECT_EQ(summary.fields[4], "100");
    // Reputation 100 and a profit above nothing: the best file is this log.
    EXPECT_EQ(slurp(dir / "S.0bs"), slurp(log));

    // Logging carries over to the next session: a new log, the next number.
    ASSERT_TRUE(driver.start(path, o));
    EXPECT_TRUE(fs::exists(dir / "S.001"));
}

TEST(RunLog, AllNumbersUsedGivesOneBoxAndNoLog)
{
    TempDir dir;
    std::string path = ScenarioBuilder().write(dir.path() / "S.VNB");
    for (int n = 0; n < 100; ++n) {
        char ext[8];
        std::snprintf(ext, sizeof ext, "%03d", n);
        put(dir / (std::string("S.") + ext), "");
    }
    SessionDriver driver;
    driver.host().Answer(plat::IDOK, "VORNS", "Logging ON");
    driver.host().Answer(plat::IDOK, "ERROR", "Error - maximum number of log files reached - erase one!");
    DriverOptions o;
    o.config.timer_enabled = false;
    ASSERT_TRUE(driver.start(path, o));
    driver.view().ToggleLogging();
    driver.view().log_decision("Mrk", "Price", "AA", "1", "2", 1, 1);
    log_part_sum();
    driver.sessions().CloseSession();
    EXPECT_EQ(driver.prompts().size(), 2u);
    EXPECT_EQ(fs::file_size(dir / "S.000"), 0u);
}

TEST(Readers, DamagedLearnAndLogFilesNeverReadPastTheirBounds)
{
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "", "");
    TempDir dir;
    std::string learn_path = dir / "VORN.LRN";
    std::string log_path = dir / "R.000";
    {
        LogFile log(log_path);
        log.WriteHeader("p", "d", "1", 7, 9);
        log.WriteAction({"Mrk", "d", "k", "i", "o", "n"});
        log.WriteSummary({"d", "1", "2", "3", "4"}, {"AA", "90"});
    }
    const std::string good_log = slurp(log_path);
    const std::string good_learn = kLearn;
    plat::Lcg rng(2024);
    int loaded = 0, refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::string learn = good_learn;
        std::string log = good_log;
        int edits = 1 + rng.next() % 4;
        for (int e = 0; e < edits; ++e) {
            size_t at = static_cast<size_t>(rng.next()) % learn.size();
            switch (rng.next() % 3) {
            case 0: learn[at] = "^@$[]0123456789x\n"[rng.next() % 17]; break;
            case 1: learn.erase(at, 1 + rng.next() % 8); break;
            default: learn.insert(at, std::string(1 + rng.next() % 400, 'Z')); break;
            }
            if (learn.empty())
                learn = good_learn;
            if (log.empty())
                continue;
            size_t lat = static_cast<size_t>(rng.next()) % log.size();
            log[lat] = static_cast<char>(rng.next() & 0xFF);
            if (rng.next() % 4 == 0)
                log.resize(lat);
        }
        put(learn_path, learn);
        LearnRecord r;
        int got = load_learn_file(r, dir.path().string());
        (got == 1 ? loaded : refused) += 1;
        if (got == 1) {
            EXPECT_LE(r.levels.size(), 6u);
            EXPECT_LE(r.results.size(), 6u);
            for (const LearnLevel& l : r.levels) {
                EXPECT_LE(l.title.size(), LEARN_TITLE_CHARS);
                EXPECT_LE(l.rows.size(), 15u);
            }
        }
        put(log_path, log);
        std::string p, d;
        std::vector<LogFields> records, sums;
        LogSummary summary;
        LogFile(log_path).Read(p, d, records, sums, summary);
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}
