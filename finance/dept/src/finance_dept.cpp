// The Finance department in a session, over the view's clock and panes.
#include "finance/finance_dept.h"
#include "app/run_log.h"
#include "app/view.h"
#include "foundation/binfile.h"
#include "foundation/datafile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/help.h"
#include "plat/uihost.h"
#include <cmath>
#include <iterator>
#include <vector>

class FinanceDepartment::SessionHost : public FinanceHost {
public:
    explicit SessionHost(CVornView& view) : view_(view) {}
    int32_t tick() const override { return view_.tick_count; }
    CClockPane& clock() override { return view_.clock; }
    int16_t run_state() const override { return view_.run_state; }
    void set_run_state(int16_t state) override { view_.SetRunState(state); }
    bool daily_refresh() const override { return view_.debug_values[2] != 0; }
    int32_t work_days_per_month() const override { return ::work_days_per_month(); }
    bool version_at_least(std::string_view id) const override { return view_.CheckVersionId(id) != 0; }
    int reputation_percent() const override
    {
        return static_cast<int>(CReputationPane::ReputationPercent(view_.reputation.displayed));
    }
    void log_part_sum() override { ::log_part_sum(); }

private:
    CVornView& view_;
};

class FinanceDepartment::SessionUi : public FinanceUi {
public:
    SessionUi(FinanceDepartment& dept, CVornView& view) : dept_(dept), view_(view) {}
    void update_cash() override
    {
        view_.notify_panes(PANE_CASH);
        if (dept_.hooks.cash_changed)
            dept_.hooks.cash_changed();
    }
    void repaint_statement() override
    {
        dept_.Repaint();
        if (dept_.hooks.statement_changed)
            dept_.hooks.statement_changed();
    }
    void repaint_profit_pane() override
    {
        view_.notify_panes(PANE_PROFIT);
        if (dept_.hooks.profit_pane_changed)
            dept_.hooks.profit_pane_changed();
    }
    void beep(int frequency, int ms) override { ::beep(frequency, ms); }
    void box(std::string_view text, std::string_view caption) override
    {
        if (dept_.hooks.message) {
            dept_.hooks.message(text, caption);
            return;
        }
        lang_message_box(0, std::string(text).c_str(), std::string(caption).c_str(), plat::MB_OK);
    }
    bool shown() const override { return view_.current_department == &dept_; }
    void show_finance() override { view_.SwitchDepartment(ID_FINANCE); }
    void daily_points(const double values[7]) override
    {
        if (CSummaryGraphWnd* graph = dept_.summary_graph())
            graph->add_day(values);
        if (dept_.hooks.daily_points)
            dept_.hooks.daily_points(values);
    }
    void month_points(int32_t profit, int ddp) override
    {
        if (CProfitGraphDlg* graph = dept_.profit_graph())
            graph->add_month(profit, ddp);
        if (dept_.hooks.month_points)
            dept_.hooks.month_points(profit, ddp);
    }

private:
    FinanceDepartment& dept_;
    CVornView& view_;
};

FinanceDepartment::FinanceDepartment(CVornView& view)
    : host_(std::make_unique<SessionHost>(view)),
      ui_(std::make_unique<SessionUi>(*this, view)),
      engine_(std::make_unique<CFinanceWnd>(*host_, *ui_))
{
    set_view(&view);
}

FinanceDepartment::~FinanceDepartment() = default;

void FinanceDepartment::connect(const DepartmentLinks& links)
{
    engine_->set_neighbours(links.marketing, links.purchasing, links.production);
    marketing_ = links.marketing;
}

void FinanceDepartment::on_new_year() { engine_->on_new_year(); }
void FinanceDepartment::on_new_month() { engine_->on_new_month(); }

BOOL16 FinanceDepartment::daily_step(int16_t)
{
    engine_->daily_step();
    return 1;
}

void FinanceDepartment::on_minute() { engine_->on_minute(); }

void FinanceDepartment::build_menus(DepartmentMenus& menus)
{
    static const char* const information[] = {
        "&Product cost analysis", "C&ontract cost analysis", "Co&ntracts list (market)",
        "&Current year report", "&Last year report", "&Accumulative report",
        "Al&ternative profit calculation", "&Global performances measurements", "&Marginal profits summary",
        "P&roducts throughput summary", "Contracts t&hroughput summary", "&EVA measurement",
    };
    MenuTable& info = menus.tables[MENU_INFORMATION];
    int i = 0;
    for (; i < static_cast<int>(std::size(information)) && i + 1 < MENU_TABLE_TEXTS; ++i)
        info.texts[static_cast<size_t>(i + 1)] = lang_translate(information[i]);
    info.count = static_cast<int16_t>(i);
    // Finance has no actions or policies: one blank entry each, which does nothing.
    for (int menu : {MENU_ACTIONS, MENU_POLICIES}) {
        menus.tables[static_cast<size_t>(menu)].texts[1] = "          ";
        menus.tables[static_cast<size_t>(menu)].count = 1;
    }
}

