// The Purchasing department in a session: the view drives it through the
// department interface and it forwards to the engine; the other departments
// reach it as PurchasingDept. Its neighbours come from the program's
// assembly (connect) before the session loads.
#pragma once
#include "app/department.h"
#include "production/departments.h"
#include "purchasing/purchasing_wnd.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

class PurchasingDepartment : public CDepartmentWnd, public PurchasingDept {
public:
    explicit PurchasingDepartment(CVornView& view);
    ~PurchasingDepartment() override;

    // Finance, Marketing and Production, or their stand-ins.
    void connect(const DepartmentLinks& links) { engine_->connect(links); }

    // Department hooks.
    void on_new_month() override;
    BOOL16 daily_step(int16_t restart_code) override;
    void resume_step() override;
    void build_menus(DepartmentMenus& menus) override;
    void save_state(BinFile& file) override;
    bool load_state(BinFile& file) override;
    void load_data() override;
    void prepare_show() override;
    int32_t policies_size() override;
    void write_policies(RecordWriter& out) override;
    void read_policies(RecordReader& in) override;
    void apply_loaded_policies() override;
    void on_menu_command(int command_id) override;
    void edit_policy(int which) override;

    // The window: the materials' boxes, a click opens a material's
    // information, the hand cursor over a box.
    void paint(plat::HDC dc, float scale_x, float scale_y) override;
    void left_down(int x, int y, plat::UINT keys) override;
    plat::HCURSOR cursor_at(int x, int y) override;
    // The engine's redraw of one material's figures (PurchasingUi).
    void redraw_material(int kind, int family, int material);
    // The material whose box holds the point, first in table order; false
    // when none does.
    bool material_at(int x, int y, int& family, int& material) const;
    plat::RECT box_rect(int family, int material) const;
    // The Information menu (301-312); false for another id.
    bool run_information_command(int command_id);
    void show_material_information(int family, int material);
    void show_consumed_units_graph();
    void show_purchasing_forecast();

    // PurchasingDept, answered by the engine.
    int family_count() const override { return engine_->family_count(); }
    char family_letter(int f) const override { return engine_->family_letter(f); }
    int material_count(int f) const override { return engine_->material_count(f); }
    char material_letter(int f, int m) const override { return engine_->material_letter(f, m); }
    void find_material_by_code(const char* code, uint16_t& f, uint16_t& m) override { engine_->find_material_by_code(code, f, m); }
    int16_t get_stock(int f, int m) override { return engine_->get_stock(f, m); }
    int16_t get_on_order(int f, int m) override { return engine_->get_on_order(f, m); }
    void material_by_index(int n, uint16_t& f, uint16_t& m) override { engine_->material_by_index(n, f, m); }
    bool any_material_in_red_line() override { return engine_->any_material_in_red_line(); }
    void add_stock(int f, int m, int q, int issue) override { engine_->add_stock(f, m, q, issue); }
    void add_unsupplied_units(int f, int m, int units) override { engine_->add_unsupplied_units(f, m, units); }
    int32_t material_price(int f, int m) override { return engine_->material_price(f, m); }
    float average_cost(int f, int m) override { return engine_->average_cost(f, m); }
    void lower_in_process(int f, int m, int units) override { engine_->lower_in_process(f, m, units); }
    int32_t in_process_units(int f, int m) override { return engine_->in_process_units(f, m); }
    bool orders_by_mrp() const override { return engine_->orders_by_mrp(); }
    void end_of_day_ordering() override { engine_->end_of_day_ordering(); }
    void roll_yearly_stats() override { engine_->roll_yearly_stats(); }

    CPurchasingWnd& engine() { return *engine_; }

    // What a window asks instead of the headless answers: the Contract End
    // choice (the windowed program's dialog; headless: renew), message boxes
    // and redraws.
    std::function<int(const PurchaseContract&)> contract_end_hook;
    std::function<void(std::string_view text, std::string_view caption)> message_hook;
    std::function<void(int kind, int family, int material)> redraw_hook;

private:
    void draw_material_code(plat::HDC dc, int family, int material) const;
    void draw_material_figure(plat::HDC dc, int kind, int family, int material) const;

    class SessionUi;
    std::unique_ptr<SessionUi> ui_;
    std::unique_ptr<CPurchasingWnd> engine_;
};

