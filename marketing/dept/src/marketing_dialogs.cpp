// The Marketing department's choosers, tables and its links and product
// information dialogs, with their templates.
#include "marketing/marketing_dialogs.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/simdate.h"
#include "marketing/marketing_wnd.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/gdi.h"
#include "plat/help.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <algorithm>
#include <cstdio>

using namespace plat;

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr DWORD DLG = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD BUTTON = CHILD | WS_TABSTOP;
constexpr DWORD VALUE = CHILD | SS_LEFT;

const DlgItemTemplate kGetProductNameItems[] = {
    {"STATIC", IDC_MRK_NAME_LABEL, "Enter product name:", CHILD, 0, 12, 14, 150, 20},
    {"COMBOBOX", IDC_MRK_NAME_COMBO, "", BUTTON | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 12, 36, 200, 160},
    {"BUTTON", IDOK, "OK", BUTTON | BS_DEFPUSHBUTTON, 0, 30, 76, 75, 23},
    {"BUTTON", IDCANCEL, "Cancel", BUTTON, 0, 120, 76, 75, 23},
};

const DlgItemTemplate kSaleSummaryItems[] = {
    {"BUTTON", IDCANCEL, "&Close", BUTTON | BS_DEFPUSHBUTTON, 0, 230, 326, 75, 23},
    {"BUTTON", IDC_MRK_HELP, "&Help", BUTTON, 0, 320, 326, 75, 23},
};

const DlgItemTemplate kLinksItems[] = {
    {"BUTTON", 1039, "Make To", CHILD | BS_GROUPBOX, 0, 12, 8, 150, 74},
    {"BUTTON", IDC_MRK_STOCK, "&Stock", BUTTON | WS_GROUP | BS_AUTORADIOBUTTON, 0, 28, 28, 110, 20},
    {"BUTTON", IDC_MRK_ORDER, "O&rder", CHILD | BS_AUTORADIOBUTTON, 0, 28, 52, 110, 20},
    {"BUTTON", IDOK, "&OK", BUTTON | WS_GROUP | BS_DEFPUSHBUTTON, 0, 180, 12, 75, 23},
    {"BUTTON", IDCANCEL, "&Cancel", BUTTON, 0, 180, 40, 75, 23},
    {"BUTTON", IDC_MRK_HELP, "&Help", BUTTON, 0, 180, 68, 75, 23},
};

