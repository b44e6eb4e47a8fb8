// The departments not built yet. Each one sits in its department's slot of
// the session (the base department's neutral answers to the view) and
// answers its neighbours as a department with nothing of its own would: the
// sample plant's product A1 is known by code, the store holds nothing, and
// what the others hand it is only counted.
// When a department lands, the assembly (src/assembly.cpp) makes the real
// one in its slot and its stand-in goes.
#pragma once
#include "app/department.h"
#include "production/departments.h"

class StandInMarketing : public CDepartmentWnd, public MarketingDept {
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
    // A market with no stock, no demand ahead and no plan: Production's own orders stay at priority 0.
    int16_t get_inventory(int, int) override { return 0; }
    const int16_t* supply_days(int, int, int& length) override
    {
        length = 0;
        return nullptr;
    }
    int16_t red_line_level(int, int) override { return 0; }
    void set_red_line_level(int, int, int16_t) override {}
    int16_t red_line_time(int, int) override { return 0; }
    void set_red_line_time(int, int, int16_t) override {}
    int16_t get_quoted_lead_time(int, int) override { return 0; }
    bool is_product_retired(int, int) override { return false; }
    int16_t safety_stock(int, int) override { return 0; }
    int16_t further_quantity(int, int) override { return 0; }
    int16_t production_plan(int, int, int) override { return 0; }
    void set_production_plan_month0(int, int, int16_t) override {}
    void get_monthly_requirements(int, int, int16_t out[6]) override
    {
        for (int i = 0; i < 6; ++i)
            out[i] = 0;
    }
    void build_monthly_forecast() override {}
    void build_production_plan() override {}
    int dlg_forecast(int) override { return 0; }
    bool any_product_in_red_line() override { return false; }

    int32_t delivered = 0;   // finished units handed over
};
