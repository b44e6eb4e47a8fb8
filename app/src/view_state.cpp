// The session's state files: the header file with the view's, the clock's
// and the Reputation pane's records, and one file per department.
#include "app/view.h"
#include "app/state_names.h"
#include "load_guard_p.h"
#include "foundation/binfile.h"
#include "foundation/file_steps.h"
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
// of a set names them all. Sealing rows come last: they are written once
// every file of the set holds its body.
namespace {
constexpr unsigned in_file(StateFile f) { return 1u << static_cast<unsigned>(f); }
constexpr unsigned EVERY_FILE = in_file(StateFile::Header) | in_file(StateFile::Purchasing) |
                                in_file(StateFile::Marketing) | in_file(StateFile::Production) |
                                in_file(StateFile::Finance);

struct CoreTailField {
    unsigned files;
    bool sealing;
    int32_t bytes;
    void (*save)(const CVornView& view, BinFile& f, uint32_t set_serial);
    bool (*load)(CVornView& view, BinFile& f, StateFile which, uint32_t& set_serial);
};

// The generator's state: a resumed session draws on where the saved one stopped.
void save_generator(const CVornView& view, BinFile& f, uint32_t)
{
    f.WriteI32(static_cast<int32_t>(view.rand_state()));
}
bool load_generator(CVornView& view, BinFile& f, StateFile, uint32_t&)
{
    const uint32_t state = static_cast<uint32_t>(f.ReadI32());
    if (f.Failed())
        return false;
    view.srand(state);
    return true;
}

// The set's serial: every file of one save carries the same, so a set whose
// files come from two saves (a save cut off between its renames, files
// copied by hand) is refused and never run as one session.
void save_serial(const CVornView&, BinFile& f, uint32_t set_serial) { f.WriteI32(static_cast<int32_t>(set_serial)); }
bool load_serial(CVornView&, BinFile& f, StateFile which, uint32_t& set_serial)
{
    const uint32_t serial = static_cast<uint32_t>(f.ReadI32());
    if (f.Failed())
        return false;
    if (which == StateFile::Header)
        set_serial = serial;
    return serial == set_serial;
}

constexpr CoreTailField CORE_TAIL[] = {
    {in_file(StateFile::Header), false, 4, save_generator, load_generator},
    {EVERY_FILE, true, 4, save_serial, load_serial},
};

// The bytes of the core's rows at the end of a file of the set.
int32_t core_tail_bytes(StateFile which)
{
    int32_t n = 0;
    for (const CoreTailField& field : CORE_TAIL)
        if (field.files & in_file(which))
            n += field.bytes;
    return n;
}

// The serial sits in the last four bytes of every file of a set.
constexpr int32_t SERIAL_BYTES = 4;
static_assert(CORE_TAIL[std::size(CORE_TAIL) - 1].sealing && CORE_TAIL[std::size(CORE_TAIL) - 1].files == EVERY_FILE);
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

// The layout a file of this id has: every id before the first distinct one
// has the oldest's, and no file older than that is read or written.
static VersionId layout_of(std::string_view id)
{
    return compare_version_ids(id, FIRST_DISTINCT_VERSION_ID) < 0 ? make_version_id(OLDEST_VERSION_ID)
                                                                    : make_version_id(id);
}

void CVornView::SaveCoreState(BinFile& f, std::string_view version) const
{
    VersionId id = make_version_id(version);
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
        // The program ends here, not only this load: the box says so.
        exit_past_load_guard(0);
    }
    state_version = layout_of(text);
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

void CVornView::save_core_tail(BinFile& f, StateFile which, bool sealing, uint32_t set_serial) const
{
    for (const CoreTailField& field : CORE_TAIL)
        if ((field.files & in_file(which)) && field.sealing == sealing)
            field.save(*this, f, set_serial);
}

bool CVornView::load_core_tail(BinFile& f, StateFile which, uint32_t& set_serial)
{
    for (const CoreTailField& field : CORE_TAIL)
        if ((field.files & in_file(which)) && !field.load(*this, f, which, set_serial))
            return false;
    return true;
}

// The clock must be one the run can go on from: within the scenario's dates (a few days past
// the end, where a run that ended at the next day start stands), its counters agreeing with
// them (the working day is checked by inside_working_day).
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
    // Work days are counted one a started day: a month holds at most 31 of them, a year 366,
    // and no more than the days gone by in them; the month's are counted in the year's too.
    int32_t day_of_year = d.day;
    for (int16_t m = 1; m < d.month; ++m)
        day_of_year += month_length(m, d.year);
    if (c.work_days_this_month > 31 || c.work_days_last_month > 31 || c.work_days_this_year > 366 ||
        c.work_days_this_month > d.day || c.work_days_this_year > day_of_year ||
        c.work_days_this_month > c.work_days_this_year)
        return false;
    // The new-year and new-month checks run in the tick that moves the date, so a saved clock
    // has seen its own year and month, and its year and month counters follow from the dates
    // (a new year empties the month count, the new month then starts it at one). A clock that
    // disagrees would count a month twice or not at all and save one that is refused.
    const int32_t years = d.year - c.start_date.year;
    const int32_t months = years * 12 + d.month - c.start_date.month;
    if (c.stored_year != d.year || c.stored_month != d.month || c.years_elapsed != years ||
        c.months_elapsed != months || c.month_of_year != (years == 0 ? months + 1 : d.month))
        return false;
    return c.hours_into_day >= 0;
}