const DlgItemTemplate kProductInfoItems[] = {
    {"LISTBOX", IDC_MRK_INFO_LIST, "", BUTTON | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 10, 10, 90, 230},
    {"BUTTON", 1201, "Sales of", CHILD | BS_GROUPBOX, 0, 110, 4, 200, 112},
    {"STATIC", 1202, "Current year:", CHILD, 0, 118, 22, 110, 18},
    {"STATIC", IDC_MRK_INFO_YEAR, "", VALUE, 0, 230, 22, 74, 18},
    {"STATIC", 1203, "Current month:", CHILD, 0, 118, 44, 110, 18},
    {"STATIC", IDC_MRK_INFO_MONTH, "", VALUE, 0, 230, 44, 74, 18},
    {"STATIC", 1204, "Last month:", CHILD, 0, 118, 66, 110, 18},
    {"STATIC", IDC_MRK_INFO_LAST_MONTH, "", VALUE, 0, 230, 66, 74, 18},
    {"STATIC", 1205, "Delivery perf.:", CHILD, 0, 118, 88, 110, 18},
    {"STATIC", IDC_MRK_INFO_PERFORMANCE, "", VALUE, 0, 230, 88, 74, 18},
    {"BUTTON", 1206, "Parameters", CHILD | BS_GROUPBOX, 0, 320, 4, 200, 112},
    {"STATIC", 1207, "Max shelf life:", CHILD, 0, 328, 22, 110, 18},
    {"STATIC", IDC_MRK_INFO_SHELF, "", VALUE, 0, 440, 22, 74, 18},
    {"STATIC", 1208, "QLT:", CHILD, 0, 328, 44, 110, 18},
    {"STATIC", IDC_MRK_INFO_QLT, "", VALUE, 0, 440, 44, 74, 18},
    {"STATIC", 1209, "Price:", CHILD, 0, 328, 66, 110, 18},
    {"STATIC", IDC_MRK_INFO_PRICE, "", VALUE, 0, 440, 66, 74, 18},
    {"BUTTON", 1210, "Inventory", CHILD | BS_GROUPBOX, 0, 110, 122, 200, 90},
    {"STATIC", IDC_MRK_INFO_LEVEL_LABEL1, "", CHILD, 0, 118, 140, 110, 18},
    {"STATIC", IDC_MRK_INFO_LEVEL1, "", VALUE, 0, 230, 140, 74, 18},
    {"STATIC", IDC_MRK_INFO_LEVEL_LABEL2, "", CHILD, 0, 118, 162, 110, 18},
    {"STATIC", IDC_MRK_INFO_LEVEL2, "", VALUE, 0, 230, 162, 74, 18},
    {"STATIC", IDC_MRK_INFO_LEVEL_LABEL3, "", CHILD, 0, 118, 184, 110, 18},
    {"STATIC", IDC_MRK_INFO_LEVEL3, "", VALUE, 0, 230, 184, 74, 18},
    {"BUTTON", 1211, "Grades", CHILD | BS_GROUPBOX, 0, 320, 122, 200, 90},
    {"STATIC", 1212, "Last year:", CHILD, 0, 328, 140, 110, 18},
    {"STATIC", IDC_MRK_INFO_LAST_YEAR, "", VALUE, 0, 440, 140, 74, 18},
    {"STATIC", 1213, "Current year:", CHILD, 0, 328, 162, 110, 18},
    {"STATIC", IDC_MRK_INFO_CURRENT_YEAR, "", VALUE, 0, 440, 162, 74, 18},
    {"STATIC", 1214, "Average RM cost:", CHILD, 0, 328, 184, 110, 18},
    {"STATIC", IDC_MRK_INFO_COST, "", VALUE, 0, 440, 184, 74, 18},
    {"BUTTON", 1215, "Materials", CHILD | BS_GROUPBOX, 0, 530, 4, 120, 208},
    {"LISTBOX", IDC_MRK_INFO_MATERIALS, "", CHILD | WS_BORDER | WS_VSCROLL | LBS_USETABSTOPS, 0, 538, 22, 104, 182},
    {"BUTTON", IDCANCEL, "&Close", BUTTON | BS_DEFPUSHBUTTON, 0, 480, 222, 75, 23},
    {"BUTTON", IDC_MRK_HELP, "&Help", BUTTON, 0, 570, 222, 75, 23},
};

const DlgItemTemplate kReportItems[] = {
    {"STATIC", 1156, "", CHILD, 0, 60, 8, 240, 18},
    {"STATIC", 1157, "", CHILD, 0, 330, 8, 240, 18},
    {"BUTTON", IDCANCEL, "&Close", BUTTON | BS_DEFPUSHBUTTON, 0, 440, 420, 75, 23},
    {"BUTTON", IDC_MRK_HELP, "&Help", BUTTON, 0, 530, 420, 75, 23},
};

const DlgItemTemplate kInventoryDaysItems[] = {
    {"STATIC", 1156, "", CHILD, 0, 60, 8, 240, 18},
    {"STATIC", 1157, "", CHILD, 0, 330, 8, 240, 18},
    {"BUTTON", 1310, "&Inventory policies in sale days", BUTTON, 0, 10, 420, 220, 23},
    {"BUTTON", IDCANCEL, "&Close", BUTTON | BS_DEFPUSHBUTTON, 0, 440, 420, 75, 23},
    {"BUTTON", IDC_MRK_HELP, "&Help", BUTTON, 0, 530, 420, 75, 23},
};

