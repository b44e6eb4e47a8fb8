// Owner-drawn lists: a multi-column list of tab-separated rows, and a check
// list whose rows carry an undecided / rejected / accepted face.
#pragma once
#include "uikit/bar_button.h"
#include "plat/fw/wnd.h"
#include <cstdint>
#include <string>
#include <vector>

// What both lists share: rows, tab stops, font, whole-row scrolling.
class COwnerRowList : public plat::CWnd {
public:
    static constexpr int MAX_TABS = 20;
    static constexpr int ROW_HEIGHT = 16;

    plat::BOOL Create(int id, plat::CWnd* parent, int left, int top, int right, int bottom);
    void SetTabStops(int count, const int32_t* positions);
    void SetFont(plat::HFONT font) { m_font = font; }
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetTopRow() const { return m_topRow; }
    int GetScrollRange() const { return m_scrollRange; }
    int GetVisibleRows() const;
    bool RowExists(int row) const { return row >= 0 && row < GetRowCount(); }
    // The whole text of the row; empty for a row that does not exist.
    std::string GetRowText(int row) const;

    void UpdateScrollRange();
    void ScrollBy(int n);
    void ScrollTo(int row) { ScrollBy(row - m_topRow); }

    plat::BOOL PreCreateWindow(plat::CREATESTRUCT& cs) override;
    void OnVScroll(plat::UINT code, plat::UINT pos, plat::HWND bar) override;
    plat::UINT OnGetDlgCode() override;
    void OnLButtonDblClk(plat::UINT flags, plat::POINT pt) override;

protected:
    // The row under a client point; may be past the last row.
    int row_at(plat::POINT pt) const { return m_topRow + pt.y / ROW_HEIGHT; }
    void invalidate_row(int row) const;
    // Field c + 2 of the row at each tab stop c.
    void draw_fields(plat::HDC dc, const std::string& row, int y) const;

    std::vector<std::string> m_rows;
    int16_t m_tabCount = 0;
    int32_t m_tabs[MAX_TABS] = {};
    plat::HFONT m_font = 0;
    int16_t m_topRow = 0;
    int16_t m_scrollRange = 0;
    int16_t m_rowHeight = ROW_HEIGHT;
    int16_t m_selection = -1;
};

class CTabbedList : public COwnerRowList {
public:
    const char* GetRuntimeClassName() const override { return "CTabbedList"; }
    void AddRow(const char* text, uint32_t mark);
    // Rows and marks go; the scroll range stays until the next AddRow.
    void ResetContent();
    void SetCurSel(int row);
    int GetCurSel() const { return m_selection; }
    plat::BOOL GetRowText(int row, char* buffer, int size) const;
    using COwnerRowList::GetRowText;

    void OnPaint() override;
    void OnKeyDown(plat::UINT key, plat::UINT repeat, plat::UINT flags) override;
    void OnLButtonDown(plat::UINT flags, plat::POINT pt) override;
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;

private:
    std::vector<uint32_t> m_marks;
};

class CSelectCheckList : public COwnerRowList {
public:
    enum Check { UNDECIDED = 0, REJECTED = 1, ACCEPTED = 2 };

    CSelectCheckList() = default;
    ~CSelectCheckList() override;
    const char* GetRuntimeClassName() const override { return "CSelectCheckList"; }

    plat::BOOL Create(int id, plat::CWnd* parent, int left, int top, int right, int bottom);
    void AddRow(const char* text, plat::BOOL selectable);
    // 0 when the row cannot be selected (or does not exist); else what the
    // parent answered to the selection notice.
    plat::LRESULT SetCurSel(int row, plat::BOOL redraw);
    int GetCurSel() const { return m_selection; }
    void SetCheck(int row, int state, plat::BOOL redraw);
    int GetCheck(int row) const;
    // Row of the n-th selectable row; -1 when there is none.
    int SelectableToRow(int n) const;
    int GetSelectableCheck(int n) const { return GetCheck(SelectableToRow(n)); }
    bool IsSelectable(int row) const { return RowExists(row) && m_selectable[static_cast<size_t>(row)] != 0; }

    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnPaint() override;
    void OnKeyDown(plat::UINT key, plat::UINT repeat, plat::UINT flags) override;
    void OnLButtonDown(plat::UINT flags, plat::POINT pt) override;
    void OnSetFocus(plat::HWND old) override;
    void OnKillFocus(plat::HWND next) override;

private:
    int16_t m_controlId = 0;
    std::vector<int> m_checks;
    std::vector<int> m_selectable;
    CBitmapImage* m_faces[3] = {};
};
