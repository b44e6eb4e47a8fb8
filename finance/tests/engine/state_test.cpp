// The state file: round trips, old versions and refused records.
#include "fuzz/fuzz_finance.h"
#include "support/fakes.h"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

// Books in the middle of a year: payments pending, machines on order, a
// shut-down waiting, reports filled.
void busy(Books& b)
{
    b.marketing.products[0].material_cost = 30;
    b.marketing.products[0].fg_units = 12;
    b.production.minutes = 50;
    b.run_until({95, 3, 20, 8, 0});
    b.engine.post_cash(1500, 1);
    b.engine.post_cash(-700, 1);
    b.engine.add_machine(-80000, 4);
    b.engine.shutdowns.push_back({{95, 9, 1, 8, 0}, 3});
    b.engine.add_sales(4321);
    b.run_ticks(200);
    b.engine.compute_report('C', b.engine.current);
    b.engine.before_last.v[3] = 77;
    b.engine.previous_eva = -5;
}

// Byte offsets of fields the refusal cases change.
size_t after_deferred(const std::vector<uint8_t>& bytes)
{
    return 2 + 8 * static_cast<size_t>(bytes[0] | bytes[1] << 8);
}

} // namespace

TEST(StateFile, SaveLoadSaveGivesTheSameBytes)
{
    Books a;
    busy(a);
    const std::vector<uint8_t> bytes = a.engine.save_state();
    Books b;
    ASSERT_TRUE(b.engine.load_state(bytes));
    EXPECT_EQ(b.engine.save_state(), bytes);
    EXPECT_EQ(b.engine.cash, a.engine.cash);
    EXPECT_EQ(b.engine.deferred.size(), 2u);
    EXPECT_EQ(b.engine.machine_starts.size(), 1u);
    EXPECT_EQ(b.engine.shutdowns.size(), 1u);
    EXPECT_EQ(b.engine.current, a.engine.current);
    EXPECT_EQ(b.engine.before_last.v[3], 77);
    EXPECT_EQ(std::bit_cast<uint32_t>(b.engine.interest_earned_month),
              std::bit_cast<uint32_t>(a.engine.interest_earned_month));
}

TEST(StateFile, TheScenarioKeepsTheLimitRatesAndTerms)
{
    Books a;
    busy(a);
    FinanceScenario changed = sample_finance();
    changed.limit = -1234;
    changed.positive_rate = 0.5f;
    changed.negative_rate = 0.7f;
    changed.receivable_terms = 7;
    changed.payable_terms = 1;
    changed.cash = 1;
    Books b(changed);
    ASSERT_TRUE(b.engine.load_state(a.engine.save_state()));
    EXPECT_EQ(b.engine.limit, -1234);
    EXPECT_EQ(b.engine.positive_rate, 0.5f);
    EXPECT_EQ(b.engine.negative_rate, 0.7f);
    EXPECT_EQ(b.engine.receivable_terms(), 7);
    EXPECT_EQ(b.engine.payable_terms(), 1);
    EXPECT_EQ(b.engine.opening_cash, 1);
    EXPECT_EQ(b.engine.cash, a.engine.cash);
}

TEST(StateFile, OlderVersionsLeaveOutTheirLaterFields)
{
    Books a;
    busy(a);
    a.engine.depreciation.acc = 10000;
    const std::vector<uint8_t> full = a.engine.save_state();
    // Before BG_1033 the four depreciation parts are not there; before BG_1032 also 'P' and the previous EVA.
    const std::vector<uint8_t> v1032(full.begin(), full.end() - 16);
    const std::vector<uint8_t> v1031(full.begin(), full.end() - 16 - 68);

    Books b;
    b.host.version = "BG_1032";
    b.host.clock_pane.work_days_this_year = 61;
    ASSERT_TRUE(b.engine.load_state(v1032));
    EXPECT_EQ(b.engine.before_last.v[3], 77);
    // This year's parts for today; the accumulated total split 0.2 x 290000 : 0.04 x 100000.
    EXPECT_EQ(b.engine.machine_dep_cur, static_cast<int32_t>(60 * (290000 * 0.2) / 260.0));
    EXPECT_EQ(b.engine.asset_dep_cur, static_cast<int32_t>(60 * (100000 * 0.04) / 260.0));
    EXPECT_EQ(b.engine.machine_dep_acc, static_cast<int32_t>(10000 * (58000.0 / 62000.0)));
    EXPECT_EQ(b.engine.machine_dep_acc + b.engine.asset_dep_acc, 10000);
    EXPECT_FALSE(b.engine.load_state(full));   // bytes left over for that version

    Books c;
    c.host.version = "BG_1020";
    ASSERT_TRUE(c.engine.load_state(v1031));
    EXPECT_EQ(c.engine.before_last, FinanceReport{});
    EXPECT_EQ(c.engine.previous_eva, 0);
}

