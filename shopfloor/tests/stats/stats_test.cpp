// Moving statistics and empirical distributions.
#include "support/fakes.h"
#include "shopfloor/rrandom.h"
#include "shopfloor/stats.h"
#include <gtest/gtest.h>

TEST(AverageAccumulator, IntegerMeanTruncatesAndEmptyIsMax)
{
    AverageAccumulator a;
    EXPECT_EQ(a.mean(), 2147483647);
    a.add(1);
    a.add(2);
    EXPECT_EQ(a.mean(), 1);
    a.clear();
    a.add(-3);
    a.add(-4);
    EXPECT_EQ(a.mean(), -3);   // toward zero
}

TEST(AverageAccumulator, FloatMeanOfMonthlyShares)
{
    AverageAccumulator a;
    EXPECT_EQ(a.float_mean(), 2147483648.0);
    a.add_float(0.5f);
    a.add_float(0.25f);
    EXPECT_DOUBLE_EQ(a.float_mean(), 0.375);
    ByteWriter w;
    a.save_float(w);
    // 0.75f then count 2: the file's 32-bit sum field carries the float's bits.
    EXPECT_EQ(w.bytes(), (std::vector<uint8_t>{0x00, 0x00, 0x40, 0x3F, 0x02, 0x00}));
}

TEST(StdDeviation, SampleDeviationTruncated)
{
    StdDeviation s;
    s.add(7);
    EXPECT_EQ(s.std_deviation(), 2147483647);
    StdDeviation t;
    t.add(2);
    t.add(4);
    EXPECT_EQ(t.mean(), 3);
    EXPECT_EQ(t.std_deviation(), 1);   // sqrt(2)
    StdDeviation u;
    for (int v : {10, 20, 30, 40})
        u.add(v);
    // mean 25; squares 225+25+25+225 = 500; 500/3 = 166.7 -> 12.9
    EXPECT_EQ(u.std_deviation(), 12);
}

TEST(MoveStdDev, RemovingOldestBlockShiftsEnds)
{
    MoveStdDev m;
    m.add(4);
    m.add(6);
    m.close_block();   // 2
    m.add(1);
    m.add(1);
    m.add(1);
    m.close_block();   // 5
    m.close_block();   // 5, closed empty
    m.remove_oldest_block();
    EXPECT_EQ(m.BlockEndIndexs, (std::vector<uint16_t>{3, 3}));
    EXPECT_EQ(m.acc.count, 3);
    EXPECT_EQ(m.acc.isum, 3);
    EXPECT_EQ(m.Entries, (std::vector<int32_t>{1, 1, 1}));
}

TEST(MoveStdDev, SixMonthWindow)
{
    MoveStdDev m;
    for (int month = 1; month <= 7; ++month) {
        m.add(month * 10);
        m.close_block();
        if (m.block_count() > 6)
            m.remove_oldest_block();
    }
    EXPECT_EQ(m.block_count(), 6);
    EXPECT_EQ(m.Entries.front(), 20);
    EXPECT_EQ(m.mean(), (20 + 30 + 40 + 50 + 60 + 70) / 6);
}

TEST(MoveStdDev, SaveLoadRoundTripAndDamage)
{
    MoveStdDev m;
    m.add(5);
    m.add(-2);
    m.close_block();
    ByteWriter w;
    m.save(w);
    // sum 3, count 2, 2 entries, 1 block end (16-bit end + 2 zero bytes)
    EXPECT_EQ(w.bytes().size(), 6u + 2 + 8 + 2 + 4);
    MoveStdDev back;
    ByteReader r(w.bytes());
    ASSERT_TRUE(back.load(r));
    EXPECT_EQ(back.Entries, m.Entries);
    EXPECT_EQ(back.BlockEndIndexs, m.BlockEndIndexs);

    std::vector<uint8_t> bad = w.bytes();
    bad[6] = 0xFF;   // entry count far beyond the bytes that follow
    MoveStdDev refused;
    ByteReader rb(bad);
    EXPECT_FALSE(refused.load(rb));
}

namespace {
rrandom from_items(std::vector<int> items)
{
    const int n = items[0];
    std::vector<uint16_t> t, v;
    for (int i = 1; i < n; ++i)
        t.push_back(static_cast<uint16_t>(items[static_cast<size_t>(i)]));
    for (int i = n; i < 2 * n; ++i)
        v.push_back(static_cast<uint16_t>(items[static_cast<size_t>(i)]));
    return rrandom(t, v);
}
} // namespace

TEST(RRandom, ThresholdsAreInclusive)
{
    FakeHost host;
    host.scripted_only = true;
    const rrandom one = from_items({1, 5});
    host.script = {0, 32767};
    EXPECT_EQ(one.draw(host), 5);
    EXPECT_EQ(one.draw(host), 5);

    const rrandom three = from_items({3, 10000, 20000, 1, 2, 3});
    struct Case { int r; int value; } cases[] = {{0, 1}, {10000, 1}, {10001, 2}, {20000, 2}, {20001, 3}, {32767, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r);
        host.script = {c.r};
        EXPECT_EQ(three.draw(host), c.value);
    }
}

TEST(RRandom, BreakdownDrawsOnceOrTwice)
{
    FakeHost host;
    host.scripted_only = true;
    const rrandom t = from_items({2, 16000, 30, 90});
    host.script = {32637};
    EXPECT_EQ(t.draw_breakdown(host, 32637, 100), 0);
    EXPECT_EQ(host.draws, 1);
    host.script = {32638, 16001};
    EXPECT_EQ(t.draw_breakdown(host, 32637, 50), 45);   // 90 x 50 / 100
    EXPECT_EQ(host.draws, 3);
    host.script = {32767};
    EXPECT_EQ(t.draw_breakdown(host, 32767, 100), 0);
}

TEST(RRandom, SavedLayoutAndDamagedTable)
{
    const rrandom t = from_items({2, 16000, 30, 90});
    ByteWriter w;
    t.save(w);
    EXPECT_EQ(w.bytes(), (std::vector<uint8_t>{2, 0x80, 0x3E, 0xFF, 0x7F, 30, 0, 90, 0}));
    rrandom back;
    ByteReader r(w.bytes());
    ASSERT_TRUE(back.load(r));
    EXPECT_EQ(back.values, t.values);
    std::vector<uint8_t> zero{0};
    ByteReader rz(zero);
    EXPECT_FALSE(back.load(rz));
}

TEST(CrtGenerator, FakeHostReproducesTheRuntimeSequence)
{
    FakeHost host;
    EXPECT_EQ(host.rng(), 41);
    EXPECT_EQ(host.rng(), 18467);
    EXPECT_EQ(host.rng(), 6334);
}