#define REPORT(id, caption) {id, caption, DLG | DS_CENTER, 0, 0, 620, 452, nullptr, 0, kReportItems}
const DlgTemplate kTemplates[] = {
    REPORT(REPORT_MONTHLY_SALES, "Monthly Sales"),
    REPORT(REPORT_MONTHLY_ORDERED, "Monthly Ordered Units"),
    REPORT(REPORT_UNITS_SALES_SUMMARY, "Units Sales Summary"),
    REPORT(REPORT_RED_LINE_STATISTICS, "Red Line Statistics"),
    REPORT(REPORT_UPDATED_SALES, "Updated Sales"),
    REPORT(REPORT_ADVERTISING_EXPENSES, "Advertising Expenses"),
    REPORT(REPORT_INVENTORY_LOSSES, "Inventory Losses"),
    {REPORT_INVENTORY_DAYS, "Inventory by days of sales", DLG | DS_CENTER, 0, 0, 620, 452, nullptr, 0,
     kInventoryDaysItems},
    REPORT(REPORT_INVENTORY_POLICIES, "Inventory policies in days of sales"),
    REPORT(REPORT_ADVERTISING_PLAN, "Advertising Plan"),
    REPORT(REPORT_LOST_ORDERS, "Lost Orders Summary"),
    {IDD_MRK_LINKS, "Marketing-Production Links", DLG | DS_CENTER, 0, 0, 268, 96, nullptr, 0, kLinksItems},
    {IDD_MRK_PRODUCT_INFO, "Product Information", DLG | DS_CENTER, 0, 0, 660, 256, nullptr, 0, kProductInfoItems},
    {IDD_MRK_GET_PRODUCT_NAME, "Get Product Name", DLG | DS_CENTER, 0, 0, 224, 110, nullptr, 0,
     kGetProductNameItems},
    {IDD_MRK_SALE_SUMMARY, "Sale Sammary Table", DLG | DS_CENTER, 0, 0, 620, 360, nullptr, 0, kSaleSummaryItems},
};

#undef REPORT

template <class... A>
std::string format(const char* f, A... a)
{
    char b[96];
    std::snprintf(b, sizeof b, f, a...);
    return b;
}

std::string code_of(const CMarketingWnd& m, int f, int p)
{
    return std::string{m.family_letter(f), m.product_letter(f, p)};
}

void set_text(HWND dlg, int id, const std::string& text) { plat::SetDlgItemText(dlg, id, text.c_str()); }

void help(HWND dlg, int context)
{
    WinHelp(dlg, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(context));
}

} // namespace

void register_marketing_dialog_templates()
{
    const HINSTANCE module = AfxGetResourceHandle();
    if (FindDialogTemplate(module, IDD_MRK_GET_PRODUCT_NAME) != nullptr)
        return;
    RegisterDialogTemplates(module, kTemplates);
}

int parse_product_choice(const CMarketingWnd& m, const std::string& text, int& family, int& product)
{
    family = product = -1;
    if (text == "Total")
        return 3;
    if (text.size() == 2) {
        uint16_t f = NO_INDEX, p = NO_INDEX;
        m.find_product_by_code(text.c_str(), f, p);
        if (f != NO_INDEX && p != NO_INDEX && m.product_exists(f, p)) {
            family = f;
            product = p;
            return 1;
        }
    }
    if (!text.empty())
        for (int f = 0; f < m.family_count(); ++f)
            if (m.family_letter(f) == text[0]) {
                family = f;
                return 2;
            }
    return 0;
}

// ---- Get Product Name ---------------------------------------------------------

CGetProductNameDlg::CGetProductNameDlg(const CMarketingWnd& market, CWnd* parent, const char* caption,
                                       const char* label)
    : CSimDialog(IDD_MRK_GET_PRODUCT_NAME, current_dialog_registry(), parent),
      m_market(market),
      m_caption(caption != nullptr ? caption : ""),
      m_label(label != nullptr ? label : "")
{
}

BOOL CGetProductNameDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    if (!m_caption.empty())
        plat::SetWindowText(m_hWnd, lang_translate(m_caption.c_str()));
    if (!m_label.empty())
        set_text(m_hWnd, IDC_MRK_NAME_LABEL, lang_translate(m_label.c_str()));
    const HWND combo = plat::GetDlgItem(m_hWnd, IDC_MRK_NAME_COMBO);
    auto add = [&](const std::string& s) { plat::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())); };
    if (mode == 0) {
        add("Total");
        for (int f = 0; f < m_market.family_count(); ++f)
            add(format("%c %s", m_market.family_letter(f), lang_translate("Family")));
    }
    for (int f = 0; f < m_market.family_count(); ++f)
        for (int p = 0; p < m_market.product_count(f); ++p)
            if (!m_market.is_product_retired(f, p))
                add(code_of(m_market, f, p));
    plat::SendMessage(combo, CB_SETCURSEL, 0, 0);
    return TRUE;
}

void CGetProductNameDlg::OnOK()
{
    char text[31] = {};
    plat::GetDlgItemText(m_hWnd, IDC_MRK_NAME_COMBO, text, sizeof text);
    const int result = parse_product_choice(m_market, text, family, product);
    if (result == 0) {
        char caption[128] = {};
        plat::GetWindowText(m_hWnd, caption, sizeof caption);
        lang_message_box(m_hWnd, "Invalid value!", caption, MB_OK);
        return;
    }
    EndDialog(result);
}

