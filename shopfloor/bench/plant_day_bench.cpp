// One simulated working day (480 minutes) of the sample plant under a steady stream of orders.
#include "support/sim.h"
#include <benchmark/benchmark.h>

static void PlantWorkingDay(benchmark::State& state)
{
    Sim s(sample_plant_text(), 1);
    s.seed_u1(40);
    long ticks = 0;
    for (auto _ : state) {
        // Each morning: customer orders for A1, a top-up of the common part, fresh material.
        s.order_a1(4);
        s.order_a1(2);
        if (s.prod.Products[1]->free_stock_at_final_job(s.prod) < 15)
            s.prod.add_order(-1, 1, 20, ORDER_REORDER, KIND_PRODUCT, 0);
        s.purchasing.stock[0] = 200;
        s.purchasing.stock[1] = 200;
        s.run(480);
        ticks += 480;
    }
    // Seconds of CPU per simulated minute (shown with an SI prefix: 77n is 77 ns).
    state.counters["per_tick"] =
        benchmark::Counter(480, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["ticks"] = static_cast<double>(ticks);
    state.counters["delivered"] = s.marketing.delivered;
}
BENCHMARK(PlantWorkingDay)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
