// The Marketing department in a session: the engine's ports over the view,
// the scenario file and the Production department.
#include "marketing/marketing_dept.h"
#include "box_tabs.h"
#include "marketing/market_datafile.h"
#include "app/view.h"
#include "foundation/binfile.h"
#include "foundation/datafile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/randtables.h"
#include "plat/uihost.h"
#include "marketing/contract_dialogs.h"
#include "uikit/chart_wnd.h"
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>


class MarketingDepartment::SessionHost : public MarketHost {
public:
    explicit SessionHost(CVornView& view) : view_(view) {}
    SimDateTime today() const override { return view_.clock.current; }
    SimDateTime start_date() const override { return view_.clock.start_date; }
    SimDateTime add_work_days(const SimDateTime& date, int n) const override { return view_.clock.AddWorkDays(date, n); }
    void skip_to_work_day(SimDateTime& date) const override { view_.clock.SkipToWorkDay(date); }
    int count_work_days(const SimDateTime& end, const SimDateTime& start) const override
    {
        return ::count_work_days(end, start);
    }
    int month_work_days() const override { return view_.clock.shift_mode == SHIFT_THREE ? 30 : 22; }
    int work_hours_per_day() const override { return view_.clock.work_hours_per_day(); }
    int work_days_this_month() const override { return view_.clock.work_days_this_month; }
    int work_days_last_month() const override { return view_.clock.work_days_last_month; }
    int years_elapsed() const override { return view_.clock.years_elapsed; }
    int32_t tick_count() const override { return view_.tick_count; }
    bool is_new_month() override { return view_.clock.IsNewMonth() != 0; }
    bool is_new_year() override { return view_.clock.IsNewYear() != 0; }
    bool job_shop() const override { return view_.job_shop != 0; }
    bool in_hold() const override { return view_.run_state == RUN_HOLD; }
    bool management_feature() const override { return view_.management_feature != 0; }
    bool pause_events() const override { return view_.pause_events != 0; }
    float reputation_ratio() const override { return view_.reputation.current_figure; }
    void add_reputation_value(float ratio) override
    {
        view_.reputation.current_figure = ratio;
        view_.reputation.AddPeriodValue(ratio);
    }
    int rand() override { return view_.rand(); }
    double draw_table(const char* name) override { return draw_rand_table(name); }
    void enter_hold() override { view_.EnterHold(HELD_MARKETING); }
    bool version_at_least(std::string_view id) const override { return view_.CheckVersionId(id) != 0; }
    bool oldest_version() const override { return view_.IsOldestStateVersion() != 0; }
    void log_decision(const char* key, const std::string& item, const std::string& old_value,
                      const std::string& new_value) override
    {
        view_.log_decision("Mrk", key, item, old_value, new_value, 0, 0);
    }

private:
    CVornView& view_;
};

