// The Marketing department in a session: the view drives it through the
// department interface and it forwards to the market engine; the session,
// the scenario file and Production are reached through the engine's ports.
#pragma once
#include "app/department.h"
#include "marketing/marketing_wnd.h"
#include "production/departments.h"
#include <functional>
#include <memory>
#include <string_view>

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
    void load_data() override;
    void after_load() override;
    void product_marks(std::vector<ProductMark>& out) override;
    void finished_goods(std::vector<FinishedGoodsRow>& out) override;
    float smoothing_factor() override;

    CMarketingWnd& engine() { return *engine_; }

    // What a window or a test answers instead of the headless defaults.
    std::function<int(const std::vector<ContractRef>&, std::vector<bool>&)> new_contracts_hook;
    std::function<int(const ContractRef&)> contract_end_hook;
    std::function<int(int entry)> new_product_hook;
    std::function<void(std::string_view text, std::string_view caption)> message_hook;

private:
    class SessionHost;
    class SessionUi;
    std::unique_ptr<SessionHost> host_;
    std::unique_ptr<SessionUi> ui_;
    std::unique_ptr<CMarketingWnd> engine_;
};