// The day ends when the hours reach the day's working hours; past them it never would. The
// hours come from the shift the plant runs today, which the Production file gives back (an
// extra shift), so this is checked once the department files are in.
static bool inside_working_day(const CClockPane& c)
{
    const int16_t day_hours = c.work_hours[static_cast<size_t>(weekday_of(c.current))];
    return c.hours_into_day == 0 || c.hours_into_day < day_hours;
}

void CVornView::refuse_state_file(const std::string& name)
{
    char box[1200];
    std::snprintf(box, sizeof box, "Damaged session state file: '%s'\nThe session was not opened.", name.c_str());
    lang_message_box(0, box, "Open Session", plat::MB_OK | plat::MB_ICONSTOP);
}

bool CVornView::load_department_file(const std::string& name, StateFile which, CDepartmentWnd* department,
                                     uint32_t& set_serial)
{
    BinFile f;
    if (!f.Open(name.c_str()) || department == nullptr) {
        refuse_state_file(name);
        return false;
    }
    // A department reads its state and its tail up to the core's rows, which follow them.
    const bool tails = HasStateTail();
    const int32_t department_end = tails ? f.Length() - core_tail_bytes(which) : -1;
    bool ok = !tails || (department_end >= 0 && f.EndAt(department_end));
    ok = ok && department->load_state(f);
    if (ok && tails)
        ok = department->load_tail(f) && f.Tell() == department_end && f.EndAt(-1) &&
             load_core_tail(f, which, set_serial);
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
    uint32_t set_serial = 0;
    bool ok = LoadCoreState(f);
    if (ok) {
        clock.LoadState(f);
        reputation.LoadState(f);
        ok = !f.Failed() && valid_clock_record(clock) && reputation.IsValidRecord();
        if (ok && HasStateTail())
            ok = load_core_tail(f, StateFile::Header, set_serial);
        ok = ok && at_end(f);
    }
    f.Close();
    if (!ok) {
        refuse_state_file(mgr);
        return false;
    }
    for (const DepartmentFile& file : department_files()) {
        std::string name = state_file_name(path, file.ext);
        if (!exists(name))
            break;
        if (!load_department_file(name, file.which, this->*file.department, set_serial))
            return false;
    }
    if (!inside_working_day(clock)) {
        refuse_state_file(mgr);
        return false;
    }
    return true;
}

namespace {
// The serial a file of a set ends with; false when it has none to read.
bool serial_of(const std::string& name, uint32_t& serial)
{
    BinFile f;
    if (!f.Open(name.c_str()))
        return false;
    const int32_t length = f.Length();
    bool ok = length >= SERIAL_BYTES && f.SeekTo(length - SERIAL_BYTES);
    serial = ok ? static_cast<uint32_t>(f.ReadI32()) : 0;
    ok = ok && !f.Failed();
    f.Close();
    return ok;
}

std::string temp_of(const std::string& target) { return target + ".tmp"; }
} // namespace

