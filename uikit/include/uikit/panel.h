// The panel base of the department windows and the indicator panes.
#pragma once
#include "plat/fw/wnd.h"

class CPanelWnd : public plat::CWnd {
public:
    CPanelWnd() = default;
    ~CPanelWnd() override;
    const char* GetRuntimeClassName() const override { return "CPanelWnd"; }

    // A standard tooltip with the translated text over the whole panel.
    void SetToolTip(const char* text);
    // The panel becomes the drawing helpers' current window.
    void SelectGraphicsView();
    plat::HWND tooltip() const { return m_tooltip; }

    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnDestroy() override;

protected:
    plat::HWND m_tooltip = 0;
};
