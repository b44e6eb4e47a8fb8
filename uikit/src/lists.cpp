// Owner-drawn tabbed list and check list.
#include "uikit/lists.h"
#include "uikit/uikit.h"
#include "foundation/utils.h"
#include "plat/controls.h"
#include "plat/fw/wrappers.h"
#include "plat/gdi.h"
#include "plat/window.h"
#include <algorithm>
#include <cstring>

using namespace plat;

// ---- shared rows and scrolling -------------------------------------------------

BOOL COwnerRowList::Create(int id, CWnd* parent, int left, int top, int right, int bottom)
{
    return CWnd::Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_GROUP | WS_TABSTOP,
                        RECT{left, top, right, bottom}, parent, static_cast<UINT>(id));
}

BOOL COwnerRowList::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return CWnd::PreCreateWindow(cs);
}

void COwnerRowList::SetTabStops(int count, const int32_t* positions)
{
    m_tabCount = static_cast<int16_t>(std::clamp(count, 0, MAX_TABS));
    for (int i = 0; i < m_tabCount; ++i)
        m_tabs[i] = positions[i];
}

int COwnerRowList::GetVisibleRows() const
{
    RECT rc{};
    if (m_hWnd != 0)
        GetClientRect(&rc);
    return (rc.bottom - rc.top) / m_rowHeight;
}

std::string COwnerRowList::GetRowText(int row) const
{
    if (!RowExists(row)) {
        uikit_debug_log("list row %d out of range", row);
        return {};
    }
    return m_rows[static_cast<size_t>(row)];
}

void COwnerRowList::UpdateScrollRange()
{
    m_topRow = 0;
    m_scrollRange = static_cast<int16_t>(GetRowCount() - GetVisibleRows() + 1);
    if (m_hWnd == 0)
        return;
    if (m_scrollRange >= 1) {
        EnableScrollBar(m_hWnd, SB_VERT, ESB_ENABLE_BOTH);
        CWnd::SetScrollRange(SB_VERT, 0, m_scrollRange - 1, TRUE);
        CWnd::SetScrollPos(SB_VERT, 0, TRUE);
    } else {
        EnableScrollBar(m_hWnd, SB_VERT, ESB_DISABLE_BOTH);
    }
}

void COwnerRowList::ScrollBy(int n)
{
    // A list shorter than its window has no top-row positions to move over.
    if (m_scrollRange < 1)
        return;
    n = std::clamp(m_topRow + n, 0, m_scrollRange - 1) - m_topRow;
    if (n == 0)
        return;
    m_topRow = static_cast<int16_t>(m_topRow + n);
    if (m_hWnd == 0)
        return;
    ScrollWindow(0, -n * m_rowHeight);
    CWnd::SetScrollPos(SB_VERT, m_topRow, TRUE);
}

void COwnerRowList::OnVScroll(UINT code, UINT pos, HWND)
{
    if (GetFocus() != this)
        SetFocus();
    switch (code) {
    case SB_LINEUP: ScrollBy(-1); break;
    case SB_LINEDOWN: ScrollBy(1); break;
    case SB_PAGEUP: ScrollBy(-GetVisibleRows()); break;
    case SB_PAGEDOWN: ScrollBy(GetVisibleRows()); break;
    case SB_THUMBPOSITION: ScrollTo(static_cast<int>(pos)); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(m_scrollRange - 1); break;
    default: break;
    }
}

UINT COwnerRowList::OnGetDlgCode()
{
    return static_cast<UINT>(DLGC_WANTARROWS);
}

void COwnerRowList::OnLButtonDblClk(UINT, POINT) {}

void COwnerRowList::invalidate_row(int row) const
{
    if (m_hWnd == 0 || row < 0)
        return;
    RECT rc{};
    GetClientRect(&rc);
    const int y = (row - m_topRow) * m_rowHeight;
    const RECT band{rc.left, y, rc.right, y + m_rowHeight};
    InvalidateRect(&band, TRUE);
}

void COwnerRowList::draw_fields(HDC dc, const std::string& row, int y) const
{
    for (int c = 0; c < m_tabCount; ++c) {
        std::string field;
        if (get_separated_field(row.c_str(), c + 2, field, '\t') == 0)
            field.clear();
        plat::TextOut(dc, m_tabs[c], y, field.c_str(), static_cast<int>(field.size()));
    }
}

// ---- CTabbedList ------------------------------------------------------------------

void CTabbedList::AddRow(const char* text, uint32_t mark)
{
    m_rows.emplace_back(text != nullptr ? text : "");
    m_marks.push_back(mark);
    UpdateScrollRange();
}

void CTabbedList::ResetContent()
{
    m_rows.clear();
    m_marks.clear();
}

void CTabbedList::SetCurSel(int row)
{
    if (row < -1 || row >= GetRowCount()) {
        uikit_debug_log("tabbed list row %d out of range", row);
        return;
    }
    m_selection = static_cast<int16_t>(row);
    if (m_hWnd != 0)
        Invalidate(TRUE);
}

