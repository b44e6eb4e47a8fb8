// The departments not built yet. Each one sits in its department's slot of
// the session (the base department's neutral answers to the view) and
// answers its neighbours as a department with nothing of its own would: the
// sample plant's product A1 and materials XA and XB are known by code, the
// stores hold nothing, and what the others hand it is only counted.
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

    int32_t delivered = 0;   // finished units handed over
};

class StandInPurchasing : public CDepartmentWnd, public PurchasingDept {
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

class StandInFinance : public CDepartmentWnd, public FinanceDept {
public:
    void add_machine(int32_t amount, int) override { machine_spending -= amount; }
    int32_t machine_spending = 0;
};
