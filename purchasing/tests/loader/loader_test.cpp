// The scenario's Purchasing sections: the sample's values, the limits, and
// every damaged twin refused whole with its box, no session opened and the
// open one kept.
#include "app/view.h"
#include "purchasing/purchasing_dept.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/scenario.h"
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

const std::string data_dir = bundled_data_copy();

std::string sample_sections()
{
    std::ifstream in(std::string(VORN_SOURCE_DIR) + "/scenarios/purchasing.sec");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The two sections' texts (after their "[name]" lines).
std::pair<std::string, std::string> split(const std::string& all)
{
    const std::string a = "[PURCHASING]\n", b = "[PURCHASING_SUPPLIERS]\n";
    const size_t i = all.find(a), j = all.find(b);
    return {all.substr(i + a.size(), j - i - a.size()), all.substr(j + b.size())};
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("fixture text not found: " + from);
    return text.replace(at, from.size(), to);
}

DriverOptions options()
{
    DriverOptions o;
    o.workdir = data_dir;
    o.config.timer_enabled = false;
    o.script = [](plat::ScriptedHost& h) { h.Answer(1, ""); };   // every box: OK
    o.factory = [](CVornView& view) {
        Departments d = base_departments(view);
        d.purchasing = std::make_unique<PurchasingDepartment>(view);
        return d;
    };
    return o;
}

CPurchasingWnd& engine(SessionDriver& d) { return dynamic_cast<PurchasingDepartment&>(*d.view().purchasing).engine(); }

std::string write(TempDir& dir, const std::string& name, const std::string& materials, const std::string& suppliers)
{
    ScenarioBuilder b;
    b.set("PURCHASING", materials).set("PURCHASING_SUPPLIERS", suppliers);
    return b.write(dir.path() / name);
}

TEST(PurchasingLoader, SampleValues)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(data_dir + "/SAMPLE.VNB", options()));
    CPurchasingWnd& p = engine(d);
    ASSERT_EQ(p.family_count(), 2);
    EXPECT_EQ(p.material_code(0, 0), "XA");
    EXPECT_EQ(p.material_code(0, 1), "XB");
    EXPECT_EQ(p.material_code(1, 0), "YA");
    const RawMaterial& xa = p.material(0, 0);
    // Item 4 is the stock and all three stock histories.
    EXPECT_EQ(xa.stock, 400);
    EXPECT_EQ(xa.opening_stock, 400);
    EXPECT_EQ(xa.stock_year_start, 400);
    EXPECT_EQ(xa.stock_last_year_start, 400);
    EXPECT_EQ(xa.max_level, 800);
    EXPECT_EQ(xa.order_level, 350);
    EXPECT_EQ(xa.red_line_level, 100);
    EXPECT_EQ(xa.price, 6);
    EXPECT_EQ(xa.first_price, 6);
    EXPECT_FLOAT_EQ(xa.average_cost, 6.0f);
    EXPECT_EQ(xa.quoted_lead, 10);
    EXPECT_EQ(xa.id, 0);
    EXPECT_EQ(p.material(1, 0).id, 1000);
    EXPECT_EQ(p.material(0, 1).id, 100);
    EXPECT_FLOAT_EQ(xa.red_line_shares[0], 0.1f);
    EXPECT_FLOAT_EQ(xa.monthly_issues[11], 110.0f);
    EXPECT_EQ(p.material(1, 0).issued_last_month, 30);   // 30.7 truncated
    EXPECT_EQ(p.material(0, 1).default_supplier, 1);
    EXPECT_EQ(p.material(0, 1).price, 9);                // Beta's price, not Alpha's
    EXPECT_EQ(p.families[0].colour, 9);
    EXPECT_EQ(p.supplier_name(0), "Alpha Metals");
    EXPECT_EQ(p.suppliers[1].number, 2);
    EXPECT_EQ(p.suppliers[1].unused25, 25);
    const SupplierPackage& alpha = p.suppliers[0].packages[0];
    EXPECT_EQ(alpha.id, 1);
    EXPECT_EQ(alpha.frequency, FREQUENCY_WEEKLY);
    EXPECT_EQ(alpha.shipment_day, 2);
    EXPECT_EQ(alpha.minimum, 10);
    EXPECT_EQ(alpha.count, 2);
    EXPECT_EQ(alpha.items[1].price, 9);
    const SupplierPackage& beta = p.suppliers[1].packages[0];
    EXPECT_EQ(beta.id, 2);
    EXPECT_EQ(beta.frequency, FREQUENCY_MONTHLY);
    EXPECT_EQ(beta.minimum, 20);
    EXPECT_EQ(p.policy, POLICY_ORDER_LEVEL);
    EXPECT_EQ(p.according_to_qlt, 1);
    EXPECT_EQ(p.replan_weekly, 1);
    EXPECT_EQ(p.levels_shown, 1);
    // The sample's menus keep every report, action and policy.
    d.view().SwitchDepartment(ID_PURCHASING);
    const DepartmentMenus& m = d.view().menu_tables;
    EXPECT_EQ(m.tables[0].count, 12);
    EXPECT_EQ(m.tables[0].texts[12], "U&nsupplied units history");
    EXPECT_EQ(m.tables[1].count, 3);
    EXPECT_EQ(m.tables[2].count, 2);
}

