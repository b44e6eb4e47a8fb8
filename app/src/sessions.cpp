// The session owner.
#include "app/sessions.h"
#include "plat/modal.h"

SessionManager::SessionManager(Configuration config, DepartmentFactory factory)
    : config_(std::move(config)), factory_(std::move(factory))
{
}

SessionManager::~SessionManager()
{
    CloseSession();
}

void SessionManager::set_ui(ViewUi* ui)
{
    ui_ = ui;
    if (view_)
        view_->set_ui(ui);
}

void SessionManager::set_wall_clock(std::function<int64_t()> clock)
{
    wall_clock_ = std::move(clock);
    if (view_)
        view_->set_wall_clock(wall_clock_);
}

bool SessionManager::StartSession(const std::string& path, const StartOptions& options)
{
    auto next = std::make_unique<CVornView>(config_, factory_);
    next->set_ui(ui_);
    if (wall_clock_)
        next->set_wall_clock(wall_clock_);
    if (prepare_view)
        prepare_view(*next);
    if (!next->LoadSession(path, options))
        return false;
    CloseSession();
    next->logging = logging;
    view_ = std::move(next);
    set_active_view(view_.get());
    view_->BeginSession();
    return true;
}

void SessionManager::CloseSession()
{
    if (!view_)
        return;
    logging = view_->logging;
    view_->CloseSession();
    if (active_view() == view_.get())
        set_active_view(nullptr);
    view_.reset();
}

void SessionManager::RequestClose()
{
    close_pending_ = true;
    if (close_dialogs)
        close_dialogs();
}

void SessionManager::RequestStart(const std::string& path, const StartOptions& options)
{
    start_pending_.emplace(path, options);
    RequestClose();
}

bool SessionManager::may_run_requests() const
{
    if (view_ && view_->tick_depth() > 0)
        return false;
    if (open_dialogs && open_dialogs() > 0)
        return false;
    return plat::ModalDepth() == 0;
}

bool SessionManager::ProcessRequests()
{
    if (!close_pending_ || !may_run_requests())
        return false;
    close_pending_ = false;
    if (start_pending_) {
        // The old session stays when the new one does not load.
        auto [path, options] = std::move(*start_pending_);
        start_pending_.reset();
        StartSession(path, options);
    } else {
        CloseSession();
    }
    return true;
}

void SessionManager::IdleStep()
{
    ProcessRequests();
    if (view_)
        view_->IdleStep();
}
