#include "foundation/randtables.h"
#include "support/support.h"
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "plat/crt.h"

namespace {

// The test's own session generator, installed as the program's source.
plat::Lcg g_session;
int session_draw() { return g_session.next(); }

struct InstalledSource {
    InstalledSource() { set_random_source(session_draw); }
    ~InstalledSource() { set_random_source(nullptr); }
};

void seed(uint32_t s)
{
    set_random_source(session_draw);
    g_session.seed(s);
}

} // namespace

TEST(Generator, KnownDraws)
{
    plat::crt_srand(1);
    std::vector<int> one;
    for (int i = 0; i < 6; ++i)
        one.push_back(plat::crt_rand());
    EXPECT_EQ(one, (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724}));
    plat::crt_srand(0);
    std::vector<int> zero;
    for (int i = 0; i < 3; ++i)
        zero.push_back(plat::crt_rand());
    EXPECT_EQ(zero, (std::vector<int>{38, 7719, 21238}));
}

TEST(RandTables, DrawsLandInTheirIntervals)
{
    ASSERT_EQ(load_random_tables(test_data("tables/five_tables.tbl").c_str()), 1);
    // Seeds chosen by their first draw (worked out from the generator's
    // formula by hand: state 1 gives 41).
    seed(1);
    EXPECT_EQ(draw_rand_table("three"), 1.0);  // 41 < 10000
    EXPECT_EQ(draw_rand_table("THREE"), 2.0);  // 18467 in 10000..29999
    EXPECT_EQ(draw_rand_table("Three"), 1.0);  // 6334
    EXPECT_EQ(draw_rand_table("Three"), 2.0);  // 26500
}

namespace {

// The seed whose first draw is d: the state after one step must be d << 16,
// so the seed is (d << 16 - 2531011) / 214013 modulo 2^32.
uint32_t seed_for_first_draw(int d)
{
    uint32_t inverse = 214013u;  // Newton's step doubles the correct low bits
    for (int k = 0; k < 5; ++k)
        inverse *= 2u - 214013u * inverse;
    return ((static_cast<uint32_t>(d) << 16) - 2531011u) * inverse;
}

} // namespace

TEST(RandTables, BoundaryDrawsAgainstTheThresholds)
{
    RandTable t{};
    std::snprintf(t.name, sizeof t.name, "OPEN_ORDER_UNITS");
    const int16_t thresholds[] = {10000, 30000, 32767};
    const int16_t values[] = {1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        t.threshold[i] = thresholds[i];
        t.value[i] = values[i];
    }
    t.count = 3;
    rand_tables_clear();
    ASSERT_TRUE(rand_tables_add(t));
    struct Case {
        int draw;
        double want;
    };
    for (Case c : {Case{0, 1.0}, Case{9999, 1.0}, Case{10000, 2.0}, Case{32766, 3.0}, Case{32767, 3.0}}) {
        SCOPED_TRACE(c.draw);
        seed(seed_for_first_draw(c.draw));
        EXPECT_EQ(draw_rand_table("open_order_units"), c.want);
        seed(seed_for_first_draw(c.draw));
        EXPECT_EQ(program_rand(), c.draw);  // the seed really gives that draw
    }
}

TEST(RandTables, TableAndDirectDrawsShareTheInstalledState)
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
    InstalledSource installed;
    g_session.seed(1);
    EXPECT_EQ(program_rand(), 41);
    EXPECT_EQ(draw_rand_table("STEPS"), 3.0);  // 18467
    EXPECT_EQ(g_session.next(), 6334);         // the source's own state moved on
    EXPECT_EQ(draw_rand_table("STEPS"), 4.0);  // 26500
    EXPECT_EQ(program_rand(), 19169);
    // Another source takes over at once: the table follows it.
    plat::Lcg other(2);
    set_random_source(nullptr);
    static plat::Lcg* g_other = nullptr;
    g_other = &other;
    set_random_source([] { return g_other->next(); });
    EXPECT_EQ(program_rand(), plat::Lcg(2).next());
}

TEST(RandTablesDeath, ADrawWithoutASessionIsFatal)
{
    set_random_source(nullptr);
    EXPECT_EXIT(program_rand(), testing::ExitedWithCode(1), "Random draw without a session");
    set_random_source([] { return -1; });
    EXPECT_EXIT(program_rand(), testing::ExitedWithCode(1), "Random draw without a session");
    set_random_source(nullptr);
}

TEST(RandTables, BadFilesLoadNothing)
{
    for (const char* name : {"tables/entries_21.tbl", "tables/no_bracket.tbl", "tables/count_mismatch.tbl",
                             "tables/out_of_int16.tbl", "tables/cut_short.tbl", "tables/missing.tbl"}) {
        SCOPED_TRACE(name);
        rand_tables_clear();
        EXPECT_EQ(load_random_tables(test_data(name).c_str()), 0);
        EXPECT_EQ(rand_tables_count(), 0);
    }
}

TEST(RandTables, FiveTablesLoad)
{
    ASSERT_EQ(load_random_tables(test_data("tables/five_tables.tbl").c_str()), 1);
    ASSERT_EQ(rand_tables_count(), 5);
    const RandTable* t = rand_table_at(0);
    EXPECT_STREQ(t->name, "Three");
    EXPECT_EQ(t->count, 3);
    EXPECT_EQ(t->threshold[1], 30000);
    EXPECT_EQ(t->value[2], 3);
}

TEST(RandTables, TheBundledFileLoads)
{
    const std::string path = std::string(FOUNDATION_RESOURCES) + "/bgtables.tbl";
    ASSERT_EQ(load_random_tables(path.c_str()), 1);
    std::vector<std::string> names;
    for (int16_t i = 0; i < rand_tables_count(); ++i) {
        const RandTable* t = rand_table_at(i);
        names.push_back(t->name);
        EXPECT_EQ(t->threshold[t->count - 1], 32767) << t->name;
        for (int k = 1; k < t->count; ++k)
            EXPECT_LT(t->threshold[k - 1], t->threshold[k]) << t->name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"OPEN_ORDER_UNITS", "JOBSHOP_FACTORS", "SUPPLIER_PLT"}));
}

TEST(RandTablesDeath, SixthTableAndUnknownNameAreFatal)
{
    EXPECT_EXIT(load_random_tables(test_data("tables/six_tables.tbl").c_str()), testing::ExitedWithCode(1),
                "Index Overflow MAX_TABLES - Press ENTER To Terminate");
    ASSERT_EQ(load_random_tables(test_data("tables/five_tables.tbl").c_str()), 1);
    EXPECT_EXIT(draw_rand_table("NOPE"), testing::ExitedWithCode(1), "Rand table not found NOPE");
}
