// The learn file.
#include "app/learn_file.h"
#include "app/state_names.h"
#include "foundation/coder.h"
#include "foundation/datafile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "load_guard_p.h"
#include "plat/crt.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

static bool exists(const std::string& name)
{
    std::string resolved = plat::ResolvePath(name.c_str());
    struct stat st{};
    return !resolved.empty() && ::stat(resolved.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

static void item_error(int16_t topic, int16_t record, int16_t item)
{
    DataFilePosition& pos = data_file_position();
    pos.topic = topic;
    pos.record = record;
    pos.item = item;
    data_load_error(LOAD_ITEM);
}

// An item text longer than its field is refused, never cut silently.
static std::string text_item(int16_t n, const std::string& rec, size_t limit, int16_t topic, int16_t record)
{
    std::string out;
    get_item(n, rec, out);
    if (out.size() > limit)
        item_error(topic, record, n);
    return out;
}

static void read_learn_file(LearnRecord& r, DataFile& file)
{
    std::string text, rec;
    find_section(file, "FILE_LIST", text, 1);
    get_record(1, 1, text, rec);
    int32_t n = get_item_int(1, rec);
    if (n > MAX_LEARN_LEVELS) {
        lang_message_box(0, "Too many learn levels", "Open Session", plat::MB_OK | plat::MB_ICONSTOP);
        throw LoadRefused{};
    }
    if (n < 0)
        item_error(1, 1, 1);
    for (int i = 0; i < n; ++i) {
        int16_t record = static_cast<int16_t>(i + 2);
        get_record(1, record, text, rec);
        LearnLevel level;
        level.file = text_item(1, rec, LEARN_NAME_CHARS, 1, record);
        level.target = get_item_int(2, rec);
        level.title = text_item(3, rec, LEARN_TITLE_CHARS, 1, record);
        r.levels.push_back(level);
    }

    find_section(file, "DDP_PROFIT_TABLE", text, 1);
    get_record(1, 1, text, rec);
    r.threshold = static_cast<int16_t>(get_item_int(1, rec));
    int32_t rows = get_item_int(2, rec);
    if (rows < 0 || rows > MAX_LEARN_ROWS)
        item_error(1, 1, 2);
    r.rows_per_level = static_cast<int16_t>(rows);
    for (size_t level = 0; level < r.levels.size(); ++level) {
        int16_t topic = static_cast<int16_t>(level + 2);
        for (int row = 1; row <= rows; ++row) {
            get_record(topic, static_cast<int16_t>(row), text, rec);
            LearnRow lr;
            lr.bound = get_item_int(1, rec);
            lr.upper = text_item(2, rec, LEARN_COMMENT_CHARS, topic, static_cast<int16_t>(row));
            lr.lower = text_item(3, rec, LEARN_COMMENT_CHARS, topic, static_cast<int16_t>(row));
            r.levels[level].rows.push_back(lr);
        }
    }

    find_section(file, "RESULTS", text, 1);
    get_record(1, 1, text, rec);
    int32_t m = get_item_int(1, rec);
    if (m < 0 || m > MAX_LEARN_LEVELS)
        item_error(1, 1, 1);
    for (int i = 0; i < m; ++i) {
        get_record(1, static_cast<int16_t>(i + 2), text, rec);
        LearnResult res;
        res.grade = static_cast<int16_t>(get_item_int(1, rec));
        res.profit = get_item_int(2, rec);
        res.passed = get_item_int(3, rec) != 0 ? 1 : 0;
        r.results.push_back(res);
    }
}

int load_learn_file(LearnRecord& record, const std::string& folder)
{
    record = LearnRecord{};
    record.folder = folder;
    record.learn_path = folder.empty() ? std::string("VORN.LRN") : folder + "/VORN.LRN";
    if (!exists(record.learn_path))
        return 0;
    // A damaged index is refused like a damaged section: the guard is up
    // before the file is opened.
    LoadGuard guard;
    DataFile file;
    try {
        if (!file.Open(record.learn_path.c_str()))
            return 0;
        record.coded = file.IsCoded() ? 1 : 0;
        read_learn_file(record, file);
    } catch (const LoadRefused&) {
        LearnRecord empty;
        empty.folder = folder;
        empty.learn_path = record.learn_path;
        record = empty;
        return -1;
    }
    record.loaded = 1;
    return 1;
}

bool learn_level_available(const LearnRecord& r, int level)
{
    if (level == 0)
        return true;
    if (level < 0 || level > static_cast<int>(r.results.size()) || level > static_cast<int>(r.levels.size()))
        return false;
    const LearnResult& before = r.results[static_cast<size_t>(level - 1)];
    const LearnLevel& previous = r.levels[static_cast<size_t>(level - 1)];
    return before.passed != 0 || (before.grade >= r.threshold && before.profit >= previous.target);
}

std::string learn_choice_path(LearnRecord& r, int choice)
{
    std::string name;
    bool last = choice == static_cast<int>(r.levels.size());
    if (last)
        name = exists(r.folder + "/LASTLRN.VNB") ? "LASTLRN.VNB" : "LASTLRN";
    else if (choice >= 0 && choice < static_cast<int>(r.levels.size()))
        name = r.levels[static_cast<size_t>(choice)].file;
    else
        return {};
    name = forward_slashes(name);
    std::string path = r.folder.empty() ? name : r.folder + "/" + name;
    if (!exists(path)) {
        char box[200];
        if (last)
            std::snprintf(box, sizeof box, "Unable to open file of: last session");
        else
            std::snprintf(box, sizeof box, "Unable to open file of: %s",
                          r.levels[static_cast<size_t>(choice)].title.c_str());
        lang_message_box(0, box, "Open Session", plat::MB_OK);
        return {};
    }
    r.chosen_level = static_cast<int16_t>(choice);
    r.chosen_path = path;
    return path;
}

void strip_carriage_returns(std::string& text)
{
    std::erase(text, '\r');
}

std::optional<LearnOutcome> record_learn_result(LearnRecord& r, int32_t profit, float reputation_percent)
{
    LearnOutcome out;
    if (r.chosen_level < 0 || r.chosen_level >= static_cast<int16_t>(r.levels.size()))
        return std::nullopt;
    LearnLevel& level = r.levels[static_cast<size_t>(r.chosen_level)];
    char buf[64];
    std::snprintf(buf, sizeof buf, "%ld$", static_cast<long>(profit));
    out.profit_text = buf;
    std::snprintf(buf, sizeof buf, "%0.0f", static_cast<double>(reputation_percent));
    out.grade_text = buf;
    int16_t grade = static_cast<int16_t>(std::atoi(buf));

    // The row whose bound is the highest not above the profit; a profit
    // below every bound takes the first row.
    const LearnRow* row = level.rows.empty() ? nullptr : &level.rows.front();
    for (const LearnRow& candidate : level.rows)
        if (candidate.bound <= profit)
            row = &candidate;
    if (row != nullptr) {
        out.comment = grade < r.threshold ? row->lower : row->upper;
        strip_carriage_returns(out.comment);
    }

    size_t index = static_cast<size_t>(r.chosen_level);
    if (r.results.size() <= index)
        r.results.resize(index + 1);
    LearnResult& result = r.results[index];
    result.grade = grade;
    result.profit = profit;
    if (result.passed == 0 && grade >= r.threshold && profit >= level.target)
        result.passed = 1;
    save_learn_file(r);
    return out;
}

bool save_learn_file(const LearnRecord& r)
{
    std::vector<std::string> lines;
    char buf[800];
    auto line = [&](const std::string& text) { lines.push_back(text); };
    line("[FILE_LIST]\n");
    std::snprintf(buf, sizeof buf, "^%d^@\n", static_cast<int>(r.levels.size()));
    line(buf);
    for (const LearnLevel& l : r.levels) {
        std::snprintf(buf, sizeof buf, "^%s^%ld^%s^@\n", l.file.c_str(), static_cast<long>(l.target), l.title.c_str());
        line(buf);
    }
    line("$\n");
    line("[DDP_PROFIT_TABLE]\n");
    std::snprintf(buf, sizeof buf, "^%d^%d^@\n$\n", r.threshold, r.rows_per_level);
    line(buf);
    for (const LearnLevel& l : r.levels) {
        for (const LearnRow& row : l.rows) {
            std::string upper = row.upper, lower = row.lower;
            strip_carriage_returns(upper);
            strip_carriage_returns(lower);
            std::snprintf(buf, sizeof buf, "^%ld^%s^%s^@\n", static_cast<long>(row.bound), upper.c_str(), lower.c_str());
            line(buf);
        }
        line("$\n");
    }
    line("[RESULTS]\n");
    std::snprintf(buf, sizeof buf, "^%d^@\n", static_cast<int>(r.results.size()));
    line(buf);
    for (const LearnResult& res : r.results) {
        std::snprintf(buf, sizeof buf, "^%d^%ld^%d^@\n", res.grade, static_cast<long>(res.profit),
                      static_cast<int>(res.passed));
        line(buf);
    }
    line("$\n");
    line("[END OF FILE]\n");

    std::string temp = r.learn_path + ".tmp";
    std::FILE* f = plat::crt_fopen(temp.c_str(), "wb");
    bool ok = f != nullptr;
    int err = errno;
    for (std::string& l : lines) {
        if (!ok)
            break;
        if (r.coded)
            code_string(l);
        ok = std::fwrite(l.data(), 1, l.size(), f) == l.size();
        err = errno;
    }
    if (f != nullptr)
        ok = std::fclose(f) == 0 && ok;
    ok = ok && plat::MoveFile(temp.c_str(), r.learn_path.c_str());
    if (!ok) {
        plat::DeleteFile(temp.c_str());
        std::snprintf(buf, sizeof buf, "errno=%d", err);
        lang_message_box(0, buf, "Debug", plat::MB_OK);
    }
    return ok;
}
