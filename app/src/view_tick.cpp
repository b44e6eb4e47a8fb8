// The tick, the idle work, the run states and HOLD, and the run commands.
#include "app/view.h"
#include "app/learn_file.h"
#include "app/tutor_link.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/modal.h"
#include "plat/uihost.h"

namespace {
// Counts the ticks on the stack, so the idle work never re-enters one.
struct TickScope {
    explicit TickScope(int& depth) : depth_(depth) { ++depth_; }
    ~TickScope() { --depth_; }
    int& depth_;
};
}

static int info_box(const char* text, const char* caption)
{
    return lang_message_box(0, text, caption, plat::MB_OK | plat::MB_ICONINFORMATION);
}

void CVornView::for_each_department(const std::function<void(CDepartmentWnd*)>& hook)
{
    for (CDepartmentWnd* d : {marketing, purchasing, production, finance})
        if (d != nullptr)
            hook(d);
    if (management != nullptr)
        hook(management);
}

void CVornView::IdleStep()
{
    if (!session_open)
        return;
    // A box or dialog opened inside a tick runs its own loop; the tick on
    // the stack must finish before the next one starts.
    if (tick_depth_ > 0 || plat::ModalDepth() > 0)
        return;
    if (run_state == RUN_RUNNING) {
        CheckRunUntil();
        SimulationTick(RESTART_NONE);
    }
    if (!session_open || timer_paused)
        return;
    if (timer.CheckTimer(config_.timer_enabled, wall_now())) {
        if (ui_ != nullptr)
            ui_->timer_changed();
        SetRunState(RUN_OVER);
        plat::MessageBeep(plat::BEEP_SIMPLE);
        lang_message_box(0, "Simulation over", "Timer is zero!", plat::MB_OK);
    } else if (ui_ != nullptr && config_.timer_enabled) {
        ui_->timer_changed();
    }
}

void CVornView::SimulationTick(int16_t c)
{
    TickScope scope(tick_depth_);
    bool resumed = c == RESTART_NEW_CONTRACTS || c == RESTART_CONTRACT_LOST ||
                   c == RESTART_NEW_PRODUCTS || c == RESTART_PURCHASING;
    if (!resumed) {
        c = RESTART_NONE;
        if (timer.remaining <= 0) {
            SetRunState(RUN_OVER);
            return;
        }
        ++tick_count;
        clock.Advance(tick_count);
        if (clock.IsNewYear()) {
            clock.ResetYearCounters();
            for_each_department([](CDepartmentWnd* d) { d->on_new_year(); });
        }
        if (clock.IsNewMonth()) {
            clock.CloseMonthCounters();
            for_each_department([](CDepartmentWnd* d) { d->on_new_month(); });
            ++clock.months_elapsed;
        }
        if (clock.IsNewWeek())
            for_each_department([](CDepartmentWnd* d) { d->on_new_week(); });
        if (clock.IsDayStart())
            clock.CountWorkDay();
    }

    if (resumed || clock.IsDayStart()) {
        if (c != RESTART_PURCHASING && marketing != nullptr && !marketing->daily_step(c))
            return;
        if (purchasing != nullptr && !purchasing->daily_step(c))
            return;
        if (production != nullptr)
            production->daily_step(RESTART_NONE);
        if (finance != nullptr)
            finance->daily_step(RESTART_NONE);
        if (management != nullptr)
            management->daily_step(RESTART_NONE);
    }

    for_each_department([](CDepartmentWnd* d) { d->on_minute(); });

    if (clock.IsDayStart() && compare_dates(clock.session_end, clock.current) != 2 &&
        run_state != RUN_OVER)
        SimulationOver();
}

void CVornView::SetRunState(int16_t state)
{
    run_state = state;
    if (ui_ != nullptr)
        ui_->run_state_changed(state);
}

void CVornView::CheckRunUntil()
{
    if (compare_dates(run_until, clock.current) != 2 && run_state == RUN_RUNNING) {
        SetRunState(RUN_STOPPED);
        plat::MessageBeep(plat::BEEP_SIMPLE);
    }
}

