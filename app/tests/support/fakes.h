// Recording departments: every hook call lands in one shared trace, and a
// test scripts what the daily steps answer and what resume steps do.
#pragma once
#include "app/view.h"
#include <functional>
#include <string>
#include <vector>

struct HookCall {
    int32_t tick;
    std::string dept;
    std::string hook;
    int code;
};

struct Trace {
    std::vector<HookCall> calls;
    // "tick dept hook code" lines, on_minute left out unless asked.
    std::vector<std::string> lines(bool with_minutes = false) const;
    int count(const std::string& dept, const std::string& hook) const;
    void clear() { calls.clear(); }
};

class RecordingDepartment : public CDepartmentWnd {
public:
    RecordingDepartment(std::string tag, Trace& trace) : tag_(std::move(tag)), trace_(trace) {}

    void on_new_year() override { record("on_new_year", 0); }
    void on_new_month() override { record("on_new_month", 0); }
    void on_new_week() override { record("on_new_week", 0); }
    BOOL16 daily_step(int16_t code) override;
    void on_minute() override { record("on_minute", 0); }
    void resume_step() override;
    void build_menus(DepartmentMenus& menus) override;
    void save_state(BinFile& file) override;
    bool load_state(BinFile& file) override;
    void save_tail(BinFile& file) override;
    bool load_tail(BinFile& file) override;
    BOOL16 policies_consistent() override { return consistent; }
    void on_menu_command(int id) override { record("on_menu_command", id); }
    void load_data() override { record("load_data", 0); }
    void after_load() override { record("after_load", 0); }
    int32_t policies_size() override { return static_cast<int32_t>(2 * settings.size()); }
    void write_policies(RecordWriter& out) override;
    void read_policies(RecordReader& in) override;
    void apply_loaded_policies() override { record("apply_loaded_policies", 0); }

    // Answers of daily_step by call; empty: TRUE.
    std::function<BOOL16(int16_t code)> on_daily;
    std::function<void()> on_resume;
    std::array<int16_t, 3> menu_texts{0, 0, 0};
    BOOL16 consistent = 1;
    // The department's state file: these bytes, read back exactly.
    std::vector<uint8_t> state{1, 2, 3};
    // The department's part of the file's tail, read back exactly; the
    // number of tails read.
    std::vector<uint8_t> tail;
    int tails_read = 0;
    std::vector<int16_t> settings;
    const std::string& tag() const { return tag_; }

private:
    void record(const char* hook, int code);
    std::string tag_;
    Trace& trace_;
};

struct RecordingSet {
    Trace trace;
    RecordingDepartment* marketing = nullptr;
    RecordingDepartment* production = nullptr;
    RecordingDepartment* purchasing = nullptr;
    RecordingDepartment* finance = nullptr;
    // Runs on each new set, before the session loads.
    std::function<void(RecordingSet&)> configure;
    // Builds fresh recording departments for each session.
    DepartmentFactory factory();
};
