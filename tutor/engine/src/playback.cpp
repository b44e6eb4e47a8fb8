#include "tutor/playback.h"
#include "tutor/command_file.h"
#include "plat/controls.h"
#include "plat/msg.h"
#include "plat/uihost.h"

namespace {

plat::RECT rect_at(plat::LONG x, plat::LONG y, plat::LONG width, plat::LONG height)
{
    return plat::RECT{x, y, x + width, y + height};
}

void stop_box(const std::string& text, const char* caption)
{
    plat::MessageBox(0, text.c_str(), caption, plat::MB_OK | plat::MB_ICONSTOP);
}

} // namespace

plat::RECT default_placement(const plat::RECT& desktop, bool browser)
{
    if (browser)
        return rect_at(desktop.left + 5, 140, 215, desktop.bottom * 3 / 5 + 10);
    const plat::LONG x = desktop.left + 120;
    return rect_at(x, desktop.bottom - 154, desktop.right - x, 154);
}

plat::RECT confirm_continue_placement(const plat::RECT& desktop)
{
    return rect_at(desktop.right - 200, desktop.bottom - 56, 200, 56);
}

plat::RECT position_wizard_placement(const plat::RECT& desktop, const plat::RECT& window, int32_t x_per_mille,
                                     int32_t y_per_mille)
{
    // In doubles, as the thousandths are given; the cut is toward zero.
    const auto x = static_cast<plat::LONG>(static_cast<double>(desktop.right) * x_per_mille * 0.001);
    const auto y = static_cast<plat::LONG>(static_cast<double>(desktop.bottom) * y_per_mille * 0.001);
    return rect_at(x, y, window.right - window.left, window.bottom - window.top);
}

bool hand_to_main_program(TutorLink& link, plat::HWND simulator, const CommandRecord& record)
{
    if (simulator == 0)
        return false;
    if (!link.store(record)) {
        // The simulator would carry out the record left from before, or
        // never answer: nothing is posted and playback stops here.
        const std::string text = std::string("Unable to write command binary file ") + TUTOR_STEP_FILE;
        plat::MessageBox(0, text.c_str(), STEPLAY_TITLE, plat::MB_OK | plat::MB_ICONSTOP);
        return false;
    }
    link.activate(simulator);
    link.post(simulator, WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0);
    return true;
}

void Playback::on_control(plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (wParam == TUTOR_CONTROL_START) {
        current_ = -1;
        simulator_ = static_cast<plat::HWND>(plat::LOWORD(static_cast<uintptr_t>(lParam)));
        window_.set_step_timer(0);
        execute_next();
    } else if (wParam == TUTOR_CONTROL_DONE) {
        window_.set_step_timer(TUTOR_RESUME_MS);
    }
}

void Playback::on_timer()
{
    window_.set_step_timer(0);
    execute_next();
}

void Playback::execute_next()
{
    // A loop rather than a call per command, so a long run of commands that
    // go on at once does not deepen the stack.
    while (simulator_ != 0 && current_ + 1 < static_cast<int32_t>(records_.size())) {
        ++current_;
        // A copy: a command may end up in the frame's message handling.
        const CommandRecord record = records_[static_cast<size_t>(current_)];
        if (record.code < 1 || record.code > TUTOR_LAST_CODE)
            return;
        if (!execute(record))
            return;
    }
}

plat::HWND Playback::find_target(const std::string& title)
{
    const plat::HWND window = link_.find(title);
    if (window == 0)
        stop_box("Unable to find window: " + title, "Execute Command");
    return window;
}