// Families of 4 materials, suppliers of 12 prices and two packages of 12 items.
std::string full_materials(int families, int materials)
{
    std::string t = "^" + std::to_string(families) + "^@\n$\n";
    for (int f = 0; f < families; ++f) {
        t += std::string("^") + static_cast<char>('P' + f) + "^1^" + std::to_string(materials) + "^@\n";
        for (int m = 0; m < materials; ++m)
            t += std::string("^") + static_cast<char>('A' + m) +
                 "^10^10^5^9^4^2^0^0^0^0^0^0^0^1^1^1^1^1^1^1^1^1^1^1^1^@\n";
        t += "$\n";
    }
    return t;
}

std::string full_suppliers(int suppliers, int prices, int packages, int items)
{
    std::string t = "^" + std::to_string(suppliers) + "^@\n$\n";
    for (int s = 0; s < suppliers; ++s) {
        t += "^S" + std::to_string(s) + "^2^2^1^" + std::to_string(prices) + "^" + std::to_string(packages) + "^0^@\n";
        for (int k = 0; k < prices; ++k)
            t += "^" + std::to_string(k / 4 % 3) + "^" + std::to_string(k % 4) + "^3^@\n";
        for (int p = 0; p < packages; ++p) {
            t += "^2^1^1^" + std::to_string(items) + "^@\n";
            for (int k = 0; k < items; ++k)
                t += "^" + std::to_string(k / 4 % 3) + "^" + std::to_string(k % 4) + "^2^@\n";
        }
        t += "$\n";
    }
    return t;
}

TEST(PurchasingLoader, TablesFillToTheirLimitsAndOneMoreIsRefused)
{
    {
        TempDir dir;
        SessionDriver d;
        ASSERT_TRUE(d.start(write(dir, "full.vnb", full_materials(3, 4), full_suppliers(12, 12, 2, 12)), options()));
        EXPECT_EQ(engine(d).total_materials(), 12);
        EXPECT_EQ(engine(d).suppliers[11].packages[1].id, 24);
    }
    struct Case {
        std::string materials, suppliers, limit;
    } cases[] = {
        {full_materials(4, 4), full_suppliers(1, 12, 0, 0), "MAX_RM_FAMILYS"},
        {full_materials(3, 5), full_suppliers(1, 12, 0, 0), "MAX_MATERIALS"},
        {full_materials(3, 4), full_suppliers(13, 12, 0, 0), "MAX_SUPPLIERS"},
        {full_materials(3, 4), full_suppliers(1, 13, 0, 0), "MAX_RM_ITEMS"},
        {full_materials(3, 4), full_suppliers(1, 12, 3, 1), "MAX_PACKAGES_PER_SUPPLIER"},
        {full_materials(3, 4), full_suppliers(1, 12, 1, 13), "MAX_PACKAGE_ITEMS_PER_PACKAGE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        TempDir dir;
        SessionDriver d;
        EXPECT_FALSE(d.start(write(dir, "over.vnb", c.materials, c.suppliers), options()));
        const auto boxes = d.prompts();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes[0], "Application Error|Index Overflow " + c.limit + " - Press ENTER To Terminate");
    }
}