TEST(StateFile, DamagedRecordsAreRefusedWholeAndChangeNothing)
{
    Books a;
    busy(a);
    const std::vector<uint8_t> good = a.engine.save_state();
    const size_t letter = after_deferred(good);
    // Offsets from the end: the flag (2 bytes before the before-roll report, 'P' report, EVA, 4 parts).
    const size_t tail = 64 + 64 + 4 + 16;
    const size_t flag = good.size() - tail - 2;
    const size_t percent = flag - 4;
    const size_t starts_count = percent - 4 * 64 - 100 - 2;
    const size_t shutdowns_count = starts_count - 120 - 2;
    auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        std::vector<uint8_t> v = good;
        size_t i = at;
        for (uint8_t x : bytes)
            v[i++] = x;
        return v;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> long_file = good;
    long_file.push_back(0);
    const Case cases[] = {
        {"empty", {}},
        {"short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"long", long_file},
        {"deferred count beyond the bytes", with(0, {0xFF, 0x7F})},
        {"negative deferred count", with(0, {0xFF, 0xFF})},
        {"bad letter", with(letter, {'X', 0})},
        {"shut-down count 11", with(shutdowns_count, {11, 0})},
        {"machine count 11", with(starts_count, {11, 0})},
        {"machine count -1", with(starts_count, {0xFF, 0xFF})},
        {"pending machine start on month 13", with(starts_count + 2 + 2, {13, 0})},
        {"flag 2", with(flag, {2, 0})},
        {"work percent 0", with(percent, {0, 0, 0, 0})},
        {"work percent NaN", with(percent, {0, 0, 0xC0, 0x7F})},
        {"work percent negative", with(percent, {0, 0, 0x80, 0xBF})},
        // Figures no company of the game reaches, whose sums would pass 32 bits.
        {"cash past the bound", with(letter + 2, {0x01, 0, 0, 0x08})},
        {"cash below minus the bound", with(letter + 2, {0xFF, 0xFF, 0xFF, 0xF7})},
        {"a report figure past the bound", with(percent - 3 * 64, {0, 0, 0, 0x40})},
        {"a report's depreciation infinite", with(percent - 3 * 64 + 16, {0, 0, 0x80, 0x7F})},
        {"pending amounts past the bound together", with(2, {0, 0, 0, 0x08})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Books b;
        busy(b);
        b.engine.cash = 4242;
        const std::vector<uint8_t> before = b.engine.save_state();
        EXPECT_FALSE(b.engine.load_state(c.bytes));
        EXPECT_EQ(b.engine.save_state(), before);
    }
    // The offsets above name the fields they mean: the untouched record loads.
    Books b;
    EXPECT_TRUE(b.engine.load_state(with(percent, {0, 0, 0, 0x3F})));
    EXPECT_EQ(b.engine.work_percent, 0.5f);
    EXPECT_TRUE(b.engine.load_state(with(letter + 2, {0, 0, 0, 0x08})));
    EXPECT_EQ(b.engine.cash, 1 << 27);
    EXPECT_TRUE(b.engine.load_state(with(percent - 3 * 64, {0x39, 0x30, 0, 0})));
    EXPECT_EQ(b.engine.current.v[0], 12345);
}

// The fuzz target's starting records, as the engine writes them: a fresh
// one and one in the middle of a year.
TEST(StateFile, WritesTheFuzzSeedsWhenAsked)
{
    const char* out = std::getenv("VORN_WRITE_SEEDS");
    if (out == nullptr)
        GTEST_SKIP() << "VORN_WRITE_SEEDS not set";
    Books fresh, mid;
    busy(mid);
    const std::pair<const char*, std::vector<uint8_t>> seeds[] = {{"loads-fresh", fresh.engine.save_state()},
                                                                  {"loads-mid-year", mid.engine.save_state()}};
    for (const auto& [name, bytes] : seeds)
        std::ofstream(std::filesystem::path(out) / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(StateFile, KeptFuzzInputsReadCleanly)
{
    int files = 0;
    const std::filesystem::path dir = std::filesystem::path(VORN_TEST_DATA) / "fuzz" / "fnc";
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        fuzz_finance_state(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        // The seeds named so must stay records the engine takes, or refuses.
        const std::string name = entry.path().filename().string();
        if (name.starts_with("loads-") || name.starts_with("refused-")) {
            Books b;
            EXPECT_EQ(b.engine.load_state(std::vector<uint8_t>(bytes.begin(), bytes.end())),
                      name.starts_with("loads-"));
        }
        ++files;
    }
    EXPECT_GE(files, 5);
}
