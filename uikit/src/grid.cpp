// Grid of figures: cells, header drawing, in-place editing.
#include "uikit/grid.h"
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <cassert>
#include <cstdio>
#include <cstring>

using namespace plat;

int16_t CGrid::s_liveCount = 0;

// ---- CGridEdit ---------------------------------------------------------------

UINT CGridEdit::OnGetDlgCode()
{
    return static_cast<UINT>(Default()) | static_cast<UINT>(DLGC_WANTTAB);
}

void CGridEdit::OnKeyDown(UINT key, UINT, UINT)
{
    Default();
    if (key == VK_TAB)
        m_grid->EditNextCell();
}

// ---- CGrid ----------------------------------------------------------------------

CGrid::CGrid()
{
    ++s_liveCount;
    m_baseId = static_cast<int16_t>(1000 * s_liveCount);
    m_font = uikit_make_dialog_font();
}

CGrid::~CGrid()
{
    if (m_editor != nullptr) {
        m_editor->DestroyWindow();
        delete m_editor;
    }
    if (m_font != 0)
        DeleteObject(m_font);
    --s_liveCount;
}

bool CGrid::cell_exists(int row, int col) const
{
    const bool ok = row >= 0 && row < m_rowCount && col >= 0 && col < m_columnCount;
    if (!ok)
        uikit_debug_log("grid cell (%d, %d) out of range", row, col);
    return ok;
}

HWND CGrid::cell(int row, int col) const
{
    if (!cell_exists(row, col))
        return 0;
    const HWND h = m_cells[row][col];
    return h != 0 && IsWindow(h) ? h : 0;
}

void CGrid::AddChoiceItem(int col, const char* text)
{
    if (col < 0 || col >= MAX_COLUMNS || m_choiceCounts[col] >= MAX_CHOICES) {
        uikit_debug_log("grid choice item of column %d refused", col);
        return;
    }
    m_choiceItems[col][m_choiceCounts[col]++] = text != nullptr ? text : "";
}

void CGrid::AddColumn(const char* title, int style)
{
    if (m_columnCount >= MAX_COLUMNS) {
        MessageBox(0, "Too many columns", "CGrid", MB_OK);
        return;
    }
    m_columnTitles[m_columnCount] = lang_translate(title != nullptr ? title : "");
    m_columnStyles[m_columnCount] = static_cast<int16_t>(style);
    ++m_columnCount;
}

void CGrid::AddRow(const char* title)
{
    if (m_rowCount >= MAX_ROWS) {
        MessageBox(0, "Too many rows", "CGrid", MB_OK);
        return;
    }
    m_rowTitles[m_rowCount++] = title != nullptr ? title : "";
}

void CGrid::cell_origin(int row, int col, int* x, int* y) const
{
    *x = m_area.left + m_headerWidth + col * m_columnWidth;
    *y = m_area.top + m_headerHeight + row * m_rowHeight;
}

void CGrid::Create(int32_t tag, CWnd* parent, int left, int top, int right, int bottom, int32_t callerFlag)
{
    m_tag = tag;
    m_parent = parent;
    m_area = RECT{left, top, right, bottom};
    m_callerFlag = callerFlag;
    if (m_columnCount >= 1)
        m_columnWidth = static_cast<int16_t>((right - left - m_headerWidth) / m_columnCount);
    if (m_rowCount >= 1)
        m_rowHeight = static_cast<int16_t>((bottom - top - m_headerHeight) / m_rowCount);
    const HWND owner = parent != nullptr ? parent->m_hWnd : 0;
    for (int r = 0; r < m_rowCount; ++r) {
        for (int c = 0; c < m_columnCount; ++c) {
            int x = 0, y = 0;
            cell_origin(r, c, &x, &y);
            const int id = CellId(r, c);
            RECT rc{};
            HWND h = 0;
            if (m_cellKind == TEXT_CELLS) {
                rc = RECT{x + 5, y + 4, x + m_columnWidth - 5, y + m_rowHeight - 1};
                h = CreateWindowEx(0, "STATIC", "???",
                                   static_cast<DWORD>(m_columnStyles[c]) | WS_CHILD | WS_VISIBLE, rc.left, rc.top,
                                   rc.right - rc.left, rc.bottom - rc.top, owner, static_cast<HMENU>(id), 0,
                                   nullptr);
            } else {
                rc = RECT{x, y, x + m_columnWidth, y + m_rowHeight + 24 * m_choiceCounts[c]};
                h = CreateWindowEx(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST,
                                   rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, owner,
                                   static_cast<HMENU>(id), 0, nullptr);
                for (int i = 0; i < m_choiceCounts[c]; ++i)
                    plat::SendMessage(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_choiceItems[c][i].c_str()));
            }
            if (h != 0)
                plat::SendMessage(h, WM_SETFONT, static_cast<WPARAM>(m_font), 0);
            m_cells[r][c] = h;
            m_cellRects[r][c] = rc;
        }
    }
}

