// A stand-in for the tutorial player inside the test process: a hidden
// top-level window titled "App Tutorial" that records what the simulator
// sends and posts it, and a writer of the hand-off file as the player
// writes it (text mode).
#pragma once
#include "app/tutor_link.h"
#include "plat/crt.h"
#include "plat/window.h"
#include <cstdio>
#include <string>
#include <vector>

struct FakePlayer {
    struct Received {
        plat::UINT msg;
        plat::WPARAM wParam;
        plat::LPARAM lParam;
    };

    explicit FakePlayer(const char* title = TUTOR_WINDOW_TITLE)
    {
        static bool registered = false;
        if (!registered) {
            plat::WNDCLASS wc;
            wc.lpfnWndProc = &FakePlayer::proc;
            wc.lpszClassName = "FakeTutorPlayer";
            registered = plat::RegisterClass(&wc) != 0;
        }
        hwnd = plat::CreateWindow("FakeTutorPlayer", title, plat::WS_OVERLAPPED, 0, 0, 200, 100, 0, 0, 0, nullptr);
        plat::SetWindowLongPtr(hwnd, plat::GWLP_USERDATA, reinterpret_cast<plat::LONG_PTR>(this));
    }
    ~FakePlayer()
    {
        if (plat::IsWindow(hwnd))
            plat::DestroyWindow(hwnd);
        if (GetTutorWindow() == hwnd)
            SetTutorWindow(0);
    }
    FakePlayer(const FakePlayer&) = delete;
    FakePlayer& operator=(const FakePlayer&) = delete;

    // lParam of every "command done" message, in order.
    std::vector<plat::LPARAM> resumed() const
    {
        std::vector<plat::LPARAM> out;
        for (const Received& r : got)
            if (r.msg == WM_TUTOR_CONTROL && r.wParam == TUTOR_CONTROL_DONE)
                out.push_back(r.lParam);
        return out;
    }
    int count(plat::UINT msg) const
    {
        int n = 0;
        for (const Received& r : got)
            n += r.msg == msg ? 1 : 0;
        return n;
    }

    static plat::LRESULT proc(plat::HWND h, plat::UINT msg, plat::WPARAM wp, plat::LPARAM lp)
    {
        auto* self = reinterpret_cast<FakePlayer*>(plat::GetWindowLongPtr(h, plat::GWLP_USERDATA));
        if (self != nullptr && (msg == WM_TUTOR_CONTROL || msg == plat::WM_QUIT)) {
            self->got.push_back({msg, wp, lp});
            if (self->quit_on_resume && msg == WM_TUTOR_CONTROL && wp == TUTOR_CONTROL_DONE)
                plat::PostQuitMessage(0);
            return 0;
        }
        return plat::DefWindowProc(h, msg, wp, lp);
    }

    plat::HWND hwnd = 0;
    std::vector<Received> got;
    // Ends the test's message loop when the simulator resumes the player.
    bool quit_on_resume = false;
};

// The 1044-byte record: int16 code, the argument text, zeros after it.
inline std::string step_record(int16_t code, const std::string& text)
{
    std::string r(1044, '\0');
    r[0] = static_cast<char>(code & 0xFF);
    r[1] = static_cast<char>((code >> 8) & 0xFF);
    r.replace(2, text.size(), text);
    return r;
}

// Written as the player writes it: created or truncated, text mode.
inline void write_step_file(const std::string& path, const std::string& bytes)
{
    std::FILE* f = plat::crt_fopen(path.c_str(), "wt");
    if (f == nullptr)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
