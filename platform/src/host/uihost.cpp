// The host switch, the free functions that go through it, and the console
// host used when there is no GUI.
#include "host/host_p.h"
#include "plat/modal.h"
#include "plat/text.h"
#include <cstdio>
#include <cstdlib>

namespace plat {

namespace {

class ConsoleHost final : public UiHost {
public:
    int MessageBox(HWND, const char* text, const char* caption, UINT type) override
    {
        print_box(text, caption);
        return BoxDefaultAnswer(type);
    }
    bool PromptFileName(FilePrompt&) override { return false; }
    void Beep(UINT, DWORD, DWORD) override {}
    void Exit(int code, ExitKind kind, const char* boxText, const char* boxCaption) override
    {
        if (boxText)
            print_box(boxText, boxCaption ? boxCaption : "Error");
        if (kind == ExitKind::Normal)
            std::exit(code);
        std::fflush(nullptr);
        std::_Exit(code);
    }

private:
    static void print_box(const char* text, const char* caption)
    {
        std::fprintf(stderr, "%s: %s\n", AnsiToUtf8(caption ? caption : "").c_str(),
                     AnsiToUtf8(text ? text : "").c_str());
        std::fflush(stderr);
    }
};

UiHost* g_host = nullptr;
UiHost* g_default = nullptr;

} // namespace

int BoxButtons(UINT type, int out[3])
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: out[0] = IDOK, out[1] = IDCANCEL; return 2;
    case MB_ABORTRETRYIGNORE: out[0] = IDABORT, out[1] = IDRETRY, out[2] = IDIGNORE; return 3;
    case MB_YESNOCANCEL: out[0] = IDYES, out[1] = IDNO, out[2] = IDCANCEL; return 3;
    case MB_YESNO: out[0] = IDYES, out[1] = IDNO; return 2;
    case MB_RETRYCANCEL: out[0] = IDRETRY, out[1] = IDCANCEL; return 2;
    default: out[0] = IDOK; return 1;
    }
}

int BoxDefaultAnswer(UINT type)
{
    int buttons[3];
    const int n = BoxButtons(type, buttons);
    const int index = static_cast<int>((type & MB_DEFMASK) >> 8);
    return index < n ? buttons[index] : buttons[0];
}

UiHost* ConsoleUiHost()
{
    static ConsoleHost host;
    return &host;
}

void SetDefaultUiHost(UiHost* host) { g_default = host; }

UiHost* SetUiHost(UiHost* host)
{
    UiHost* old = g_host;
    g_host = host;
    return old;
}

UiHost* GetUiHost()
{
    if (g_host)
        return g_host;
    return g_default ? g_default : ConsoleUiHost();
}

bool UiHostIsExplicit() { return g_host != nullptr; }

int MessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    ModalScope scope;
    return GetUiHost()->MessageBox(owner, text ? text : "", caption ? caption : "Error", type);
}

BOOL MessageBeep(UINT type)
{
    FlushNow();
    GetUiHost()->Beep(type, 0, 0);
    return TRUE;
}

BOOL Beep(DWORD freq, DWORD ms)
{
    FlushNow();
    GetUiHost()->Beep(BEEP_SIMPLE, freq, ms);
    return TRUE;
}

bool PromptFileName(FilePrompt& prompt)
{
    ModalScope scope;
    return GetUiHost()->PromptFileName(prompt);
}

void DialogShown(HWND dialog, int templateId) { GetUiHost()->DialogShown(dialog, templateId); }

void Fatal(const char* text, const char* caption, int code)
{
    if (code == 0)
        code = 1; // a fatal error never looks like success
    {
        ModalScope scope;
        GetUiHost()->Exit(code, ExitKind::Fatal, text ? text : "", caption ? caption : "Error");
    }
    std::fflush(nullptr);
    std::_Exit(code);
}

void crt_exit(int code)
{
    GetUiHost()->Exit(code, ExitKind::Normal, nullptr, nullptr);
    std::exit(code);
}

void crt_exit_now(int code)
{
    GetUiHost()->Exit(code, ExitKind::Immediate, nullptr, nullptr);
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace plat
