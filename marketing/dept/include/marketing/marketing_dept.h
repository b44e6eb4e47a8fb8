// The Marketing department in a session: the view drives it through the
// department interface and it forwards to the market engine; the session,
// the scenario file and Production are reached through the engine's ports.
#pragma once
#include "app/department.h"
#include "marketing/marketing_wnd.h"
#include "production/departments.h"
#include "uikit/sim_dialog.h"
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CChartWnd;
class CMarketPopup;
class CBoxTabs;
class CTabBar;

class MarketingDepartment : public CDepartmentWnd, public MarketingDept {
public:
    explicit MarketingDepartment(CVornView& view);
    ~MarketingDepartment() override;

    // Production, Purchasing and Finance as the assembly wires them.
    void connect(const DepartmentLinks& links);

    // MarketingDept
    int link_mode() const override { return engine_->link_mode(); }
    int family_count() const override { return engine_->family_count(); }
    char family_letter(int family) const override { return engine_->family_letter(family); }
    int product_count(int family) const override { return engine_->product_count(family); }
    char product_letter(int family, int product) const override { return engine_->product_letter(family, product); }
    void find_product_by_code(const char* code, uint16_t& family, uint16_t& product) override
    {
        engine_->find_product_by_code(code, family, product);
    }
    void draw_on_order_units(int family, int product) override { engine_->draw_on_order_units(family, product); }
    void update_product_stock(int family, int product, int units, int kind, int extra) override
    {
        engine_->update_product_stock(family, product, units, kind, extra);
    }
    int get_contract_units_ahead(int family, int product) override
    {
        return engine_->get_contract_units_ahead(family, product);
    }
    int16_t get_inventory(int family, int product) override;
    const int16_t* supply_days(int family, int product, int& length) override;
    int16_t red_line_level(int family, int product) override;
    void set_red_line_level(int family, int product, int16_t units) override;
    int16_t red_line_time(int family, int product) override;
    void set_red_line_time(int family, int product, int16_t days) override;
    int16_t get_quoted_lead_time(int family, int product) override;
    bool is_product_retired(int family, int product) override;
    int16_t safety_stock(int family, int product) override;
    int16_t further_quantity(int family, int product) override;
    int16_t production_plan(int family, int product, int month) override;
    void set_production_plan_month0(int family, int product, int16_t units) override;
    void get_monthly_requirements(int family, int product, int16_t out[6]) override;
    void build_monthly_forecast() override { engine_->build_monthly_forecast(); }
    void build_production_plan() override { engine_->build_production_plan(); }
    int dlg_forecast(int kind) override;
    bool any_product_in_red_line() override { return engine_->any_product_in_red_line(); }
    int32_t product_forecast(int family, int product, int days) override;
    ProductFigures product_figures(int family, int product) override
    {
        return engine_->product_figures(family, product);
    }
    int32_t accumulated_sales() override;
    int32_t get_backlog_value() override { return engine_->get_backlog_value(); }
    int32_t get_daily_throughput() override;
    int32_t charge_monthly_advertising() override;
    void roll_year_counters() override { engine_->roll_year_counters(); }
    void clear_campaign_costs() override { engine_->clear_campaign_costs(); }
    void edit_planned_contracts_policy(const ContractPlanningDialog& dialog) override
    {
        ContractPlanning planning = engine_->contract_planning();
        if (dialog && dialog(planning))
            engine_->set_contract_planning(planning);
    }

    void on_new_year() override;
    void on_new_month() override;
    BOOL16 daily_step(int16_t restart_code) override;
    void resume_step() override;
    void build_menus(DepartmentMenus& menus) override;
    void save_state(BinFile& file) override;
    bool load_state(BinFile& file) override;
    void save_tail(BinFile& file) override;
    bool load_tail(BinFile& file) override;
    BOOL16 policies_consistent() override;
    int32_t policies_size() override { return engine_->policies_size(); }
    void write_policies(RecordWriter& out) override { engine_->write_policies(out); }
    void read_policies(RecordReader& in) override;
    void load_data() override;
    void after_load() override;
    void product_marks(std::vector<ProductMark>& out) override;
    void finished_goods(std::vector<FinishedGoodsRow>& out) override;
    float smoothing_factor() override;

    // The menus' commands (marketing_commands.cpp); `id` is the option's own id.
    void on_menu_command(int id) override;
    void show_help() override;
    void edit_policy(int which) override;
    // The Get Product Name chooser: 0 cancelled, 1 a product, 2 a family,
    // 3 all products; the family and product chosen (-1 when none).
    int choose_product(int& family, int& product, const char* prompt, const char* caption);
    bool pick_product(const char* prompt, const char* caption, int& family, int& product) override;
    // The materials list of Product Information: " %c%c\t%d", the material
    // code and its units per product, from Production's product structure.
    std::vector<std::string> product_materials(int family, int product);

