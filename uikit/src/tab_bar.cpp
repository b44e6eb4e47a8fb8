// Tab bar: trapezoid tabs from the right edge leftwards.
#include "uikit/tab_bar.h"
#include "uikit/uikit.h"
#include "plat/fw/wrappers.h"
#include "plat/gdi.h"
#include "plat/window.h"
#include <cstring>

using namespace plat;

namespace {
// Perceived brightness below the middle (colours are 0x00BBGGRR).
bool is_dark(COLORREF c)
{
    const unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return 299 * r + 587 * g + 114 * b < 128 * 1000;
}
} // namespace

CTabBar::CTabBar(HWND parent, const RECT& rect, int32_t controlId, COLORREF selectedColor)
    : m_parent(parent), m_selectedColor(selectedColor), m_controlId(controlId)
{
    CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
             rect.bottom - rect.top, parent, static_cast<UINT_PTR>(controlId));
    if (m_hWnd != 0)
        ShowWindow(SW_SHOW);
}

void CTabBar::AddTab(const char* label)
{
    if (m_tabCount >= MAX_TABS) {
        uikit_debug_log("tab bar: tab %d refused", m_tabCount + 1);
        return;
    }
    std::strncpy(m_labels[m_tabCount], label != nullptr ? label : "", LABEL_MAX);
    m_labels[m_tabCount][LABEL_MAX] = '\0';
    ++m_tabCount;
    if (m_hWnd != 0)
        Invalidate(TRUE);
}

void CTabBar::SetCurTab(int index)
{
    m_selection = index;
    if (m_hWnd != 0)
        Invalidate(TRUE);
}

const char* CTabBar::GetLabel(int index) const
{
    return index >= 0 && index < m_tabCount ? m_labels[index] : "";
}

BOOL CTabBar::GetTabRect(int index, RECT* out) const
{
    if (m_tabCount == 0 || index < 0 || index >= m_tabCount)
        return FALSE;
    RECT rc{};
    GetClientRect(&rc);
    const int width = rc.right - rc.left;
    const int w = width / m_tabCount;
    const int left = width - (index + 1) * w;
    *out = RECT{left, rc.top, left + w, rc.bottom};
    return TRUE;
}

void CTabBar::OnPaint()
{
    CPaintDC dc(this);
    if (m_tabCount == 0)
        return;
    const HFONT font = uikit_make_dialog_font();
    const HGDIOBJ oldFont = plat::SelectObject(dc, font);
    const HPEN black = CreatePen(PS_SOLID, 1, 0x000000);
    for (int i = 0; i < m_tabCount; ++i) {
        RECT tab{};
        GetTabRect(i, &tab);
        const COLORREF fill = i == m_selection ? m_selectedColor : m_otherColor;
        const HPEN pen = CreatePen(PS_SOLID, 1, fill);
        const HGDIOBJ oldPen = plat::SelectObject(dc, pen);
        int k = 0;
        for (int y = tab.bottom - 1; y >= tab.top; y -= 2, ++k) {
            const int l = tab.left + k, r = tab.right - k;
            if (l >= r)
                break;
            MoveToEx(dc, l, y, nullptr);
            plat::LineTo(dc, r, y);
            if (y - 1 >= tab.top) {
                MoveToEx(dc, l, y - 1, nullptr);
                plat::LineTo(dc, r, y - 1);
            }
        }
        // The slant reaches the top after the fill's last step.
        const int inset = k > 0 ? k - 1 : 0;
        plat::SelectObject(dc, black);
        MoveToEx(dc, tab.left, tab.bottom - 1, nullptr);
        plat::LineTo(dc, tab.left + inset, tab.top);
        plat::LineTo(dc, tab.right - 1 - inset, tab.top);
        plat::LineTo(dc, tab.right - 1, tab.bottom - 1);
        plat::SelectObject(dc, oldPen);
        plat::DeleteObject(pen);
        plat::SetBkMode(dc, TRANSPARENT);
        // Black on a light fill; on a dark one (a family colour such as navy) white, so the label reads.
        plat::SetTextColor(dc, is_dark(fill) ? 0xFFFFFF : 0x000000);
        plat::DrawText(dc, m_labels[i], -1, &tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    plat::SelectObject(dc, oldFont);
    plat::DeleteObject(font);
    plat::DeleteObject(black);
}

void CTabBar::OnLButtonDown(UINT, POINT pt)
{
    for (int i = 0; i < m_tabCount; ++i) {
        RECT tab{};
        GetTabRect(i, &tab);
        if (pt.x >= tab.left && pt.x < tab.right && pt.y >= tab.top && pt.y < tab.bottom) {
            SetCurTab(i);
            plat::SendMessage(m_parent, WM_TAB_SELECTED, static_cast<WPARAM>(i), static_cast<LPARAM>(m_controlId));
            return;
        }
    }
}

void CTabBar::OnMouseMove(UINT, POINT)
{
    plat::SetCursor(LoadCursor(0, IDC_ARROW));
}