// Headless answers unless a window or a test set the department's hooks.
class MarketingDepartment::SessionUi : public MarketingUi {
public:
    explicit SessionUi(MarketingDepartment& dept) : dept_(dept) {}
    int new_contracts(const std::vector<ContractRef>& list, std::vector<bool>& accepted) override
    {
        if (dept_.new_contracts_hook)
            return dept_.new_contracts_hook(list, accepted);
        if (dept_.decides_in_windows())
            return dept_.window_new_contracts(list, accepted);
        return MarketingUi::new_contracts(list, accepted);
    }
    int contract_end(const ContractRef& ref) override
    {
        if (dept_.contract_end_hook)
            return dept_.contract_end_hook(ref);
        return dept_.decides_in_windows() ? dept_.window_contract_end(ref) : MarketingUi::contract_end(ref);
    }
    int new_product(int entry) override
    {
        if (dept_.new_product_hook)
            return dept_.new_product_hook(entry);
        return dept_.decides_in_windows() ? dept_.window_new_product(entry) : MarketingUi::new_product(entry);
    }
    void contract_canceled(const ContractRef& ref, const char* text) override
    {
        if (!dept_.message_hook && dept_.decides_in_windows()) {
            dept_.window_contract_canceled(ref, text);
            return;
        }
        message(text, "Contract Canceled");
    }
    void lost_orders(const std::vector<std::string>& rows) override
    {
        if (dept_.decides_in_windows())
            dept_.window_popup(153, rows);
    }
    void expired_inventory(const std::vector<std::string>& rows) override
    {
        if (dept_.decides_in_windows())
            dept_.window_popup(209, rows);
    }
    void message(const char* text, const char* caption) override
    {
        if (dept_.message_hook) {
            dept_.message_hook(text, caption);
            return;
        }
        lang_message_box(0, text, caption, plat::MB_OK);
    }
    void not_implemented(const char* caption) override
    {
        if (dept_.message_hook) {
            dept_.message_hook("Not implemented yet", caption);
            return;
        }
        ::not_implemented(caption);
    }
    // The window repaints what changed at its next paint; headless nothing.
    void redraw() override { dept_.Repaint(); }
    void beep(int count) override
    {
        for (int i = 0; i < count; ++i)
            plat::MessageBeep(plat::BEEP_SIMPLE);
    }

private:
    MarketingDepartment& dept_;
};

MarketingDepartment::MarketingDepartment(CVornView& view)
    : host_(std::make_unique<SessionHost>(view)),
      ui_(std::make_unique<SessionUi>(*this)),
      engine_(std::make_unique<CMarketingWnd>(*host_, *ui_))
{
    set_view(&view);
}

MarketingDepartment::~MarketingDepartment() = default;

MarketingUi& MarketingDepartment::ui_port() { return *ui_; }
MarketHost& MarketingDepartment::host_port() { return *host_; }

void MarketingDepartment::connect(const DepartmentLinks& links)
{
    engine_->connect(*links.purchasing, *links.finance, links.production);
    production_link_ = links.production;
    purchasing_link_ = links.purchasing;
}

void MarketingDepartment::on_new_year() { engine_->on_new_year(); }
void MarketingDepartment::on_new_month() { engine_->on_new_month(); }
BOOL16 MarketingDepartment::daily_step(int16_t restart_code)
{
    const bool done = engine_->daily_step(restart_code);
    sync_graph();
    return done ? 1 : 0;
}

void MarketingDepartment::resume_step()
{
    const int16_t stage = static_cast<int16_t>(engine_->restart_stage);
    if (stage != RESTART_NEW_CONTRACTS && stage != RESTART_CONTRACT_LOST && stage != RESTART_NEW_PRODUCTS)
        return;
    engine_->resume_step();
    // Decided: the day goes on from the held step with the stage as restart code.
    if (engine_->restart_stage == 0 && view_ != nullptr)
        view_->SimulationTick(stage);
}

BOOL16 MarketingDepartment::policies_consistent() { return engine_->policies_consistent() ? 1 : 0; }

// The block is taken whole from the file even when its values are refused,
// so that the departments after it read their own.
void MarketingDepartment::read_policies(RecordReader& in)
{
    std::vector<uint8_t> block(static_cast<size_t>(engine_->policies_size()));
    in.raw(block.data(), block.size());
    RecordReader mine(block.data(), block.size());
    if (!engine_->read_policies(mine))
        ui_->message("The Marketing settings of the policies file are out of range; they were not loaded.",
                     "Load Policies File");
}

