// Who owns the session: starts a new one beside the old, keeps the old when
// the new one fails to load, and runs closes and starts asked for from
// inside a tick or a dialog only once both are done.
#pragma once
#include "app/view.h"
#include <functional>
#include <memory>
#include <optional>
#include <string>

class SessionManager {
public:
    explicit SessionManager(Configuration config, DepartmentFactory factory = base_departments);
    ~SessionManager();
    SessionManager(const SessionManager&) = delete;
    SessionManager& operator=(const SessionManager&) = delete;

    // Loads the scenario or saved session into a new session; only when
    // that succeeded is the old one closed and the new one begun.
    bool StartSession(const std::string& path, const StartOptions& options = {});
    void CloseSession();
    // From a tick, a tutor message or a dialog: every open dialog is asked
    // to close (top first); the close (and the start after it) runs when no
    // tick is on the stack and no dialog or modal loop is open.
    void RequestClose();
    void RequestStart(const std::string& path, const StartOptions& options = {});
    // Runs a pending request when it may; true when one ran.
    bool ProcessRequests();
    // No tick on the stack and no dialog or modal loop open: a session may
    // close or start now.
    bool may_run_requests() const;
    // The application's idle work: pending requests, then the session's.
    void IdleStep();

    CVornView* view() const { return view_.get(); }
    const Configuration& configuration() const { return config_; }
    void set_ui(ViewUi* ui);
    void set_wall_clock(std::function<int64_t()> clock);
    // Hooks of the windowed program: the number of open dialogs and a way
    // to ask each to close, top first.
    std::function<int()> open_dialogs;
    std::function<void()> close_dialogs;
    // Called for each new session before it loads (run logs, learn results).
    std::function<void(CVornView&)> prepare_view;
    // Logging outlives a session: each new one starts with the last one's flag.
    int32_t logging = 0;

private:
    Configuration config_;
    DepartmentFactory factory_;
    std::unique_ptr<CVornView> view_;
    ViewUi* ui_ = nullptr;
    std::function<int64_t()> wall_clock_;
    bool close_pending_ = false;
    std::optional<std::pair<std::string, StartOptions>> start_pending_;
};
