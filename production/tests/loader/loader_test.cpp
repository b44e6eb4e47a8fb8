// The plant loader on the sample plant and on damaged copies of it.
#include "support/sample_builder.h"
#include "support/sim.h"
#include <gtest/gtest.h>

namespace {

// The sample with one line replaced (the first line equal to `from`, after `after`).
std::string edit(std::string text, const std::string& after, const std::string& from, const std::string& to)
{
    const size_t a = text.find(after);
    const size_t at = text.find(from + "\n", a == std::string::npos ? 0 : a);
    if (at == std::string::npos)
        throw std::logic_error("fixture line not found: " + from);
    text.replace(at, from.size(), to);
    return text;
}

std::string with_line(const std::string& after, const std::string& from, const std::string& to)
{
    return edit(sample_plant_text(), after, from, to);
}

const char* const M1 = "^20^40^7^15^14^0^10^2^100^1^M1^30^1^2^2^50000^3^2^10^@";
const char* const M2 = "^260^40^7^15^14^0^5^1^100^2^M2^45^1^2^2^80000^4^3^5^-1^@";

} // namespace

TEST(PlantLoader, SamplePlant)
{
    Sim s;
    CProductionWnd& p = s.prod;
    ASSERT_EQ(p.Machines.size(), 2u);
    ASSERT_EQ(p.Jobs.size(), 3u);
    ASSERT_EQ(p.Products.size(), 2u);
    const RMachine& m1 = *p.Machines[0];
    EXPECT_STREQ(m1.name, "M1");
    EXPECT_EQ(m1.rule, RULE_FIFO);
    EXPECT_EQ(m1.acceptance, 1);
    EXPECT_EQ(m1.schedule_option, 1);
    EXPECT_EQ(m1.setup_time, 30);
    EXPECT_EQ(m1.batch_size, 10);
    EXPECT_EQ(m1.planning_batch, 10);
    EXPECT_EQ(m1.buffer_capacity, NO_LIMIT);
    EXPECT_EQ(m1.active_units, 1);
    EXPECT_EQ(m1.max_units, 2);
    EXPECT_EQ(m1.Break_Table.thresholds, (std::vector<uint16_t>{20000, 30000, 32767}));
    EXPECT_EQ(m1.Times_Table.values, (std::vector<uint16_t>{90, 100, 115}));
    EXPECT_FLOAT_EQ(m1.production_pct[0], 72.0f);
    EXPECT_FLOAT_EQ(m1.production_pct_last, 72.0f);
    const RMachine& m2 = *p.Machines[1];
    EXPECT_EQ(m2.active_units, 2);
    EXPECT_EQ(m2.buffer_capacity, NO_LIMIT);   // -1: the constraint's buffer takes any work order
    EXPECT_EQ(m2.Units[1]->last_job, 1);
    EXPECT_EQ(m2.Units[1]->current_job, p.Jobs[1].get());

    const RJob& j2 = *p.Jobs[1];
    EXPECT_STREQ(j2.name, "J2");
    EXPECT_EQ(j2.machine, &m2);
    EXPECT_FLOAT_EQ(j2.minutes_per_part, 8.0f);   // 40 per batch / planning batch 5
    ASSERT_EQ(j2.inputs.size(), 3u);
    EXPECT_EQ(j2.inputs[1].quantity, 2);
    EXPECT_EQ(j2.input_positions[2].letter, 'f');
    EXPECT_EQ(p.Jobs[0]->role, 1);
    EXPECT_EQ(p.Jobs[0]->parent, 1);
    EXPECT_EQ(j2.role, 2);
    EXPECT_EQ(p.Jobs[2]->role, 2);
    EXPECT_EQ(p.Jobs[2]->parent, 1);
    // One A1: 40/5 + 1 x 5 (J1) + 1 x 3 (U1's J3) minutes.
    EXPECT_EQ(j2.work_content, 16);

    const RProduct& u1 = *p.Products[1];
    EXPECT_STREQ(u1.code, "U1");
    EXPECT_EQ(u1.stock_policy, 1);
    EXPECT_EQ(u1.on_stock, 1);
    EXPECT_EQ(u1.order_up_to, 40);
    EXPECT_EQ(u1.reorder_point, 15);
    EXPECT_EQ(u1.extra_item, 0);
    EXPECT_EQ(p.Products[0]->stock_policy, 0);

    ASSERT_EQ(p.Raw_Ms.size(), 2u);
    EXPECT_STREQ(p.Raw_Ms[1].code, "XB");
    EXPECT_EQ(p.transport->Trans_Units.size(), 2u);
    EXPECT_EQ(p.release_policy, RELEASE_IMMEDIATE);
    EXPECT_EQ(p.constraint_machine, 1);
    EXPECT_EQ(p.display_frequency, 0);
    EXPECT_EQ(p.min_wo_quantity, 10);
    EXPECT_EQ(p.forecast_horizon_days, 7);
    EXPECT_EQ(p.forecast_range_months, 3);
    EXPECT_EQ(p.mrp_lead_time_minutes, 480);
    EXPECT_EQ(p.product_priority_on, 0);
}

