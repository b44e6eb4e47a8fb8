// A row of trapezoid tabs; a click selects one and tells the parent.
#pragma once
#include "plat/fw/wnd.h"
#include <cstdint>

class CTabBar : public plat::CWnd {
public:
    static constexpr int MAX_TABS = 5;
    static constexpr int LABEL_MAX = 40;

    // Made at once as a visible child of the parent over the rectangle.
    CTabBar(plat::HWND parent, const plat::RECT& rect, int32_t controlId, plat::COLORREF selectedColor);
    const char* GetRuntimeClassName() const override { return "CTabBar"; }

    // A sixth tab is refused; labels are cut to 40 characters.
    void AddTab(const char* label);
    void SetCurTab(int index);
    int GetCurTab() const { return m_selection; }
    int GetTabCount() const { return m_tabCount; }
    const char* GetLabel(int index) const;
    // FALSE while there are no tabs.
    plat::BOOL GetTabRect(int index, plat::RECT* out) const;

    void OnPaint() override;
    void OnLButtonDown(plat::UINT flags, plat::POINT pt) override;
    void OnMouseMove(plat::UINT flags, plat::POINT pt) override;

private:
    plat::HWND m_parent;
    plat::COLORREF m_selectedColor;
    int32_t m_controlId;
    char m_labels[MAX_TABS][LABEL_MAX + 1] = {};
    int32_t m_tabCount = 0;
    int32_t m_selection = 0;
    plat::COLORREF m_otherColor = 0xFFFFFF;
};