void CVornView::EnterHold(int16_t department)
{
    held_department = department;
    saved_run_state = run_state;
    SetRunState(RUN_HOLD);
    if (ui_ != nullptr)
        ui_->show_restore_hold(true);
    if (finance != nullptr)
        finance->hold_entered(current_department == finance);
}

static CDepartmentWnd* held(const CVornView& v)
{
    switch (v.held_department) {
    case HELD_MARKETING: return v.marketing;
    case HELD_PURCHASING: return v.purchasing;
    case HELD_PRODUCTION: return v.production;
    default: return nullptr;
    }
}

void CVornView::RestoreHold()
{
    if (run_state != RUN_HOLD)
        return;
    if (marketing != nullptr)
        marketing->clear_pending_decision();
    SetRunState(saved_run_state);
    if (ui_ != nullptr)
        ui_->show_restore_hold(false);
    if (CDepartmentWnd* d = held(*this))
        d->resume_step();
}

intptr_t CVornView::OnResumeDepartment()
{
    if (CDepartmentWnd* d = held(*this))
        d->resume_step();
    held_department = HELD_NONE;
    return 0;
}

void CVornView::SimulationOver()
{
    SetRunState(RUN_OVER);
    if (learn_session) {
        if (learn_result_hook) {
            learn_result_hook(*this);
        } else if (learn_record) {
            int32_t profit = finance != nullptr ? finance->net_profit('C') : 0;
            std::optional<LearnOutcome> outcome = record_learn_result(
                *learn_record, profit, CReputationPane::ReputationPercent(reputation.displayed));
            if (outcome && ui_ != nullptr)
                ui_->show_learn_result(*outcome);
        }
    } else if (!tutor_running && GetTutorWindow() == 0) {
        lang_message_box(0, "Simulation over!", "VORNS", plat::MB_OK);
    }
    log_summary();
}

static SimDateTime at_eight(SimDateTime d)
{
    d.hour = 8;
    d.minute = 0;
    return d;
}

bool CVornView::RunPrecheck()
{
    for (CDepartmentWnd* d : {marketing, production, purchasing, finance}) {
        if (d != nullptr && !d->policies_consistent()) {
            lang_message_box(0, "Inconsistent policies", "Please set new policy in production", plat::MB_OK);
            return false;
        }
    }
    if (run_state == RUN_HOLD) {
        lang_message_box(0, "Can not run in HOLD State", config_.title.c_str(), plat::MB_OK);
        return false;
    }
    if (run_state == RUN_OVER) {
        info_box("Simulation over", "Run");
        return false;
    }
    return true;
}

bool CVornView::Run(const RunChoice& choice)
{
    if (!RunPrecheck())
        return false;
    SimDateTime base = at_eight(clock.current);
    SimDateTime until = run_until;
    if (!choice.typed_date.empty()) {
        SimDateTime typed{};
        if (!parse_date_text(choice.typed_date.c_str(), clock.date_order, typed)) {
            lang_message_box(0, "Invalid date!", "Run", plat::MB_OK);
            return false;
        }
        until = typed;
    }
    if (choice.year) {
        until = base;
        ++until.year;
    }
    if (choice.month) {
        until = base;
        if (until.month == 12) {
            until.month = 1;
            ++until.year;
        } else {
            ++until.month;
        }
    }
    if (choice.week)
        until = add_days(base, 7);
    if (choice.day)
        until = clock.AddWorkDays(base, 1);
    if (choice.next_month) {
        until = base;
        until.day = 1;
        if (until.month == 12) {
            until.month = 1;
            ++until.year;
        } else {
            ++until.month;
        }
    }
    if (choice.next_year) {
        until = base;
        until.month = 1;
        until.day = 1;
        ++until.year;
    }
    run_until = until;
    SetRunState(RUN_RUNNING);
    return true;
}

