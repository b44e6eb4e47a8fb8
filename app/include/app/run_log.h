// Run logs and the best-results file: the names beside the session file,
// the records written while logging is on, and the best run kept.
#pragma once
#include "app/log_file.h"
#include <cstdint>
#include <string>

class CVornView;

inline constexpr int MAX_RUN_LOGS = 100;

// The first of "<base>.000" .. "<base>.099" that does not exist; "" when all do.
std::string choose_run_log_name(const std::string& session_path);
std::string best_results_name(const std::string& session_path);
// Copies through "<target>.tmp" and a rename, so a failed copy keeps the target.
bool copy_file(const std::string& source, const std::string& target);

class RunLog {
public:
    // open_run_log: a new log with the next free number and its header.
    void open(CVornView& view);
    void decision(CVornView& view, const char* department, const char* key, const std::string& item,
                  const std::string& old_value, const std::string& new_value, int action);
    void part_sum(CVornView& view);
    // Once per log: the summary, then the best-results rule.
    void summary(CVornView& view);
    const std::string& name() const { return name_; }
    bool summary_written() const { return summary_written_; }

private:
    std::string name_;
    bool summary_written_ = false;
};

// The best-results rule: a reputation of 80 or more and a higher profit
// than the stored best replace it with the current log.
void update_best_results(const std::string& session_path, const std::string& log_name, float reputation,
                         int32_t profit);

// For the departments: the active session's log.
void log_decision(const char* department, const char* key, const std::string& item, const std::string& old_value,
                  const std::string& new_value, int kind, int action);
void log_part_sum();
