// Production's blocks of the policies file: planning, each machine's rule
// and acceptance, release settings; refused blocks change nothing.
#include "support/sim.h"
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

void set_policies(CProductionWnd& p)
{
    p.wo_planning_mode = 1;
    p.wo_planning_parameter = 6;
    p.wo_planning_countdown = 4;
    p.min_wo_demand = 2;
    p.min_wo_quantity = 15;
    p.red_level_policy = 1;
    p.Machines[0]->rule = RULE_EDD;
    p.Machines[0]->acceptance = 0;
    p.Machines[1]->rule = RULE_PRI;
    p.Machines[1]->acceptance = 1;
    p.release_policy = 4;
    p.mrp_lead_time_minutes = 1440;
    p.mrp_option = 1;
    p.assembly_buffer_hours = 6;
    p.shipping_buffer_hours = 12;
    p.constraint_buffer_hours = 20;
    p.contract_factor = 0.5f;
}

std::vector<uint8_t> block_of(const CProductionWnd& p)
{
    RecordWriter out;
    p.write_policies(out);
    return out.bytes();
}

} // namespace

TEST(ProductionPolicies, TheBlocksHoldEverySettingInOrder)
{
    Sim a;
    set_policies(a.prod);
    const std::vector<uint8_t> bytes = block_of(a.prod);
    ASSERT_EQ(bytes.size(), 36u);   // 28 and 4 for each of the two machines
    EXPECT_EQ(a.prod.policies_size(), 36);
    const int16_t expected[] = {1, 6, 4, 2, 15, 1, RULE_EDD, 0, RULE_PRI, 1, 4, 1440, 1, 6, 12, 20};
    for (size_t i = 0; i < std::size(expected); ++i) {
        int16_t v = 0;
        std::memcpy(&v, bytes.data() + 2 * i, 2);
        EXPECT_EQ(v, expected[i]) << "field " << i;
    }
    float factor = 0;
    std::memcpy(&factor, bytes.data() + 32, 4);
    EXPECT_EQ(factor, 0.5f);

    // Read into a plant with the scenario's settings, it gives back the same block.
    Sim b;
    RecordReader in(bytes.data(), bytes.size());
    EXPECT_TRUE(b.prod.read_policies(in));
    EXPECT_EQ(block_of(b.prod), bytes);
    EXPECT_EQ(b.prod.Machines[1]->rule, RULE_PRI);
}

struct BadField {
    size_t offset;
    int16_t value;
    const char* what;
};

// A value the plant cannot run refuses the block whole: nothing read lands.
TEST(ProductionPolicies, ABlockWithAnUnrunnableValueChangesNothing)
{
    Sim a;
    set_policies(a.prod);
    const std::vector<uint8_t> good = block_of(a.prod);
    const BadField cases[] = {
        {0, 3, "planning mode"},       {2, -1, "planning parameter"}, {6, -1, "minimum demand"},
        {8, -5, "minimum quantity"},   {12, 5, "dispatch rule"},      {14, 2, "acceptance"},
        {20, 6, "release policy"},     {24, 2, "MRP option"},         {26, -1, "assembly buffer"},
        {28, -1, "shipping buffer"},   {30, -1, "constraint buffer"},
    };
    for (const BadField& c : cases) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(bytes.data() + c.offset, &c.value, 2);
        Sim b;
        const std::vector<uint8_t> before = block_of(b.prod);
        RecordReader in(bytes.data(), bytes.size());
        EXPECT_FALSE(b.prod.read_policies(in)) << c.what;
        EXPECT_EQ(block_of(b.prod), before) << c.what;
    }
    for (float factor : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -1.0f, 101.0f}) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(bytes.data() + 32, &factor, 4);
        Sim b;
        const std::vector<uint8_t> before = block_of(b.prod);
        RecordReader in(bytes.data(), bytes.size());
        EXPECT_FALSE(b.prod.read_policies(in)) << factor;
        EXPECT_EQ(block_of(b.prod), before) << factor;
    }
    // Cut short: refused likewise.
    Sim b;
    const std::vector<uint8_t> before = block_of(b.prod);
    RecordReader in(good.data(), good.size() - 1);
    EXPECT_FALSE(b.prod.read_policies(in));
    EXPECT_EQ(block_of(b.prod), before);
}

// After a load the release policy is in force again: MRP gives out its lead
// time and schedules as possible; immediate release lets held transport go.
TEST(ProductionPolicies, ApplyingTheReleasePolicyAfterALoad)
{
    Sim s;
    s.prod.release_policy = 1;
    s.prod.mrp_lead_time_minutes = 960;
    for (auto& m : s.prod.Machines)
        m->schedule_option = 0;
    s.prod.apply_release_policy();
    for (auto& m : s.prod.Machines)
        EXPECT_EQ(m->schedule_option, 1);
    for (auto& p : s.prod.Products)
        EXPECT_EQ(p->mrp_lead_time, 960);
    for (auto& j : s.prod.Jobs)
        if (j)
            for (const RInp& in : j->inputs)
                if (in.kind != KIND_RAW) {
                    EXPECT_EQ(in.lead, 960);
                }
}
