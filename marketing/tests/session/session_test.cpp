// The Marketing department with the real Production department in whole
// sessions over the bundled sample.
#include "app/view.h"
#include "marketing/marketing_dept.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "support/driver.h"
#include "support/scenario.h"
#include "vorn/assembly.h"
#include "vorn/stand_ins.h"
#include <gtest/gtest.h>

namespace {

const std::string data_dir = std::string(VORN_BINARY_DIR) + "/data";
const std::string sample = data_dir + "/SAMPLE.VNB";

// Until Purchasing and the plant's common-part orders exist, the session
// starts with raw materials in store and the common part U1 made; the
// plant's constraint buffer takes work orders of any size.
class StockedMarketing : public MarketingDepartment {
public:
    using MarketingDepartment::MarketingDepartment;
    void after_load() override
    {
        MarketingDepartment::after_load();
        CProductionWnd& plant = dynamic_cast<ProductionDepartment&>(*view()->production).engine();
        plant.Jobs[2]->add_material_to_output(nullptr, 0, 0, 3000);
        for (auto& m : plant.Machines)
            m->buffer_capacity = NO_LIMIT;
    }
};

DriverOptions market_options(int32_t seed)
{
    DriverOptions o;
    o.seed = seed;
    o.workdir = data_dir;
    o.config.timer_enabled = false;
    // The placeholders and the boxes of the run: OK.
    o.script = [](plat::ScriptedHost& h) { h.Answer(1, ""); };
    o.factory = [](CVornView& view) {
        Departments d = assemble_departments(view, {});
        auto market = std::make_unique<StockedMarketing>(view);
        DepartmentLinks links;
        links.marketing = market.get();
        links.production = dynamic_cast<ProductionDept*>(d.production.get());
        links.purchasing = dynamic_cast<PurchasingDept*>(d.purchasing.get());
        links.finance = dynamic_cast<FinanceDept*>(d.finance.get());
        market->connect(links);
        dynamic_cast<ProductionDepartment&>(*d.production).connect(links);
        auto& store = dynamic_cast<StandInPurchasing&>(*d.purchasing);
        store.stock[0] = 30000;
        store.stock[1] = 30000;
        d.marketing = std::move(market);
        return d;
    };
    return o;
}

MarketingDepartment& marketing_of(SessionDriver& d)
{
    auto* m = dynamic_cast<MarketingDepartment*>(d.view().marketing);
    if (m == nullptr)
        throw std::logic_error("the session's Marketing is not the Marketing department");
    return *m;
}

ProductionDepartment& production_of(SessionDriver& d)
{
    auto* p = dynamic_cast<ProductionDepartment*>(d.view().production);
    if (p == nullptr)
        throw std::logic_error("the session's Production is not the Production department");
    return *p;
}

} // namespace

TEST(MarketingSession, SampleRunsAMonth)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, market_options(1)));
    MarketingDepartment& m = marketing_of(d);
    ProductionDepartment& p = production_of(d);
    d.runTicks(21 * 480);
    const CMarketingWnd& e = m.engine();
    EXPECT_EQ(e.family_count(), 1);
    EXPECT_GT(e.product(0, 0).shipped_run, 0);
    std::cout << "ticks " << d.tickCount() << " state " << d.state() << " date " << d.clock().current.day << "/" << d.clock().current.month
              << " stock " << e.product(0, 0).stock << " firm " << e.product(0, 0).firm_orders << " open " << e.open_orders.size()
              << " loaded " << e.loaded.size() << " sold " << e.product(0,0).sold_month << " lost " << e.product(0,0).lost_units_today
              << " orders " << p.engine().prd_orders.size() << " wo " << p.engine().Work_Orders.size() << " onorder " << p.engine().get_on_order_units(0,0) << " q0 " << p.engine().prd_orders[0]->quantity << " unsup " << 0 << "\n";
    for (auto& mc : p.engine().Machines) {
        std::cout << "machine " << mc->name << " waiting " << mc->Waiting_WOs_Data.size() << " units";
        for (auto& u : mc->Units) std::cout << " " << u->state << "/" << u->minutes_left;
        std::cout << " prod min " << mc->minutes[0] << " idle " << mc->minutes[3] << "\n";
        for (auto& w : mc->Waiting_WOs_Data) std::cout << "   " << w->job->name << " q " << w->request->quantity << " st " << w->request->started << " parts " << w->job->parts_from_inputs(w->request->wo, w->request->x, w->request->y) << "\n";
    }
    for (size_t j = 0; j < p.engine().Jobs.size(); ++j) std::cout << "job " << j << " " << p.engine().Jobs[j]->name << " out " << p.engine().Jobs[j]->get_output_qty(nullptr, 0, 0) << "\n";
    std::cout << "trans jobs " << p.engine().transport->Trans_Jobs.size() << " units " << p.engine().transport->Trans_Units.size() << "\n";
    for (auto& j : p.engine().transport->Trans_Jobs) { std::cout << " job kind " << j->source_kind << " q " << j->quantity << " rel " << j->release << " mk " << j->material_kind << " idx " << int(j->material_index) << "\n"; break; }
    for (const std::string& s : d.prompts())
        std::cout << s << "\n";
}
