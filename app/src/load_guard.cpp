// The load guard.
#include "load_guard_p.h"

LoadGuard::LoadGuard()
{
    inner_ = plat::GetUiHost();
    plat::SetUiHost(this);
}

LoadGuard::~LoadGuard()
{
    plat::SetUiHost(inner_);
}

int LoadGuard::MessageBox(plat::HWND owner, const char* text, const char* caption, plat::UINT type)
{
    last_box_ = text != nullptr ? text : "";
    return inner_->MessageBox(owner, text, caption, type);
}

bool LoadGuard::PromptFileName(plat::FilePrompt& prompt) { return inner_->PromptFileName(prompt); }
void LoadGuard::DialogShown(plat::HWND dialog, int templateId) { inner_->DialogShown(dialog, templateId); }
void LoadGuard::Beep(plat::UINT type, plat::DWORD freq, plat::DWORD ms) { inner_->Beep(type, freq, ms); }

namespace {
// Set while an exit that no guard turns into a refusal is on its way out.
bool g_exit_past_guards = false;
} // namespace

void exit_past_load_guard(int code)
{
    // Armed only for a guard to pass on: without one the exit goes straight to the host.
    g_exit_past_guards = dynamic_cast<LoadGuard*>(plat::GetUiHost()) != nullptr;
    plat::crt_exit(code);
}

void LoadGuard::Exit(int code, plat::ExitKind kind, const char* boxText, const char* boxCaption)
{
    // Running out of memory stays fatal; everything else refuses the load.
    std::string said = boxText != nullptr ? boxText : last_box_;
    if (g_exit_past_guards || said.find("MEMORY") != std::string::npos || said.find("memory") != std::string::npos) {
        plat::UiHost* inner = inner_;
        plat::SetUiHost(inner);
        // The outermost guard hands the exit on to the real host.
        if (dynamic_cast<LoadGuard*>(inner) == nullptr)
            g_exit_past_guards = false;
        inner->Exit(code, kind, boxText, boxCaption);
    }
    if (boxText != nullptr)
        inner_->MessageBox(0, boxText, boxCaption != nullptr ? boxCaption : "Error",
                           plat::MB_OK | plat::MB_ICONSTOP | plat::MB_TASKMODAL);
    throw LoadRefused{};
}
