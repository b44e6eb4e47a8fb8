// Runs a session headless: the idle work without the event loop, boxes
// answered by the scripted host, HOLD and stops handled by the test's rule.
#pragma once
#include "app/sessions.h"
#include "plat/testing.h"
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct DriverOptions {
    std::optional<int32_t> seed = 1;
    std::string workdir;                       // current folder while running
    std::function<void(plat::ScriptedHost&)> script;
    bool continue_on_stop = false;             // a department's stop: Continue
    // HOLD: called with the view; the default restores the hold.
    std::function<void(CVornView&)> on_hold;
    Configuration config;
    DepartmentFactory factory = base_departments;
    int ask_resume = 0;
    bool learn = false;
};

class SessionDriver {
public:
    SessionDriver();
    ~SessionDriver();

    bool start(const std::string& path, DriverOptions options = {});
    // Runs until n more ticks were made or the session stopped for good.
    int runTicks(int n);
    // Runs until the clock reaches the moment (or the session is over).
    int runUntil(const SimDateTime& moment);
    int16_t state() const;
    int32_t tickCount() const;
    const CClockPane& clock() const;
    CVornView& view() const;
    SessionManager& sessions() { return *sessions_; }
    bool save(const std::string& path, bool show_message = false);
    plat::ScriptedHost& host() { return host_; }
    // Text of every box seen, "caption|text".
    std::vector<std::string> prompts() const;
    // The simulated wall clock, in seconds; tests move it.
    int64_t wall = 1000000;

private:
    int run(const std::function<bool()>& done);
    plat::ScriptedHost host_;
    std::unique_ptr<SessionManager> sessions_;
    DriverOptions options_;
    std::string previous_dir_;
};
