// Route collection and the product queries Marketing and Finance read.
#include "support/sim.h"
#include <gtest/gtest.h>

TEST(RouteQueries, CollectedRouteOfTheSample)
{
    Sim s;
    std::vector<RouteInfo> route;
    s.prod.collect_route_info({KIND_PRODUCT, 0, 2}, route, 0, 0, false, nullptr);
    // A1's box in column i, J2 its final job, then J2's inputs: J1 (and its XA), XB, U1 (stocked: not expanded).
    ASSERT_EQ(route.size(), 6u);
    EXPECT_EQ(route[0].item.kind, KIND_PRODUCT);
    EXPECT_EQ(route[0].x, CProductionWnd::route_column_x('i'));
    EXPECT_EQ(route[0].parent_x, -1);
    EXPECT_EQ(route[1].item.kind, KIND_JOB);
    EXPECT_EQ(route[1].item.index, 1);
    EXPECT_EQ(route[1].colour, -1);
    EXPECT_EQ(route[1].x, CProductionWnd::route_column_x('h'));
    EXPECT_EQ(route[1].y, CProductionWnd::route_row_y(1));
    EXPECT_EQ(route[2].item.kind, KIND_JOB);
    EXPECT_EQ(route[2].colour, 14);
    EXPECT_EQ(route[2].parent_x, route[1].x);
    EXPECT_EQ(route[3].item.kind, KIND_RAW);   // J1's XA
    EXPECT_EQ(route[3].item.quantity, 2);
    EXPECT_EQ(route[4].item.kind, KIND_RAW);   // J2's XB, two per part
    EXPECT_EQ(route[4].item.quantity, 4);
    EXPECT_EQ(route[4].colour, 11);
    EXPECT_EQ(route[5].item.kind, KIND_PRODUCT);
    EXPECT_EQ(route[5].colour, 15);

    // Expanded, the common part U1 sits beside the box it feeds, its job J3 and J3's XA under it.
    std::vector<RouteInfo> all;
    s.prod.collect_route_info({KIND_PRODUCT, 0, 1}, all, 0, 0, true, nullptr);
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[6].item.kind, KIND_JOB);
    EXPECT_EQ(all[6].item.index, 2);
    EXPECT_EQ(all[6].x, all[5].x - CProductionWnd::route_column_x('f') + CProductionWnd::route_column_x('e'));
    EXPECT_EQ(all[6].y, all[5].y);
    EXPECT_EQ(all[6].parent_x, all[5].x);
}

TEST(RouteQueries, MaterialCostCountsAndMinutes)
{
    Sim s;
    s.prod.selection[2] = 1;
    // XA at 2.5 (J1) and XB at 6.25 (J2), once per record; U1 is taken from stock and has no market pair.
    EXPECT_FLOAT_EQ(s.prod.get_material_cost_of_product(0, 0), 8.75f);
    EXPECT_EQ(s.prod.selection[2], 0);
    // Expanded: XA in J1 and in J3 counts twice, whatever the quantities; XB once.
    EXPECT_EQ(s.prod.get_num_materials_in_product(0, 0, 0, 0), 2);
    EXPECT_EQ(s.prod.get_num_materials_in_product(0, 0, 0, 1), 1);
    EXPECT_EQ(s.prod.get_num_materials_in_product(0, 3, 0, 0), 0) << "no such product";
    // A bought U1 is the material of its own code.
    s.prod.Products[1]->buy = 1;
    EXPECT_EQ(s.prod.get_num_materials_in_product_ex(0, 0, 0), 1);
    EXPECT_EQ(s.prod.get_process_minutes_per_unit(0, 0), 5 + 40 / 5);   // a bought U1 takes no minutes
    s.prod.Products[1]->buy = 0;
    EXPECT_EQ(s.prod.get_process_minutes_per_unit(0, 0), 5 + 40 / 5 + 3);
    EXPECT_EQ(s.prod.get_product_name(1), "U1");
    EXPECT_EQ(s.prod.get_product_name(7), "");
    EXPECT_EQ(s.prod.can_produce_product(0), 1);
}
