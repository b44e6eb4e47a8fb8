// The department interface: the hooks through which the view drives each
// department, in slot order, and the department's menu options as the
// scenario's "%s Menus" section selects them. The windowed furniture (title
// band, Legend / Materials / Orders buttons) is added by the window class.
#pragma once
#include "app/app_types.h"
#include "plat/types.h"
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
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

// What a department draws in its window and takes from it. The windowed
// program's panel serves it for every department: it paints the background
// and the title band with its link buttons, then hands over. Points are the
// panel's client coordinates (the band included); the scale factors are the
// view's. Headless there is no panel and none of this is called.
class DepartmentContent {
public:
    virtual ~DepartmentContent() = default;
    // The panel's window was made: the department's child controls go under
    // `parent`, which also receives their notifications (command below).
    virtual void create_controls(plat::HWND parent) { (void)parent; }
    // The panel's window is going and its children with it.
    virtual void destroy_controls() {}
    virtual void paint(plat::HDC dc, float scale_x, float scale_y)
    {
        (void)dc;
        (void)scale_x;
        (void)scale_y;
    }
    virtual void size(int cx, int cy)
    {
        (void)cx;
        (void)cy;
    }
    // `keys` are the mouse message's MK_ flags.
    virtual void left_down(int x, int y, plat::UINT keys) { (void)x, (void)y, (void)keys; }
    virtual void left_up(int x, int y, plat::UINT keys) { (void)x, (void)y, (void)keys; }
    virtual void double_click(int x, int y, plat::UINT keys) { (void)x, (void)y, (void)keys; }
    virtual void mouse_move(int x, int y, plat::UINT keys) { (void)x, (void)y, (void)keys; }
    virtual void right_down(int x, int y, plat::UINT keys) { (void)x, (void)y, (void)keys; }
    virtual void right_up(int x, int y, plat::UINT keys) { (void)x, (void)y, (void)keys; }
    // The cursor the pointer shows over the point; 0: the standard arrow.
    virtual plat::HCURSOR cursor_at(int x, int y)
    {
        (void)x;
        (void)y;
        return 0;
    }
    // A child control's WM_COMMAND; true when the department took it.
    virtual bool command(int id, int code, plat::HWND control)
    {
        (void)id, (void)code, (void)control;
        return false;
    }
    // A child control's colours (WM_CTLCOLOR*): its background brush, or 0
    // for the default.
    virtual plat::HBRUSH control_colour(plat::HDC dc, plat::HWND control)
    {
        (void)dc;
        (void)control;
        return 0;
    }
};

// The panel behind a department in the windowed program. The department
// shows and hides it with itself; its window exists from the first show.
class DepartmentWindow {
public:
    virtual ~DepartmentWindow() = default;
    virtual void show(bool shown) = 0;
    // Kind 1 the Orders button, 2 the Materials button.
    virtual void show_link_button(int show, int kind) = 0;
    // 0 until the window exists.
    virtual plat::HWND handle() const = 0;
};

class CDepartmentWnd;
// Makes the panel behind a department (the windowed program's); headless
// callers pass none.
using PanelMaker = std::function<std::unique_ptr<DepartmentWindow>(CDepartmentWnd& department)>;

class CDepartmentWnd : public DepartmentContent {
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
    // Writes the fields a file of the version being written holds: the
    // view's CheckVersionId answers for that file during a save, as it
    // answers for the file being read during a load.
    virtual void save_state(BinFile& file);
    // False when the file does not hold this department's state.
    virtual bool load_state(BinFile& file);
    // The department's part of its state file's tail (STATE_TAIL_VERSION_ID):
    // written right after save_state's records; read right after
    // load_state's, and only when the file carries the tail (a file of an
    // older version leaves the fields as the scenario's load set them).
    // False when the tail is not this department's.
    virtual void save_tail(BinFile& file);
    virtual bool load_tail(BinFile& file);
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
    // Shows or hides a link button on the panel: kind 1 Orders, 2 Materials.
    virtual void ShowLinkButton(int show, int kind);

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
    // The panel behind the department (none headless); show and hide show
    // and hide it.
    void set_window(std::unique_ptr<DepartmentWindow> window);
    DepartmentWindow* window() const { return window_.get(); }
    // The panel's window, 0 headless and before the first show.
    plat::HWND window_handle() const { return window_ ? window_->handle() : 0; }
    // Repaints part of the window through paint (null: all of it); nothing
    // without a window.
    void invalidate(const plat::RECT* area, bool erase = true);
    // The whole window, background erased.
    void Repaint() { invalidate(nullptr, true); }
    const MenuOptionList& option_list(int menu) const { return options_[menu]; }

protected:
    CVornView* view_ = nullptr;
    std::string name_ = "Unknown";
    std::string title_;
    int visible_ = 0;
    std::array<MenuOptionList, 3> options_{};
    std::unique_ptr<DepartmentWindow> window_;
};
