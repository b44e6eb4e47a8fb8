// Transport: release gates, the shared job cursor, raw-material picks and due order.
#include "support/builder.h"
#include <gtest/gtest.h>

namespace {

struct Yard {
    TestPlant t;
    RMachine* m = nullptr;
    RJob* src = nullptr;
    RJob* dst = nullptr;
    RWork_Order* wo = nullptr;

    Yard()
    {
        m = &t.machine();
        src = &t.job(*m, 1);
        dst = &t.job(*m, 1);
        wo = t.request(*dst, 10).request->wo;
    }
    RTransportJob* raw(uint8_t material, uint16_t qty, int32_t release = -1, RWork_Order* w = nullptr)
    {
        auto j = std::make_unique<RTransportJob>();
        j->source_kind = KIND_RAW;
        j->material_kind = KIND_RAW;
        j->source_index = j->material_index = material;
        j->dest_index = dst->job_number;
        j->quantity = qty;
        j->source_wo = w ? w : wo;
        j->requesting_wo = w ? w : wo;
        j->release = release;
        RTransportJob* p = j.get();
        t.plant.transport->add_job(std::move(j));
        return p;
    }
    RTransportJob* part(uint16_t qty, RWork_Order* w)
    {
        auto j = std::make_unique<RTransportJob>();
        j->source_kind = KIND_JOB;
        j->material_kind = KIND_JOB;
        j->source_index = j->material_index = src->job_number;
        j->dest_index = dst->job_number;
        j->quantity = qty;
        j->source_wo = w;
        j->requesting_wo = w;
        RTransportJob* p = j.get();
        t.plant.transport->add_job(std::move(j));
        return p;
    }
};

} // namespace

TEST(Transport, DeliversInTheMinuteItLoads)
{
    Yard y;
    y.raw(0, 5);
    y.t.plant.transport->on_minute();
    EXPECT_EQ(y.dst->get_input_stock(y.wo, KIND_RAW, 0, 0, 0), 5);
    EXPECT_EQ(y.t.purchasing.stock[0], 95);
    EXPECT_EQ(y.t.purchasing.issued[0], 5);
    EXPECT_TRUE(y.t.plant.transport->Trans_Jobs.empty());
    EXPECT_EQ(y.t.plant.transport->Trans_Units[0]->state, 0);
}

TEST(Transport, RawShortfallTriedOncePerDay)
{
    Yard y;
    y.t.purchasing.stock[1] = 3;
    RTransportJob* j = y.raw(1, 8);
    y.t.plant.transport->on_minute();
    y.t.plant.transport->on_minute();
    EXPECT_EQ(j->quantity, 5);   // loaded what there was
    EXPECT_EQ(y.t.purchasing.unsupplied[1], 5);
    EXPECT_EQ(y.t.purchasing.shortfall_reports, 1);
    y.t.purchasing.stock[1] = 10;
    y.t.plant.transport->on_minute();
    EXPECT_EQ(j->quantity, 5);   // not again today
    y.t.plant.transport->on_new_day();
    y.t.plant.transport->on_minute();
    EXPECT_TRUE(y.t.plant.transport->Trans_Jobs.empty());
    EXPECT_EQ(y.dst->get_input_stock(y.wo, KIND_RAW, 1, 0, 0), 8);
}

TEST(Transport, CompleteWoHoldsEveryJobUntilMaterialSuffices)
{
    Yard y;
    y.t.plant.transport_policy = 1;
    y.t.purchasing.stock[1] = 3;
    y.raw(1, 8);
    y.src->add_material_to_output(y.wo, 0, 0, 4);
    y.part(4, y.wo);
    y.t.plant.transport->on_minute();
    EXPECT_EQ(y.t.plant.transport->Trans_Jobs.size(), 2u);
    EXPECT_EQ(y.t.purchasing.shortfall_reports, 0);
    y.t.plant.transport_policy = 0;
    y.t.plant.transport->on_minute();
    EXPECT_EQ(y.dst->get_input_stock(y.wo, KIND_JOB, y.src->job_number, 0, 0), 4);
}

