// What the Marketing engine needs of the world around it: the scenario reader,
// the session (clock, generator, HOLD, log), the user's answers and Production.
#pragma once
#include "foundation/simdate.h"
#include "marketing/market_records.h"
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The sectioned scenario reader. Its failures do not return: in a session
// they refuse the load with the named box, in tests they throw.
class MarketData {
public:
    virtual ~MarketData() = default;
    virtual bool has_section(const char* name) = 0;
    // A required section; absent: the SECTION error.
    virtual void find_section(const char* name) = 0;
    virtual int16_t get_record(int16_t topic, int16_t record) = 0;
    virtual int32_t item_int(int16_t n) = 0;
    virtual double item_float(int16_t n) = 0;
    virtual std::string item_text(int16_t n) = 0;
    // "Data Loading Error" naming the section, record and item last read.
    [[noreturn]] virtual void load_error(int level) = 0;
    // "Index Overflow %s" naming the limit.
    [[noreturn]] virtual void index_overflow(const char* name) = 0;
    // A failure with its own text ("invalid family name in NEW_PRODUCTS").
    [[noreturn]] virtual void refuse(const char* text) = 0;
    // The random tables: the scenario's own replace the file's.
    virtual void use_random_tables_file() = 0;
};

// The session as Marketing sees it.
class MarketHost {
public:
    virtual ~MarketHost() = default;
    virtual SimDateTime today() const = 0;
    virtual SimDateTime start_date() const = 0;
    virtual SimDateTime add_work_days(const SimDateTime& date, int n) const = 0;
    virtual void skip_to_work_day(SimDateTime& date) const = 0;
    // Working-day steps from start to end.
    virtual int count_work_days(const SimDateTime& end, const SimDateTime& start) const = 0;
    // Working days of a month by the shift mode (22 or 30).
    virtual int month_work_days() const = 0;
    // Working hours of a day by the shift mode (8, 16 or 24).
    virtual int work_hours_per_day() const = 0;
    // The clock's working-day counts of this month and of the last.
    virtual int work_days_this_month() const = 0;
    virtual int work_days_last_month() const = 0;
    virtual int years_elapsed() const = 0;
    virtual int32_t tick_count() const = 0;
    virtual bool is_new_month() = 0;
    virtual bool is_new_year() = 0;
    virtual bool job_shop() const = 0;
    virtual bool in_hold() const = 0;
    virtual bool management_feature() const = 0;
    virtual bool pause_events() const = 0;
    virtual float reputation_ratio() const = 0;
    // The Reputation pane takes the company's penalty ratio of the month.
    virtual void add_reputation_value(float ratio) = 0;
    virtual int rand() = 0;
    // One draw of the session's generator against a named random table.
    virtual double draw_table(const char* name) = 0;
    virtual void enter_hold() = 0;
    virtual bool version_at_least(std::string_view id) const = 0;
    virtual bool oldest_version() const = 0;
    virtual void log_decision(const char* key, const std::string& item, const std::string& old_value,
                              const std::string& new_value) = 0;
};

// The user's answers and the boxes. Headless answers are the defaults.
class MarketingUi {
public:
    virtual ~MarketingUi() = default;
    // Select New Contracts: every contract of the list answered (true =
    // accepted) and 1, or 5 for Hold.
    virtual int new_contracts(const std::vector<ContractRef>& list, std::vector<bool>& accepted)
    {
        accepted.assign(list.size(), true);
        return 1;
    }
    // Contract End: 1 renew, 2 do not renew, 3 hold.
    virtual int contract_end(const ContractRef&) { return 1; }
    virtual void contract_canceled(const ContractRef&, const char* text) { (void)text; }
    // New Product: 0 cancel, 1 accept, 2 hold.
    virtual int new_product(int entry) { (void)entry; return 1; }
    virtual void message(const char* text, const char* caption) { (void)text; (void)caption; }
    virtual void not_implemented(const char* caption) { (void)caption; }
    virtual void beep(int count) { (void)count; }
    virtual void redraw() {}
    virtual void lost_orders(const std::vector<std::string>& rows) { (void)rows; }
    virtual void expired_inventory(const std::vector<std::string>& rows) { (void)rows; }
    virtual void reject_flash() {}
};
