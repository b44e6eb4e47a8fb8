// The player's engine over fakes: a simulator that records what it is
// sent and posted and knows a few windows by title, and a player window
// that records its timer, texts and placements.
#pragma once
#include "tutor/playback.h"
#include <map>
#include <string>
#include <vector>

namespace tutortest {

struct FakeLink : TutorLink {
    struct Call {
        std::string what;  // "send", "post", "activate", "store", "popup"
        plat::HWND window = 0;
        plat::UINT msg = 0;
        plat::WPARAM wParam = 0;
        plat::LPARAM lParam = 0;
        std::string text;  // WM_SETTEXT's text, the stored record's text
        int16_t code = 0;  // the stored record's code
    };
    std::map<std::string, plat::HWND> windows;           // title -> window
    std::map<std::pair<plat::HWND, int>, plat::HWND> children;
    std::vector<std::string> files;                      // the files that exist
    Popup popup_answer = Popup::Shown;
    bool store_fails = false;
    std::vector<Call> calls;

    plat::HWND find(const std::string& title) override
    {
        const auto it = windows.find(title);
        return it == windows.end() ? 0 : it->second;
    }
    plat::HWND child(plat::HWND window, int id) override
    {
        const auto it = children.find({window, id});
        return it == children.end() ? 0 : it->second;
    }
    plat::LRESULT send(plat::HWND window, plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        Call c{"send", window, msg, wParam, lParam};
        if (msg == 0x000C /* WM_SETTEXT */)
            c.text = reinterpret_cast<const char*>(lParam);
        calls.push_back(c);
        return 0;
    }
    void post(plat::HWND window, plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        calls.push_back({"post", window, msg, wParam, lParam});
    }
    Popup popup(plat::HWND window, int index, int x, int y) override
    {
        calls.push_back({"popup", window, 0, static_cast<plat::WPARAM>(index),
                         static_cast<plat::LPARAM>(x) * 100000 + y});
        return popup_answer;
    }
    void activate(plat::HWND window) override { calls.push_back({"activate", window}); }
    bool store(const CommandRecord& record) override
    {
        if (store_fails)
            return false;
        Call c{"store"};
        c.text = record.text;
        c.code = record.code;
        calls.push_back(c);
        return true;
    }
    bool file_exists(const std::string& path) override
    {
        for (const std::string& f : files)
            if (f == path)
                return true;
        return false;
    }
    // The posts to one window, as (msg, wParam).
    std::vector<std::pair<plat::UINT, plat::WPARAM>> posts_to(plat::HWND window) const
    {
        std::vector<std::pair<plat::UINT, plat::WPARAM>> out;
        for (const Call& c : calls)
            if (c.what == "post" && c.window == window)
                out.emplace_back(c.msg, c.wParam);
        return out;
    }
};

struct FakeWindow : PlayerWindow {
    unsigned timer = 0;              // 0: not running
    std::vector<unsigned> timers;    // every set_step_timer call
    std::string text;
    int continue_enabled = 0;
    int clips = 0;
    int captures_released = 0;
    plat::RECT desk{0, 0, 1024, 768};
    plat::RECT rect{120, 614, 1024, 768};
    std::vector<plat::RECT> placed;

    void set_step_timer(unsigned ms) override
    {
        timer = ms;
        timers.push_back(ms);
    }
    void show_text(const std::string& t) override { text = t; }
    void enable_continue() override { ++continue_enabled; }
    plat::RECT desktop() override { return desk; }
    void place(const plat::RECT& where) override
    {
        rect = where;
        placed.push_back(where);
    }
    plat::RECT window_rect() override { return rect; }
    void clip_cursor() override { ++clips; }
    void release_capture() override { ++captures_released; }
};

} // namespace tutortest
