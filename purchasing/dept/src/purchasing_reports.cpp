// The Purchasing reports' dialogs and their templates.
#include "foundation/lang.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "plat/help.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "purchasing/purchasing_reports.h"
#include <algorithm>
#include <cstring>
#include <deque>
#include <initializer_list>

using namespace plat;

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr DWORD DLG = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
constexpr DWORD BUTTON = CHILD | WS_TABSTOP;
constexpr int BUTTON_W = 75, BUTTON_H = 23;
constexpr int GRID_ROW = 22;
constexpr int GRID_HEADER = 50;

// A template's controls, built once and kept for as long as the program
// runs (the module's table points at them).
class Items {
public:
    Items& add(const char* cls, int id, const char* text, DWORD style, int x, int y, int w, int h)
    {
        items_.push_back({cls, id, text, style, 0, x, y, w, h});
        return *this;
    }
    Items& label(const char* text, int x, int y, int w) { return add("STATIC", next_label_++, text, CHILD, x, y, w, 18); }
    Items& value(int id, int x, int y, int w) { return add("STATIC", id, "", CHILD | SS_LEFT, x, y, w, 18); }
    // A caption, the static that shows its value and its unit, on one line.
    Items& row(const char* text, int value_id, int x, int y, int label_w, int value_w, const char* unit = nullptr)
    {
        label(text, x, y, label_w);
        value(value_id, x + label_w + 6, y, value_w);
        if (unit != nullptr)
            label(unit, x + label_w + 6 + value_w + 4, y, 60);
        return *this;
    }
    Items& group(const char* text, int x, int y, int w, int h)
    {
        return add("BUTTON", next_label_++, text, CHILD | BS_GROUPBOX, x, y, w, h);
    }
    // Close (the default) and Help side by side, Help at the right edge.
    Items& close_help(int right, int y)
    {
        add("BUTTON", IDCANCEL, "&Close", BUTTON | BS_DEFPUSHBUTTON, right - 2 * BUTTON_W - 10, y, BUTTON_W, BUTTON_H);
        return add("BUTTON", IDC_PRC_HELP, "&Help", BUTTON, right - BUTTON_W, y, BUTTON_W, BUTTON_H);
    }
    // Column titles over a list box at (x, y), each at its offset.
    Items& list(std::initializer_list<std::pair<const char*, int>> titles, int x, int y, int w, int h)
    {
        int id = IDC_PRC_HEADER_FIRST;
        for (const auto& [title, offset] : titles)
            add("STATIC", id++, title, CHILD, x + offset + 2, y, 90, 16);
        return add("LISTBOX", IDC_PRC_LIST, "", BUTTON | WS_BORDER | WS_VSCROLL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT,
                   x, y + 18, w, h);
    }
    std::span<const DlgItemTemplate> span() const { return items_; }

private:
    std::vector<DlgItemTemplate> items_;
    int next_label_ = 1470;
};

// The column offsets of the list reports: the tab stops in pixels.
const std::vector<int> kMrpStops = {20, 110, 200};
const std::vector<int> kOrderStops = {20, 90, 150, 280, 380};
const std::vector<int> kPackageStops = {40, 130, 220, 300, 370};

const std::vector<int>& stops_of(int id)
{
    static const std::vector<int> none;
    switch (id) {
    case IDD_PRC_MRP_LIST: return kMrpStops;
    case IDD_PRC_OPEN_ORDERS: return kOrderStops;
    case IDD_PRC_PACKAGES_LIST: return kPackageStops;
    default: return none;
    }
}

struct Templates {
    std::deque<Items> items;
    std::vector<DlgTemplate> dialogs;

    Items& make() { return items.emplace_back(); }
    void dialog(int id, const char* caption, int w, int h, const Items& i)
    {
        dialogs.push_back({id, caption, DLG, 0, 0, w, h, nullptr, 0, i.span()});
    }

