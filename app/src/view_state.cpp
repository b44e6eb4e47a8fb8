// The session's state files: the header file with the view's, the clock's
// and the Reputation pane's records, and one file per department.
#include "app/view.h"
#include "app/state_names.h"
#include "foundation/binfile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <array>
#include <vector>

static constexpr int32_t CORE_MARKER = 2314;

// The core's fields in the files' tails. A file's tail is the department's
// part (save_tail) first, then these, in this order; a field for every file
// of a set names them all.
namespace {
constexpr unsigned in_file(StateFile f) { return 1u << static_cast<unsigned>(f); }

struct CoreTailField {
    unsigned files;
    void (*save)(const CVornView& view, BinFile& f);
    bool (*load)(CVornView& view, BinFile& f);
};

// The generator's state: a resumed session draws on where the saved one stopped.
void save_generator(const CVornView& view, BinFile& f) { f.WriteI32(static_cast<int32_t>(view.rand_state())); }
bool load_generator(CVornView& view, BinFile& f)
{
    const uint32_t state = static_cast<uint32_t>(f.ReadI32());
    if (f.Failed())
        return false;
    view.srand(state);
    return true;
}

const CoreTailField CORE_TAIL[] = {
    {in_file(StateFile::Header), save_generator, load_generator},
};
} // namespace

static bool exists(const std::string& name)
{
    std::string resolved = plat::ResolvePath(name.c_str());
    struct stat st{};
    return !resolved.empty() && ::stat(resolved.c_str(), &st) == 0;
}

static std::string canonical(const std::string& name)
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(plat::ResolvePath(name.c_str()), ec);
    return ec ? name : p.string();
}

// One byte more than the record holds means the file is not this record.
// The probe at the end marks the stream as short, so the caller judges the
// file by this answer and not by the result of Close.
static bool at_end(BinFile& f)
{
    char extra = 0;
    return !f.Failed() && f.Read(&extra, 1) == 0;
}

void CVornView::SaveCoreState(BinFile& f) const
{
    VersionId id = make_version_id(CURRENT_VERSION_ID);
    f.WriteChars(id.data(), 8);
    f.WriteI32(tick_count);
    f.WriteI32(CORE_MARKER);
    f.WriteI32(timer.remaining);
    f.WriteI16(CTimerPane::RoundForSave(static_cast<int16_t>(timer.remaining & 0xFFFF), timer.initial));
}

bool CVornView::LoadCoreState(BinFile& f)
{
    VersionId id{};
    f.ReadChars(id.data(), 8);
    id[7] = 0;
    if (f.Failed() || !is_well_formed_version_id(id) ||
        compare_version_ids(version_text(id), CURRENT_VERSION_ID) > 0)
        return false;
    if (!CheckOldStateFiles(id))
        return false;
    int32_t ticks = f.ReadI32();
    int32_t marker = f.ReadI32();
    int32_t remaining = f.ReadI32();
    int16_t rounded = f.ReadI16();
    if (f.Failed() || ticks < 0)
        return false;
    tick_count = ticks;
    if (marker == CORE_MARKER)
        timer.remaining = remaining;
    else if (rounded < timer.remaining)
        timer.remaining = rounded;
    return true;
}

bool CVornView::CheckOldStateFiles(const VersionId& id)
{
    std::string_view text = version_text(id);
    if (compare_version_ids(text, OLDEST_VERSION_ID) < 0) {
        char box[1200];
        std::snprintf(box, sizeof box, "\nOld version of %s state files - program aborted", session_path.c_str());
        lang_message_box(0, box, config_.title.c_str(), plat::MB_OK | plat::MB_ICONSTOP);
        old_version_refused_ = true;
        return false;
    }
    state_version = compare_version_ids(text, FIRST_DISTINCT_VERSION_ID) < 0 ? make_version_id(OLDEST_VERSION_ID) : id;
    return true;
}

BOOL16 CVornView::CheckVersionId(std::string_view id) const
{
    if (compare_version_ids(id, OLDEST_VERSION_ID) < 0) {
        lang_message_box(0, "Invalid version ID", config_.title.c_str(), plat::MB_OK | plat::MB_ICONSTOP);
        plat::crt_exit(1);
    }
    return compare_version_ids(id, version_text(state_version)) <= 0 ? 1 : 0;
}

BOOL16 CVornView::IsOldestStateVersion() const
{
    return version_text(state_version) == OLDEST_VERSION_ID ? 1 : 0;
}

bool CVornView::HasStateTail() const { return CheckVersionId(STATE_TAIL_VERSION_ID) != 0; }

void CVornView::save_core_tail(BinFile& f, StateFile which) const
{
    for (const CoreTailField& field : CORE_TAIL)
        if (field.files & in_file(which))
            field.save(*this, f);
}

bool CVornView::load_core_tail(BinFile& f, StateFile which)
{
    for (const CoreTailField& field : CORE_TAIL)
        if ((field.files & in_file(which)) && !field.load(*this, f))
            return false;
    return true;
}