// A save moves its files into place only once every one of them is on the
// disk beside its target, and moves the header last. A save cut off while
// moving them (the program killed, a rename refused) leaves its whole set
// there, part moved and part waiting; the waiting part is moved now, so the
// session opens as that save wrote it. A set not wholly written leaves the
// old files alone.
void CVornView::finish_interrupted_save(const std::string& path)
{
    const std::string mgr = state_file_name(path, "MGR");
    uint32_t serial = 0;
    if (!serial_of(temp_of(mgr), serial))
        return;
    std::vector<std::string> waiting;
    for (const DepartmentFile& file : department_files()) {
        const std::string name = state_file_name(path, file.ext);
        uint32_t s = 0;
        if (serial_of(temp_of(name), s) && s == serial)
            waiting.push_back(name);
        else if (!serial_of(name, s) || s != serial)
            return;
    }
    for (const std::string& name : waiting)
        if (!rename_file(temp_of(name), name))
            return;
    rename_file(temp_of(mgr), mgr);
}

bool CVornView::SaveSession(const std::string& q, bool show_message, std::string_view version)
{
    // The savers ask the version gate the loaders ask: for this save, the
    // gate answers for the file being written. The session's own id (the
    // one it was read from) comes back after it.
    struct WrittenVersion {
        VersionId& gate;
        VersionId kept;
        WrittenVersion(VersionId& g, std::string_view v) : gate(g), kept(g) { gate = layout_of(v); }
        ~WrittenVersion() { gate = kept; }
    } written(state_version, version);
    const bool tails = HasStateTail();
    struct Member {
        std::string target;
        StateFile which = StateFile::Header;
        CDepartmentWnd* department = nullptr;
        BinFile file;
        bool created = false;
    };
    // The header first, then the departments in their order.
    constexpr auto departments = department_files();
    Member set[1 + departments.size()];
    set[0].target = state_file_name(q, "MGR");
    for (size_t i = 0; i < departments.size(); ++i) {
        const DepartmentFile& file = departments[i];
        set[i + 1].target = state_file_name(q, file.ext);
        set[i + 1].which = file.which;
        set[i + 1].department = this->*file.department;
    }
    std::string failed;
    const bool copy = canonical(q) != canonical(session_path);
    if (copy && !plat::CopyFile(session_path.c_str(), temp_of(q).c_str(), 0))
        failed = q;

    for (Member& m : set) {
        if (!failed.empty())
            break;
        if (!m.file.Create(temp_of(m.target).c_str())) {
            failed = m.target;
            break;
        }
        m.created = true;
        if (m.which == StateFile::Header) {
            SaveCoreState(m.file, version);
            clock.SaveState(m.file);
            reputation.SaveState(m.file);
        } else if (m.department != nullptr) {
            m.department->save_state(m.file);
            if (tails)
                m.department->save_tail(m.file);
        }
        if (tails)
            save_core_tail(m.file, m.which, false, 0);
    }
    // The serial is a digest of the whole set: the same session saved twice
    // gives the same bytes, two different saves (almost surely) differ.
    uint32_t serial = 2166136261u;
    for (const Member& m : set)
        for (int shift = 0; shift < 32; shift += 8)
            serial = (serial ^ ((m.file.WrittenDigest() >> shift) & 0xFFu)) * 16777619u;
    // Each file checked, flushed and on the disk before any is moved.
    for (Member& m : set) {
        if (!m.created)
            continue;
        if (failed.empty() && tails)
            save_core_tail(m.file, m.which, true, serial);
        if (m.file.Close() != 0 && failed.empty())
            failed = m.target;
    }

    // The copy first, then the departments, the header last (see finish_interrupted_save).
    int moved = 0;
    if (failed.empty() && copy && !rename_file(temp_of(q), q))
        failed = q;
    for (size_t i = 1; i <= std::size(set) && failed.empty(); ++i) {
        const Member& m = set[i % std::size(set)];
        if (!rename_file(temp_of(m.target), m.target))
            failed = m.target;
        else
            ++moved;
    }
    if (!failed.empty()) {
        char box[1200];
        if (moved == 0) {
            plat::DeleteFile(temp_of(q).c_str());
            for (const Member& m : set)
                plat::DeleteFile(temp_of(m.target).c_str());
            std::snprintf(box, sizeof box, "Unable to save the session file: '%s'\nThe session was not saved.",
                          failed.c_str());
        } else {
            std::snprintf(box, sizeof box,
                          "Unable to put the session file in place: '%s'\nThe session was saved; its other files "
                          "are put in place when it is next opened.",
                          failed.c_str());
        }
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