    Templates()
    {
        Items& info = make();
        info.label("Material:", 10, 12, 60)
            .add("COMBOBOX", IDC_PRC_INFO_MATERIAL, "", BUTTON | CBS_DROPDOWNLIST | WS_VSCROLL, 75, 8, 80, 160)
            .group("Levels", 10, 38, 260, 96);
        for (int i = 0; i < 3; ++i) {
            info.add("STATIC", IDC_PRC_INFO_LEVEL_LABEL1 + i, "", CHILD, 18, 58 + 24 * i, 120, 18);
            info.value(IDC_PRC_INFO_LEVEL1 + i, 144, 58 + 24 * i, 56);
        }
        info.value(IDC_PRC_INFO_LEVEL_UNIT, 204, 58, 60)
            .group("Current supplier", 280, 38, 270, 96)
            .row("Name:", IDC_PRC_INFO_SUPPLIER, 288, 58, 50, 200)
            .row("Price:", IDC_PRC_INFO_PRICE, 288, 82, 50, 60, "($)")
            .row("QLT:", IDC_PRC_INFO_QLT, 288, 106, 50, 60, "(Days)")
            .group("Uses", 10, 142, 260, 150)
            .add("LISTBOX", IDC_PRC_INFO_USES, "", BUTTON | WS_BORDER | WS_VSCROLL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT,
                 18, 162, 244, 120)
            .group("Red line grades", 280, 142, 270, 70)
            .row("Current month:", IDC_PRC_INFO_GRADE_CURRENT, 288, 162, 150, 90)
            .row("Last month:", IDC_PRC_INFO_GRADE_LAST, 288, 186, 150, 90)
            .row("Exist in system:", IDC_PRC_INFO_HELD, 280, 222, 170, 90)
            .row("Consumed in Current month:", IDC_PRC_INFO_CONSUMED, 280, 244, 170, 90)
            .row("Consumed in last month:", IDC_PRC_INFO_CONSUMED_LAST, 280, 266, 170, 90)
            .add("STATIC", IDC_PRC_INFO_MRP_LABEL, "Total MRP:", CHILD, 280, 288, 170, 18)
            .value(IDC_PRC_INFO_MRP, 456, 288, 90)
            .close_help(550, 306);
        dialog(IDD_PRC_MATERIAL_INFO, "Material Information", 560, 339, info);

        Items& mrp = make();
        mrp.list({{"Material", kMrpStops[0]}, {"Quantity", kMrpStops[1]}, {"Need Date", kMrpStops[2]}}, 10, 10, 340, 240)
            .close_help(350, 278);
        dialog(IDD_PRC_MRP_LIST, "MRP List", 360, 311, mrp);

        Items& orders = make();
        orders
            .list({{"Material", kOrderStops[0]}, {"Quantity", kOrderStops[1]}, {"Vendor", kOrderStops[2]},
                   {"Order Date", kOrderStops[3]}, {"Due Date", kOrderStops[4]}},
                  10, 10, 480, 240)
            .close_help(490, 278);
        dialog(IDD_PRC_OPEN_ORDERS, "Open Orders From Vendors", 500, 311, orders);

        Items& packages = make();
        packages
            .list({{"ID", 0}, {"Start", kPackageStops[0]}, {"End", kPackageStops[1]}, {"Material", kPackageStops[2]},
                   {"Qty.", kPackageStops[3]}, {"Price", kPackageStops[4]}},
                  10, 10, 440, 240)
            .close_help(450, 278);
        dialog(IDD_PRC_PACKAGES_LIST, "Packages List", 460, 311, packages);

        Items& measures = make();
        measures.row("Raw material total value:", IDC_PRC_VALUE_FIRST, 10, 14, 210, 90, "($)")
            .row("Cost index:", IDC_PRC_VALUE_FIRST + 1, 10, 40, 210, 90)
            .row("Unsupplied material (Monthly):", IDC_PRC_VALUE_FIRST + 2, 10, 66, 210, 90, "(Units)")
            .row("Unsupplied material (Last month):", IDC_PRC_VALUE_FIRST + 3, 10, 92, 210, 90, "(Units)")
            .row("Unsupplied material (Anually):", IDC_PRC_VALUE_FIRST + 4, 10, 118, 210, 90, "(Units)")
            .close_help(380, 152);
        dialog(IDD_PRC_MEASUREMENTS, "Measurements Summary", 390, 185, measures);

        // The grid reports lay their grids out and size themselves when they open.
        Items& grid = make();
        grid.close_help(300, 60);
        for (const auto& [id, caption] : std::initializer_list<std::pair<int, const char*>>{
                 {IDD_PRC_SUPPLIER_LEAD, "Suppliers Average Lead Time (Last month)"},
                 {IDD_PRC_FORECAST, "Purchasing Forecast"},
                 {IDD_PRC_CONSUMPTION, "Consumption Summary"},
                 {IDD_PRC_RED_LINE, "Red Line Statistics"},
                 {IDD_PRC_DAILY_UNSUPPLIED, "Daily unsupplied material"},
                 {IDD_PRC_UNSUPPLIED_HISTORY, "Unsupplied Material History"}})
            dialog(id, caption, 310, 93, grid);
    }
};