    // What the last sales summary table holds: the chosen family and
    // product, the five 12-month series (total, customers, clients, units,
    // throughput) and its title.
    struct SalesSummary {
        int family = -1, product = -1;
        std::array<std::array<float, 12>, 5> series{};
        std::string title;
    };
    const SalesSummary& sales_summary() const { return summary_; }
    // The forecast range kept for the Marketing Forecast, in working days.
    int forecast_range() const { return forecast_range_; }

    // The window's content (marketing_window.cpp): the heading, one box per
    // product with its gauges, the "View graph" check box (521) and the
    // daily-sales graph (304) shown instead of the boxes.
    void create_controls(plat::HWND parent) override;
    void destroy_controls() override;
    void paint(plat::HDC dc, float scale_x, float scale_y) override;
    void size(int cx, int cy) override;
    void left_down(int x, int y, plat::UINT keys) override;
    plat::HCURSOR cursor_at(int x, int y) override;
    bool command(int id, int code, plat::HWND control) override;
    plat::HBRUSH control_colour(plat::HDC dc, plat::HWND control) override;
    void flip_sales_graph() override;
    // The product whose box holds the client point: false when none (a
    // retired product's box holds none).
    bool product_at(int x, int y, int& family, int& product) const;
    // A product's box in client coordinates at the view's scale.
    plat::RECT box_rect(int family, int product) const;
    bool graph_shown() const { return graph_shown_; }
    // The month ends of the run's days so far, from the calendar: the days
    // before each month's first and the month that ended there.
    std::vector<std::pair<int, int>> month_ends() const;
    // The tab bar above a product's box once it has an export line (null
    // before); choosing a tab shows that side of the box.
    CTabBar* box_tabs(int family, int product) const;
    void add_export_tabs(int family, int product);
    void select_box_side(int family, int product, int side);
    plat::HWND graph_box() const { return graph_box_; }
    CChartWnd* sales_graph_window() const { return graph_.get(); }

    CMarketingWnd& engine() { return *engine_; }
    const MarketHost& market_host() const;
    // With a window and this set, the engine's questions are the dialogs'
    // (unless a hook answers them); otherwise the headless answers. The
    // program's assembly sets it.
    bool decisions_in_windows = false;
    bool decides_in_windows() const;

    // What a window or a test answers instead of the headless defaults.
    std::function<int(const std::vector<ContractRef>&, std::vector<bool>&)> new_contracts_hook;
    std::function<int(const ContractRef&)> contract_end_hook;
    std::function<int(int entry)> new_product_hook;
    std::function<void(std::string_view text, std::string_view caption)> message_hook;

private:
    // The engine's ports as the window's code reaches them.
    MarketingUi& ui_port();
    MarketHost& host_port();
    void set_graph_shown(bool shown);
    void fit_graph();
    void setup_graph();
    void fill_graph();
    // Brings the shown graph up to the engine's days: the new daily points,
    // the averages of a month just closed with its end line and name.
    void sync_graph();
    void add_month_end(int covered, int month);
    void draw_product_box(plat::HDC dc, int family, int product) const;
    void run_sales_summary_table();
    void run_sales_summary_graph();
    void run_throughput_graph();
    void run_forecast();
    void run_forecast_table();
    void run_links();
    void show_product_information(int family, int product);
    void run_report(int report);
    void run_order_to_produce();
    void run_contract_list();
    void show_contract_list() override { run_contract_list(); }
    void run_shipment_list();
    void run_due_shipments();
    void run_product_parameters();
    void run_advertising();
    void run_promotion();
    void run_add_export_line();
    void rebuild_export_tabs();
    int date_order() const;
    int window_new_contracts(const std::vector<ContractRef>& list, std::vector<bool>& accepted);
    int window_contract_end(const ContractRef& ref);
    void window_contract_canceled(const ContractRef& ref, const char* text);
    int window_new_product(int entry);
    void window_popup(int kind, const std::vector<std::string>& rows);
    ModelessPtr<CMarketPopup> lost_popup_, past_due_popup_;

    ProductionDept* production_link_ = nullptr;
    PurchasingDept* purchasing_link_ = nullptr;
    SalesSummary summary_;
    int forecast_range_ = 0;
    plat::HWND graph_box_ = 0;
    bool graph_shown_ = false;
    std::unique_ptr<CChartWnd> graph_;
    plat::HFONT graph_title_font_ = 0, graph_axis_font_ = 0;
    // Month ends the graph shows: the days covered and the month's number.
    std::vector<std::pair<int, int>> graph_month_ends_;
    plat::HWND panel_ = 0;
    std::array<std::array<std::unique_ptr<CBoxTabs>, MAX_PRODUCTS>, MAX_FAMILYS> tabs_;

    class SessionHost;
    class SessionUi;
    std::unique_ptr<SessionHost> host_;
    std::unique_ptr<SessionUi> ui_;
    std::unique_ptr<CMarketingWnd> engine_;
};