void CGetProductNameDlg::OnCancel() { EndDialog(0); }

// ---- Sale Summary Table -------------------------------------------------------

CSaleSummaryDlg::CSaleSummaryDlg(CWnd* parent, std::string caption,
                                 const std::array<std::array<float, 12>, 5>& series,
                                 const std::array<int, 12>& month_numbers)
    : CSimDialog(IDD_MRK_SALE_SUMMARY, current_dialog_registry(), parent),
      m_caption(std::move(caption)),
      m_series(series),
      m_months(month_numbers)
{
}

BOOL CSaleSummaryDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    plat::SetWindowText(m_hWnd, lang_translate(m_caption.c_str()));
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    for (const char* title : {"Total", "Customers", "Clients", "Units", "Throughput"})
        m_grid.AddColumn(lang_translate(title), 1);
    for (int r = 0; r < 12; ++r)
        m_grid.AddRow(month_name(m_months[static_cast<size_t>(11 - r)], 0));
    m_grid.SetColumnWidth(static_cast<int>((client.right - 20 - 50) / 5));
    m_grid.Create(12, this, 10, 10, client.right - 10, client.bottom - 40, 0);
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 5; ++c)
            m_grid.SetCellText(r, c,
                               format("%0.0f", static_cast<double>(m_series[static_cast<size_t>(c)][static_cast<size_t>(11 - r)]))
                                   .c_str());
    m_grid.EnableCells(FALSE);
    return TRUE;
}

BOOL CSaleSummaryDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MRK_HELP) {
        help(m_hWnd, 104);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CSaleSummaryDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = plat::BeginPaint(m_hWnd, &ps);
    m_grid.Draw(dc);
    plat::EndPaint(m_hWnd, &ps);
}

// ---- Marketing-Production Links ----------------------------------------------

CLinksDlg::CLinksDlg(CWnd* parent, int current_mode)
    : CSimDialog(IDD_MRK_LINKS, current_dialog_registry(), parent), mode(current_mode), old_mode(current_mode)
{
}

BOOL CLinksDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    plat::CheckDlgButton(m_hWnd, IDC_MRK_STOCK, mode == LINK_MAKE_TO_STOCK ? BST_CHECKED : BST_UNCHECKED);
    plat::CheckDlgButton(m_hWnd, IDC_MRK_ORDER, mode == LINK_MAKE_TO_ORDER ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CLinksDlg::OnOK()
{
    if (plat::IsDlgButtonChecked(m_hWnd, IDC_MRK_STOCK) == BST_CHECKED)
        mode = LINK_MAKE_TO_STOCK;
    else if (plat::IsDlgButtonChecked(m_hWnd, IDC_MRK_ORDER) == BST_CHECKED)
        mode = LINK_MAKE_TO_ORDER;
    EndDialog(IDOK);
}

BOOL CLinksDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MRK_HELP) {
        help(m_hWnd, 114);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

// ---- Product Information ------------------------------------------------------

CProductInfoDlg::CProductInfoDlg(const CMarketingWnd& market, CWnd* parent, int family, int product)
    : CSimDialog(IDD_MRK_PRODUCT_INFO, current_dialog_registry(), parent), m_market(market)
{
    for (int f = 0; f < market.family_count(); ++f)
        for (int p = 0; p < market.product_count(f); ++p) {
            if (f == family && p == product)
                m_first = static_cast<int>(m_rows.size());
            m_rows.emplace_back(f, p);
            m_exportRow.push_back(false);
        }
    for (int f = 0; f < market.family_count(); ++f)
        for (int p = 0; p < market.product_count(f); ++p)
            if (market.product(f, p).exp) {
                m_rows.emplace_back(f, p);
                m_exportRow.push_back(true);
            }
}

BOOL CProductInfoDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const HWND list = plat::GetDlgItem(m_hWnd, IDC_MRK_INFO_LIST);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const auto [f, p] = m_rows[i];
        const std::string entry =
            code_of(m_market, f, p) + (m_exportRow[i] ? "-" + m_market.product(f, p).exp->name : std::string());
        plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    const int32_t tabs[1] = {24};
    plat::SendDlgItemMessage(m_hWnd, IDC_MRK_INFO_MATERIALS, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(tabs));
    if (!m_rows.empty()) {
        plat::SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(m_first), 0);
        show(m_first);
    }
    return TRUE;
}