void MarketingDepartment::build_menus(DepartmentMenus& menus)
{
    static const char* const information[] = {
        "&Product information", "&Contracts list", "Master pr&oduction schedule", "&Red line statistics",
        "Sales summary &table", "S&ales summary graph", "&Forecast Ctrl+F", "Contracted c&lients",
        "D&ue shipments", "&Monthly sales", "Mont&hly ordered units", "&Inventory by days of sales",
        "I&nventory losses summary", "Units sal&es summary", "Throu&ghput summary graph", "Sh&ipment list",
        "Updated &sales", "Advertising &Expenses", "Ad&vertising Plan", "&Lost orders summary",
    };
    static const char* const actions[] = {
        "&Promotion", "&Order to produce", "&Cancel product", "&Add export line", "&Advertising",
    };
    static const char* const policies[] = {
        "&Product parameters", "&Marketing-production links", "&Export shipments policy",
    };
    auto fill = [](MenuTable& table, const char* const* texts, int n) {
        int i = 0;
        for (; i < n && i + 1 < MENU_TABLE_TEXTS; ++i)
            table.texts[static_cast<size_t>(i + 1)] = lang_translate(texts[i]);
        table.count = static_cast<int16_t>(i);
    };
    fill(menus.tables[MENU_INFORMATION], information, static_cast<int>(std::size(information)));
    fill(menus.tables[MENU_ACTIONS], actions, static_cast<int>(std::size(actions)));
    fill(menus.tables[MENU_POLICIES], policies, static_cast<int>(std::size(policies)));
}

namespace {
// The engine reads from a buffer: the rest of the file, after which the file
// stands right behind what the engine took.
template <class Read>
bool read_part(BinFile& file, Read read)
{
    const int32_t at = file.Tell();
    const int32_t length = file.Length();
    if (at < 0 || length < at)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(length - at));
    if (!bytes.empty() && file.Read(bytes.data(), static_cast<int32_t>(bytes.size())) != static_cast<int32_t>(bytes.size()))
        return false;
    RecordReader in(bytes.data(), bytes.size());
    const bool ok = read(in) && !in.failed();
    return file.SeekTo(at + static_cast<int32_t>(in.position())) && ok;
}
} // namespace

void MarketingDepartment::save_state(BinFile& file)
{
    RecordWriter out;
    engine_->save_state(out);
    // A short write leaves the file's error set; its Close reports it and the save is refused.
    file.WriteRecord(out);
}

bool MarketingDepartment::load_state(BinFile& file)
{
    if (!read_part(file, [&](RecordReader& in) { return engine_->load_state(in); }))
        return false;
    rebuild_export_tabs();
    return true;
}

void MarketingDepartment::save_tail(BinFile& file)
{
    RecordWriter out;
    engine_->save_tail(out);
    file.WriteRecord(out);
}

bool MarketingDepartment::load_tail(BinFile& file)
{
    return read_part(file, [&](RecordReader& in) { return engine_->load_tail(in); });
}

void MarketingDepartment::load_data()
{
    DataFile* file = view_ != nullptr ? view_->data_file() : nullptr;
    if (file == nullptr)
        return;
    DataFileMarketData data(*file);
    engine_->load_market_data(data);
}

void MarketingDepartment::after_load() { engine_->compute_throughput_history(); }

void MarketingDepartment::product_marks(std::vector<ProductMark>& out)
{
    out.clear();
    const CMarketingWnd& m = *engine_;
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p)
            out.push_back({std::string{m.family_letter(f), m.product_letter(f, p)}, m.product(f, p).weighted_penalty});
}

void MarketingDepartment::finished_goods(std::vector<FinishedGoodsRow>& out)
{
    out.clear();
    const CMarketingWnd& m = *engine_;
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p) {
            FinishedGoodsRow row;
            row.family = static_cast<int16_t>(f);
            row.product = static_cast<int16_t>(p);
            row.code = std::string{m.family_letter(f), m.product_letter(f, p)};
            row.retired = m.is_product_retired(f, p);
            row.inventory = m.get_inventory(f, p);
            row.material_cost = m.get_material_cost(f, p);
            out.push_back(row);
        }
}

float MarketingDepartment::smoothing_factor() { return engine_->smoothing; }

int16_t MarketingDepartment::get_inventory(int f, int p)
{
    return engine_->product_exists(f, p) ? engine_->get_inventory(f, p) : 0;
}

