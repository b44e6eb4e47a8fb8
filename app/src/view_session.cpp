// The session lifecycle: the scenario's sections in their fixed order, the
// seed, the resume offer and the first tick; closing.
#include "app/tutor_link.h"
#include "app/view.h"
#include "app/run_log.h"
#include "app/state_names.h"
#include "foundation/datafile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/randtables.h"
#include "load_guard_p.h"
#include "plat/fw/app.h"
#include "plat/window.h"
#include "plat/config.h"
#include "plat/crt.h"
#include "plat/module.h"
#include "plat/path.h"
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

static CVornView* g_active_view = nullptr;

// What the foundation asks of the running session: the view itself, the
// clock's shift mode and working days, the screen scale, and the session's
// generator for every draw (the named tables' included).
static void install_view_services()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    set_view_accessor([] { return g_active_view; });
    set_shift_mode_source([] { return g_active_view != nullptr ? static_cast<int>(g_active_view->clock.shift_mode) : 0; });
    set_random_source([] { return g_active_view != nullptr ? g_active_view->rand() : -1; });
    set_add_work_days([](const SimDateTime& date, int n) {
        return g_active_view != nullptr ? g_active_view->clock.AddWorkDays(date, n) : add_days(date, static_cast<int16_t>(n));
    });
}

CVornView* set_active_view(CVornView* view)
{
    install_view_services();
    CVornView* old = g_active_view;
    g_active_view = view;
    if (view != nullptr)
        set_screen_scale(view->scale_x, view->scale_y);
    return old;
}

CVornView* active_view() { return g_active_view; }

Departments base_departments(CVornView&)
{
    Departments d;
    d.marketing = std::make_unique<CDepartmentWnd>();
    d.production = std::make_unique<CDepartmentWnd>();
    d.purchasing = std::make_unique<CDepartmentWnd>();
    d.finance = std::make_unique<CDepartmentWnd>();
    return d;
}

void attach_panels(Departments& departments, const PanelMaker& panels)
{
    if (!panels)
        return;
    for (std::unique_ptr<CDepartmentWnd>* d : {&departments.marketing, &departments.production,
                                               &departments.purchasing, &departments.finance,
                                               &departments.management})
        if (*d)
            (*d)->set_window(panels(**d));
}

CVornView::CVornView(const Configuration& config, DepartmentFactory factory)
    : config_(config), factory_(std::move(factory))
{
    state_version = make_version_id(CURRENT_VERSION_ID);
    plat::SIZE desk = plat::DesktopSize();
    scale_x = static_cast<float>(desk.cx) / 640.0f;
    scale_y = static_cast<float>(desk.cy) / 480.0f;
    large_screen = desk.cx > 640 ? 1 : 0;
    hide_sales_graph = config.hide_sales_graph ? 1 : 0;
    month_start_hook = config.month_start_hook ? 1 : 0;
    if (plat::HINSTANCE resources = plat::AfxGetResourceHandle())
        hand_cursor = plat::LoadCursor(resources, HAND_CURSOR_ID);
}

CVornView::~CVornView()
{
    if (g_active_view == this)
        g_active_view = nullptr;
}

int64_t CVornView::wall_now() const
{
    return wall_clock_ ? wall_clock_() : plat::crt_time();
}

