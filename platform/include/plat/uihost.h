// The one replaceable UI host of a process: message boxes, file prompts,
// beeps and the way the program ends all go through it, so tests can answer
// and record them.
#pragma once
#include "plat/types.h"
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace plat {

// Buttons
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_RETRYCANCEL = 0x5;
// Icons
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONSTOP = 0x10;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_ICONASTERISK = 0x40;
// Default button
inline constexpr UINT MB_DEFBUTTON1 = 0x000;
inline constexpr UINT MB_DEFBUTTON2 = 0x100;
inline constexpr UINT MB_DEFBUTTON3 = 0x200;
// Modality and the rest
inline constexpr UINT MB_APPLMODAL = 0x0000;
inline constexpr UINT MB_SYSTEMMODAL = 0x1000;
inline constexpr UINT MB_TASKMODAL = 0x2000;
inline constexpr UINT MB_SETFOREGROUND = 0x10000;
inline constexpr UINT MB_TOPMOST = 0x40000;
inline constexpr UINT MB_TYPEMASK = 0xF;
inline constexpr UINT MB_ICONMASK = 0xF0;
inline constexpr UINT MB_DEFMASK = 0xF00;
inline constexpr UINT MB_MODEMASK = 0x3000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// MessageBeep(0xFFFFFFFF) is the plain speaker beep; Beep(freq, ms) reaches
// the host with this type too, told apart by a non-zero frequency.
inline constexpr UINT BEEP_SIMPLE = 0xFFFFFFFFu;

enum class ExitKind {
    Normal,    // exit handlers run (crt_exit)
    Immediate, // no exit handlers, logs flushed (crt_exit_now)
    Fatal,     // a fatal error: box first, then as Immediate
};

// What a file prompt asks and, on success, answers.
struct FilePrompt {
    HWND owner = 0;
    bool save = false;
    std::string title;
    // (description, patterns) pairs, patterns separated by ';' ("*.VNB").
    std::vector<std::pair<std::string, std::string>> filters;
    int filterIndex = 1; // 1-based, as chosen
    std::string initialDir;
    std::string fileName; // initial name in, chosen path out
    std::string defExt;   // without the dot
    DWORD flags = 0;      // OFN_ flags, passed through
};

class UiHost {
public:
    virtual ~UiHost() = default;
    // caption is never NULL here; the free MessageBox substitutes "Error".
    virtual int MessageBox(HWND owner, const char* text, const char* caption, UINT type) = 0;
    // true when a name was chosen (in prompt.fileName).
    virtual bool PromptFileName(FilePrompt& prompt) = 0;
    // A dialog from a template is up and initialised.
    virtual void DialogShown(HWND /*dialog*/, int /*templateId*/) {}
    virtual void Beep(UINT type, DWORD freq, DWORD ms) = 0;
    // Ends the process (or, in tests, throws ExitRequest). boxText, when not
    // NULL, is shown first as a stop box with boxCaption.
    virtual void Exit(int code, ExitKind kind, const char* boxText, const char* boxCaption) = 0;
};

// Thrown by the scripted host instead of ending the process.
struct ExitRequest : std::exception {
    int code = 0;
    ExitKind kind = ExitKind::Normal;
    std::string text;
    std::string caption;
    ExitRequest(int c, ExitKind k, std::string t = {}, std::string cap = {})
        : code(c), kind(k), text(std::move(t)), caption(std::move(cap)) {}
    const char* what() const noexcept override { return "plat::ExitRequest"; }
};

// Returns the host set before (NULL when it was the default); NULL puts the
// default back (console, or the GUI host once InitGui has run).
UiHost* SetUiHost(UiHost* host);
UiHost* GetUiHost();
// True once a host was set explicitly (InitGui then keeps it).
bool UiHostIsExplicit();
// The two built-in hosts, one instance each.
UiHost* ConsoleUiHost();
UiHost* GuiUiHost();

// Flushes drawing, raises the modal depth while the box is open.
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);
BOOL MessageBeep(UINT type);
BOOL Beep(DWORD freq, DWORD ms);
bool PromptFileName(FilePrompt& prompt);
void DialogShown(HWND dialog, int templateId);

// A task-modal stop box, then the process ends with `code` (non-zero).
[[noreturn]] void Fatal(const char* text, const char* caption = "Application Error", int code = 1);
// exit(): exit handlers run.
[[noreturn]] void crt_exit(int code);
// _exit(): stdio flushed, no exit handlers.
[[noreturn]] void crt_exit_now(int code);

} // namespace plat