// `id` is the option's own id (the frame has translated the menu position).
void FinanceDepartment::on_menu_command(int id)
{
    switch (id) {
    case 304: engine_->show_report('C'); return;
    case 305: engine_->show_report('L'); return;
    case 306: engine_->show_report('A'); return;
    case 307: not_implemented("dlg_financial_status"); return;
    case 301: CProductAnalysisDlg(*engine_, nullptr).DoModal(); return;
    case 302: CContractAnalysisDlg(*engine_, nullptr).DoModal(); return;
    case 308: CGlobalMeasuresDlg(*engine_, nullptr).DoModal(); return;
    case 309: CSummaryGridDlg(CSummaryGridDlg::MARGINAL_PROFIT, *engine_, nullptr).DoModal(); return;
    case 310: CSummaryGridDlg(CSummaryGridDlg::PRODUCT_THROUGHPUT, *engine_, nullptr).DoModal(); return;
    case 311: CSummaryGridDlg(CSummaryGridDlg::CONTRACT_THROUGHPUT, *engine_, nullptr).DoModal(); return;
    case 312: CEvaMeasurementDlg(*engine_, nullptr).DoModal(); return;
    default: break;
    }
    // Marketing's contract list is Marketing's own dialog.
    if (id == 303) {
        if (hooks.menu_command)
            hooks.menu_command(id);
        else if (marketing_ != nullptr)
            marketing_->show_contract_list();
    }
}

void FinanceDepartment::show_help()
{
    help_context = summary_graphs_ ? 17 : 14;
    if (window_handle() != 0)
        plat::WinHelp(window_handle(), "vorn.hlp", plat::HELP_CONTEXT, static_cast<uintptr_t>(help_context));
}

void FinanceDepartment::save_state(BinFile& file)
{
    const std::vector<uint8_t> bytes = engine_->save_state();
    // A short write leaves the file's error set; its Close reports it.
    file.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

bool FinanceDepartment::load_state(BinFile& file)
{
    const int32_t length = file.Length();
    if (length < 0)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (length > 0 && file.Read(bytes.data(), length) != length)
        return false;
    return engine_->load_state(bytes);
}

FinanceScenario load_finance_section(DataFile& file)
{
    std::string text, rec;
    find_section(file, "FINANCE", text, 1);
    FinanceScenario s;
    get_record(1, 1, text, rec);
    s.cash = get_item_int(1, rec);
    s.limit = get_item_int(2, rec);
    s.receivable_terms = static_cast<int16_t>(get_item_int(3, rec));
    s.payable_terms = static_cast<int16_t>(get_item_int(4, rec));
    s.positive_rate = static_cast<float>(get_item_float(5, rec));
    s.negative_rate = static_cast<float>(get_item_float(6, rec));
    s.capital_rate = static_cast<float>(get_item_float(7, rec));
    s.machine_work_percent = static_cast<float>(get_item_float(8, rec));
    // Marketing's unit costs divide by it.
    if (!std::isfinite(s.machine_work_percent) || s.machine_work_percent <= 0)
        data_load_error(LOAD_ITEM);
    get_record(1, 2, text, rec);
    s.direct_labour = get_item_int(1, rec);
    s.production_expenses = get_item_int(2, rec);
    s.marketing_expenses = get_item_int(3, rec);
    s.management_expenses = get_item_int(4, rec);
    s.other_assets = get_item_int(5, rec);
    s.machine_investment = get_item_int(6, rec);
    return s;
}

void FinanceDepartment::load_data()
{
    DataFile* file = view_ != nullptr ? view_->data_file() : nullptr;
    if (file == nullptr)
        return;
    engine_->load_scenario(load_finance_section(*file));
}

void FinanceDepartment::after_load() { engine_->init_accounts(); }

// The view asks before showing; the selected report stays as it is.
void FinanceDepartment::prepare_show() {}

void FinanceDepartment::hold_entered(bool current)
{
    if (current)
        engine_->show_report('C');
    else
        engine_->select_report('C');
}

bool FinanceDepartment::profit_figures(char letter, ProfitFigures& out)
{
    const FinanceReport* r = engine_->stored_report(letter);
    if (r == nullptr)
        return false;
    out.report_first = r->v[0];
    out.with_added_value = engine_->net_profit_of(*r, true, 1);
    out.without_added_value = engine_->net_profit_of(*r, false, 1);
    return true;
}

int32_t FinanceDepartment::net_profit(char letter) { return engine_->get_net_profit(letter, 1); }

int32_t FinanceDepartment::unit_added_value(int16_t family, int16_t product)
{
    const float v = engine_->unit_added_value(family, product);
    return std::isfinite(v) && std::fabs(v) < 2.0e9f ? static_cast<int32_t>(v) : 0;
}

int32_t FinanceDepartment::fg_value(bool with_added_value)
{
    return with_added_value ? engine_->fg_value_with_added_value() : engine_->fg_value_at_material_cost();
}