BOOL CProductInfoDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MRK_INFO_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
        show(static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_INFO_LIST, LB_GETCURSEL, 0, 0)));
        return TRUE;
    }
    if (LOWORD(wParam) == IDC_MRK_HELP) {
        help(m_hWnd, 100);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

namespace {

// What Product Information shows of a product or of an export line.
struct InfoFigures {
    std::string caption;
    unsigned year, month, last_month, performance, shelf, qlt, price;
    std::array<const char*, 3> level_labels;
    std::array<unsigned, 3> levels;
    unsigned last_year, current_year;
};

} // namespace

void CProductInfoDlg::show(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    const auto [f, p] = m_rows[static_cast<size_t>(row)];
    const MarketProduct& pr = m_market.product(f, p);
    InfoFigures v{};
    if (m_exportRow[static_cast<size_t>(row)]) {
        const ExportLine& e = *pr.exp;
        v = {format("%s - %s", code_of(m_market, f, p).c_str(), e.name.c_str()),
             e.shipped_year, e.shipped_month, e.shipped_last_month, e.service_pct, pr.shelf_life, e.qlt, e.price,
             {"Max level:", "Order level:", "Red line level:"}, {e.max_level, e.order_level, e.red_level},
             e.shipped_last_year, e.shipped_year};
    } else {
        const bool to_order = m_market.link_mode() == LINK_MAKE_TO_ORDER;
        v = {lang_translate("Product Information"), pr.sold_year, pr.sold_month, pr.sold_last_month, pr.service_pct,
             pr.shelf_life, pr.qlt, pr.price,
             {to_order ? "Safety stock:" : "Max level:", to_order ? "Red line time:" : "Order level:",
              "Red line level:"},
             {to_order ? pr.safety_stock : pr.max_level, to_order ? pr.red_line_time : pr.order_level, pr.red_level},
             pr.sold_last_year, pr.sold_year};
    }
    const std::string un = std::string(" ") + lang_translate("(un)");
    plat::SetWindowText(m_hWnd, v.caption.c_str());
    set_text(m_hWnd, IDC_MRK_INFO_YEAR, format("%u", v.year) + un);
    set_text(m_hWnd, IDC_MRK_INFO_MONTH, format("%u", v.month) + un);
    set_text(m_hWnd, IDC_MRK_INFO_LAST_MONTH, format("%u", v.last_month) + un);
    set_text(m_hWnd, IDC_MRK_INFO_PERFORMANCE, format("%u%%", v.performance));
    set_text(m_hWnd, IDC_MRK_INFO_SHELF, format("%u", v.shelf));
    set_text(m_hWnd, IDC_MRK_INFO_QLT, format("%u", v.qlt));
    set_text(m_hWnd, IDC_MRK_INFO_PRICE, format("$%u", v.price));
    const int label_ids[3] = {IDC_MRK_INFO_LEVEL_LABEL1, IDC_MRK_INFO_LEVEL_LABEL2, IDC_MRK_INFO_LEVEL_LABEL3};
    const int level_ids[3] = {IDC_MRK_INFO_LEVEL1, IDC_MRK_INFO_LEVEL2, IDC_MRK_INFO_LEVEL3};
    for (size_t i = 0; i < 3; ++i) {
        set_text(m_hWnd, label_ids[i], lang_translate(v.level_labels[i]));
        set_text(m_hWnd, level_ids[i], format("%u", v.levels[i]));
    }
    set_text(m_hWnd, IDC_MRK_INFO_LAST_YEAR, format("%u", v.last_year) + un);
    set_text(m_hWnd, IDC_MRK_INFO_CURRENT_YEAR, format("%u", v.current_year) + un);
    set_text(m_hWnd, IDC_MRK_INFO_COST, format("$%0.2f", static_cast<double>(m_market.get_material_cost(f, p))));
    const HWND list = plat::GetDlgItem(m_hWnd, IDC_MRK_INFO_MATERIALS);
    plat::SendMessage(list, LB_RESETCONTENT, 0, 0);
    if (materials)
        for (const std::string& s : materials(f, p))
            plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

// ---- Reports ------------------------------------------------------------------

CMarketReportDlg::CMarketReportDlg(CWnd* parent, int report, ReportTable table)
    : CSimDialog(report, current_dialog_registry(), parent), m_report(report), m_table(std::move(table))
{
}

BOOL CMarketReportDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    plat::SetWindowText(m_hWnd, lang_translate(m_table.caption.c_str()));
    for (size_t i = 0; i < 2; ++i) {
        const int id = 1156 + static_cast<int>(i);
        set_text(m_hWnd, id, i < m_table.labels.size() ? lang_translate(m_table.labels[i].c_str()) : std::string());
        if (i >= m_table.labels.size())
            plat::ShowWindow(plat::GetDlgItem(m_hWnd, id), SW_HIDE);
    }
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    const int top = m_table.labels.empty() ? 10 : 30;
    const size_t columns = m_table.columns.size() < static_cast<size_t>(CGrid::MAX_COLUMNS)
                               ? m_table.columns.size()
                               : static_cast<size_t>(CGrid::MAX_COLUMNS);
    const int header = 50;
    const int width = columns > 0 ? static_cast<int>((client.right - 20 - header) / static_cast<long>(columns)) : 100;
    int y = top;
    // An empty table still shows its column titles.
    const size_t rows = m_table.rows.size();
    const size_t grids = rows == 0 ? 1 : (rows + CGrid::MAX_ROWS - 1) / CGrid::MAX_ROWS;
    for (size_t g = 0; g < grids; ++g) {
        const size_t first = g * CGrid::MAX_ROWS;
        const size_t count = std::min(rows - first, static_cast<size_t>(CGrid::MAX_ROWS));
        auto grid = std::make_unique<CGrid>();
        grid->SetHeaderWidth(header);
        grid->SetColumnWidth(width < 160 ? width : 160);
        for (size_t c = 0; c < columns; ++c)
            grid->AddColumn(lang_translate(m_table.columns[c].c_str()), 1);
        for (size_t r = 0; r < count; ++r)
            grid->AddRow(lang_translate(m_table.rows[first + r].title.c_str()));
        const int height = static_cast<int>(count) * 22 + 30;
        grid->Create(12 + static_cast<int>(m_grids.size()), this, 10, y, client.right - 10, y + height, 0);
        for (size_t r = 0; r < count; ++r) {
            const auto& cells = m_table.rows[first + r].cells;
            for (size_t c = 0; c < columns && c < cells.size(); ++c)
                grid->SetCellText(static_cast<int>(r), static_cast<int>(c), cells[c].c_str());
        }
        grid->EnableCells(FALSE);
        y += height + 10;
        m_grids.push_back(std::move(grid));
    }
    // Grids taller than the room above the buttons push them down and the
    // dialog grows with them.
    RECT close{};
    plat::GetWindowRect(plat::GetDlgItem(m_hWnd, IDCANCEL), &close);
    POINT at{close.left, close.top};
    plat::ScreenToClient(m_hWnd, &at);
    const int grow = y - at.y;
    if (grow > 0) {
        for (int id : {IDCANCEL, IDC_MRK_HELP, 1310}) {
            const HWND button = plat::GetDlgItem(m_hWnd, id);
            if (button == 0)
                continue;
            RECT r{};
            plat::GetWindowRect(button, &r);
            POINT tl{r.left, r.top};
            plat::ScreenToClient(m_hWnd, &tl);
            plat::MoveWindow(button, tl.x, tl.y + grow, r.right - r.left, r.bottom - r.top, TRUE);
        }
        RECT w{};
        plat::GetWindowRect(m_hWnd, &w);
        plat::MoveWindow(m_hWnd, w.left, w.top, w.right - w.left, w.bottom - w.top + grow, TRUE);
    }
    if (m_report == REPORT_INVENTORY_DAYS && !open_policies)
        plat::EnableWindow(plat::GetDlgItem(m_hWnd, 1310), FALSE);
    return TRUE;
}

BOOL CMarketReportDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MRK_HELP) {
        if (m_table.help_context != 0)
            help(m_hWnd, m_table.help_context);
        return TRUE;
    }
    if (LOWORD(wParam) == 1310 && m_report == REPORT_INVENTORY_DAYS) {
        if (open_policies)
            open_policies();
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CMarketReportDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = plat::BeginPaint(m_hWnd, &ps);
    for (const auto& g : m_grids)
        g->Draw(dc);
    plat::EndPaint(m_hWnd, &ps);
}
