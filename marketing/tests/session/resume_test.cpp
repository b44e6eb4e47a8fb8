// A run saved and resumed goes on as the unbroken one, with the plant making
// what the market orders: every file of the set the same at the end.
#include "sample_session.h"
#include <gtest/gtest.h>

using namespace sample_session;

namespace {

// The sample as it stands: the market and the stores keep the scenario's own start.
DriverOptions plant_options(int32_t seed) { return market_options<MarketingDepartment>(seed); }

const char* const set_files[] = {"MGR", "PRC", "MRK", "PRD", "FNC"};

} // namespace

// Two sessions open in one process, the unbroken run and the resumed one,
// each run a day in turn: every file of each day's save is the same.
TEST(MarketingResume, ResumedRunWithThePlantRunningSavesTheUnbrokenRunsFiles)
{
    TempDir dir;
    const int seed = 11;
    SessionDriver whole;
    ASSERT_TRUE(whole.start(sample, plant_options(seed)));
    whole.runTicks(20 * 480 + 130);
    ASSERT_TRUE(whole.save(dir / "mid.vnb"));
    SessionDriver resumed;
    ASSERT_TRUE(resumed.start(dir / "mid.vnb", plant_options(seed)));
    ASSERT_TRUE(resumed.view().resumed());
    // What finished goods took in: in stock or shipped since the start.
    const auto made = [&] {
        const CMarketingWnd& m = marketing_of(whole).engine();
        int32_t units = 0;
        for (int f = 0; f < m.family_count(); ++f)
            for (int p = 0; p < m.product_count(f); ++p)
                units += m.product(f, p).stock + m.product(f, p).shipped_run;
        return units;
    };
    const int32_t made_at_save = made();
    for (int day = 1; day <= 40 && !HasFailure(); ++day) {
        whole.runTicks(480);
        resumed.runTicks(480);
        const std::string a = dir / ("w" + std::to_string(day) + ".vnb");
        const std::string b = dir / ("r" + std::to_string(day) + ".vnb");
        ASSERT_TRUE(whole.save(a));
        ASSERT_TRUE(resumed.save(b));
        for (const char* ext : set_files) {
            const std::vector<uint8_t> got = state_bytes(b, ext), want = state_bytes(a, ext);
            EXPECT_TRUE(got == want) << ext << " after day " << day << ": " << first_difference(got, want);
        }
    }
    // The plant delivered finished goods through the days compared.
    EXPECT_GT(made(), made_at_save);
}
