// Test support: the scripted UI host, the fake clock, allocation failures.
#pragma once
#include "plat/clock.h"
#include "plat/uihost.h"
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

// A box or prompt nobody scripted: the test fails with it.
struct UnexpectedBox : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct BoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
    int answer;
    int modalDepth; // while the box was open
};

struct BeepRecord {
    UINT type;
    DWORD freq;
    DWORD ms;
};

struct ExitRecord {
    int code;
    ExitKind kind;
    std::string text;
    std::string caption;
};

class ScriptedHost : public UiHost {
public:
    enum class Match { Substring, Exact };

    // Installs itself for its lifetime (unless install is false) and puts the
    // previous host back on destruction.
    explicit ScriptedHost(bool install = true);
    ~ScriptedHost() override;
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    // Boxes whose caption and text match get `answer`; an empty pattern
    // matches anything. The earliest matching script wins; times > 0 uses it
    // that often, then it is gone; times 0 keeps it.
    ScriptedHost& Answer(int answer, std::string caption, std::string text = {},
                         Match match = Match::Substring, int times = 0);
    // The next file prompts, in order: a path chosen, or cancel.
    ScriptedHost& ChoosePath(std::string path);
    ScriptedHost& CancelPrompt();
    // Runs when the dialog from the template comes up.
    ScriptedHost& OnDialog(int templateId, std::function<void(HWND)> action);

    const std::vector<BoxRecord>& boxes() const { return boxes_; }
    const std::vector<FilePrompt>& prompts() const { return prompts_; }
    const std::vector<BeepRecord>& beeps() const { return beeps_; }
    const std::vector<ExitRecord>& exits() const { return exits_; }
    const std::vector<std::pair<HWND, int>>& dialogs() const { return dialogs_; }
    void clear_records();

    int MessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    bool PromptFileName(FilePrompt& prompt) override;
    void DialogShown(HWND dialog, int templateId) override;
    void Beep(UINT type, DWORD freq, DWORD ms) override;
    // Records, then throws ExitRequest.
    void Exit(int code, ExitKind kind, const char* boxText, const char* boxCaption) override;

private:
    struct Script {
        int answer;
        std::string caption, text;
        Match match;
        int times;
    };
    struct PromptAnswer {
        bool ok;
        std::string path;
    };
    std::vector<Script> scripts_;
    std::vector<PromptAnswer> promptAnswers_;
    std::map<int, std::function<void(HWND)>> dialogActions_;
    std::vector<BoxRecord> boxes_;
    std::vector<FilePrompt> prompts_;
    std::vector<BeepRecord> beeps_;
    std::vector<ExitRecord> exits_;
    std::vector<std::pair<HWND, int>> dialogs_;
    UiHost* previous_ = nullptr;
    bool installed_ = false;
};

// A hand-set clock for GetTickCount, GetLocalTime/GetSystemTime, crt_time
// and Sleep. While one exists it replaces the real clock.
class FakeClock {
public:
    // unixMs: the wall time; tick: GetTickCount's value.
    explicit FakeClock(int64_t unixMs = 0, DWORD tick = 0);
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void set_tick(DWORD tick);
    void set_time(int64_t unixMs);
    // Moves both forward.
    void advance(DWORD ms);
    // Each GetTickCount call advances the clock by ms after reading it, so
    // busy waits end. 0 stops stepping.
    void step_on_read(DWORD ms);
    DWORD tick() const;
    int64_t unix_ms() const;
};

// For tests of the GUI host itself: the next Qt message box is answered
// once it is up, by its button for `answer`, or by Esc when answer is 0.
// What it showed goes to *seen; pngPath, when given, gets a picture of it.
struct GuiBoxSeen {
    std::string title, text;
    std::vector<int> buttons; // IDOK... in screen order
    int defaultButton = 0;
    bool appModal = false;
    int modalDepth = 0;
};
void AnswerNextGuiBox(int answer, GuiBoxSeen* seen = nullptr, const char* pngPath = nullptr);

// For tests of the GUI host itself: the next Qt file prompt, once it has
// read its folder, reports what it shows to *seen, then chooses `name` in
// that folder, or cancels when name is NULL. fileType (1-based), when not 0,
// is chosen in the file type list first.
struct GuiPromptSeen {
    std::vector<std::string> offered; // files and folders, in the prompt's order
    std::vector<std::string> filters; // the file type list as shown
};
void AnswerNextGuiFilePrompt(const char* name, GuiPromptSeen* seen = nullptr, int fileType = 0);

// The n-th GlobalAlloc or growing GlobalReAlloc from now fails (1 = the
// next); 0 cancels.
void FailGlobalAllocAfter(int n);

} // namespace plat