TEST(Transport, OneCursorForAllUnitsOfAMinute)
{
    Yard y;
    RWork_Order* w1 = y.t.request(*y.dst, 1, 10).request->wo;
    RWork_Order* w2 = y.t.request(*y.dst, 1, 20).request->wo;
    RWork_Order* w3 = y.t.request(*y.dst, 1, 30).request->wo;
    RTransportJob* a = y.part(1, w1);
    RTransportJob* b = y.part(1, w2);
    RTransportJob* c = y.part(1, w3);
    y.src->add_material_to_output(w1, 0, 0, 1);
    // Two units: the first takes A, the second looks at B and C, which have nothing yet.
    y.t.plant.transport->on_minute();
    ASSERT_EQ(y.t.plant.transport->Trans_Jobs.size(), 2u);
    EXPECT_EQ(y.t.plant.transport->Trans_Jobs[0].get(), b);
    EXPECT_EQ(y.t.plant.transport->Trans_Jobs[1].get(), c);
    (void)a;
    // Only C has parts: the first unit passes B and takes C.
    y.src->add_material_to_output(w3, 0, 0, 1);
    y.t.plant.transport->on_minute();
    ASSERT_EQ(y.t.plant.transport->Trans_Jobs.size(), 1u);
    EXPECT_EQ(y.t.plant.transport->Trans_Jobs[0].get(), b);
}

TEST(Transport, HeldNeverTakenFutureReleaseFromItsMinute)
{
    Yard y;
    RTransportJob* held = y.raw(0, 1, -2);
    RTransportJob* later = y.raw(1, 1, 5);
    y.t.host.ticks = 4;
    y.t.plant.transport->on_minute();
    EXPECT_EQ(held->quantity, 1);
    EXPECT_EQ(later->quantity, 1);
    y.t.host.ticks = 5;
    y.t.plant.transport->on_minute();
    ASSERT_EQ(y.t.plant.transport->Trans_Jobs.size(), 1u);
    EXPECT_EQ(y.t.plant.transport->Trans_Jobs[0].get(), held);
    y.t.plant.transport->release_all();
    y.t.plant.transport->on_minute();
    EXPECT_TRUE(y.t.plant.transport->Trans_Jobs.empty());
}

TEST(Transport, DueOrderKeepsArrivalOrderOnTies)
{
    Yard y;
    RWork_Order* late = y.t.request(*y.dst, 1, 900).request->wo;
    RWork_Order* early1 = y.t.request(*y.dst, 1, 100).request->wo;
    RWork_Order* early2 = y.t.request(*y.dst, 1, 100).request->wo;
    RTransportJob* l = y.part(1, late);
    RTransportJob* e1 = y.part(1, early1);
    RTransportJob* e2 = y.part(1, early2);
    RTransportJob* e3 = y.part(2, early1);
    const auto& jobs = y.t.plant.transport->Trans_Jobs;
    ASSERT_EQ(jobs.size(), 4u);
    EXPECT_EQ(jobs[0].get(), e1);
    EXPECT_EQ(jobs[1].get(), e2);
    EXPECT_EQ(jobs[2].get(), e3);
    EXPECT_EQ(jobs[3].get(), l);
}

TEST(Transport, RemovingAWorkOrdersJobsFreesTheirUnits)
{
    Yard y;
    RTransportJob* j = y.raw(0, 3);
    y.t.plant.transport->Trans_Units[1]->state = 2;
    y.t.plant.transport->Trans_Units[1]->job = j;
    y.t.plant.transport->remove_jobs_of(y.wo);
    EXPECT_TRUE(y.t.plant.transport->Trans_Jobs.empty());
    EXPECT_EQ(y.t.plant.transport->Trans_Units[1]->job, nullptr);
    EXPECT_EQ(y.t.plant.transport->Trans_Units[1]->state, 0);
}
