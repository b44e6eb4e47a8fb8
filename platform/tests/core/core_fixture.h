// Shared set-up of the window tests: one GUI per process, a test class whose
// procedure a test can steer, and a clean window table after each test.
#pragma once
#include "plat/config.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include "plat/msg.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <functional>
#include <optional>
#include <vector>

namespace coretest {

using namespace plat;

// Answers a message instead of DefWindowProc when it returns a value.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
inline Handler g_handler;

inline LRESULT test_proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (g_handler)
        if (auto r = g_handler(h, m, w, l))
            return *r;
    return DefWindowProc(h, m, w, l);
}

inline constexpr const char* kClass = "CoreTestWnd";        // no class styles
inline constexpr const char* kDblClass = "CoreTestDblWnd";  // CS_DBLCLKS

// The messages of interest in window tests; activation (and the focus it
// brings) comes from the window system at its own pace and is left out
// unless a test asks for it.
inline void ignore_noise(MessageTracer& t)
{
    t.Ignore({WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_GETTEXT, WM_GETTEXTLENGTH});
}

class CoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        static bool registered = false;
        if (registered)
            return;
        registered = true;
        WNDCLASS wc;
        wc.lpfnWndProc = test_proc;
        wc.hCursor = LoadCursor(0, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClass;
        RegisterClass(&wc);
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = kDblClass;
        RegisterClass(&wc);
    }
    void TearDown() override
    {
        g_handler = nullptr;
        ResetWindowsForTest();
    }

    static HWND top(int x = 10, int y = 20, int cx = 200, int cy = 100, DWORD style = WS_OVERLAPPED | WS_VISIBLE,
                    const char* cls = kClass)
    {
        return CreateWindowEx(0, cls, "Test", style, x, y, cx, cy, 0, 0, 0, nullptr);
    }
    static HWND child(HWND parent, int id, int x, int y, int cx, int cy, DWORD style = WS_VISIBLE,
                      DWORD ex = 0, const char* cls = kClass)
    {
        return CreateWindowEx(ex, cls, "", WS_CHILD | style, x, y, cx, cy, parent, static_cast<HMENU>(id), 0,
                              nullptr);
    }
};

struct M {
    HWND hwnd;
    UINT msg;
};
inline std::vector<std::pair<HWND, UINT>> pairs(const MessageTracer& t)
{
    std::vector<std::pair<HWND, UINT>> out;
    for (const TraceEntry& e : t.entries())
        out.emplace_back(e.hwnd, e.msg);
    return out;
}

} // namespace coretest
