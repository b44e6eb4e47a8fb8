// The one assembly of the departments: what stands in each slot, how
// Production reaches its neighbours, and panels only when the windowed
// program asks for them.
#include "app/sessions.h"
#include "finance/finance_dept.h"
#include "marketing/marketing_dept.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "vorn/assembly.h"
#include "vorn/stand_ins.h"
#include "purchasing/purchasing_dept.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

const std::string sample = std::string(VORN_BINARY_DIR) + "/data/SAMPLE.VNB";

// A panel that only records what its department asks of it.
struct PanelLog {
    std::vector<std::string> calls;
};
class RecordingPanel : public DepartmentWindow {
public:
    RecordingPanel(PanelLog& log, CDepartmentWnd& d) : log_(log), dept_(d) {}
    void show(bool shown) override { log_.calls.push_back(dept_.name() + (shown ? " show" : " hide")); }
    void show_link_button(int show, int kind) override
    {
        log_.calls.push_back(dept_.name() + " link " + std::to_string(show) + " " + std::to_string(kind));
    }
    plat::HWND handle() const override { return 0; }

private:
    PanelLog& log_;
    CDepartmentWnd& dept_;
};

} // namespace

TEST(Assembly, EverySlotHoldsItsDepartmentOrItsStandIn)
{
    CVornView view(Configuration{});
    Departments d = assemble_departments(view, {});
    ASSERT_NE(dynamic_cast<MarketingDepartment*>(d.marketing.get()), nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(d.production.get());
    ASSERT_NE(production, nullptr);
    ASSERT_NE(dynamic_cast<PurchasingDepartment*>(d.purchasing.get()), nullptr);
    auto* finance = dynamic_cast<FinanceDepartment*>(d.finance.get());
    ASSERT_NE(finance, nullptr);
    EXPECT_EQ(d.management, nullptr);

    // Production calls the departments in the session's slots, no copies of its own.
    const CProductionWnd& plant = production->engine();
    EXPECT_EQ(plant.marketing, dynamic_cast<MarketingDept*>(d.marketing.get()));
    EXPECT_EQ(plant.purchasing, dynamic_cast<PurchasingDept*>(d.purchasing.get()));
    EXPECT_EQ(plant.finance, &finance->books());

    // Headless: no department has a panel.
    for (CDepartmentWnd* slot : {d.marketing.get(), d.production.get(), d.purchasing.get(), d.finance.get()})
        EXPECT_EQ(slot->window(), nullptr);
}

TEST(Assembly, ThePanelMakerPutsAPanelBehindEveryDepartment)
{
    CVornView view(Configuration{});
    PanelLog log;
    Departments d = assemble_departments(
        view, [&](CDepartmentWnd& dept) { return std::make_unique<RecordingPanel>(log, dept); });
    std::vector<CDepartmentWnd*> slots{d.marketing.get(), d.production.get(), d.purchasing.get(), d.finance.get()};
    const char* names[] = {"Marketing View", "Production View", "Purchasing View", "Finance View"};
    for (size_t i = 0; i < slots.size(); ++i) {
        ASSERT_NE(slots[i]->window(), nullptr) << names[i];
        slots[i]->set_names(names[i], names[i]);
    }
    // Showing, hiding and the link buttons reach each department's own panel.
    for (CDepartmentWnd* slot : slots) {
        slot->show();
        slot->ShowLinkButton(1, 2);
        slot->hide();
    }
    const std::vector<std::string> expected{
        "Marketing View show",  "Marketing View link 1 2",  "Marketing View hide",
        "Production View show", "Production View link 1 2", "Production View hide",
        "Purchasing View show", "Purchasing View link 1 2", "Purchasing View hide",
        "Finance View show",    "Finance View link 1 2",    "Finance View hide"};
    EXPECT_EQ(log.calls, expected);
}

// The sample runs a day on the assembled departments: the plant of the
// scenario behind the Production slot, the stand-ins answering it.
TEST(Assembly, TheSampleRunsOnTheAssembledDepartments)
{
    SessionManager sessions(Configuration{.timer_enabled = false}, department_assembly());
    StartOptions options;
    options.seed = 3;
    ASSERT_TRUE(sessions.StartSession(sample, options));
    CVornView& v = *sessions.view();
    auto* production = dynamic_cast<ProductionDepartment*>(v.production);
    ASSERT_NE(production, nullptr);
    EXPECT_EQ(production->engine().Machines.size(), 2u);
    CPurchasingWnd& purchasing = dynamic_cast<PurchasingDepartment&>(*v.purchasing).engine();
    purchasing.material(0, 0).stock = purchasing.material(0, 1).stock = 100;
    // Marketing's first day may have ordered already: the order adds to it.
    const int16_t before = production->get_on_order_units(0, 0);
    production->add_order(0, 0, 2, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    EXPECT_EQ(production->get_on_order_units(0, 0), before + 2);
    const int32_t first = v.tick_count;
    for (int i = 0; i < 2 * 480; ++i)
        v.SimulationTick(RESTART_NONE);
    EXPECT_EQ(v.tick_count, first + 2 * 480);
    // The materials left Purchasing's store for the shop floor.
    EXPECT_GT(purchasing.material(0, 0).issued_this_month + purchasing.material(0, 1).issued_this_month, 0);
}