bool Playback::execute(const CommandRecord& r)
{
    switch (r.code) {
    case TUTOR_OPEN_FILE:
        if (!link_.file_exists(r.text)) {
            plat::MessageBox(0, ("File " + r.text + " not exist").c_str(), "File not exist", plat::MB_OK);
            plat::MessageBox(0, "Unable to open file", "Wizard", plat::MB_OK);
            return false;
        }
        hand_to_main_program(link_, simulator_, r);
        return false;
    case TUTOR_SHOW_TEXT:
        window_.show_text(r.text);
        return true;
    case TUTOR_SHOW_MENU: {
        const std::string x = command_field(r.text, 2);
        const std::string y = command_field(r.text, 3);
        const bool at_point = !x.empty() && !y.empty();
        const TutorLink::Popup shown = link_.popup(simulator_, command_field_int(r.text, 1),
                                                   at_point ? command_field_int(r.text, 2) : -1,
                                                   at_point ? command_field_int(r.text, 3) : -1);
        if (shown == TutorLink::Popup::NoMenu)
            stop_box("Unable to find app's menu", "'ShowMenu' command");
        else if (shown == TutorLink::Popup::NoPopup)
            stop_box("Unable to find sub menu", "'ShowMenu' command");
        return false;
    }
    case TUTOR_POST_MENU:
        link_.post(simulator_, plat::WM_COMMAND, static_cast<plat::WPARAM>(command_field_int(r.text, 1)), 0);
        window_.set_step_timer(TUTOR_RESUME_MS);
        return false;
    case TUTOR_DELAY: {
        // A negative time waits like 0: for Continue or a resume notice.
        const int32_t ms = command_field_int(r.text, 1);
        window_.set_step_timer(ms > 0 ? static_cast<unsigned>(ms) : 0);
        return false;
    }
    case TUTOR_CLOSE_TITLED: {
        const plat::HWND w = find_target(command_field(r.text, 1));
        if (w == 0)
            return false;
        link_.send(w, plat::WM_CLOSE, 0, 0);
        return true;
    }
    case TUTOR_CONFIRM_TEXT:
        window_.show_text(r.text);
        window_.enable_continue();
        return false;
    case TUTOR_CLICK_BUTTON: {
        const plat::HWND w = find_target(command_field(r.text, 1));
        if (w == 0)
            return false;
        link_.post(w, plat::WM_COMMAND, static_cast<plat::WPARAM>(command_field_int(r.text, 2)), 0);
        return true;
    }
    case TUTOR_CHECK_BUTTON:
    case TUTOR_SET_EDIT_TEXT:
    case TUTOR_SET_COMBO:
    case TUTOR_SET_LIST: {
        const plat::HWND w = find_target(command_field(r.text, 1));
        if (w == 0)
            return false;
        const plat::HWND control = link_.child(w, command_field_int(r.text, 2));
        if (control == 0)
            return true;
        if (r.code == TUTOR_CHECK_BUTTON) {
            link_.send(control, plat::BM_CLICK, static_cast<plat::WPARAM>(command_field_int(r.text, 3)), 0);
        } else if (r.code == TUTOR_SET_EDIT_TEXT) {
            const std::string text = command_field(r.text, 3);
            link_.send(control, plat::WM_SETTEXT, 0, reinterpret_cast<plat::LPARAM>(text.c_str()));
        } else {
            const plat::UINT msg = r.code == TUTOR_SET_COMBO ? plat::CB_SETCURSEL : plat::LB_SETCURSEL;
            link_.send(control, msg, static_cast<plat::WPARAM>(command_field_int(r.text, 3)), 0);
        }
        return true;
    }
    case TUTOR_EXEC_MENU:
    case TUTOR_SELECT_COMBO:
        window_.release_capture();
        hand_to_main_program(link_, simulator_, r);
        return false;
    case TUTOR_CONFIRM_CONTINUE:
        window_.place(confirm_continue_placement(window_.desktop()));
        window_.enable_continue();
        return false;
    case TUTOR_POSITION: {
        const int32_t x = command_field_int(r.text, 1);
        const plat::RECT desk = window_.desktop();
        window_.place(x == -1 ? default_placement(desk, false)
                              : position_wizard_placement(desk, window_.window_rect(), x,
                                                          command_field_int(r.text, 2)));
        window_.clip_cursor();
        return true;
    }
    case TUTOR_CLOSE_WINDOW:
        hand_to_main_program(link_, simulator_, r);
        return false;
    default:
        return false;
    }
}