RECT CGrid::GetCellRect(int row, int col) const
{
    if (!cell_exists(row, col))
        return RECT{};
    return m_cellRects[row][col];
}

void CGrid::Draw(HDC dc) const
{
    const COLORREF grey = 0x808080;
    const RECT& a = m_area;
    const bool corner = !m_cornerText.empty();
    draw_line(dc, a.left, corner ? a.top : a.top + m_headerHeight, a.left, a.bottom, grey, 1);
    for (int x = a.left + m_headerWidth; x <= a.right && m_columnWidth > 0; x += m_columnWidth)
        draw_line(dc, x, m_headersShown ? a.top : a.top + m_headerHeight, x, a.bottom, grey, 1);
    if (m_headersShown)
        draw_line(dc, corner ? a.left : a.left + m_headerWidth, a.top, a.right, a.top, grey, 1);
    for (int y = a.top + m_headerHeight; y <= a.bottom && m_rowHeight > 0; y += m_rowHeight)
        draw_line(dc, a.left, y, a.right, y, grey, 1);

    const HGDIOBJ oldFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0x000000);
    auto box = [&](int l, int t, int r, int b, const std::string& text, int leftInset) {
        draw_3d_border(dc, l, t, r, b, 2, 1);
        RECT rc{l + leftInset, t, r, b};
        DrawText(dc, text.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    };
    if (m_headersShown) {
        if (corner)
            box(a.left + 1, a.top + 1, a.left + 1 + m_headerWidth, a.top + 1 + m_headerHeight, m_cornerText, 0);
        int x = a.left + m_headerWidth;
        for (int c = 0; c < m_columnCount; ++c, x += m_columnWidth)
            box(x + 1, a.top + 1, x + 1 + m_columnWidth, a.top + 1 + m_headerHeight, m_columnTitles[c], 0);
    }
    int y = a.top + m_headerHeight;
    for (int r = 0; r < m_rowCount; ++r, y += m_rowHeight)
        box(a.left + 1, y + 1, a.left + 1 + m_headerWidth, y + 1 + m_rowHeight, m_rowTitles[r], 5);
    SelectObject(dc, oldFont);
}

CWnd* CGrid::GetCellWnd(int row, int col) const
{
    const bool exists = cell_exists(row, col);
    assert(exists && "grid cell out of range");
    if (!exists)
        return nullptr;
    const HWND h = cell(row, col);
    return h != 0 ? CWnd::FromHandle(h) : nullptr;
}

void CGrid::SetCellText(int row, int col, const char* text)
{
    if (const HWND h = cell(row, col); h != 0)
        SetWindowText(h, text != nullptr ? text : "");
}

void CGrid::GetCellText(int row, int col, char* buffer) const
{
    buffer[0] = '\0';
    if (const HWND h = cell(row, col); h != 0)
        GetWindowText(h, buffer, CELL_TEXT_MAX);
}

std::string CGrid::GetCellText(int row, int col) const
{
    char buffer[CELL_TEXT_MAX];
    GetCellText(row, col, buffer);
    return buffer;
}

void CGrid::SetCellInt(int row, int col, int16_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    SetCellText(row, col, text);
}

