// The Production state file against its kept bytes, and the kept fuzz inputs
// replayed: "loads-*" must load (and save to what loads again), "refused-*" not.
#include "fuzz/plant_fuzz.h"
#include "support/sim.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

const fs::path kGolden = fs::path(VORN_TEST_DATA) / "golden" / "mid_run.prd";
const fs::path kCorpus = fs::path(VORN_TEST_DATA) / "fuzz" / "plant";

std::vector<uint8_t> read_all(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_all(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A plant mid-run: settings off their defaults, a free order, work orders on
// the floor, U1 held, a planned extra shift.
std::vector<uint8_t> mid_run_bytes()
{
    Sim s;
    CProductionWnd& p = s.prod;
    s.purchasing.stock[0] = s.purchasing.stock[1] = 500;
    s.seed_u1(12);
    s.order_a1(12);
    s.order_a1(30);
    s.prod.daily_step(0);
    s.prod.add_order(0, 0, 3, ORDER_STOCK, KIND_PRODUCT, 4);
    s.run(150);
    p.wo_planning_mode = 1;
    p.wo_planning_parameter = 6;
    p.wo_planning_countdown = 6;
    p.mrp_lead_time_minutes = 960;
    p.shipping_buffer_hours = 12;
    p.constraint_buffer_hours = 20;
    p.min_wo_quantity = 7;
    p.batch_size = 25;
    p.extra_shift_start = SimStamp{99, 3, 2, 8, 0};
    p.extra_shift_end = SimStamp{99, 3, 5, 16, 0};
    p.contract_factor = 1.5f;
    return p.save_state_bytes();
}

} // namespace

TEST(GoldenFile, MidRunPlantSavesTheKeptBytes)
{
    const std::vector<uint8_t> now = mid_run_bytes();
    // Set VORN_WRITE_GOLDEN=1 to keep a deliberate change of the layout.
    if (std::getenv("VORN_WRITE_GOLDEN") != nullptr) {
        write_all(kGolden, now);
        write_all(kCorpus / "loads-golden", now);
        std::vector<uint8_t> bad = now;
        bad.resize(now.size() / 2);
        write_all(kCorpus / "refused-cut-in-the-plant", bad);
        bad = now;
        bad[0] = 0;
        write_all(kCorpus / "refused-head-marker", bad);
        bad = now;
        bad[4] = 6;
        write_all(kCorpus / "refused-release-policy-6", bad);
    }
    const std::vector<uint8_t> kept = read_all(kGolden);
    ASSERT_FALSE(kept.empty()) << kGolden;
    EXPECT_EQ(now, kept);
    // The kept file opens and saves to the same bytes.
    Sim fresh;
    std::string error;
    size_t used = 0;
    ASSERT_TRUE(fresh.prod.load_state_bytes(kept, error, &used)) << error;
    EXPECT_EQ(used, kept.size());
    EXPECT_EQ(fresh.prod.save_state_bytes(), kept);
    EXPECT_FALSE(fresh.prod.Work_Orders.empty());
}

TEST(GoldenFile, KeptFuzzInputsAreReadAsNamed)
{
    int loads = 0, refused = 0;
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        const std::string name = entry.path().filename().string();
        const std::vector<uint8_t> bytes = read_all(entry.path());
        std::string error;
        const bool loaded = fuzz_plant_file(bytes.data(), bytes.size(), &error);
        if (name.rfind("loads-", 0) == 0) {
            EXPECT_TRUE(loaded) << name << ": " << error;
            ++loads;
        } else if (name.rfind("refused-", 0) == 0) {
            EXPECT_FALSE(loaded) << name;
            EXPECT_FALSE(error.empty()) << name;
            ++refused;
        }
    }
    EXPECT_GE(loads, 1);
    EXPECT_GE(refused, 1);
}