TEST(PlantLoader, GoodVariants)
{
    {
        SCOPED_TRACE("18 items: planning batch = batch, no buffer limit");
        Sim s(with_line("", M2, "^260^40^7^15^14^0^5^1^100^2^M2^45^1^2^2^80000^4^3^@"));
        EXPECT_EQ(s.prod.Machines[1]->planning_batch, 5);
        EXPECT_EQ(s.prod.Machines[1]->buffer_capacity, NO_LIMIT);
    }
    {
        SCOPED_TRACE("a buffer of 0 or more is the limit");
        Sim s(with_line("", M2, "^260^40^7^15^14^0^5^1^100^2^M2^45^1^2^2^80000^4^3^5^100^@"));
        EXPECT_EQ(s.prod.Machines[1]->buffer_capacity, 100);
    }
    {
        SCOPED_TRACE("release 6 -> manual, range 60 -> 2");
        Sim s(with_line("[PRODUCTION]", "^1^1^8^16^8^@", "^6^1^8^16^8^@"));
        EXPECT_EQ(s.prod.release_policy, RELEASE_MANUAL);
        Sim r(with_line("[PRODUCTION]", "^0^1^1^1^10^0^1^7^3^480^@", "^0^1^1^1^10^0^1^7^60^480^@"));
        EXPECT_EQ(r.prod.forecast_range_months, 2);
    }
    {
        SCOPED_TRACE("an introduced product leaves an empty job slot");
        // U1 no longer feeds A1, so it may come later in the run.
        std::string text = with_line("", "^U1^2^40^15^10^2^480^1^0^@", "^U1^2^40^15^10^2^480^1^0^1^@");
        text = edit(text, "^1^h^1^40^1^0^@", "^3^@", "^2^@");
        text = edit(text, "^1^h^1^40^1^0^@", "^2^1^1^f^1^0^@", "");
        Sim s(text);
        EXPECT_EQ(s.prod.Products.size(), 1u);
        ASSERT_EQ(s.prod.New_Products.size(), 1u);
        ASSERT_EQ(s.prod.New_Jobs.size(), 1u);
        EXPECT_EQ(s.prod.Jobs[2], nullptr);
        EXPECT_EQ(s.prod.New_Jobs[0]->job_number, 2);
        EXPECT_EQ(s.prod.New_Jobs[0]->product_position, 0);
    }
}

