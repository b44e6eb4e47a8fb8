// The session's departments and how they reach one another.
#include "vorn/assembly.h"
#include "finance/finance_dept.h"
#include "marketing/marketing_dept.h"
#include "production/production_dept.h"
#include "purchasing/purchasing_dept.h"
#include "vorn/stand_ins.h"

namespace {

// One function per slot: the department's library, or its stand-in.
std::unique_ptr<MarketingDepartment> make_marketing(CVornView& view)
{
    auto m = std::make_unique<MarketingDepartment>(view);
    // The program asks its decisions in the department's windows; a session
    // without a window keeps the headless answers.
    m->decisions_in_windows = true;
    return m;
}
std::unique_ptr<ProductionDepartment> make_production(CVornView& view)
{
    return std::make_unique<ProductionDepartment>(view);
}
std::unique_ptr<PurchasingDepartment> make_purchasing(CVornView& view)
{
    return std::make_unique<PurchasingDepartment>(view);
}
std::unique_ptr<FinanceDepartment> make_finance(CVornView& view) { return std::make_unique<FinanceDepartment>(view); }

} // namespace

Departments assemble_departments(CVornView& view, const PanelMaker& panels)
{
    // Made in the view's order; no constructor calls a neighbour.
    auto marketing = make_marketing(view);
    auto production = make_production(view);
    auto purchasing = make_purchasing(view);
    auto finance = make_finance(view);

    DepartmentLinks links;
    links.marketing = marketing.get();
    links.production = production.get();
    links.purchasing = purchasing.get();
    links.finance = &finance->books();
    marketing->connect(links);
    production->connect(links);
    purchasing->connect(links);
    finance->connect(links);

    Departments d;
    d.marketing = std::move(marketing);
    d.production = std::move(production);
    d.purchasing = std::move(purchasing);
    d.finance = std::move(finance);
    // The scenarios of this program enable no Management department.
    attach_panels(d, panels);
    return d;
}

DepartmentFactory department_assembly(PanelMaker panels)
{
    return [panels = std::move(panels)](CVornView& view) { return assemble_departments(view, panels); };
}