const int16_t* MarketingDepartment::supply_days(int f, int p, int& length)
{
    length = 0;
    if (!engine_->product_exists(f, p))
        return nullptr;
    const std::vector<uint16_t>& t = engine_->product(f, p).supply_days;
    length = static_cast<int>(t.size());
    return reinterpret_cast<const int16_t*>(t.data());
}

int16_t MarketingDepartment::red_line_level(int f, int p)
{
    return engine_->product_exists(f, p) ? static_cast<int16_t>(engine_->product(f, p).red_level) : 0;
}

void MarketingDepartment::set_red_line_level(int f, int p, int16_t units)
{
    if (engine_->product_exists(f, p) && units >= 0)
        engine_->product(f, p).red_level = static_cast<uint16_t>(units);
}

int16_t MarketingDepartment::red_line_time(int f, int p)
{
    return engine_->product_exists(f, p) ? static_cast<int16_t>(engine_->product(f, p).red_line_time) : 0;
}

void MarketingDepartment::set_red_line_time(int f, int p, int16_t days)
{
    if (engine_->product_exists(f, p) && days >= 0)
        engine_->product(f, p).red_line_time = static_cast<uint16_t>(days);
}

int16_t MarketingDepartment::get_quoted_lead_time(int f, int p)
{
    return engine_->product_exists(f, p) ? static_cast<int16_t>(engine_->product(f, p).qlt) : 0;
}

bool MarketingDepartment::is_product_retired(int f, int p)
{
    return engine_->product_exists(f, p) && engine_->is_product_retired(f, p);
}

// Contract deliveries due in the horizon and the backlog, the orders expected
// over it, less the stock, plus the stock the link mode keeps.
int32_t MarketingDepartment::product_forecast(int f, int p, int days)
{
    if (!engine_->product_exists(f, p))
        return 0;
    const CMarketingWnd& m = *engine_;
    const MarketProduct& pr = m.product(f, p);
    double units = static_cast<double>(m.get_contract_units_due(f, p, days, false)) + m.get_expected_orders(f, p, days) -
                   m.get_inventory(f, p);
    units += m.link_mode() == LINK_MAKE_TO_STOCK ? 0.9 * pr.order_level : static_cast<double>(pr.safety_stock);
    return units > 0 ? static_cast<int32_t>(units) : 0;
}

int16_t MarketingDepartment::safety_stock(int f, int p)
{
    return engine_->product_exists(f, p) ? static_cast<int16_t>(engine_->product(f, p).safety_stock) : 0;
}

// The market keeps no quantity beyond the safety stock.
int16_t MarketingDepartment::further_quantity(int, int) { return 0; }

int16_t MarketingDepartment::production_plan(int f, int p, int month)
{
    if (!engine_->product_exists(f, p) || month < 0 || month > 5)
        return 0;
    return static_cast<int16_t>(engine_->product(f, p).plan[static_cast<size_t>(month)]);
}

void MarketingDepartment::set_production_plan_month0(int f, int p, int16_t units)
{
    if (engine_->product_exists(f, p))
        engine_->product(f, p).plan[0] = static_cast<uint16_t>(units < 0 ? 0 : units);
}

void MarketingDepartment::get_monthly_requirements(int f, int p, int16_t out[6])
{
    for (int i = 0; i < 6; ++i)
        out[i] = 0;
    if (engine_->product_exists(f, p))
        engine_->get_monthly_requirements(f, p, out);
}

// The forecast window is not built: its placeholder.
int MarketingDepartment::dlg_forecast(int)
{
    ui_->not_implemented("dlg_forecast");
    return 0;
}

namespace {
// The engine's unsigned sums as Finance books them: past the books' range they stay at its top.
int32_t books_value(uint32_t v) { return v > static_cast<uint32_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(v); }
} // namespace

int32_t MarketingDepartment::accumulated_sales() { return books_value(engine_->accumulated_sales()); }
int32_t MarketingDepartment::get_daily_throughput() { return books_value(engine_->get_daily_throughput()); }
int32_t MarketingDepartment::charge_monthly_advertising() { return books_value(engine_->charge_monthly_advertising()); }
