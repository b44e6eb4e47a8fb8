// A department of the sample's shape built in memory (no scenario file):
// XA, XB (Alpha Metals), YA (Beta Supply), Alpha's weekly package and Beta's
// monthly one, a view with its clock at a chosen moment, a recording screen
// and Finance, and a SUPPLIER_PLT table that always draws the same value.
#pragma once
#include "app/view.h"
#include "purchasing/purchasing_wnd.h"
#include "foundation/randtables.h"
#include <string>
#include <vector>

struct RecordingUi : PurchasingUi {
    void redraw_material(int kind, int family, int material) override { redraws.push_back({kind, family, material}); }
    int ask_contract_end(const PurchaseContract& c) override
    {
        asked.push_back(c.package.id);
        return answers.empty() ? CONTRACT_RENEW : next_answer();
    }
    void box(std::string_view text, std::string_view caption) override
    {
        boxes.push_back(std::string(caption) + "|" + std::string(text));
    }
    int next_answer()
    {
        const int a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    struct Redraw {
        int kind, family, material;
    };
    std::vector<Redraw> redraws;
    std::vector<int> answers;
    std::vector<int16_t> asked;
    std::vector<std::string> boxes;
};

struct RecordingFinance : FinanceDept {
    bool add_machine(int32_t, int) override { return true; }
    void post_cash(int32_t amount, int16_t deferred) override { postings.push_back({amount, deferred}); }
    int16_t receivable_terms() const override { return 0; }
    int16_t payable_terms() const override { return static_cast<int16_t>(terms); }
    void add_cash_receipts(int32_t) override {}
    void add_cash_payments(int32_t amount) override { cash_payments += amount; }
    void add_sales(int32_t) override {}
    void add_marketing_expenses(int32_t) override {}
    void add_promotion_expenses(int32_t) override {}
    void add_inventory_written_off(int32_t) override {}
    void add_materials_consumed(int32_t amount) override { rmc += amount; }
    void keep_materials_consumed_copy() override { rmc_previous = rmc; }
    float machine_work_percent() const override { return 0; }
    int32_t monthly_direct_labour() const override { return 0; }
    int32_t monthly_production_expenses() const override { return 0; }
    struct Posting {
        int32_t amount;
        int16_t deferred;
    };
    std::vector<Posting> postings;
    int32_t terms = 0, cash_payments = 0, rmc = 0, rmc_previous = 0;
};

// A Monday at 08:00 in March 1996, one shift.
SimDateTime monday_0800();
SimDateTime at(int year, int month, int day, int hour = 8, int minute = 0);
// SUPPLIER_PLT draws `value` whatever the generator gives.
void fixed_lead_draw(int16_t value);

// The fixture's view is the active one while it lives: table draws come from its generator.
struct Fixture {
    Fixture();
    ~Fixture();
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;
    CVornView view;
    CVornView* previous_view = nullptr;
    RecordingUi ui;
    RecordingFinance finance;
    CPurchasingWnd p;
    RawMaterial& xa() { return p.material(0, 0); }
    RawMaterial& xb() { return p.material(0, 1); }
    RawMaterial& ya() { return p.material(1, 0); }
    int32_t& on_order(int f, int m) { return p.on_order[static_cast<size_t>(f)][static_cast<size_t>(m)]; }
    // One working day: the clock moves to the next working day at 08:00 and the daily step runs.
    void next_day();
    void step() { p.daily_step(0); }
};

// The state-file reader over any bytes: what it accepts it saves and reads
// again to the same bytes, and the department then runs days on it.
void fuzz_prc_state(const uint8_t* data, size_t size);
