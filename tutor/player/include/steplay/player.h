// The tutorial player program: its application, document, view and the
// frame that does all the work, in tutorial mode (a command file to play)
// or browser mode (the decision tree).
#pragma once
#include "plat/fw/app.h"
#include "plat/fw/frame.h"
#include "plat/fw/wrappers.h"
#include "plat/window.h"
#include "tutor/browser.h"
#include "tutor/playback.h"
#include "uikit/decision_tree.h"
#include <memory>
#include <string>

// Control ids of the frame.
inline constexpr int IDC_TUTOR_TEXT = 12;
inline constexpr int IDC_DECISION_TREE = 13;
inline constexpr int ID_TUTOR_CLOSE = 32771;     // "&Exit" / "&Close" button
inline constexpr int ID_TUTOR_CONTINUE = 32772;  // "Continue" button
inline constexpr int ID_TUTOR_EXIT = 32773;      // menu, Alt+E
inline constexpr int ID_TUTOR_NEXT = 32774;      // menu, Alt+C
inline constexpr int IDR_STEPLAY = 2;
inline constexpr int IDD_STEPLAY_ABOUT = 100;
inline constexpr plat::UINT_PTR TUTOR_STEP_TIMER = 1;
// Bitmaps of the tree, images 0..5 in this order.
inline constexpr int IDB_TREE_FIRST = 104;

// The player's resources as module "STEPLAY32.EXE"; its handle.
plat::HINSTANCE register_steplay_resources();

// The player's link to the simulator through the layer's window calls.
class LayerLink : public TutorLink {
public:
    plat::HWND find(const std::string& title) override;
    plat::HWND child(plat::HWND window, int id) override;
    plat::LRESULT send(plat::HWND window, plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam) override;
    void post(plat::HWND window, plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam) override;
    Popup popup(plat::HWND window, int index, int x, int y) override;
    void activate(plat::HWND window) override;
    bool store(const CommandRecord& record) override;
    bool file_exists(const std::string& path) override;
};

class CMainFrame : public plat::CFrameWnd, private PlayerWindow {
public:
    // The whole command line: a command file's path, or empty for the
    // decision browser. At most 100 characters are needed; it is kept whole.
    explicit CMainFrame(std::string commandLine);
    ~CMainFrame() override;
    const char* GetRuntimeClassName() const override { return "CMainFrame"; }

    plat::BOOL PreCreateWindow(plat::CREATESTRUCT& cs) override;
    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnSize(plat::UINT type, int cx, int cy) override;
    void OnMove(int x, int y) override;
    void OnPaint() override;
    plat::HBRUSH OnCtlColor(plat::HDC hdc, plat::HWND ctl, plat::UINT ctlType) override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnClose() override;
    void OnDestroy() override;
    void OnTimer(plat::UINT_PTR id) override;
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;

    // The frame is left without a menu; its keys stay.
    void drop_menu();

    bool browser_mode() const { return m_browserMode; }
    bool closing() const { return m_closing; }
    const Playback& playback() const { return m_playback; }
    const DecisionMenu& decision_menu() const { return m_decisions; }
    CDecisionTreeCtrl& tree() { return m_tree; }

private:
    // PlayerWindow
    void set_step_timer(unsigned ms) override;
    void show_text(const std::string& text) override;
    void enable_continue() override;
    plat::RECT desktop() override;
    void place(const plat::RECT& where) override;
    plat::RECT window_rect() override;
    void clip_cursor() override;
    void release_capture() override { plat::ReleaseCapture(); }

    void default_place();
    void load_decision_menu();
    void on_tree_notify(plat::WPARAM code, plat::LPARAM item);
    void exit_player();
    void continue_player();

    std::string m_commandLine;
    bool m_browserMode = false;
    bool m_closing = false;
    bool m_timerRunning = false;
    plat::HFONT m_font = 0;
    CDecisionTreeCtrl m_tree;
    plat::CImageList m_images;
    plat::CButton m_close;
    plat::CButton m_continue;
    plat::CStatic m_text;
    LayerLink m_link;
    Playback m_playback{m_link, *this};
    DecisionMenu m_decisions;
};

class CSteplayDoc : public plat::CDocument {
public:
    const char* GetRuntimeClassName() const override { return "CSteplayDoc"; }
};

class CSteplayView : public plat::CView {
public:
    const char* GetRuntimeClassName() const override { return "CSteplayView"; }
    void OnDraw(plat::HDC) override {}
};

class CSteplayApp : public plat::CWinApp {
public:
    CSteplayApp() : plat::CWinApp("STEPLAY") {}
    const char* GetRuntimeClassName() const override { return "CSteplayApp"; }
    plat::BOOL InitInstance() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    // The simulator ends the player with a quit message, which leaves the
    // frame up when the loop ends: it is destroyed with the program.
    int ExitInstance() override;
};