void CVornView::Stop()
{
    if (run_state == RUN_HOLD) {
        lang_message_box(0, "Can not stop in HOLD State", config_.title.c_str(), plat::MB_OK);
        return;
    }
    SetRunState(RUN_STOPPED);
}

bool CVornView::refuse_run_in_state(bool beep_when_over)
{
    if (run_state == RUN_HOLD) {
        lang_message_box(0, "Can not run in HOLD State", config_.title.c_str(), plat::MB_OK);
        return true;
    }
    if (run_state == RUN_OVER) {
        if (beep_when_over)
            plat::MessageBeep(plat::BEEP_SIMPLE);
        info_box("Simulation over", "Run");
        return true;
    }
    return false;
}

void CVornView::Continue()
{
    if (refuse_run_in_state(false))
        return;
    SetRunState(RUN_RUNNING);
}

bool CVornView::ContinueEnabled() const
{
    return compare_dates(run_until, clock.current) == 2;
}

void CVornView::RunOnDay()
{
    if (refuse_run_in_state(true))
        return;
    run_until = clock.AddWorkDays(at_eight(clock.current), 1);
    SetRunState(RUN_RUNNING);
}

void CVornView::RunYear()
{
    // Run Year leaves a held chain unfinished just as Run would.
    for (CDepartmentWnd* d : {marketing, production, purchasing, finance}) {
        if (d != nullptr && !d->policies_consistent()) {
            lang_message_box(0, "Inconsistent policies", "Please set new policy in production", plat::MB_OK);
            return;
        }
    }
    if (refuse_run_in_state(false))
        return;
    run_until = at_eight(clock.current);
    ++run_until.year;
    SetRunState(RUN_RUNNING);
}

void CVornView::AddTimerTenMinutes()
{
    timer.remaining += 600;
    if (timer.CheckTimer(config_.timer_enabled, wall_now())) {
        SetRunState(RUN_OVER);
        plat::MessageBeep(plat::BEEP_SIMPLE);
        lang_message_box(0, "Simulation over", "Timer is zero!", plat::MB_OK);
    }
    if (ui_ != nullptr)
        ui_->timer_changed();
}

CDepartmentWnd* CVornView::department_by_command(int command_id) const
{
    switch (command_id) {
    case ID_MARKETING: return marketing;
    case ID_PRODUCTION: return production;
    case ID_PURCHASING: return purchasing;
    case ID_FINANCE: return finance;
    case ID_MANAGEMENT: return management;
    default: return nullptr;
    }
}

void CVornView::SwitchDepartment(int command_id)
{
    if (command_id == shown_command)
        return;
    CDepartmentWnd* next = department_by_command(command_id);
    if (next == nullptr)
        return;
    if (current_department != nullptr)
        current_department->hide();
    next->prepare_show();
    menu_tables = DepartmentMenus{};
    next->build_menus(menu_tables);
    next->SelectMenuTexts(menu_tables);
    next->show();
    clock.SetDisplayFrequency(command_id == ID_PRODUCTION ? next->display_frequency() : 1);
    next->after_show();
    current_department = next;
    shown_command = command_id;
    if (ui_ != nullptr)
        ui_->department_switched(command_id);
}

bool CVornView::DepartmentHasMenuText(int command_id, int menu_index, const std::string& text)
{
    CDepartmentWnd* d = department_by_command(command_id);
    if (d == nullptr || menu_index < 2 || menu_index > 4)
        return false;
    DepartmentMenus menus;
    d->build_menus(menus);
    d->SelectMenuTexts(menus);
    const MenuTable& table = menus.tables[menu_index - 2];
    bool found = false;
    for (int i = 1; i <= table.count && i < MENU_TABLE_TEXTS; ++i)
        found = found || table.texts[i] == text;
    if (current_department != nullptr) {
        menu_tables = DepartmentMenus{};
        current_department->build_menus(menu_tables);
        current_department->SelectMenuTexts(menu_tables);
    }
    return found;
}