BOOL CTabbedList::GetRowText(int row, char* buffer, int size) const
{
    if (buffer == nullptr || size <= 0)
        return FALSE;
    buffer[0] = '\0';
    if (!RowExists(row)) {
        uikit_debug_log("tabbed list row %d out of range", row);
        return FALSE;
    }
    const std::string& s = m_rows[static_cast<size_t>(row)];
    const size_t n = std::min(s.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, s.data(), n);
    buffer[n] = '\0';
    return TRUE;
}

BOOL CTabbedList::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == LB_SETCURSEL) {
        SetCurSel(static_cast<int>(static_cast<intptr_t>(wParam)));
        result = 1;
        return TRUE;
    }
    return COwnerRowList::OnMessage(msg, wParam, lParam, result);
}

void CTabbedList::OnPaint()
{
    CPaintDC dc(this);
    RECT rc{};
    GetClientRect(&rc);
    plat::SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ oldPen = plat::SelectObject(dc, GetStockObject(NULL_PEN));
    const HBRUSH window = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    const RECT all{rc.left - 1, rc.top - 1, rc.right + 1, rc.bottom + 1};
    plat::FillRect(dc, &all, window);
    HGDIOBJ oldFont = 0;
    if (m_font != 0)
        oldFont = plat::SelectObject(dc, m_font);
    for (int i = 0; i < GetRowCount(); ++i) {
        const int y = -(m_topRow * m_rowHeight) + i * m_rowHeight;
        if (y + m_rowHeight <= rc.top || y >= rc.bottom)
            continue;
        COLORREF back = GetSysColor(COLOR_WINDOW), text = 0x000000;
        if (i == m_selection) {
            back = 0x000000;
            text = 0xFFFFFF;
        } else if (m_marks[static_cast<size_t>(i)] != 0) {
            back = RGB(128, 0, 0);
            text = 0xFFFFFF;
        }
        const HBRUSH band = CreateSolidBrush(back);
        const RECT r{-1, y, rc.right + 1, y + m_rowHeight};
        plat::FillRect(dc, &r, band);
        plat::DeleteObject(band);
        plat::SetTextColor(dc, text);
        draw_fields(dc, m_rows[static_cast<size_t>(i)], y);
    }
    if (m_font != 0)
        plat::SelectObject(dc, oldFont);
    plat::SelectObject(dc, oldPen);
    plat::DeleteObject(window);
}

void CTabbedList::OnKeyDown(UINT key, UINT, UINT)
{
    switch (key) {
    case VK_PRIOR: ScrollBy(-GetVisibleRows()); break;
    case VK_NEXT: ScrollBy(GetVisibleRows()); break;
    case VK_END: ScrollTo(m_scrollRange - 1); break;
    case VK_HOME: ScrollTo(0); break;
    case VK_LEFT:
    case VK_UP: ScrollBy(-1); break;
    case VK_RIGHT:
    case VK_DOWN: ScrollBy(1); break;
    default: break;
    }
}

void CTabbedList::OnLButtonDown(UINT, POINT pt)
{
    const int old = m_selection;
    int row = row_at(pt);
    if (row >= GetRowCount() || pt.y < 0)
        row = -1;
    m_selection = static_cast<int16_t>(row);
    invalidate_row(old);
    invalidate_row(row);
    UpdateWindow();
}

// ---- CSelectCheckList ------------------------------------------------------------------

CSelectCheckList::~CSelectCheckList()
{
    for (CBitmapImage*& f : m_faces) {
        delete f;
        f = nullptr;
    }
}

BOOL CSelectCheckList::Create(int id, CWnd* parent, int left, int top, int right, int bottom)
{
    m_controlId = static_cast<int16_t>(id);
    return COwnerRowList::Create(id, parent, left, top, right, bottom);
}

int CSelectCheckList::OnCreate(CREATESTRUCT* cs)
{
    if (COwnerRowList::OnCreate(cs) == -1)
        return -1;
    const int ids[3] = {IDB_CHECK_UNDECIDED, IDB_CHECK_REJECTED, IDB_CHECK_ACCEPTED};
    for (int i = 0; i < 3; ++i) {
        m_faces[i] = new CBitmapImage;
        m_faces[i]->Load(ids[i]);
    }
    return 0;
}

void CSelectCheckList::AddRow(const char* text, BOOL selectable)
{
    m_rows.emplace_back(text != nullptr ? text : "");
    m_checks.push_back(UNDECIDED);
    m_selectable.push_back(selectable ? 1 : 0);
    UpdateScrollRange();
}

LRESULT CSelectCheckList::SetCurSel(int row, BOOL redraw)
{
    if (!RowExists(row)) {
        uikit_debug_log("check list row %d out of range", row);
        return 0;
    }
    if (!IsSelectable(row))
        return 0;
    if (redraw && m_selection != -1)
        invalidate_row(m_selection);
    m_selection = static_cast<int16_t>(row);
    if (redraw)
        invalidate_row(row);
    CWnd* parent = GetParent();
    if (parent == nullptr)
        return 0;
    return parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_controlId), LBN_SELCHANGE),
                               static_cast<LPARAM>(m_hWnd));
}