TEST(PurchasingLoader, DamagedTwinsAreRefusedWithTheirBoxAndTheOpenSessionKept)
{
    const auto [materials, suppliers] = split(sample_sections());
    const std::string alpha_header = "^2^1^10^2^@", xa = "^A^60^120^400^800^350^100^0^";
    struct Case {
        const char* what;
        std::string materials, suppliers, box;
    } cases[] = {
        {"frequency 3", materials, replaced(suppliers, alpha_header, "^2^3^10^2^@"),
         "Data Loading Error|\n Data loading error - unable to load ITEM\n\n Section name : PURCHASING_SUPPLIERS\n Topic num : 2\n Record num : 4\n Item num : 2"},
        {"weekday 8", materials, replaced(suppliers, alpha_header, "^8^1^10^2^@"),
         "Data Loading Error|\n Data loading error - unable to load ITEM\n\n Section name : PURCHASING_SUPPLIERS\n Topic num : 2\n Record num : 4\n Item num : 1"},
        {"default supplier 5", replaced(materials, xa, "^A^60^120^400^800^350^100^5^"), suppliers,
         "Application Error|No default supplier for: XA"},
        {"default supplier who does not sell", replaced(materials, xa, "^A^60^120^400^800^350^100^1^"), suppliers,
         "Application Error|No default supplier for: XA"},
        {"item material 4", materials, replaced(suppliers, "^0^0^5^@", "^0^4^5^@"),
         "Data Loading Error|\n Data loading error - unable to load ITEM\n\n Section name : PURCHASING_SUPPLIERS\n Topic num : 2\n Record num : 5\n Item num : 2"},
        {"item of a material not loaded", materials, replaced(suppliers, "^0^0^5^@", "^0^3^5^@"),
         "Data Loading Error|\n Data loading error - unable to load ITEM\n\n Section name : PURCHASING_SUPPLIERS\n Topic num : 2\n Record num : 5\n Item num : 2"},
        {"supplier count 13", materials, replaced(suppliers, "^2^@", "^13^@"),
         "Application Error|Index Overflow MAX_SUPPLIERS - Press ENTER To Terminate"},
        {"colour 16", replaced(materials, "^X^9^2^@", "^X^16^2^@"), suppliers,
         "Data Loading Error|\n Data loading error - unable to load ITEM\n\n Section name : PURCHASING\n Topic num : 2\n Record num : 1\n Item num : 2"},
        {"negative minimum", materials, replaced(suppliers, alpha_header, "^2^1^-1^2^@"),
         "Data Loading Error|\n Data loading error - unable to load ITEM\n\n Section name : PURCHASING_SUPPLIERS\n Topic num : 2\n Record num : 4\n Item num : 3"},
        {"negative shipping", materials, replaced(suppliers, "^Beta Supply^5^5^30^", "^Beta Supply^5^5^-30^"),
         "Data Loading Error|\n Data loading error - unable to load ITEM\n\n Section name : PURCHASING_SUPPLIERS\n Topic num : 3\n Record num : 1\n Item num : 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        SessionDriver d;
        ASSERT_TRUE(d.start(data_dir + "/SAMPLE.VNB", options()));
        CVornView* open = &d.view();
        const size_t seen = d.prompts().size();
        EXPECT_FALSE(d.start(write(dir, "bad.vnb", c.materials, c.suppliers), options()));
        const auto boxes = d.prompts();
        ASSERT_GT(boxes.size(), seen);
        EXPECT_EQ(boxes[seen], c.box);
        EXPECT_EQ(&d.view(), open);
        EXPECT_EQ(engine(d).supplier_name(1), "Beta Supply");
    }
    // A twin that loads: Beta's minimum 0, Alpha shipping on Saturdays.
    TempDir dir;
    SessionDriver d;
    ASSERT_TRUE(d.start(write(dir, "ok.vnb", materials,
                              replaced(replaced(suppliers, "^4^2^20^1^@", "^4^2^0^1^@"), alpha_header, "^7^1^10^2^@")),
                        options()));
    EXPECT_EQ(engine(d).suppliers[1].packages[0].minimum, 0);
    EXPECT_EQ(engine(d).create_contract(1, 0, {0}), "Requested quantites are less than the minimum");
}

TEST(PurchasingLoader, ScenarioWithoutTheSectionsIsRefused)
{
    TempDir dir;
    SessionDriver d;
    ScenarioBuilder b;
    EXPECT_FALSE(d.start(b.write(dir.path() / "none.vnb"), options()));
    const auto boxes = d.prompts();
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes[0].find("Section name : PURCHASING"), std::string::npos);
}

} // namespace
