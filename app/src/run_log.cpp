// Run logs and the best-results file.
#include "app/run_log.h"
#include "app/state_names.h"
#include "app/view.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/simdate.h"
#include "plat/crt.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

static bool exists(const std::string& name)
{
    std::string resolved = plat::ResolvePath(name.c_str());
    struct stat st{};
    return !resolved.empty() && ::stat(resolved.c_str(), &st) == 0;
}

std::string choose_run_log_name(const std::string& session_path)
{
    for (int n = 0; n < MAX_RUN_LOGS; ++n) {
        char ext[8];
        std::snprintf(ext, sizeof ext, "%03d", n);
        std::string name = state_file_name(session_path, ext);
        if (!exists(name))
            return name;
    }
    return {};
}

std::string best_results_name(const std::string& session_path)
{
    return state_file_name(session_path, "0bs");
}

bool copy_file(const std::string& source, const std::string& target)
{
    std::FILE* in = plat::crt_fopen(source.c_str(), "rb");
    std::string temp = target + ".tmp";
    std::FILE* out = in != nullptr ? plat::crt_fopen(temp.c_str(), "wb") : nullptr;
    bool ok = in != nullptr && out != nullptr;
    char block[80];
    size_t n;
    while (ok && (n = std::fread(block, 1, sizeof block, in)) > 0)
        ok = std::fwrite(block, 1, n, out) == n;
    ok = ok && !std::ferror(in);
    if (in != nullptr)
        std::fclose(in);
    if (out != nullptr)
        ok = std::fclose(out) == 0 && ok;
    ok = ok && plat::MoveFile(temp.c_str(), target.c_str());
    if (!ok) {
        plat::DeleteFile(temp.c_str());
        lang_message_box(0, "Couldn't open file", "Error", plat::MB_OK | plat::MB_ICONSTOP);
    }
    return ok;
}

static std::string number(long v)
{
    char b[24];
    std::snprintf(b, sizeof b, "%ld", v);
    return b;
}

static std::string percent(float v)
{
    char b[32];
    std::snprintf(b, sizeof b, "%0.0f", static_cast<double>(v));
    return b;
}

void RunLog::open(CVornView& v)
{
    summary_written_ = false;
    name_ = choose_run_log_name(v.session_path);
    if (name_.empty()) {
        lang_message_box(0, "Error - maximum number of log files reached - erase one!", "ERROR",
                         plat::MB_OK | plat::MB_ICONSTOP);
        return;
    }
    LogFile file(name_);
    file.WriteHeader(v.session_path, date_text(today(), v.clock.date_order), number(v.random_seed), v.log_seeds[0],
                     v.log_seeds[1]);
}

void RunLog::decision(CVornView& v, const char* department, const char* key, const std::string& item,
                      const std::string& old_value, const std::string& new_value, int action)
{
    // Without a name (all numbers used) records are skipped: the box was shown once.
    if (name_.empty())
        return;
    LogFile file(name_);
    LogFields f{department, date_text(v.clock.current, v.clock.date_order), key, item, old_value, new_value};
    if (action)
        file.WriteAction(f);
    else
        file.WritePolicy(f);
}

static LogFields figures_fields(CVornView& v, char letter, ProfitFigures& p)
{
    if (v.finance != nullptr)
        v.finance->profit_figures(letter, p);
    return {date_text(v.clock.current, v.clock.date_order), number(p.report_first), number(p.with_added_value),
            number(p.without_added_value), percent(CReputationPane::ReputationPercent(v.reputation.displayed))};
}

void RunLog::part_sum(CVornView& v)
{
    if (name_.empty())
        return;
    ProfitFigures p;
    LogFile file(name_);
    file.WritePartSum(figures_fields(v, 'C', p));
}

void RunLog::summary(CVornView& v)
{
    if (name_.empty() || summary_written_)
        return;
    char letter = v.clock.IsNewYear() ? 'L' : 'C';
    ProfitFigures p;
    LogFields fields = figures_fields(v, letter, p);
    LogFields items;
    if (v.marketing != nullptr) {
        std::vector<ProductMark> marks;
        v.marketing->product_marks(marks);
        for (const ProductMark& m : marks) {
            items.push_back(m.code);
            items.push_back(percent(CReputationPane::ReputationPercent(m.lateness)));
        }
    }
    LogFile file(name_);
    file.WriteSummary(fields, items);
    summary_written_ = true;
    update_best_results(v.session_path, name_, CReputationPane::ReputationPercent(v.reputation.displayed),
                        p.with_added_value);
}

void update_best_results(const std::string& session_path, const std::string& log_name, float reputation,
                         int32_t profit)
{
    if (reputation < 80.0f)
        return;
    std::string best = best_results_name(session_path);
    if (exists(best)) {
        std::string path, date;
        std::vector<LogFields> records, sums;
        LogSummary stored;
        if (!LogFile(best).Read(path, date, records, sums, stored)) {
            lang_message_box(0, "Error in Best File - Something is wrong - erase it and restart!!!", "Error",
                             plat::MB_OK | plat::MB_ICONSTOP);
            return;
        }
        long old_profit = stored.fields.size() > 2 ? std::strtol(stored.fields[2].c_str(), nullptr, 10) : 0;
        if (profit <= old_profit)
            return;
    }
    copy_file(log_name, best);
}

void log_decision(const char* department, const char* key, const std::string& item, const std::string& old_value,
                  const std::string& new_value, int kind, int action)
{
    if (CVornView* v = active_view())
        v->log_decision(department, key, item, old_value, new_value, kind, action);
}

void log_part_sum()
{
    if (CVornView* v = active_view(); v != nullptr && v->logging && v->run_log)
        v->run_log->part_sum(*v);
}
