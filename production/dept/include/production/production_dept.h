// The Production department in a session: the view drives it through the
// department interface and it forwards to the plant engine. Its neighbours
// come from the program's assembly (connect) before the session loads.
#pragma once
#include "app/department.h"
#include "production/departments.h"
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CProductionWnd;
class Painter;
class CInfoTipWnd;
class ViewSimHost;

class ProductionDepartment : public CDepartmentWnd, public ProductionDept {
public:
    explicit ProductionDepartment(CVornView& view);
    ~ProductionDepartment() override;

    // Marketing, Purchasing and Finance, or their stand-ins; the engine is
    // made at the first call, and every hook needs it.
    void connect(const DepartmentLinks& links);

    void on_new_year() override;
    void on_new_month() override;
    void on_new_week() override;
    BOOL16 daily_step(int16_t restart_code) override;
    void on_minute() override;
    void build_menus(DepartmentMenus& menus) override;
    // The plant's bytes; a file the plant refuses shows its message and is refused.
    void save_state(BinFile& file) override;
    bool load_state(BinFile& file) override;
    void save_tail(BinFile& file) override;
    // The policies file's Production blocks; a block the plant cannot run is
    // passed over whole. After every block is read the release policy is
    // applied again.
    int32_t policies_size() override;
    void write_policies(RecordWriter& out) override;
    void read_policies(RecordReader& in) override;
    void apply_loaded_policies() override;
    bool load_tail(BinFile& file) override;
    void on_hour(int hour) override;
    void load_data() override;
    void after_load() override;
    int16_t display_frequency() override;
    float utilization_factor() override;
    // The menus' commands (the option ids 301..., 401..., 501... and the
    // department's extra slot).
    void on_menu_command(int command_id) override;
    // The Policy Decisions shortcut: machine policy, work-order planning, red level.
    void edit_policy(int which) override;
    // Help on the window: the load view's page while it is on.
    void show_help() override;
    static constexpr int EXTRA_SLOT_COMMAND = 2113;
    // The Master Production Schedule (Marketing's menu opens it too).
    void show_master_production_schedule() override;
    // A work order's diagram, from the first when the position is past the last.
    void wo_diagram(int wo);
    // The choosers: a Machines or Products position, -1 for none (always
    // none headless).
    int ask_machine(const char* title);
    // A machine's schedule ran out (inside its dispatch): the Schedule End
    // question. Its machine policy and new-schedule answers run as commands
    // posted to the window, after the tick; headless the answer is 0.
    int ask_schedule_end(int machine);
    // Manual Scheduling for a machine, or for one the user picks (-1).
    void manual_scheduling(int machine);
    int ask_common_part();
    // The "View total load" check box flipped, as command 303 does.
    void flip_total_load() override;

    // The window's content (production_window.cpp): the title, the machine
    // boxes and the "View total load" check box (303).
    void create_controls(plat::HWND parent) override;
    void destroy_controls() override;
    void paint(plat::HDC dc, float scale_x, float scale_y) override;
    void size(int cx, int cy) override;
    plat::HCURSOR cursor_at(int x, int y) override;
    // A machine's box opens the work orders waiting there; elsewhere below
    // the title band, with the Management feature on, Management is shown.
    void left_down(int x, int y, plat::UINT keys) override;
    bool command(int id, int code, plat::HWND control) override;
    plat::HBRUSH control_colour(plat::HDC dc, plat::HWND control) override;
    // The first machine in list order whose box holds the client point, -1 for none.
    int machine_at(int x, int y) const;
    // Marks a machine's box, or any area of the window, for the next paint.
    void invalidate_machine(int machine);
    void invalidate_area(int x, int y, int w, int h);
    plat::HWND load_box() const { return load_box_; }
    // A line of text at (30, 30), black on grey, until the next paint; nothing headless.
    void draw_notice(std::string_view text);

    // ProductionDept
    void add_order(int16_t family, int16_t product, int16_t quantity, int16_t order_type, int16_t item_kind,
                   int16_t lead_days, int32_t unused1 = 100, int32_t unused2 = -1) override;
    void reduce_production_orders(int16_t family, int16_t product, int16_t quantity) override;
    int16_t get_on_order_units(int16_t family, int16_t product) override;
    int32_t get_standard_material_cost(int16_t family, int16_t product) override;
    int count_active_units() override;
    bool activate_new_product(int family, int product) override;
    void get_material_requirements(std::vector<MaterialRequirement>& list) override;
    bool deactivate_new_product(int16_t family, int16_t product) override;
    float get_material_cost_of_product(int16_t family, int16_t product) override;
    int16_t get_num_materials_in_product(int16_t family, int16_t product, int material_family, int material) override;
    void on_product_retired(int family, int product) override;
    int32_t get_process_minutes_per_unit(int16_t family, int16_t product) override;
    void on_link_mode_changed() override;
    void net_forecast_requirements() override;
    void spread_forecast(int raise_only) override;
    int16_t extra_shift_days() override;
    int16_t raw_material_release_policy() override;

    CProductionWnd& engine() { return *engine_; }

    // What a window asks instead of the headless answers: the Schedule End
    // choice (0 machine policy, 1 by hand, 2 pause) and the message boxes.
    std::function<int(int machine)> schedule_end_hook;
    std::function<void(std::string_view text, std::string_view caption, int icon)> message_hook;

private:
    class SessionUi;
    std::unique_ptr<ViewSimHost> host_;
    std::unique_ptr<SessionUi> ui_;
    std::unique_ptr<CProductionWnd> engine_;
    plat::HWND load_box_ = 0;
    std::unique_ptr<CInfoTipWnd> info_tip_;
    void set_total_load(bool shown);
    static constexpr int POSTED_COMMAND_ID = 0x7E00;
    std::vector<std::pair<int, int>> posted_;   // command, machine
    void post_command(int command, int machine);
    void run_posted_commands();
    // Whether dialogs can open: only where the department has a window.
    bool has_dialogs() const;
    std::function<void(const char*, const std::string&, const std::string&, const std::string&, int, int)>
    decision_log();
    void box(const std::string& text, const char* caption, unsigned icon);
    void set_unit_manually();
    void machine_information();
    void routing_diagram();
    void load_profile(int machine);
    void show_machine_times();
    // The dialogs' route drawing goes through the plant's painter.
    std::function<void(Painter&, const std::function<void()>&)> paint_scope();
    void raw_material_release();
    void check_constraint_schedule();
    void schedules_options();
    void set_work_order_planning();
    void set_machine_policy();
    void set_red_level_policy();
    void assemble_to_order();
    void make_or_buy();
    void dbr_params();
    void add_extra_shift();
    void remove_work_order();
    // A machine's box drawn with its corner at (x, y) of a dialog's device
    // context; the window's last-drawn marks stay as they were.
    void draw_machine_at(plat::HDC dc, int machine, int x, int y);

public:
    // While `drawing` runs, the plant's drawing (route boxes, links and
    // labels) goes into this device context, palette numbers as colours.
    void draw_into(plat::HDC dc, const std::function<void()>& drawing);
};

