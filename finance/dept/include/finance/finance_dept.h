// The Finance department in a session: the view drives it through the
// department interface, the other departments post through its books, and
// the windowed program listens to what it tells its window.
#pragma once
#include "app/department.h"
#include "finance/finance_dialogs.h"
#include "finance/finance_graphs.h"
#include "finance/finance_wnd.h"
#include <functional>
#include <memory>
#include <string_view>

class DataFile;

class FinanceDepartment : public CDepartmentWnd {
public:
    explicit FinanceDepartment(CVornView& view);
    ~FinanceDepartment() override;

    // Marketing, Purchasing and Production, or their stand-ins.
    void connect(const DepartmentLinks& links);
    // What every department posts through.
    FinanceDept& books() { return *engine_; }
    CFinanceWnd& engine() { return *engine_; }

    void on_new_year() override;
    void on_new_month() override;
    BOOL16 daily_step(int16_t restart_code) override;
    void on_minute() override;
    void build_menus(DepartmentMenus& menus) override;
    void save_state(BinFile& file) override;
    bool load_state(BinFile& file) override;
    void on_menu_command(int id) override;
    void show_help() override;
    void load_data() override;
    void after_load() override;
    void prepare_show() override;
    void hold_entered(bool current) override;
    bool profit_figures(char letter, ProfitFigures& out) override;
    int32_t net_profit(char letter) override;
    int32_t unit_added_value(int16_t family, int16_t product) override;
    int32_t fg_value(bool with_added_value) override;
    int32_t cash() override { return engine_->cash; }
    int32_t bank_credit_line() override { return engine_->limit; }
    int32_t client_credit_days() override { return engine_->receivable_terms(); }
    int32_t supplier_credit_days() override { return engine_->payable_terms(); }
    int32_t building_value() override { return engine_->other_assets - engine_->asset_dep_acc; }
    int32_t machine_value() override { return engine_->machine_investment - engine_->machine_dep_acc; }
    float machine_work_percent() override { return engine_->machine_work_percent(); }
    void set_machine_work_percent(float percent) override { engine_->set_machine_work_percent(percent); }
    void flip_summary_graphs() override;
    void flip_show_profit() override;

    // The window: the statement, or the summary graphs, and the boxes and
    // button of its title band.
    void create_controls(plat::HWND parent) override;
    void destroy_controls() override;
    void paint(plat::HDC dc, float scale_x, float scale_y) override;
    void size(int cx, int cy) override;
    bool command(int id, int code, plat::HWND control) override;
    plat::HBRUSH control_colour(plat::HDC dc, plat::HWND control) override;
    // A box or the button of the title band by its id (101-104); the band's
    // own buttons share the panel, so an id alone does not find them.
    plat::HWND control(int id) const;
    // The check boxes' states.
    bool summary_graphs() const { return summary_graphs_; }
    bool show_profit() const { return show_profit_; }
    void on_summary_graphs(bool on);
    void on_show_profit(bool on);
    // "Select graphs"; the choice is kept when OK takes it.
    void select_graphs();
    const GraphChoice& graph_choice() const { return graph_choice_; }
    // The charts while the window exists (null headless).
    CSummaryGraphWnd* summary_graph() const { return summary_graph_.get(); }
    CProfitGraphDlg* profit_graph() const { return profit_graph_.get(); }

    // What a window or a test hears instead of the headless answers.
    struct Hooks {
        std::function<void()> cash_changed;
        std::function<void()> statement_changed;
        std::function<void()> profit_pane_changed;
        std::function<void(std::string_view text, std::string_view caption)> message;
        std::function<void(const double values[7])> daily_points;
        std::function<void(int32_t profit, int ddp)> month_points;
        std::function<void(int command_id)> menu_command;   // the dialogs of the Information menu
    } hooks;
    int32_t help_context = 0;   // the last help page asked for

private:
    class SessionHost;
    class SessionUi;
    std::unique_ptr<SessionHost> host_;
    std::unique_ptr<SessionUi> ui_;
    std::unique_ptr<CFinanceWnd> engine_;
    MarketingDept* marketing_ = nullptr;
    plat::HWND added_value_box_ = 0, summary_box_ = 0, select_button_ = 0, profit_box_ = 0;
    bool summary_graphs_ = false, show_profit_ = false;
    std::unique_ptr<CSummaryGraphWnd> summary_graph_;
    ModelessPtr<CProfitGraphDlg> profit_graph_;
    void show_graphs();
    GraphChoice graph_choice_{{true, true, true, false, false, false, false, false}};
};

// Reads the scenario's FINANCE section; a missing or bad item is the data
// file's loading error.
FinanceScenario load_finance_section(DataFile& file);

