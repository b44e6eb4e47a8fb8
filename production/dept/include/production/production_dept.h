// The Production department in a session: the view drives it through the
// department interface and it forwards to the plant engine; the windowed
// panel, when there is one, shows and hides with it.
#pragma once
#include "app/department.h"
#include "production/departments.h"
#include <functional>
#include <memory>
#include <string_view>

class CProductionWnd;
class ViewSimHost;

// Until Marketing, Purchasing and Finance exist, these answer as departments
// with nothing of their own would: the sample plant's product A1 and
// materials XA and XB are known by code, the stores hold nothing, and what
// Production hands them is only counted.
class StandInMarketing : public MarketingDept {
public:
    int link_mode() const override { return 0; }
    int family_count() const override { return 1; }
    char family_letter(int) const override { return 'A'; }
    int product_count(int) const override { return 1; }
    char product_letter(int, int) const override { return '1'; }
    void find_product_by_code(const char* code, uint16_t& family, uint16_t& product) override;
    void draw_on_order_units(int, int) override {}
    void update_product_stock(int family, int product, int units, int kind, int extra) override;
    int get_contract_units_ahead(int, int) override { return 0; }

    int32_t delivered = 0;   // finished units handed over
};

class StandInPurchasing : public PurchasingDept {
public:
    int family_count() const override { return 1; }
    char family_letter(int) const override { return 'X'; }
    int material_count(int) const override { return 2; }
    char material_letter(int, int material) const override { return material == 0 ? 'A' : 'B'; }
    void find_material_by_code(const char* code, uint16_t& family, uint16_t& material) override;
    int16_t get_stock(int family, int material) override;
    void add_stock(int family, int material, int quantity, int issue) override;
    void add_unsupplied_units(int family, int material, int units) override;
    int32_t material_price(int, int) override { return 0; }
    float average_cost(int, int) override { return 0.0f; }

    int16_t stock[2] = {0, 0};
    int32_t unsupplied[2] = {0, 0};
};

class StandInFinance : public FinanceDept {
public:
    void add_machine(int32_t amount, int) override { machine_spending -= amount; }
    int32_t machine_spending = 0;
};

class ProductionDepartment : public CDepartmentWnd {
public:
    // `shell` is the windowed panel (nullptr headless).
    ProductionDepartment(CVornView& view, std::unique_ptr<CDepartmentWnd> shell);
    ~ProductionDepartment() override;

    void show() override;
    void hide() override;
    void on_new_year() override;
    void on_new_month() override;
    void on_new_week() override;
    BOOL16 daily_step(int16_t restart_code) override;
    void on_minute() override;
    void build_menus(DepartmentMenus& menus) override;
    // The plant's bytes; a file the plant refuses shows its message and is refused.
    void save_state(BinFile& file) override;
    bool load_state(BinFile& file) override;
    void on_hour(int hour) override;
    void load_data() override;
    void after_load() override;
    int16_t display_frequency() override;
    float utilization_factor() override;
    void ShowLinkButton(int show, int kind) override;

    CProductionWnd& engine() { return *engine_; }
    StandInMarketing& marketing() { return marketing_; }
    StandInPurchasing& purchasing() { return purchasing_; }
    StandInFinance& finance() { return finance_; }
    CDepartmentWnd* shell() const { return shell_.get(); }

    // What a window asks instead of the headless answers: the Schedule End
    // choice (0 machine policy, 1 by hand, 2 pause) and the message boxes.
    std::function<int(int machine)> schedule_end_hook;
    std::function<void(std::string_view text, std::string_view caption, int icon)> message_hook;

private:
    class SessionUi;
    std::unique_ptr<CDepartmentWnd> shell_;
    StandInMarketing marketing_;
    StandInPurchasing purchasing_;
    StandInFinance finance_;
    std::unique_ptr<ViewSimHost> host_;
    std::unique_ptr<SessionUi> ui_;
    std::unique_ptr<CProductionWnd> engine_;
};

std::unique_ptr<CDepartmentWnd> make_production_department(CVornView& view, std::unique_ptr<CDepartmentWnd> shell);