void help(HWND dlg, int context)
{
    if (context > 0)
        WinHelp(dlg, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(context));
}

void set_text(HWND dlg, int id, const std::string& text) { plat::SetDlgItemText(dlg, id, text.c_str()); }

// Pixel offsets into the list's tab stops, in the dialog units it counts in.
void set_tab_stops(HWND dlg, HWND list, const std::vector<int>& pixels)
{
    RECT unit{0, 0, 4, 8};
    MapDialogRect(dlg, &unit);
    const int bx = std::max<int>(1, unit.right);
    std::vector<int> dlu;
    for (int px : pixels)
        dlu.push_back(px * 4 / bx);
    if (!dlu.empty())
        plat::SendMessage(list, LB_SETTABSTOPS, dlu.size(), reinterpret_cast<LPARAM>(dlu.data()));
}

void move_by(HWND dlg, int id, int x, int y)
{
    const HWND w = plat::GetDlgItem(dlg, id);
    if (w == 0)
        return;
    RECT r{};
    plat::GetWindowRect(w, &r);
    plat::MoveWindow(w, x, y, r.right - r.left, r.bottom - r.top, TRUE);
}

// The width of a text in the dialog's font.
int text_width(HWND dlg, const std::string& text, HFONT font)
{
    HDC dc = plat::GetDC(dlg);
    HGDIOBJ old = font != 0 ? plat::SelectObject(dc, font) : 0;
    SIZE size{};
    GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (font != 0)
        plat::SelectObject(dc, old);
    plat::ReleaseDC(dlg, dc);
    return size.cx;
}

} // namespace

void register_purchasing_report_templates(HINSTANCE module)
{
    if (FindDialogTemplate(module, IDD_PRC_MATERIAL_INFO) != nullptr)
        return;
    static const Templates templates;
    RegisterDialogTemplates(module, templates.dialogs);
}

// ---- grids -------------------------------------------------------------------------

CPrcGridReportDlg::CPrcGridReportDlg(int template_id, int help_context, std::vector<Part> parts, CWnd* parent)
    : CSimDialog(template_id, current_dialog_registry(), parent), m_help(help_context), m_parts(std::move(parts))
{
}

CPrcGridReportDlg::~CPrcGridReportDlg() = default;