// The clock must be one the run can go on from: within the scenario's dates (a few days past
// the end, where a run that ended at the next day start stands) and inside the working day.
static bool valid_clock_record(const CClockPane& c)
{
    const SimDateTime& d = c.current;
    if (!(d.year >= 90 && d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= month_length(d.month, d.year) &&
          d.hour >= 0 && d.hour <= 23 && d.minute >= 0 && d.minute <= 59 && c.stored_month >= 1 &&
          c.stored_month <= 12 && c.month_of_year >= 1 && c.month_of_year <= 12 && c.years_elapsed >= 0 &&
          c.months_elapsed >= 0 && c.work_days_this_year >= 0 && c.work_days_this_month >= 0 &&
          c.work_days_last_month >= 0))
        return false;
    SimDateTime first = c.start_date;
    first.hour = 0;
    first.minute = 0;
    if (compare_dates(d, first) == 0 || compare_dates(d, add_days(c.session_end, 7)) == 2)
        return false;
    // Work days are counted one a started day: a month holds at most 31 of them, a year 366.
    if (c.work_days_this_month > 31 || c.work_days_last_month > 31 || c.work_days_this_year > 366)
        return false;
    // The year last seen by the new-year check lies between the start and today.
    if (c.stored_year < c.start_date.year || c.stored_year > d.year)
        return false;
    // The day ends when the hours reach the day's working hours; past them it never would.
    const int16_t day_hours = c.work_hours[static_cast<size_t>(weekday_of(d))];
    return c.hours_into_day >= 0 && (c.hours_into_day == 0 || c.hours_into_day < day_hours);
}

void CVornView::refuse_state_file(const std::string& name)
{
    char box[1200];
    std::snprintf(box, sizeof box, "Damaged session state file: '%s'\nThe session was not opened.", name.c_str());
    lang_message_box(0, box, "Open Session", plat::MB_OK | plat::MB_ICONSTOP);
}

bool CVornView::load_department_file(const std::string& name, StateFile which, CDepartmentWnd* department)
{
    BinFile f;
    if (!f.Open(name.c_str()) || department == nullptr) {
        refuse_state_file(name);
        return false;
    }
    bool ok = department->load_state(f);
    if (ok && HasStateTail())
        ok = department->load_tail(f) && load_core_tail(f, which);
    ok = ok && at_end(f);
    f.Close();
    if (!ok)
        refuse_state_file(name);
    return ok;
}

namespace {
// The department files in the order a save writes them and a load reads them.
struct DepartmentFile {
    const char* ext;
    StateFile which;
    CDepartmentWnd* CVornView::*department;
};
constexpr std::array<DepartmentFile, 4> department_files()
{
    return {{{"PRC", StateFile::Purchasing, &CVornView::purchasing},
             {"MRK", StateFile::Marketing, &CVornView::marketing},
             {"PRD", StateFile::Production, &CVornView::production},
             {"FNC", StateFile::Finance, &CVornView::finance}}};
}
} // namespace

bool CVornView::LoadSessionFiles(const std::string& path)
{
    std::string mgr = state_file_name(path, "MGR");
    if (!exists(mgr))
        return true;
    BinFile f;
    if (!f.Open(mgr.c_str())) {
        refuse_state_file(mgr);
        return false;
    }
    old_version_refused_ = false;
    bool ok = LoadCoreState(f);
    if (ok) {
        clock.LoadState(f);
        reputation.LoadState(f);
        ok = !f.Failed() && valid_clock_record(clock) && reputation.IsValidRecord();
        if (ok && HasStateTail())
            ok = load_core_tail(f, StateFile::Header);
        ok = ok && at_end(f);
    }
    f.Close();
    if (!ok) {
        if (!old_version_refused_)
            refuse_state_file(mgr);
        return false;
    }
    for (const DepartmentFile& file : department_files()) {
        std::string name = state_file_name(path, file.ext);
        if (!exists(name))
            break;
        if (!load_department_file(name, file.which, this->*file.department))
            return false;
    }
    return true;
}

namespace {
struct PendingFile {
    std::string target;
    std::string temp;
};
}

bool CVornView::SaveSession(const std::string& q, bool show_message)
{
    std::vector<PendingFile> pending;
    std::string failed;
    auto temp_of = [](const std::string& target) { return target + ".tmp"; };

    if (canonical(q) != canonical(session_path)) {
        PendingFile p{q, temp_of(q)};
        pending.push_back(p);
        if (!plat::CopyFile(session_path.c_str(), p.temp.c_str(), 0))
            failed = q;
    }
    auto write = [&](const char* ext, const std::function<void(BinFile&)>& body) {
        if (!failed.empty())
            return;
        PendingFile p{state_file_name(q, ext), ""};
        p.temp = temp_of(p.target);
        pending.push_back(p);
        BinFile f;
        if (!f.Create(p.temp.c_str())) {
            failed = p.target;
            return;
        }
        body(f);
        if (f.Close() != 0)
            failed = p.target;
    };
    write("MGR", [&](BinFile& f) {
        SaveCoreState(f);
        clock.SaveState(f);
        reputation.SaveState(f);
        save_core_tail(f, StateFile::Header);
    });
    for (const DepartmentFile& file : department_files())
        write(file.ext, [&, d = this->*file.department](BinFile& f) {
            if (d != nullptr) {
                d->save_state(f);
                d->save_tail(f);
            }
            save_core_tail(f, file.which);
        });

    if (failed.empty()) {
        for (const PendingFile& p : pending) {
            if (!plat::MoveFile(p.temp.c_str(), p.target.c_str())) {
                failed = p.target;
                break;
            }
        }
    }
    if (!failed.empty()) {
        for (const PendingFile& p : pending)
            plat::DeleteFile(p.temp.c_str());
        char box[1200];
        std::snprintf(box, sizeof box, "Unable to save the session file: '%s'\nThe session was not saved.",
                      failed.c_str());
        lang_message_box(0, box, "Save Session", plat::MB_OK | plat::MB_ICONSTOP);
        return false;
    }
    if (show_message && !learn_session) {
        char box[1200];
        std::snprintf(box, sizeof box, "Session was saved successfully as: '%s'", q.c_str());
        lang_message_box(0, box, "Save Session", plat::MB_OK | plat::MB_ICONINFORMATION);
    }
    return true;
}
