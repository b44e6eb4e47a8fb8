// Test fixtures of the toolkit: a GUI for every test, a parent window that
// records what its children send and post, and PNG output.
#pragma once
#include "plat/fw/wnd.h"
#include "plat/testing.h"
#include "plat/types.h"
#include <memory>
#include <string>
#include <vector>

struct Recorded {
    plat::UINT msg;
    plat::WPARAM wParam;
    plat::LPARAM lParam;
    bool operator==(const Recorded&) const = default;
};

// A visible top-level window that logs every private or command message it
// receives (WM_COMMAND, WM_USER and up). Answers `reply` to each.
class SpyParent : public plat::CWnd {
public:
    explicit SpyParent(int width = 640, int height = 480);
    ~SpyParent() override;
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;
    std::vector<Recorded> log;
    plat::LRESULT reply = 0;
    std::vector<Recorded> of(plat::UINT msg) const;
};

// Pumps events so posted messages and paints are delivered.
void settle();
// <build>/uikit-png/<name>; the folder is made.
std::string png_path(const std::string& name);
// Hand-drawn pixel checks.
plat::COLORREF pixel(plat::HWND hwnd, int x, int y);

// Dialog templates of the tests (ids 9001...), registered at start.
inline constexpr int TPL_PLAIN = 9001;    // 300 x 200 client: an edit 101, a button 102, a static 103
inline constexpr int TPL_GRID = 9002;     // 640 x 400 client, empty
void register_test_dialogs(plat::HINSTANCE module);

// A view stand-in: the dialog stack and the two flags dialogs read.
#include "uikit/sim_dialog.h"
class FakeView : public DialogRegistry {
public:
    bool session = false;
    bool ids = false;
    DialogStack stack;
    bool session_open() const override { return session; }
    bool show_ids() const override { return ids; }
    void push_dialog(plat::HWND d) override { stack.push(d); }
    void remove_dialog(plat::HWND d) override { stack.remove(d); }
};
