// The department interface: the hooks through which the view drives each
// department, in slot order, and the department's menu options as the
// scenario's "%s Menus" section selects them. The windowed furniture (title
// band, Legend / Materials / Orders buttons) is added by the window class.
#pragma once
#include "app/app_types.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class BinFile;
class DataFile;
class CVornView;
class RecordReader;
class RecordWriter;

// One of the view's three department menu tables: a title, texts at
// positions 1..MENU_TABLE_TEXTS-1 and a count.
struct MenuTable {
    std::string title;
    std::array<std::string, MENU_TABLE_TEXTS> texts;
    int16_t count = 0;
};

// Information, Actions, Policies.
struct DepartmentMenus {
    std::array<MenuTable, 3> tables;
};

struct MenuOptionList {
    std::array<int16_t, MAX_MENU_OPTIONS + 1> entries{};  // 1..count
    int16_t count = 0;
};

// The figures of a profit-and-loss report that the run logs record.
struct ProfitFigures {
    int32_t report_first = 0;          // the report's first value
    int32_t with_added_value = 0;      // net profit, finished goods and WIP at added value
    int32_t without_added_value = 0;   // net profit, at material cost
};

struct ProductMark {
    std::string code;   // family letter, product letter
    float lateness = 0;
};

// One product of the finished-goods check (Marketing's records).
struct FinishedGoodsRow {
    int16_t family = 0;
    int16_t product = 0;
    std::string code;
    bool retired = false;
    int32_t inventory = 0;
    float material_cost = 0;
};

// The policy dialogs that the Policy Decisions shortcut opens.
enum PolicyDialog : int {
    POLICY_PRODUCT_PARAMETERS = 1,   // Marketing
    POLICY_MACHINE = 2,              // Production (option -1)
    POLICY_WORK_ORDER_PLANNING = 3,  // Production
    POLICY_RED_LEVEL = 4,            // Production
    POLICY_MATERIAL_PARAMETERS = 5,  // Purchasing
};

class CDepartmentWnd {
public:
    CDepartmentWnd();
    virtual ~CDepartmentWnd();
    CDepartmentWnd(const CDepartmentWnd&) = delete;
    CDepartmentWnd& operator=(const CDepartmentWnd&) = delete;

    // The hooks, in slot order.
    virtual void show();
    virtual void hide();
    virtual void on_new_year() {}
    virtual void on_new_month() {}
    virtual void on_new_week() {}
    // FALSE: the department has entered HOLD; the tick's chain stops here.
    virtual BOOL16 daily_step(int16_t restart_code);
    virtual void on_minute() {}
    virtual void resume_step() {}
    // Puts the department's full lists of menu texts into the tables.
    virtual void build_menus(DepartmentMenus& menus);
    virtual void save_state(BinFile& file);
    // False when the file does not hold this department's state.
    virtual bool load_state(BinFile& file);
    virtual BOOL16 policies_consistent() { return 1; }
    virtual void on_menu_command(int command_id);
    virtual void post_load() {}
    virtual void show_help() {}

    // Declared by every department after the interface's own hooks.
    virtual void on_hour(int hour);

    // What the view asks of a particular department; the base does nothing.
    // The department's scenario sections (Purchasing, Marketing, Production,
    // Finance in this order), read through the view's open data file.
    virtual void load_data() {}
    // The after-load step (Marketing, Finance, Production in this order).
    virtual void after_load() {}
    // Refresh before the department is shown; after it is shown.
    virtual void prepare_show() {}
    virtual void after_show() {}
    // The clock's display frequency while this department is shown.
    virtual int16_t display_frequency() { return 1; }
    // A department entered HOLD; `current` when this one is shown.
    virtual void hold_entered(bool current);
    // "Restore hold" clears a pending decision before resume_step.
    virtual void clear_pending_decision() {}
    // Policies file: this department's block, its exact size, and the
    // re-application after every block was read.
    virtual int32_t policies_size() { return 0; }
    virtual void write_policies(RecordWriter& out);
    virtual void read_policies(RecordReader& in);
    virtual void apply_loaded_policies() {}
    // Finance: report 'C' (current year) or 'L' (last year); false when the
    // department keeps no reports.
    virtual bool profit_figures(char letter, ProfitFigures& out);
    // Finance: the stored net profit of a report (the Profit pane's figure).
    virtual int32_t net_profit(char letter);
    // Marketing: every product's code and lateness figure, in family order.
    virtual void product_marks(std::vector<ProductMark>& out);
    // Marketing: every product of every family for the finished-goods check.
    virtual void finished_goods(std::vector<FinishedGoodsRow>& out);
    // Finance: a product's unit added value; the finished goods' value
    // with or without added value.
    virtual int32_t unit_added_value(int16_t family, int16_t product);
    virtual int32_t fg_value(bool with_added_value);

    // What the view's information dialogs and commands read or flip of a
    // particular department; the base stands in with neutral answers.
    // Finance: the cash balance (the Cash pane), the bank credit line, the
    // client and supplier credit lines in days, the building and machine
    // values (net of what has been written off), the machine work percent.
    virtual int32_t cash() { return 0; }
    virtual int32_t bank_credit_line() { return 0; }
    virtual int32_t client_credit_days() { return 0; }
    virtual int32_t supplier_credit_days() { return 0; }
    virtual int32_t building_value() { return 0; }
    virtual int32_t machine_value() { return 0; }
    virtual float machine_work_percent() { return 0.0f; }
    virtual void set_machine_work_percent(float) {}
    // Finance: flip the "Summary graphs" / "Show profit" check box and act
    // on the new state (on_summary_graphs / on_show_profit).
    virtual void flip_summary_graphs() {}
    virtual void flip_show_profit() {}
    // Marketing: the demand's exponential smoothing factor; flip the
    // daily-sales graph check box, refit and show or hide the graph.
    virtual float smoothing_factor() { return 0.0f; }
    virtual void flip_sales_graph() {}
    // Production: the utilisation factor; flip the total-load check box and
    // act on it as command 303 does.
    virtual float utilization_factor() { return 0.0f; }
    virtual void flip_total_load() {}
    // Runs one of the department's policy dialogs (PolicyDialog) as the
    // Policy Decisions shortcut asks; a department without it ignores it.
    virtual void edit_policy(int which) { (void)which; }
    // Shows or hides a link button: kind 1 Orders, 2 Materials.
    virtual void ShowLinkButton(int show, int kind)
    {
        (void)show;
        (void)kind;
    }

    // Reads "%s Menus" (the department name); a missing section leaves the
    // lists alone. A list above 21 entries or an option outside the texts
    // that build_menus gives is a Data Loading Error (ITEM).
    void LoadMenuOptions(DataFile& file);
    // Narrows the tables (filled by build_menus) to the option lists.
    void SelectMenuTexts(DepartmentMenus& menus) const;
    // A position id (301..., 401..., 501...) -> the option id.
    int translate_menu_options(int command_id) const;

    void set_view(CVornView* view) { view_ = view; }
    CVornView* view() const { return view_; }
    void set_names(const std::string& name, const std::string& title);
    const std::string& name() const { return name_; }
    const std::string& title() const { return title_; }
    int visible() const { return visible_; }
    const MenuOptionList& option_list(int menu) const { return options_[menu]; }

protected:
    CVornView* view_ = nullptr;
    std::string name_ = "Unknown";
    std::string title_;
    int visible_ = 0;
    std::array<MenuOptionList, 3> options_{};
};
