// Jobs: batch sizes, downstream room, stock and output records, forgetting a work order.
#include "support/builder.h"
#include <gtest/gtest.h>

TEST(Job, BatchSizesByTimeKind)
{
    TestPlant t;
    RMachine& m = t.machine({.batch = 10});
    RJob& per_part = t.job(m, 2, 0);
    RJob& per_batch = t.job(m, 40, 1);
    Waiting_WO_Data& e1 = t.request(per_part, 25);
    Waiting_WO_Data& e2 = t.request(per_batch, 25);
    EXPECT_EQ(per_part.start_batch(*e1.request), 1);
    std::vector<int> batches;
    while (int n = per_batch.start_batch(*e2.request))
        batches.push_back(n);
    EXPECT_EQ(batches, (std::vector<int>{10, 10, 5}));
    EXPECT_EQ(e2.request->started, 25);
}

TEST(Job, DownstreamRoomCountsBufferProgressAndOutput)
{
    TestPlant t;
    RMachine& m1 = t.machine();
    RMachine& m2 = t.machine({.units = 1, .buffer = 20});
    RJob& feeder = t.job(m1, 1, 1);
    RJob& consumer = t.job(m2, 1);
    t.input(consumer, KIND_JOB, feeder.job_number, 1);
    m2.buffer_count = 12;
    m2.Units[0]->batch = 3;
    m2.finished_material = 4;
    EXPECT_EQ(feeder.downstream_room(), 1);
    Waiting_WO_Data& e = t.request(feeder, 10);
    EXPECT_EQ(feeder.start_batch(*e.request), 1);
    EXPECT_EQ(consumer.downstream_room(), NO_LIMIT);   // a final job has no buffer downstream
}

TEST(Job, StockRecordsComeAndGoWithTheBufferCount)
{
    TestPlant t;
    RMachine& m = t.machine();
    RJob& j = t.job(m, 1);
    RWork_Order* wo = t.request(j, 1).request->wo;
    j.add_input_stock(wo, KIND_RAW, 1, 5, 3, 4);
    EXPECT_EQ(j.get_input_stock(wo, KIND_RAW, 1, 3, 4), 5);
    EXPECT_EQ(j.get_input_stock(wo, KIND_RAW, 1, 0, 0), 0);
    j.add_input_stock(wo, KIND_RAW, 1, -5, 3, 4);
    EXPECT_TRUE(j.input_stock.empty());
    EXPECT_EQ(m.buffer_count, 0);
    // Taking from a record that is not there takes nothing; taking more than a record holds
    // takes what it holds. The count stays the sum of the records.
    j.add_input_stock(nullptr, KIND_RAW, 0, -2, 0, 0);
    EXPECT_TRUE(j.input_stock.empty());
    EXPECT_EQ(m.buffer_count, 0);
    j.add_input_stock(wo, KIND_RAW, 1, 5, 3, 4);
    j.add_input_stock(nullptr, KIND_RAW, 1, 2, 0, 0);
    j.add_input_stock(wo, KIND_RAW, 1, -8, 3, 4);
    EXPECT_EQ(j.get_input_stock(wo, KIND_RAW, 1, 3, 4), 0);
    EXPECT_EQ(j.get_input_stock(nullptr, KIND_RAW, 1, 0, 0), 2);
    EXPECT_EQ(m.buffer_count, 2);
    j.add_input_stock(nullptr, KIND_RAW, 1, -2, 0, 0);
    EXPECT_TRUE(j.input_stock.empty());
    EXPECT_EQ(m.buffer_count, 0);

    j.add_material_to_output(wo, 0, 0, 3);
    j.add_material_to_output(wo, 0, 0, -3);
    EXPECT_TRUE(j.outputs.empty());
    EXPECT_EQ(m.finished_material, 0);
}

TEST(Job, SurplusOfABatchBecomesFreeStock)
{
    TestPlant t;
    RMachine& m = t.machine({.batch = 10});
    RJob& j = t.job(m, 40, 1);
    Waiting_WO_Data& e = t.request(j, 10);
    RWork_Order* wo = e.request->wo;
    m.Units[0]->last_job = j.job_number;
    t.host.script.assign(10, 0);
    ASSERT_EQ(m.start_on_unit(0, &e), 1);
    ASSERT_EQ(m.Units[0]->batch, 10);
    e.request->quantity = 7;   // the order shrank while the batch ran
    j.finish_batch(0, 10);
    EXPECT_EQ(j.get_output_qty(wo, 0, 0), 7);
    EXPECT_EQ(j.get_output_qty(nullptr, 0, 0), 3);
    EXPECT_TRUE(j.requests.empty());
    EXPECT_TRUE(m.Waiting_WOs_Data.empty());
}

TEST(Job, ForgettingAWorkOrderRekeysItsStockAsFree)
{
    TestPlant t;
    RMachine& m = t.machine();
    RJob& j = t.job(m, 1);
    t.input(j, KIND_RAW, 0, 1);
    Waiting_WO_Data& e = t.request(j, 5);
    RWork_Order* wo = e.request->wo;
    j.add_input_stock(nullptr, KIND_RAW, 0, 2, 0, 0);
    j.add_input_stock(wo, KIND_RAW, 0, 3, 25, 30);
    j.add_material_to_output(nullptr, 0, 0, 1);
    j.add_material_to_output(wo, 25, 30, 4);
    const int32_t buffer = m.buffer_count, finished = m.finished_material;
    j.forget_work_order(wo);
    EXPECT_EQ(j.input_stock.size(), 1u);
    EXPECT_EQ(j.get_input_stock(nullptr, KIND_RAW, 0, 0, 0), 5);
    EXPECT_EQ(j.outputs.size(), 1u);
    EXPECT_EQ(j.get_output_qty(nullptr, 0, 0), 5);
    EXPECT_EQ(m.buffer_count, buffer);
    EXPECT_EQ(m.finished_material, finished);
    EXPECT_TRUE(j.requests.empty());
    EXPECT_TRUE(m.Waiting_WOs_Data.empty());
}

TEST(Job, CancelledBatchGivesItsInputsBack)
{
    TestPlant t;
    RMachine& m = t.machine({.batch = 4});
    RJob& j = t.job(m, 10, 1);
    t.input(j, KIND_RAW, 1, 2);
    Waiting_WO_Data& e = t.request(j, 4);
    RWork_Order* wo = e.request->wo;
    j.add_input_stock(wo, KIND_RAW, 1, 8, 0, 0);
    m.Units[0]->last_job = j.job_number;
    t.host.script.assign(5, 0);
    ASSERT_EQ(m.start_on_unit(0, &e), 1);
    EXPECT_EQ(j.get_input_stock(wo, KIND_RAW, 1, 0, 0), 0);
    j.cancel_units_on(e.request);
    EXPECT_EQ(j.get_input_stock(wo, KIND_RAW, 1, 0, 0), 8);
    EXPECT_EQ(e.request->started, 0);
    EXPECT_EQ(m.Units[0]->state, UNIT_IDLE);
    EXPECT_EQ(m.batch_in_progress(), 0);
}
