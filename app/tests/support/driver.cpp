// The headless session driver.
#include "support/driver.h"
#include <filesystem>
#include <stdexcept>

SessionDriver::SessionDriver() = default;

SessionDriver::~SessionDriver()
{
    sessions_.reset();
    if (!previous_dir_.empty())
        std::filesystem::current_path(previous_dir_);
}

bool SessionDriver::start(const std::string& path, DriverOptions options)
{
    options_ = std::move(options);
    if (options_.script)
        options_.script(host_);
    if (!options_.workdir.empty()) {
        if (previous_dir_.empty())
            previous_dir_ = std::filesystem::current_path().string();
        std::filesystem::current_path(options_.workdir);
    }
    if (!sessions_) {
        sessions_ = std::make_unique<SessionManager>(options_.config, options_.factory);
        sessions_->set_wall_clock([this] { return wall; });
    }
    StartOptions start;
    start.seed = options_.seed;
    start.ask_resume = options_.ask_resume;
    start.learn = options_.learn;
    return sessions_->StartSession(path, start);
}

CVornView& SessionDriver::view() const
{
    if (!sessions_ || sessions_->view() == nullptr)
        throw std::logic_error("no session open");
    return *sessions_->view();
}

int16_t SessionDriver::state() const { return view().run_state; }
int32_t SessionDriver::tickCount() const { return view().tick_count; }
const CClockPane& SessionDriver::clock() const { return view().clock; }

int SessionDriver::run(const std::function<bool()>& done)
{
    CVornView& v = view();
    // Another driver's session may be the process's active one: while this
    // one runs, its draws and work days are its own session's.
    // A session closed while running (a queued close) took its view with it: the
    // active one is then none, not the view that is gone.
    struct Active {
        CVornView* old;
        const CVornView* ran;
        SessionManager& sessions;
        ~Active() { set_active_view(old == ran && sessions.view() != ran ? nullptr : old); }
    } active{set_active_view(&v), &v, *sessions_};
    // HOLD: the test's rule answers it; true while the session stays held.
    auto held = [this](CVornView& view) {
        if (view.run_state != RUN_HOLD)
            return false;
        if (options_.on_hold)
            options_.on_hold(view);
        else
            view.RestoreHold();
        return view.run_state == RUN_HOLD;
    };
    // A session may be held before its first run: a decision of the start's day.
    if (held(v))
        return 0;
    v.run_until = v.clock.current;
    v.run_until.year = static_cast<int16_t>(v.run_until.year + 100);
    v.SetRunState(RUN_RUNNING);
    int ticks = 0;
    while (!done()) {
        set_active_view(sessions_->view());
        int32_t before = sessions_->view()->tick_count;
        sessions_->IdleStep();
        CVornView* now = sessions_->view();
        if (now == nullptr)
            break;
        ticks += now->tick_count - before;
        if (held(*now))
            break;
        if (now->run_state == RUN_OVER)
            break;
        if (now->run_state == RUN_STOPPED) {
            if (!options_.continue_on_stop)
                break;
            now->Continue();
        }
    }
    return ticks;
}

int SessionDriver::runTicks(int n)
{
    int32_t target = view().tick_count + n;
    return run([&] { return sessions_->view() == nullptr || sessions_->view()->tick_count >= target; });
}

int SessionDriver::runUntil(const SimDateTime& moment)
{
    return run([&] {
        return sessions_->view() == nullptr || compare_dates(sessions_->view()->clock.current, moment) != 0;
    });
}

bool SessionDriver::save(const std::string& path, bool show_message)
{
    return view().SaveSession(path, show_message);
}

std::vector<std::string> SessionDriver::prompts() const
{
    std::vector<std::string> out;
    for (const plat::BoxRecord& b : host_.boxes())
        out.push_back(b.caption + "|" + b.text);
    return out;
}
