// Playback of a tutorial: a cursor over the command records that runs each
// command against the simulator's windows (through TutorLink) and the
// player's own window (through PlayerWindow), and waits where a command
// waits: for Continue, for the step timer, or for the simulator's resume.
#pragma once
#include "plat/types.h"
#include "tutorproto/protocol.h"
#include <cstdint>
#include <string>
#include <vector>

// What the player does to the simulator and its windows.
class TutorLink {
public:
    virtual ~TutorLink() = default;
    // The top-level window of that title; 0 when there is none.
    virtual plat::HWND find(const std::string& title) = 0;
    virtual plat::HWND child(plat::HWND window, int id) = 0;
    virtual plat::LRESULT send(plat::HWND window, plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam) = 0;
    virtual void post(plat::HWND window, plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam) = 0;
    // Opens the popup at that position of the window's menu bar at the
    // screen point (x < 0: under its title in the bar).
    enum class Popup { Shown, NoMenu, NoPopup };
    virtual Popup popup(plat::HWND window, int index, int x, int y) = 0;
    virtual void activate(plat::HWND window) = 0;
    // Stores the record in the hand-off file; false when it could not.
    virtual bool store(const CommandRecord& record) = 0;
    // The file a command names is there (as the programs spell names).
    virtual bool file_exists(const std::string& path) = 0;
};

// The player's own window as playback drives it.
class PlayerWindow {
public:
    virtual ~PlayerWindow() = default;
    // Timer 1 of the frame; 0 stops it.
    virtual void set_step_timer(unsigned ms) = 0;
    virtual void show_text(const std::string& text) = 0;
    virtual void enable_continue() = 0;
    virtual plat::RECT desktop() = 0;
    // Topmost at the rectangle.
    virtual void place(const plat::RECT& where) = 0;
    // The window's rectangle now.
    virtual plat::RECT window_rect() = 0;
    virtual void clip_cursor() = 0;
    virtual void release_capture() = 0;
};

// Where the player's window goes on the desktop (left, top, right, bottom
// of the result are the window's edges).
plat::RECT default_placement(const plat::RECT& desktop, bool browser);
plat::RECT confirm_continue_placement(const plat::RECT& desktop);
// Thousandths of the desktop's right and bottom, cut toward zero; the size
// stays.
plat::RECT position_wizard_placement(const plat::RECT& desktop, const plat::RECT& window, int32_t x_per_mille,
                                     int32_t y_per_mille);

// The hand-over: the record stored, the simulator made active, then
// WM_TUTOR_REQUEST 1. When the record cannot be stored, a box naming the
// file and nothing is posted. False then, or when there is no simulator.
bool hand_to_main_program(TutorLink& link, plat::HWND simulator, const CommandRecord& record);

// How long playback waits after an ExecMenu and after the simulator's
// resume notice.
inline constexpr unsigned TUTOR_RESUME_MS = 250;

class Playback {
public:
    Playback(TutorLink& link, PlayerWindow& window) : link_(link), window_(window) {}
    void set_commands(std::vector<CommandRecord> records) { records_ = std::move(records); }
    const std::vector<CommandRecord>& commands() const { return records_; }

    // WM_TUTOR_CONTROL: 1 starts from the first command with the
    // simulator's window rebuilt from the low 16 bits; 3 resumes after the
    // step timer.
    void on_control(plat::WPARAM wParam, plat::LPARAM lParam);
    void on_timer();
    // Continue (button, menu, Alt+C); the frame disables its button.
    void on_continue() { execute_next(); }
    // Runs the next command and those that go on at once after it.
    void execute_next();

    int32_t current() const { return current_; }
    plat::HWND simulator() const { return simulator_; }

private:
    // True when playback goes on at once.
    bool execute(const CommandRecord& record);
    plat::HWND find_target(const std::string& title);

    TutorLink& link_;
    PlayerWindow& window_;
    std::vector<CommandRecord> records_;
    int32_t current_ = -1;
    plat::HWND simulator_ = 0;
};