static bool file_exists(const std::string& name)
{
    std::string resolved = plat::ResolvePath(name.c_str());
    struct stat st{};
    return !resolved.empty() && ::stat(resolved.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The layer starts "compare.exe" as the program of that name beside ours.
static bool comparer_installed()
{
    const std::string path = plat::ExecutableDir() + "/" + plat::ModuleFileNameFor("compare.exe");
    return ::access(path.c_str(), X_OK) == 0;
}

namespace {
// GetView answers the session being loaded while its loaders run.
struct ActiveDuring {
    explicit ActiveDuring(CVornView* v) : old(set_active_view(v)) {}
    ~ActiveDuring() { set_active_view(old); }
    CVornView* old;
};
}

bool CVornView::LoadSession(const std::string& path, const StartOptions& options)
{
    ActiveDuring active(this);
    LoadGuard guard;
    try {
        random_seed = -1;
        first_department_command = 0;
        tick_count = -1;
        run_state = RUN_STOPPED;
        held_department = HELD_NONE;
        learn_session = options.learn ? 1 : 0;
        // A translator's new lines count from this session on.
        lang_load(-1);

        owned_ = factory_(*this);
        marketing = owned_.marketing.get();
        production = owned_.production.get();
        purchasing = owned_.purchasing.get();
        finance = owned_.finance.get();
        management = owned_.management.get();
        const std::pair<CDepartmentWnd*, const char*> names[] = {
            {marketing, "Marketing View"}, {production, "Production View"},
            {purchasing, "Purchasing View"}, {finance, "Finance View"}};
        for (const auto& [d, name] : names) {
            if (d == nullptr)
                continue;
            d->set_view(this);
            d->set_names(name, name);
        }

        session_path = path;
        DataFile file;
        if (!file.Open(path.c_str())) {
            lang_message_box(0, "Unable to open paramters file", "Application Error",
                             plat::MB_OK | plat::MB_ICONSTOP);
            return false;
        }
        data_file_coded = file.IsCoded() ? 1 : 0;
        LoadData(file);

        // Two numbers for the run log from a time seed, then the session's own seed.
        int64_t now = wall_now();
        rng.seed(static_cast<uint32_t>(now));
        log_seeds[0] = rng.next();
        log_seeds[1] = rng.next();
        if (options.seed)
            random_seed = *options.seed;
        if (random_seed == -1 || random_seed == 0) {
            bool show = random_seed == 0;
            random_seed = static_cast<int32_t>(now);
            rng.seed(static_cast<uint32_t>(random_seed));
            if (show && ui_ != nullptr) {
                if (std::optional<int32_t> chosen = ui_->change_seed(random_seed)) {
                    random_seed = *chosen;
                    rng.seed(static_cast<uint32_t>(random_seed));
                    seed_set = 1;
                }
            }
        } else {
            rng.seed(static_cast<uint32_t>(random_seed));
        }

        resumed_ = ResumeLastSession(options);
    } catch (const LoadRefused&) {
        return false;
    }
    return true;
}

void CVornView::LoadData(DataFile& file)
{
    data_file_ = &file;
    struct Clear {
        DataFile*& f;
        ~Clear() { f = nullptr; }
    } clear{data_file_};

    clock.LoadTimeSection(file);
    reputation.LoadStatusSection(file);
    timer.LoadTimerSection(file);
    for (CDepartmentWnd* d : {purchasing, marketing, production, finance})
        if (d != nullptr)
            d->load_data();
    load_debug_section(file);
    load_new_features(file);
    for (CDepartmentWnd* d : {purchasing, marketing, production, finance})
        if (d != nullptr)
            d->LoadMenuOptions(file);
    file.Close();
    for (CDepartmentWnd* d : {marketing, finance, production})
        if (d != nullptr)
            d->after_load();
}

void CVornView::load_debug_section(DataFile& file)
{
    std::string text, rec;
    find_section(file, "DEBUG", text, 1);
    get_record(1, 1, text, rec);
    for (int i = 0; i < 5; ++i)
        debug_values[i] = static_cast<int16_t>(get_item_int(static_cast<int16_t>(i + 1), rec));
}

static bool item_set(const std::string& record, int16_t n, std::string& out)
{
    get_item(n, record, out);
    return out != "-1";
}

void CVornView::load_new_features(DataFile& file)
{
    std::string text, rec, item;
    if (!find_section(file, "NEW_FEATURES", text, 0))
        return;
    new_features_present = 1;
    int16_t count = get_record(1, 1, text, rec);
    if (item_set(rec, 1, item)) {
        SimDateTime end{};
        bool six_digits = item.size() == 6 && item.find_first_not_of("0123456789") == std::string::npos;
        bool ok = false;
        if (six_digits) {
            end = parse_ddmmyy(item.c_str());
            ok = end.month >= 1 && end.month <= 12 && end.day >= 1 &&
                 end.day <= month_length(end.month, end.year);
        } else {
            ok = parse_date_text(item.c_str(), clock.date_order, end) == 1;
        }
        if (!ok) {
            data_file_position().item = 1;
            data_load_error(LOAD_ITEM);
        }
        clock.session_end = end;
    }
    if (item_set(rec, 2, item)) {
        int32_t n = get_item_int(2, rec);
        if (n < 0 || n > 4) {
            data_file_position().item = 2;
            data_load_error(LOAD_ITEM);
        }
        first_department_command = ID_MARKETING + (n == 4 ? 0 : n);
    }
    if (item_set(rec, 3, item))
        story_file = item;
    if (count > 3 && item_set(rec, 4, item))
        random_seed = get_item_int(4, rec);
    if (count > 4 && item_set(rec, 5, item))
        new_features_item5 = get_item_int(5, rec);
    if (count > 5 && item_set(rec, 6, item))
        new_features_item6 = get_item_int(6, rec);
}

bool CVornView::ResumeLastSession(const StartOptions& options)
{
    finish_interrupted_save(session_path);
    for (const char* ext : {"MGR", "MRK", "PRD", "PRC", "FNC"})
        if (!file_exists(state_file_name(session_path, ext)))
            return false;
    int ask = 0;
    if (options.ask_resume)
        ask = *options.ask_resume;
    else if (const plat::CWinApp* app = plat::AfxGetApp())
        ask = app->GetProfileInt("General", "AskResumeSession", 0);
    if (ask != 0 &&
        lang_message_box(0, "Resume last session?", "Open Session",
                         plat::MB_YESNO | plat::MB_ICONQUESTION) != plat::IDYES)
        return false;
    if (!LoadSessionFiles(session_path))
        throw LoadRefused{};
    return true;
}

void CVornView::BeginSession()
{
    SetRunState(RUN_STOPPED);
    saved_run_state = RUN_STOPPED;
    timer.last_count = wall_now();
    if (!resumed_)
        SimulationTick(RESTART_NONE);
    session_end_pane = clock.session_end;
    run_until = clock.current;
    SwitchDepartment(first_department_command == 0 ? ID_MARKETING : first_department_command);
    clock.session_start = clock.current;
    session_open = 1;
    if (!story_file.empty() && ui_ != nullptr)
        ui_->show_story(story_file);
    if (logging) {
        run_log = std::make_unique<RunLog>();
        run_log->open(*this);
    }
    compare_available = file_exists("compare.exe") || comparer_installed() ? 1 : 0;
    WriteDecisionMenu(*this);
}

void CVornView::ChangeSeed(int32_t seed)
{
    random_seed = seed;
    rng.seed(static_cast<uint32_t>(seed));
    seed_set = 1;
}

void CVornView::ToggleLogging()
{
    logging = logging ? 0 : 1;
    if (logging) {
        lang_message_box(0, "Logging ON", config_.title.c_str(), plat::MB_OK);
        if (session_open) {
            run_log = std::make_unique<RunLog>();
            run_log->open(*this);
        }
    } else {
        lang_message_box(0, "Logging OFF", config_.title.c_str(), plat::MB_OK);
    }
}

void CVornView::log_decision(const char* department, const char* key, const std::string& item,
                             const std::string& old_value, const std::string& new_value, int kind, int action)
{
    if (decision_hook)
        decision_hook(department, key, item, old_value, new_value, kind, action);
    if (logging && run_log)
        run_log->decision(*this, department, key, item, old_value, new_value, action);
}

void CVornView::log_summary()
{
    if (logging && run_log)
        run_log->summary(*this);
}

void CVornView::CloseSession()
{
    if (!session_open)
        return;
    SetRunState(RUN_STOPPED);
    log_summary();
    current_department = nullptr;
    marketing = production = purchasing = finance = management = nullptr;
    owned_ = Departments{};
    story_file.clear();
    session_open = 0;
}