BOOL CPrcGridReportDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    // Columns as wide as their widest text, the rows' titles likewise.
    int column_w = 60, header_w = GRID_HEADER;
    for (const Part& p : m_parts) {
        for (const std::string& c : p.figures.columns)
            column_w = std::max(column_w, text_width(m_hWnd, c, dialog_font()) + 14);
        for (const auto& row : p.figures.cells)
            for (const std::string& c : row)
                column_w = std::max(column_w, text_width(m_hWnd, c, dialog_font()) + 14);
        for (const std::string& r : p.figures.rows)
            header_w = std::max(header_w, text_width(m_hWnd, r, dialog_font()) + 14);
    }
    int width = 310;
    for (const Part& p : m_parts) {
        const int columns = static_cast<int>(std::min<size_t>(p.figures.columns.size(), CGrid::MAX_COLUMNS));
        width = std::max(width, 20 + header_w + columns * column_w + 4);
    }
    int y = 10;
    for (const Part& p : m_parts) {
        if (!p.title.empty()) {
            m_titles.emplace_back(POINT{10, y}, p.title);
            y += 20;
        }
        const size_t columns = std::min<size_t>(p.figures.columns.size(), CGrid::MAX_COLUMNS);
        const size_t rows = p.figures.rows.size();
        // An empty table still shows its column titles.
        const size_t grids = rows == 0 ? 1 : (rows + CGrid::MAX_ROWS - 1) / CGrid::MAX_ROWS;
        for (size_t g = 0; g < grids; ++g) {
            const size_t first = g * CGrid::MAX_ROWS;
            const size_t count = std::min(rows - first, static_cast<size_t>(CGrid::MAX_ROWS));
            auto grid = std::make_unique<CGrid>();
            grid->SetHeaderWidth(header_w);
            grid->SetColumnWidth(column_w);
            for (size_t c = 0; c < columns; ++c)
                grid->AddColumn(p.figures.columns[c].c_str(), SS_CENTER);
            for (size_t r = 0; r < count; ++r)
                grid->AddRow(p.figures.rows[first + r].c_str());
            const int height = static_cast<int>(count) * GRID_ROW + 30;
            grid->Create(static_cast<int32_t>(20 + m_grids.size()), this, 10, y,
                         10 + header_w + static_cast<int>(columns) * column_w + 4, y + height, 0);
            for (size_t r = 0; r < count; ++r) {
                const auto& cells = p.figures.cells[first + r];
                for (size_t c = 0; c < columns && c < cells.size(); ++c)
                    grid->SetCellText(static_cast<int>(r), static_cast<int>(c), cells[c].c_str());
            }
            grid->EnableCells(FALSE);
            y += height + 10;
            m_grids.push_back(std::move(grid));
        }
    }
    // The dialog holds the grids and the buttons below them.
    RECT outer{}, client{};
    plat::GetWindowRect(m_hWnd, &outer);
    plat::GetClientRect(m_hWnd, &client);
    const int frame_w = (outer.right - outer.left) - client.right;
    const int frame_h = (outer.bottom - outer.top) - client.bottom;
    const int height = y + BUTTON_H + 10;
    plat::SetWindowPos(m_hWnd, 0, 0, 0, width + frame_w, height + frame_h, SWP_NOMOVE | SWP_NOZORDER);
    move_by(m_hWnd, IDCANCEL, width - 2 * BUTTON_W - 20, y);
    move_by(m_hWnd, IDC_PRC_HELP, width - BUTTON_W - 10, y);
    CenterOnScreen();
    return TRUE;
}

BOOL CPrcGridReportDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_PRC_HELP) {
        help(m_hWnd, m_help);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CPrcGridReportDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = plat::BeginPaint(m_hWnd, &ps);
    HGDIOBJ old = dialog_font() != 0 ? plat::SelectObject(dc, dialog_font()) : 0;
    plat::SetBkMode(dc, TRANSPARENT);
    for (const auto& [at, title] : m_titles)
        plat::TextOut(dc, at.x, at.y, title.c_str(), static_cast<int>(title.size()));
    if (dialog_font() != 0)
        plat::SelectObject(dc, old);
    for (const auto& g : m_grids)
        g->Draw(dc);
    plat::EndPaint(m_hWnd, &ps);
}

// ---- lists -------------------------------------------------------------------------

CPrcListReportDlg::CPrcListReportDlg(int template_id, int help_context, std::vector<std::string> lines, CWnd* parent)
    : CSimDialog(template_id, current_dialog_registry(), parent), m_help(help_context), m_lines(std::move(lines))
{
}

BOOL CPrcListReportDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const HWND list = plat::GetDlgItem(m_hWnd, IDC_PRC_LIST);
    set_tab_stops(m_hWnd, list, stops_of(m_nIDTemplate));
    for (const std::string& line : m_lines)
        plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    return TRUE;
}

BOOL CPrcListReportDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_PRC_HELP) {
        help(m_hWnd, m_help);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

// ---- values ------------------------------------------------------------------------

CPrcValuesDlg::CPrcValuesDlg(int template_id, int help_context, std::vector<std::string> values, CWnd* parent)
    : CSimDialog(template_id, current_dialog_registry(), parent), m_help(help_context), m_values(std::move(values))
{
}

BOOL CPrcValuesDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    for (size_t i = 0; i < m_values.size(); ++i)
        set_text(m_hWnd, IDC_PRC_VALUE_FIRST + static_cast<int>(i), m_values[i]);
    return TRUE;
}