TEST(PlantLoader, EveryBoundRefusesWithTheItemNamed)
{
    struct Bad {
        const char* why;
        std::string after, from, to;
        std::string section;
        int topic, record, item;
    };
    const Bad cases[] = {
        {"machine count", "", "^2^@", "^256^@", "RMachines", 1, 1, 1},
        {"colour", "", M1, "^20^40^16^15^14^0^10^2^100^1^M1^30^1^2^2^50000^3^2^10^@", "RMachines", 2, 1, 3},
        {"batch 0", "", M1, "^20^40^7^15^14^0^0^2^100^1^M1^30^1^2^2^50000^3^2^10^@", "RMachines", 2, 1, 7},
        {"breakdowns", "", M1, "^20^40^7^15^14^0^10^2521^100^1^M1^30^1^2^2^50000^3^2^10^@", "RMachines", 2, 1, 8},
        {"no active unit", "", M1, "^20^40^7^15^14^0^10^2^100^0^M1^30^1^2^2^50000^3^2^10^@", "RMachines", 2, 1, 10},
        {"five units", "", M1, "^20^40^7^15^14^0^10^2^100^5^M1^30^1^2^2^50000^3^2^10^@", "RMachines", 2, 1, 10},
        {"long name", "", M1, "^20^40^7^15^14^0^10^2^100^1^M1X^30^1^2^2^50000^3^2^10^@", "RMachines", 2, 1, 11},
        {"rule 6", "", M1, "^20^40^7^15^14^0^10^2^100^1^M1^30^6^2^2^50000^3^2^10^@", "RMachines", 2, 1, 13},
        {"acceptance 3", "", M1, "^20^40^7^15^14^0^10^2^100^1^M1^30^1^3^2^50000^3^2^10^@", "RMachines", 2, 1, 14},
        {"schedule option 0", "", M1, "^20^40^7^15^14^0^10^2^100^1^M1^30^1^2^0^50000^3^2^10^@", "RMachines", 2, 1, 15},
        {"delivery months 0", "", M1, "^20^40^7^15^14^0^10^2^100^1^M1^30^1^2^2^50000^0^2^10^@", "RMachines", 2, 1, 17},
        {"max below active", "", M2, "^260^40^7^15^14^0^5^1^100^2^M2^45^1^2^2^80000^4^1^5^-1^@", "RMachines", 3, 1, 18},
        {"max 5", "", M1, "^20^40^7^15^14^0^10^2^100^1^M1^30^1^2^2^50000^3^5^10^@", "RMachines", 2, 1, 18},
        {"planning batch 0", "", M1, "^20^40^7^15^14^0^10^2^100^1^M1^30^1^2^2^50000^3^2^0^@", "RMachines", 2, 1, 19},
        {"table count 0", "", "^3^20000^30000^30^60^120^@", "^0^@", "RMachines", 2, 3, 1},
        {"thresholds descend", "", "^3^20000^30000^30^60^120^@", "^3^30000^20000^30^60^120^@", "RMachines", 2, 3, 3},
        {"threshold too large", "", "^2^16000^30^90^@", "^2^40000^30^90^@", "RMachines", 3, 4, 2},
        {"unit's last job", M1, "^0^@", "^7^@", "RMachines", 2, 2, 1},
        {"job count", "[RJobs]", "^3^@", "^256^@", "RJobs", 1, 1, 1},
        {"time kind", "[RJobs]", "^0^g^2^5^0^0^@", "^2^g^2^5^0^0^@", "RJobs", 2, 1, 1},
        {"job machine", "[RJobs]", "^0^g^2^5^0^0^@", "^0^g^2^5^2^0^@", "RJobs", 2, 1, 5},
        {"job product", "[RJobs]", "^0^g^2^5^0^0^@", "^0^g^2^5^0^2^@", "RJobs", 2, 1, 6},
        {"input kind", "[RJobs]", "^0^0^1^f^2^0^@", "^3^0^1^f^2^0^@", "RJobs", 2, 3, 1},
        {"raw index", "[RJobs]", "^0^0^1^f^2^0^@", "^0^2^1^f^2^0^@", "RJobs", 2, 3, 2},
        {"job index", "[RJobs]", "^1^0^1^g^2^0^@", "^1^3^1^g^2^0^@", "RJobs", 3, 3, 2},
        {"product index", "[RJobs]", "^2^1^1^f^1^0^@", "^2^2^1^f^1^0^@", "RJobs", 3, 5, 2},
        {"input quantity 0", "[RJobs]", "^0^1^2^g^1^0^@", "^0^1^0^g^1^0^@", "RJobs", 3, 4, 3},
        {"route loops", "[RJobs]", "^0^0^1^f^2^0^@", "^1^1^1^f^2^0^@", "RJobs", 3, 3, 2},   // J2 closes the loop
        {"product count", "[RProducts]", "^2^@", "^256^@", "RProducts", 1, 1, 1},
        {"final job", "[RProducts]", "^A1^1^0^0^0^1^480^0^0^@", "^A1^3^0^0^0^1^480^0^0^@", "RProducts", 1, 2, 2},
        {"stock policy 3", "[RProducts]", "^A1^1^0^0^0^1^480^0^0^@", "^A1^1^0^0^0^3^480^0^0^@", "RProducts", 1, 2, 6},
        {"introduced product first", "[RProducts]", "^A1^1^0^0^0^1^480^0^0^@", "^A1^1^0^0^0^1^480^0^0^1^@", "RProducts", 1, 3, 9},   // U1, read after it
        {"transport units 0", "[PRODUCTION]", "^2^@", "^0^@", "PRODUCTION", 1, 1, 1},
        {"planning mode 4", "[PRODUCTION]", "^1^1^@", "^4^1^@", "PRODUCTION", 1, 2, 1},
        {"release 7", "[PRODUCTION]", "^1^1^8^16^8^@", "^7^1^8^16^8^@", "PRODUCTION", 1, 3, 1},
        {"constraint machine", "[PRODUCTION]", "^1^1^8^16^8^@", "^1^2^8^16^8^@", "PRODUCTION", 1, 3, 2},
        {"display 4", "[PRODUCTION]", "^0^1^1^1^10^0^1^7^3^480^@", "^0^4^1^1^10^0^1^7^3^480^@", "PRODUCTION", 1, 4, 2},
        {"horizon 10", "[PRODUCTION]", "^0^1^1^1^10^0^1^7^3^480^@", "^0^1^1^1^10^0^1^10^3^480^@", "PRODUCTION", 1, 4, 8},
        {"missing item", "[PRODUCTION]", "^0^1^1^1^10^0^1^7^3^480^@", "^0^1^1^1^10^0^1^7^3^@", "PRODUCTION", 1, 4, 10},
    };
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.why);
        try {
            Sim s(with_line(b.after, b.from, b.to));
            ADD_FAILURE() << "loaded";
        } catch (const LoadError& e) {
            EXPECT_EQ(e.level, 2);
            EXPECT_EQ(e.section, b.section);
            EXPECT_EQ(e.topic, b.topic);
            EXPECT_EQ(e.record, b.record);
            EXPECT_EQ(e.item, b.item);
        }
    }
}

