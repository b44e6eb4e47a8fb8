// A product introduced during the run: its state saves with its market pair and loads back into a
// fresh plant, which brings the product in again before reading its record.
#include "support/sim.h"
#include <gtest/gtest.h>

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("fixture text not found: " + from);
    return text.replace(at, from.size(), to);
}

// The sample plus A2, introduced later: J4 on M1 makes it from one XA in 4 minutes a part.
std::string with_a2()
{
    std::string t = sample_plant_text();
    t = replaced(t, "[RJobs]\n^3^@", "[RJobs]\n^4^@");
    t = replaced(t, "[RProducts]", "^0^e^3^4^0^2^@\n^1^@\n^0^0^1^d^3^0^@\n^0^0^@\n$\n[RProducts]");
    t = replaced(t, "[RProducts]\n^2^@", "[RProducts]\n^3^@");
    t = replaced(t, "^U1^2^40^15^10^2^480^1^0^@\n", "^U1^2^40^15^10^2^480^1^0^@\n^A2^3^0^0^0^1^480^0^0^1^@\n");
    return t;
}

struct PlantWithA2 : Sim {
    explicit PlantWithA2(uint32_t seed) : Sim(with_a2(), seed) { marketing.products = 2; }
};

} // namespace

TEST(IntroducedProduct, ActivationPutsProductAndJobIntoTheirPlaces)
{
    PlantWithA2 s(1);
    ASSERT_EQ(s.prod.Products.size(), 2u);
    ASSERT_EQ(s.prod.Jobs[3], nullptr);
    EXPECT_FALSE(s.prod.activate_new_product(0, 0)) << "A1 is not waiting to be introduced";

    ASSERT_TRUE(s.prod.activate_new_product(0, 1));
    ASSERT_EQ(s.prod.Products.size(), 3u);
    const RProduct& a2 = *s.prod.Products[2];
    EXPECT_STREQ(a2.code, "A2");
    EXPECT_EQ(a2.position, 2);
    ASSERT_NE(s.prod.Jobs[3], nullptr);
    const RJob& j4 = *s.prod.Jobs[3];
    EXPECT_EQ(j4.product_position, 2);
    EXPECT_EQ(j4.product, &a2);
    EXPECT_EQ(j4.machine, s.prod.Machines[0].get());
    EXPECT_EQ(j4.role, 2);
    EXPECT_EQ(j4.parent, 2);
    EXPECT_EQ(j4.work_content, 4);
    EXPECT_TRUE(s.prod.New_Jobs.empty());
    EXPECT_EQ(s.prod.find_product(0, 1), 2);
    EXPECT_FALSE(s.prod.activate_new_product(0, 1)) << "a second activation finds nothing waiting";
}

TEST(IntroducedProduct, StateAfterIntroductionLoadsIntoAFreshPlant)
{
    PlantWithA2 s(4);
    s.seed_u1(40);
    s.order_a1(3);
    s.run(480);
    ASSERT_TRUE(s.prod.activate_new_product(0, 1));
    s.prod.add_order(0, 1, 30, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    s.order_a1(2);
    s.run(480 + 60);   // an hour into the next day: A2's work order is on the floor
    bool a2_open = false;
    for (const auto& wo : s.prod.Work_Orders)
        a2_open = a2_open || wo->product_position() == 2;
    ASSERT_TRUE(a2_open);

    const std::vector<uint8_t> saved = s.prod.save_plant();
    PlantWithA2 fresh(9);
    std::string error;
    ASSERT_TRUE(fresh.prod.load_plant(saved, error)) << error;
    ASSERT_EQ(fresh.prod.Products.size(), 3u);
    EXPECT_STREQ(fresh.prod.Products[2]->code, "A2");
    EXPECT_EQ(fresh.prod.save_plant(), saved);

    // Loading over the plant that wrote it keeps the product where it is.
    ASSERT_TRUE(s.prod.load_plant(saved, error)) << error;
    EXPECT_EQ(s.prod.save_plant(), saved);

    // The fresh plant finishes the A2 order it took over.
    const int before = fresh.marketing.delivered;
    fresh.purchasing.stock[0] = 100;
    fresh.purchasing.stock[1] = 100;
    fresh.run(5 * 480);
    int a2_delivered = 0;
    for (const auto& u : fresh.marketing.stock_updates)
        if (u.product == 1)
            a2_delivered += u.units;
    EXPECT_GT(fresh.marketing.delivered, before);
    EXPECT_GT(a2_delivered, 0);
    EXPECT_EQ(fresh.prod.Products[2]->on_order, 0);
}

TEST(IntroducedProduct, APairThatNamesNoWaitingProductIsRefused)
{
    PlantWithA2 s(2);
    ASSERT_TRUE(s.prod.activate_new_product(0, 1));
    const std::vector<uint8_t> saved = s.prod.save_plant();
    {
        SCOPED_TRACE("the plant that loads it has no A2 to introduce");
        Sim plain(sample_plant_text(), 2);
        plain.marketing.products = 2;
        std::string error;
        EXPECT_FALSE(plain.prod.load_plant(saved, error));
        EXPECT_EQ(error, "bad products data");
    }
    {
        SCOPED_TRACE("Marketing no longer knows A2");
        PlantWithA2 other(2);
        other.marketing.products = 1;
        std::string error;
        EXPECT_FALSE(other.prod.load_plant(saved, error));
        EXPECT_EQ(error, "bad products data");
    }
}

TEST(IntroducedProduct, DeactivationPutsItBackWhereItWaited)
{
    PlantWithA2 s(1);
    EXPECT_FALSE(s.prod.deactivate_new_product(0, 1)) << "A2 is not in the plant yet";
    ASSERT_TRUE(s.prod.activate_new_product(0, 1));
    s.prod.add_order(0, 1, 4, ORDER_CUSTOMER, KIND_PRODUCT, 3);   // a free order made while it waited to start
    EXPECT_FALSE(s.prod.deactivate_new_product(0, 0)) << "A1 was never brought in";
    ASSERT_TRUE(s.prod.deactivate_new_product(0, 1));
    ASSERT_EQ(s.prod.Products.size(), 2u);
    ASSERT_EQ(s.prod.New_Products.size(), 1u);
    ASSERT_NE(s.prod.New_Products[0], nullptr);
    EXPECT_STREQ(s.prod.New_Products[0]->code, "A2");
    EXPECT_EQ(s.prod.New_Products[0]->on_order, 0);   // its free order went with its counters
    EXPECT_TRUE(s.prod.prd_orders.empty());
    EXPECT_EQ(s.prod.Jobs[3], nullptr);
    ASSERT_EQ(s.prod.New_Jobs.size(), 1u);
    EXPECT_EQ(s.prod.New_Jobs[0]->product_position, 0);
    EXPECT_EQ(s.prod.find_new_product(0, 1), 0);
    // And it can come in again.
    ASSERT_TRUE(s.prod.activate_new_product(0, 1));
    EXPECT_NE(s.prod.Jobs[3], nullptr);
}

TEST(IntroducedProduct, DeactivationRefusedWhileItHasWork)
{
    PlantWithA2 s(1);
    ASSERT_TRUE(s.prod.activate_new_product(0, 1));
    s.exact_work_orders();
    s.prod.add_order(0, 1, 4, ORDER_CUSTOMER, KIND_PRODUCT, 3);
    s.prod.plan_work_orders(1);
    ASSERT_EQ(s.prod.Work_Orders.size(), 1u);
    EXPECT_FALSE(s.prod.deactivate_new_product(0, 1));
    EXPECT_EQ(s.prod.Products.size(), 3u);
}