BOOL CPrcValuesDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_PRC_HELP) {
        help(m_hWnd, m_help);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

// ---- Material Information -----------------------------------------------------------

CMaterialInfoDlg::CMaterialInfoDlg(CPurchasingWnd& engine, int family, int material, CWnd* parent)
    : CSimDialog(IDD_PRC_MATERIAL_INFO, current_dialog_registry(), parent), m_engine(engine)
{
    for (int f = 0; f < engine.family_count(); ++f)
        for (int m = 0; m < engine.material_count(f); ++m) {
            if (f == family && m == material)
                m_first = static_cast<int>(m_materials.size());
            m_materials.emplace_back(f, m);
        }
}

BOOL CMaterialInfoDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const HWND combo = plat::GetDlgItem(m_hWnd, IDC_PRC_INFO_MATERIAL);
    for (const auto& [f, m] : m_materials) {
        const std::string code{m_engine.family_letter(f), m_engine.material_letter(f, m)};
        plat::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code.c_str()));
    }
    set_tab_stops(m_hWnd, plat::GetDlgItem(m_hWnd, IDC_PRC_INFO_USES), {60});
    plat::SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(m_first), 0);
    show(m_first);
    return TRUE;
}

BOOL CMaterialInfoDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_PRC_INFO_MATERIAL && HIWORD(wParam) == CBN_SELCHANGE) {
        show(static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_PRC_INFO_MATERIAL, CB_GETCURSEL, 0, 0)));
        return TRUE;
    }
    if (LOWORD(wParam) == IDC_PRC_HELP) {
        help(m_hWnd, 201);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CMaterialInfoDlg::show(int n)
{
    if (n < 0 || n >= static_cast<int>(m_materials.size()))
        return;
    const auto [f, m] = m_materials[static_cast<size_t>(n)];
    const MaterialInfoFigures v = material_information(m_engine, f, m);
    SetWindowText(v.caption.c_str());
    for (size_t i = 0; i < 3; ++i) {
        set_text(m_hWnd, IDC_PRC_INFO_LEVEL_LABEL1 + static_cast<int>(i), v.level_labels[i]);
        set_text(m_hWnd, IDC_PRC_INFO_LEVEL1 + static_cast<int>(i), v.levels[i]);
    }
    const bool third = v.third_level_shown;
    plat::ShowWindow(plat::GetDlgItem(m_hWnd, IDC_PRC_INFO_LEVEL_LABEL1 + 2), third ? SW_SHOW : SW_HIDE);
    plat::ShowWindow(plat::GetDlgItem(m_hWnd, IDC_PRC_INFO_LEVEL1 + 2), third ? SW_SHOW : SW_HIDE);
    set_text(m_hWnd, IDC_PRC_INFO_LEVEL_UNIT, v.level_unit);
    set_text(m_hWnd, IDC_PRC_INFO_SUPPLIER, v.supplier);
    set_text(m_hWnd, IDC_PRC_INFO_PRICE, v.price);
    set_text(m_hWnd, IDC_PRC_INFO_QLT, v.qlt);
    const HWND uses = plat::GetDlgItem(m_hWnd, IDC_PRC_INFO_USES);
    plat::SendMessage(uses, LB_RESETCONTENT, 0, 0);
    for (const std::string& u : v.uses)
        plat::SendMessage(uses, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u.c_str()));
    set_text(m_hWnd, IDC_PRC_INFO_GRADE_CURRENT, v.grade_current);
    set_text(m_hWnd, IDC_PRC_INFO_GRADE_LAST, v.grade_last);
    set_text(m_hWnd, IDC_PRC_INFO_HELD, v.held);
    set_text(m_hWnd, IDC_PRC_INFO_CONSUMED, v.consumed_month);
    set_text(m_hWnd, IDC_PRC_INFO_CONSUMED_LAST, v.consumed_last_month);
    set_text(m_hWnd, IDC_PRC_INFO_MRP, v.total_mrp);
    plat::ShowWindow(plat::GetDlgItem(m_hWnd, IDC_PRC_INFO_MRP_LABEL), v.total_mrp_shown ? SW_SHOW : SW_HIDE);
    plat::ShowWindow(plat::GetDlgItem(m_hWnd, IDC_PRC_INFO_MRP), v.total_mrp_shown ? SW_SHOW : SW_HIDE);
}
