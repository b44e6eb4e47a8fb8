// The bundled sample run headless with the program's own assembly and the
// real Marketing department in its slot.
#pragma once
#include "app/view.h"
#include "finance/finance_dept.h"
#include "marketing/marketing_dept.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/scenario.h"
#include "vorn/assembly.h"
#include "purchasing/purchasing_dept.h"
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace sample_session {

inline const std::string data_dir = bundled_data_copy();
inline const std::string sample = data_dir + "/SAMPLE.VNB";

// The sample's text, and a copy of it with one piece of text replaced.
inline std::string sample_text()
{
    std::ifstream in(sample, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("the sample has no " + from);
    return text.replace(at, from.size(), to);
}

// Until Purchasing and the plant's common-part orders exist, the session
// starts with raw materials in store and the common part U1 made.
class StockedMarketing : public MarketingDepartment {
public:
    using MarketingDepartment::MarketingDepartment;
    void after_load() override
    {
        MarketingDepartment::after_load();
        CProductionWnd& plant = dynamic_cast<ProductionDepartment&>(*view()->production).engine();
        plant.Jobs[2]->add_material_to_output(nullptr, 0, 0, 3000);
    }
};

// The sample's plant with its buffers open, so that work flows through every
// job; the market and the stores keep the scenario's own start.
class PlantMarketing : public MarketingDepartment {
public:
    using MarketingDepartment::MarketingDepartment;
    void after_load() override
    {
        MarketingDepartment::after_load();
        CProductionWnd& plant = dynamic_cast<ProductionDepartment&>(*view()->production).engine();
        for (auto& m : plant.Machines)
            m->buffer_capacity = NO_LIMIT;
    }
};

// The sample with the real departments, Marketing in the given class.
template <class Market = StockedMarketing>
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
        auto market = std::make_unique<Market>(view);
        DepartmentLinks links;
        links.marketing = market.get();
        links.production = dynamic_cast<ProductionDept*>(d.production.get());
        links.purchasing = dynamic_cast<PurchasingDept*>(d.purchasing.get());
        auto& finance = dynamic_cast<FinanceDepartment&>(*d.finance);
        links.finance = &finance.books();
        market->connect(links);
        dynamic_cast<ProductionDepartment&>(*d.production).connect(links);
        finance.connect(links);
        // Purchasing keeps the scenario's stock and orders by its levels.
        dynamic_cast<PurchasingDepartment&>(*d.purchasing).connect(links);
        d.marketing = std::move(market);
        return d;
    };
    return o;
}

// A file of the set without the set's serial (its last four bytes), which
// digests the whole set and so differs whenever any file does.
inline std::vector<uint8_t> state_bytes(const std::string& session, const char* ext)
{
    std::vector<uint8_t> b = read_bytes(session.substr(0, session.size() - 3) + ext);
    if (b.size() >= 4)
        b.resize(b.size() - 4);
    return b;
}

// Where two files first differ, for the failure's message.
inline std::string first_difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    if (i == a.size() && i == b.size())
        return "none";
    return "byte " + std::to_string(i) + " of " + std::to_string(a.size()) + "/" + std::to_string(b.size());
}

inline MarketingDepartment& marketing_of(SessionDriver& d)
{
    auto* m = dynamic_cast<MarketingDepartment*>(d.view().marketing);
    if (m == nullptr)
        throw std::logic_error("the session's Marketing is not the Marketing department");
    return *m;
}

inline ProductionDepartment& production_of(SessionDriver& d)
{
    auto* p = dynamic_cast<ProductionDepartment*>(d.view().production);
    if (p == nullptr)
        throw std::logic_error("the session's Production is not the Production department");
    return *p;
}

inline FinanceDepartment& finance_of(SessionDriver& d)
{
    auto* f = dynamic_cast<FinanceDepartment*>(d.view().finance);
    if (f == nullptr)
        throw std::logic_error("the session's Finance is not the Finance department");
    return *f;
}

} // namespace sample_session