int16_t CGrid::ParseCellInt(const char* text, bool* clamped)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // Accumulated with saturation at the 32-bit limits, as the runtime's
    // strtol does, so no digit string wraps round.
    int64_t v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > static_cast<int64_t>(INT32_MAX) + 1)
            v = static_cast<int64_t>(INT32_MAX) + 1;
    }
    if (negative)
        v = -v;
    const int64_t limited = v < INT16_MIN ? INT16_MIN : v > INT16_MAX ? INT16_MAX : v;
    *clamped = limited != v;
    return static_cast<int16_t>(limited);
}

BOOL CGrid::GetCellInt(int row, int col, int16_t* value) const
{
    *value = 0;
    if (cell(row, col) == 0)
        return FALSE;
    bool clamped = false;
    *value = ParseCellInt(GetCellText(row, col).c_str(), &clamped);
    return clamped ? FALSE : TRUE;
}

void CGrid::SetComboSel(int row, int col, int index)
{
    if (const HWND h = cell(row, col); h != 0)
        plat::SendMessage(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int CGrid::GetComboSel(int row, int col) const
{
    const HWND h = cell(row, col);
    return h != 0 ? static_cast<int>(plat::SendMessage(h, CB_GETCURSEL, 0, 0)) : -1;
}

BOOL CGrid::HitTest(int x, int y, int* row, int* col) const
{
    for (int r = 0; r < m_rowCount; ++r)
        for (int c = 0; c < m_columnCount; ++c) {
            const RECT& rc = m_cellRects[r][c];
            if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom) {
                *row = r;
                *col = c;
                return TRUE;
            }
        }
    return FALSE;
}

void CGrid::EnableCells(BOOL enable)
{
    for (int r = 0; r < m_rowCount; ++r)
        for (int c = 0; c < m_columnCount; ++c)
            if (m_cells[r][c] != 0 && IsWindow(m_cells[r][c]))
                EnableWindow(m_cells[r][c], enable);
}

void CGrid::OnLButtonDown(POINT pt)
{
    if (m_cellKind != TEXT_CELLS)
        return;
    int row = 0, col = 0;
    if (HitTest(pt.x, pt.y, &row, &col))
        BeginEdit(row, col);
}

void CGrid::BeginEdit(int row, int col)
{
    if (m_editor != nullptr)
        EndEdit();
    const HWND h = cell(row, col);
    if (h == 0 || m_parent == nullptr)
        return;
    ShowWindow(h, SW_HIDE);
    char text[CELL_TEXT_MAX];
    GetWindowText(h, text, sizeof text);
    int x = 0, y = 0;
    cell_origin(row, col, &x, &y);
    auto* editor = new CGridEdit(this);
    const BOOL made = editor->CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP,
                                       x + 20, y + 2, m_columnWidth - 40, m_rowHeight - 2, m_parent->m_hWnd,
                                       static_cast<UINT_PTR>(m_baseId));
    if (!made) {
        delete editor;
        ShowWindow(h, SW_SHOW);
        MessageBox(0, "Fail to create edit", "CGrid", MB_OK | MB_TASKMODAL);
        return;
    }
    m_editor = editor;
    editor->SetWindowText(text);
    editor->SetFont(m_font, FALSE);
    editor->SetFocus();
    editor->SetSel(0, -1);
    m_editRow = row;
    m_editCol = col;
}

void CGrid::EndEdit()
{
    if (m_editRow < 0 || m_editCol < 0 || m_editor == nullptr)
        return;
    char text[100];
    m_editor->GetWindowText(text, sizeof text);
    if (const HWND h = cell(m_editRow, m_editCol); h != 0) {
        SetWindowText(h, text);
        ShowWindow(h, SW_SHOW);
    }
    m_editor->DestroyWindow();
    m_retired.reset(m_editor);
    m_editor = nullptr;
    m_editRow = -1;
    m_editCol = -1;
}

void CGrid::EditNextCell()
{
    const int row = m_editRow, col = m_editCol;
    if (row < 0 || col < 0)
        return;
    if (row == m_rowCount - 1 && col == m_columnCount - 1)
        EndEdit();
    else if (col == m_columnCount - 1)
        BeginEdit(row + 1, 0);
    else
        BeginEdit(row, col + 1);
}