void CSelectCheckList::SetCheck(int row, int state, BOOL redraw)
{
    if (!RowExists(row)) {
        if (row != -1)
            uikit_debug_log("check list row %d out of range", row);
        return;
    }
    m_checks[static_cast<size_t>(row)] = state;
    if (redraw)
        invalidate_row(row);
}

int CSelectCheckList::GetCheck(int row) const
{
    if (!RowExists(row)) {
        uikit_debug_log("check list row %d out of range", row);
        return 0;
    }
    return m_checks[static_cast<size_t>(row)];
}

int CSelectCheckList::SelectableToRow(int n) const
{
    int seen = 0;
    for (int row = 0; row < GetRowCount(); ++row) {
        if (!m_selectable[static_cast<size_t>(row)])
            continue;
        if (seen == n)
            return row;
        ++seen;
    }
    return -1;
}

void CSelectCheckList::OnPaint()
{
    CPaintDC dc(this);
    RECT rc{};
    GetClientRect(&rc);
    plat::SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ oldPen = plat::SelectObject(dc, GetStockObject(NULL_PEN));
    const HBRUSH window = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    const RECT all{rc.left - 1, rc.top - 1, rc.right + 1, rc.bottom + 1};
    plat::FillRect(dc, &all, window);
    plat::DeleteObject(window);
    HGDIOBJ oldFont = 0;
    if (m_font != 0)
        oldFont = plat::SelectObject(dc, m_font);
    const bool focused = GetFocus() == this;
    for (int i = 0; i < GetRowCount(); ++i) {
        const int y = -(m_topRow * m_rowHeight) + i * m_rowHeight;
        if (y + m_rowHeight <= rc.top || y >= rc.bottom)
            continue;
        const bool selectable = IsSelectable(i);
        const bool selected = i == m_selection && selectable;
        const HBRUSH band = CreateSolidBrush(selected ? 0x000000 : 0xC0C0C0);
        const RECT r{18, y, rc.right + 1, y + m_rowHeight};
        plat::FillRect(dc, &r, band);
        plat::DeleteObject(band);
        plat::SetTextColor(dc, selected ? 0xFFFFFF : 0x000000);
        draw_fields(dc, m_rows[static_cast<size_t>(i)], y);
        if (selectable) {
            const int check = std::clamp(m_checks[static_cast<size_t>(i)], 0, 2);
            const int face = check == UNDECIDED ? 0 : check == REJECTED ? 1 : 2;
            if (m_faces[face] != nullptr)
                m_faces[face]->Draw(dc, 1, y, SRCCOPY);
        }
        if (selected && focused) {
            for (int x = 18; x < rc.right - 1; x += 2) {
                plat::SetPixel(dc, x, y, 0xFFFFFF);
                plat::SetPixel(dc, x, y + m_rowHeight - 2, 0xFFFFFF);
            }
            for (int yy = y; yy < y + m_rowHeight - 1; yy += 2) {
                plat::SetPixel(dc, 18, yy, 0xFFFFFF);
                plat::SetPixel(dc, rc.right - 2, yy, 0xFFFFFF);
            }
        }
    }
    if (m_font != 0)
        plat::SelectObject(dc, oldFont);
    plat::SelectObject(dc, oldPen);
}

void CSelectCheckList::OnKeyDown(UINT key, UINT, UINT)
{
    const int last = GetRowCount() - 1;
    if (last < 0)
        return;
    const int sel = m_selection;
    int target = sel;
    switch (key) {
    case VK_PRIOR: target = std::max(sel - GetVisibleRows(), 0); break;
    case VK_NEXT: target = std::min(sel + GetVisibleRows(), last); break;
    case VK_END: target = last; break;
    case VK_HOME: target = 0; break;
    case VK_LEFT:
    case VK_UP:
        if (sel > 0)
            target = sel - 1;
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (sel < last)
            target = sel + 1;
        break;
    default: return;
    }
    if (target != sel)
        SetCurSel(target, TRUE);
}

void CSelectCheckList::OnLButtonDown(UINT, POINT pt)
{
    SetFocus();
    const int row = row_at(pt);
    if (pt.y < 0 || !RowExists(row))
        return;
    SetCurSel(row, TRUE);
    if (IsSelectable(row) && pt.x >= 0 && pt.x <= 17) {
        int& check = m_checks[static_cast<size_t>(row)];
        check = check == ACCEPTED ? REJECTED : ACCEPTED;
        invalidate_row(row);
    }
}

void CSelectCheckList::OnSetFocus(HWND)
{
    invalidate_row(m_selection);
}

void CSelectCheckList::OnKillFocus(HWND)
{
    invalidate_row(m_selection);
}
