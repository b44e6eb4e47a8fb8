// Private to app/src: turns the fatal end of a failed scenario or state load
// into a refusal of that load. The box is shown as usual; instead of ending
// the program, the load unwinds to its start and the new session is dropped.
#pragma once
#include "plat/uihost.h"
#include <string>

struct LoadRefused {};

class LoadGuard : public plat::UiHost {
public:
    LoadGuard();
    ~LoadGuard() override;
    LoadGuard(const LoadGuard&) = delete;
    LoadGuard& operator=(const LoadGuard&) = delete;

    int MessageBox(plat::HWND owner, const char* text, const char* caption, plat::UINT type) override;
    bool PromptFileName(plat::FilePrompt& prompt) override;
    void DialogShown(plat::HWND dialog, int templateId) override;
    void Beep(plat::UINT type, plat::DWORD freq, plat::DWORD ms) override;
    [[noreturn]] void Exit(int code, plat::ExitKind kind, const char* boxText, const char* boxCaption) override;

private:
    plat::UiHost* inner_;
    std::string last_box_;
};

// Ends the program with `code` even under a load guard: for a load whose
// outcome is the end of the program, not a refusal (an old version's files).
[[noreturn]] void exit_past_load_guard(int code);
