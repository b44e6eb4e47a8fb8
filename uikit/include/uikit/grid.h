// The grid of figures: header row and column, one control per cell, edited
// in place (text cells) or chosen from a drop-down list (choice cells).
#pragma once
#include "plat/fw/wrappers.h"
#include <cstdint>
#include <memory>
#include <string>

class CGrid;

// The in-place editor: keeps Tab for itself to move to the next cell.
class CGridEdit : public plat::CEdit {
public:
    explicit CGridEdit(CGrid* grid) : m_grid(grid) {}
    const char* GetRuntimeClassName() const override { return "CGridEdit"; }
    plat::UINT OnGetDlgCode() override;
    void OnKeyDown(plat::UINT key, plat::UINT repeat, plat::UINT flags) override;

private:
    CGrid* m_grid;
};

class CGrid : public plat::CObject {
public:
    static constexpr int MAX_COLUMNS = 16;
    static constexpr int MAX_ROWS = 16;
    static constexpr int MAX_CHOICES = 5;
    static constexpr int CELL_TEXT_MAX = 40;
    enum CellKind { TEXT_CELLS = 0, CHOICE_CELLS = 1 };

    CGrid();
    ~CGrid() override;
    CGrid(const CGrid&) = delete;
    CGrid& operator=(const CGrid&) = delete;
    const char* GetRuntimeClassName() const override { return "CGrid"; }

    // Set before Create.
    void SetCellKind(int kind) { m_cellKind = static_cast<int16_t>(kind); }
    // A sixth item of a column is refused.
    void AddChoiceItem(int col, const char* text);
    void SetRowHeight(int h) { m_rowHeight = static_cast<int16_t>(h); }
    void SetColumnWidth(int w) { m_columnWidth = static_cast<int16_t>(w); }
    void SetHeaderHeight(int h) { m_headerHeight = static_cast<int16_t>(h); }
    void SetHeaderWidth(int w) { m_headerWidth = static_cast<int16_t>(w); }
    void SetCornerText(const char* text) { m_cornerText = text != nullptr ? text : ""; }
    void ShowHeaders(plat::BOOL shown) { m_headersShown = shown; }

    void AddColumn(const char* title, int style);
    void AddRow(const char* title);
    void Create(int32_t tag, plat::CWnd* parent, int left, int top, int right, int bottom, int32_t callerFlag);
    void Draw(plat::HDC dc) const;

    plat::CWnd* GetCellWnd(int row, int col) const;
    void SetCellText(int row, int col, const char* text);
    void GetCellText(int row, int col, char* buffer) const; // 40 bytes
    std::string GetCellText(int row, int col) const;
    void SetCellInt(int row, int col, int16_t value);
    // FALSE when the text was out of the 16-bit range (the value is then
    // clamped) or the cell does not exist (value 0).
    plat::BOOL GetCellInt(int row, int col, int16_t* value) const;
    void SetComboSel(int row, int col, int index);
    int GetComboSel(int row, int col) const;
    plat::BOOL HitTest(int x, int y, int* row, int* col) const;
    void EnableCells(plat::BOOL enable);
    void OnLButtonDown(plat::POINT pt);
    void OnKeyDown() {}
    void BeginEdit(int row, int col);
    void EndEdit();
    void EditNextCell();

    int GetColumnCount() const { return m_columnCount; }
    int GetRowCount() const { return m_rowCount; }
    int GetColumnWidth() const { return m_columnWidth; }
    int GetRowHeight() const { return m_rowHeight; }
    int GetBaseId() const { return m_baseId; }
    int CellId(int row, int col) const { return m_baseId + row * 100 + col; }
    plat::RECT GetCellRect(int row, int col) const;
    CGridEdit* GetEditor() const { return m_editor; }
    int GetEditedRow() const { return m_editRow; }
    int GetEditedColumn() const { return m_editCol; }
    static int LiveCount() { return s_liveCount; }

    // The C runtime's decimal reading (blanks, sign, digits), saturating,
    // then clamped to 16 bits; *clamped tells whether it was.
    static int16_t ParseCellInt(const char* text, bool* clamped);

private:
    bool cell_exists(int row, int col) const;
    plat::HWND cell(int row, int col) const;
    void cell_origin(int row, int col, int* x, int* y) const;

    int32_t m_tag = 0;
    plat::CWnd* m_parent = nullptr;
    plat::RECT m_area{};
    int32_t m_callerFlag = 0;
    int16_t m_cellKind = TEXT_CELLS;
    plat::HFONT m_font = 0;
    std::string m_choiceItems[MAX_COLUMNS][MAX_CHOICES];
    int16_t m_choiceCounts[MAX_COLUMNS] = {};
    std::string m_rowTitles[MAX_ROWS];
    int16_t m_rowCount = 0;
    std::string m_columnTitles[MAX_COLUMNS];
    int16_t m_columnStyles[MAX_COLUMNS] = {};
    int16_t m_columnCount = 0;
    int16_t m_rowHeight = 16;
    int16_t m_columnWidth = 100;
    int16_t m_headerHeight = 20;
    int16_t m_headerWidth = 50;
    int16_t m_baseId = 0;
    std::string m_cornerText;
    int32_t m_headersShown = 1;
    plat::RECT m_cellRects[MAX_ROWS][MAX_COLUMNS] = {};
    plat::HWND m_cells[MAX_ROWS][MAX_COLUMNS] = {};
    CGridEdit* m_editor = nullptr;
    // An editor ended from inside its own key handler lives until the next
    // edit ends, so the handler never runs on a deleted object.
    std::unique_ptr<CGridEdit> m_retired;
    int32_t m_editRow = -1;
    int32_t m_editCol = -1;

    static int16_t s_liveCount;
};
