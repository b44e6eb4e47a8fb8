// A row of bar buttons laid out left to right; presses go to the bar's parent.
#pragma once
#include "uikit/bar_button.h"
#include "plat/fw/wnd.h"
#include <vector>

class CButtonBar : public plat::CWnd {
public:
    CButtonBar() = default;
    ~CButtonBar() override;
    const char* GetRuntimeClassName() const override { return "CButtonBar"; }

    plat::BOOL Create(plat::CWnd* parent, int childId);
    void SetButtonSize(int width, int height)
    {
        m_buttonWidth = width;
        m_buttonHeight = height;
    }
    CBarButton* AddButton(const char* caption, const char* tooltip, int commandId, int normalBitmap,
                          int pressedBitmap, int disabledBitmap, int gap, int captionOffset);
    CBarButton* AddButtonAt(int commandId, int x, int y, int width, int height, const char* caption,
                            const char* tooltip);
    CBarButton* FindButton(int commandId) const;
    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    CBarButton* GetButton(int i) const { return m_buttons.at(static_cast<size_t>(i)); }

    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnPaint() override;
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;

private:
    std::vector<CBarButton*> m_buttons;
    plat::CWnd* m_parent = nullptr;
    int m_nextX = 10;
    int m_y = 3;
    int m_buttonWidth = 24;
    int m_buttonHeight = 22;
    int m_defaultGap = 15;
};
