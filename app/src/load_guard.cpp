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

void LoadGuard::Exit(int code, plat::ExitKind kind, const char* boxText, const char* boxCaption)
{
    // Running out of memory stays fatal; everything else refuses the load.
    std::string said = boxText != nullptr ? boxText : last_box_;
    if (said.find("MEMORY") != std::string::npos || said.find("memory") != std::string::npos) {
        plat::UiHost* inner = inner_;
        plat::SetUiHost(inner);
        inner->Exit(code, kind, boxText, boxCaption);
    }
    if (boxText != nullptr)
        inner_->MessageBox(0, boxText, boxCaption != nullptr ? boxCaption : "Error",
                           plat::MB_OK | plat::MB_ICONSTOP | plat::MB_TASKMODAL);
    throw LoadRefused{};
}