TEST(PlantLoader, MissingRecordIsARecordError)
{
    // The first machine loses its idle series: the reader must not take the next topic's record.
    const std::string text = with_line("", "^20^20^20^20^20^20^20^20^20^20^20^20^@\n$", "$");
    try {
        Sim s(text);
        ADD_FAILURE() << "loaded";
    } catch (const LoadError& e) {
        EXPECT_EQ(e.level, 1);
        EXPECT_EQ(e.topic, 2);
        EXPECT_EQ(e.record, 7);
    }
}


TEST(PlantLoader, LoadedSampleEqualsTheBuiltOneByteForByte)
{
    Sim loaded;
    Fakes f;
    CProductionWnd built(f.host, f.ui, f.marketing, f.purchasing, f.finance);
    sample::build(built);
    EXPECT_EQ(loaded.prod.save_plant(), built.save_plant());
    // And the two run the same: same seed, same orders, same bytes after a day.
    built.Jobs[2]->add_material_to_output(nullptr, 0, 0, 40);
    loaded.seed_u1(40);
    for (CProductionWnd* p : {&loaded.prod, &built})
        p->add_order(0, 0, 6, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    loaded.prod.daily_step(0);
    built.daily_step(0);
    for (int i = 0; i < 480; ++i) {
        ++loaded.host.ticks;
        ++f.host.ticks;
        loaded.prod.on_minute();
        built.on_minute();
    }
    EXPECT_EQ(loaded.prod.save_plant(), built.save_plant());
    EXPECT_EQ(loaded.marketing.delivered, 10);   // the order topped up to the minimum work order
}
