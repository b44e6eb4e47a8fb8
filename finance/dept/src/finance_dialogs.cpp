// The Finance department's dialogs and their templates.
#include "finance/finance_dialogs.h"
#include "app/clock.h"
#include "foundation/datafile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/simdate.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/help.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <cstdio>
#include <iterator>
#include <span>
#include <vector>

using namespace plat;

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
// The labels share one id; nothing looks them up.
constexpr int FIN_LABEL = 599;
constexpr DWORD DLG = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD VALUE = CHILD | SS_RIGHT | WS_BORDER;
constexpr DWORD LIST = CHILD | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY;
constexpr DWORD PUSH = CHILD | WS_TABSTOP;

constexpr DWORD CHECK = CHILD | WS_TABSTOP | BS_AUTOCHECKBOX;

// A dialog's controls, row by row: a caption with its value field beside it
// (the field two units higher, so their texts share a line), the Close and
// Help pair under the figures.
class Items {
public:
    Items& add(const DlgItemTemplate& item)
    {
        items_.push_back(item);
        return *this;
    }
    Items& label(const char* text, int x, int y, int w) { return add({"STATIC", FIN_LABEL, text, CHILD, 0, x, y, w, 20}); }
    Items& value(int id, int x, int y, int w) { return add({"STATIC", id, "", VALUE, 0, x, y, w, 22}); }
    Items& field(const char* text, int id, int x, int y, int label_w, int value_x, int value_w)
    {
        return label(text, x, y, label_w).value(id, value_x, y - 2, value_w);
    }
    // The seven cost fields of the two cost analyses, 26 units apart.
    Items& cost_fields(int x, const char* profit)
    {
        const char* const captions[] = {"Sale price:", "Standard material consumption:", "Direct labor:",
                                        "Indirect cost:", "Standard cost:", profit, "Marginal profit percentage:"};
        for (int i = 0; i < 7; ++i)
            field(captions[i], FIN_VALUE_FIRST + i, x, 14 + 26 * i, 190, x + 200, 100);
        return *this;
    }
    Items& close_help(int close_x, int help_x, int y)
    {
        add({"BUTTON", IDCANCEL, "&Close", PUSH | BS_DEFPUSHBUTTON, 0, close_x, y, 80, 24});
        return add({"BUTTON", FIN_HELP, "&Help", PUSH, 0, help_x, y, 80, 24});
    }
    std::span<const DlgItemTemplate> items() const { return items_; }

private:
    std::vector<DlgItemTemplate> items_;
};

Items product_items()
{
    Items d;
    d.add({"LISTBOX", FIN_LIST, "", LIST, 0, 10, 12, 80, 180}).cost_fields(104, "Profit per product unit:");
    return std::move(d.close_help(230, 324, 204));
}

Items contract_items()
{
    Items d;
    d.add({"LISTBOX", FIN_LIST, "", LIST, 0, 10, 12, 100, 180}).field("Contract ID:", FIN_CONTRACT_ID, 124, 200, 90, 214, 60);
    d.cost_fields(124, "Profit per shipment:");
    return std::move(d.close_help(250, 344, 360));
}

Items grid_items()
{
    Items d;
    d.add({"STATIC", FIN_NO_CONTRACTS, "No available contracts", WS_CHILD, 0, 10, 14, 200, 20});
    return std::move(d.close_help(20, 110, 0));
}

Items global_items()
{
    Items d;
    const char* const captions[] = {"Throughput:", "Total assets:", "Current inventory:", "OE:"};
    for (int i = 0; i < 4; ++i)
        d.field(captions[i], FIN_GLOBAL_FIRST + i, 14, 14 + 28 * i, 120, 140, 110);
    return std::move(d.close_help(40, 140, 134));
}

// Capital x interest = the product, on one line under its caption.
Items eva_items()
{
    Items d;
    d.field("From:", FIN_EVA_FIRST, 14, 14, 40, 56, 90).field("To:", FIN_EVA_FIRST + 1, 170, 14, 30, 204, 90);
    d.field("Profit:", FIN_EVA_FIRST + 2, 14, 48, 130, 204, 90).label("minus", 14, 76, 130);
    d.label("Capital * Interest:", 14, 104, 130).value(FIN_EVA_FIRST + 3, 14, 128, 90);
    d.field("*", FIN_EVA_FIRST + 4, 108, 130, 10, 120, 70).field("=", FIN_EVA_FIRST + 5, 194, 130, 10, 204, 90);
    d.field("EVA:", FIN_EVA_FIRST + 6, 14, 164, 130, 204, 90);
    d.field("Last year EVA:", FIN_EVA_FIRST + 7, 14, 192, 130, 204, 90);
    return std::move(d.close_help(60, 160, 228));
}

Items select_items()
{
    Items d;
    const char* const boxes[] = {"Cash", "Sales", "Backlog", "Throughput", "WIP", "OE", "Current Inventory",
                                 "Throughput+OE"};
    for (int i = 0; i < 8; ++i)
        d.add({"BUTTON", FIN_GRAPH_BOX_FIRST + i, boxes[i], CHECK, 0, 16, 12 + 24 * i, 150, 20});
    d.add({"BUTTON", IDOK, "&OK", PUSH | BS_DEFPUSHBUTTON, 0, 180, 12, 80, 24});
    return std::move(d.add({"BUTTON", IDCANCEL, "&Cancel", PUSH, 0, 180, 44, 80, 24}));
}

void set_text(HWND dlg, int id, const std::string& text) { SetDlgItemText(dlg, id, text.c_str()); }

std::string grouped(int32_t v)
{
    std::string text = std::to_string(v);
    insert_thousands_separators(text);
    return text;
}

void show_cost(HWND dlg, const CostAnalysis& a)
{
    const std::vector<std::string> texts = cost_analysis_texts(a);
    for (size_t i = 0; i < texts.size(); ++i)
        set_text(dlg, FIN_VALUE_FIRST + static_cast<int>(i), texts[i]);
}

// The grid leaves its cells to the dialog; a grid built again for another
// contract takes the old one's cells away first.
void destroy_cells(CGrid* grid)
{
    if (grid == nullptr)
        return;
    for (int r = 0; r < grid->GetRowCount(); ++r)
        for (int c = 0; c < grid->GetColumnCount(); ++c)
            if (CWnd* cell = grid->GetCellWnd(r, c); cell != nullptr)
                plat::DestroyWindow(cell->m_hWnd);
}

void paint_grid(HWND dlg, const CGrid* grid)
{
    PAINTSTRUCT ps{};
    HDC dc = plat::BeginPaint(dlg, &ps);
    if (grid != nullptr)
        grid->Draw(dc);
    plat::EndPaint(dlg, &ps);
}

int selected(HWND dlg) { return static_cast<int>(SendDlgItemMessage(dlg, FIN_LIST, LB_GETCURSEL, 0, 0)); }

} // namespace

void register_finance_dialog_templates(HINSTANCE module)
{
    if (FindDialogTemplate(module, IDD_PRODUCT_ANALYSIS) != nullptr)
        return;
    // The module keeps pointers to these templates for the program's lifetime.
    static const Items product = product_items(), contract = contract_items(), grid = grid_items(),
                       global = global_items(), eva = eva_items(), select = select_items();
    static const DlgTemplate templates[] = {
        {IDD_PRODUCT_ANALYSIS, "Product Analysis", DLG | DS_CENTER, 0, 0, 420, 240, nullptr, 8, product.items()},
        {IDD_CONTRACT_ANALYSIS, "Contract Cost Analysis", DLG | DS_CENTER, 0, 0, 440, 396, nullptr, 8,
         contract.items()},
        {IDD_MARGINAL_PROFIT, "Marginal Profit Summary", DLG | DS_CENTER, 0, 0, 240, 200, nullptr, 8, grid.items()},
        {IDD_PRODUCT_THROUGHPUT, "Product Throughput Summary", DLG | DS_CENTER, 0, 0, 240, 200, nullptr, 8,
         grid.items()},
        {IDD_CONTRACT_THROUGHPUT, "Contracts Throughput Summary", DLG | DS_CENTER, 0, 0, 240, 200, nullptr, 8,
         grid.items()},
        {IDD_GLOBAL_MEASURES, "Global Performance Measures", DLG | DS_CENTER, 0, 0, 270, 170, nullptr, 8,
         global.items()},
        {IDD_EVA_MEASUREMENT, "EVA Measurement", DLG | DS_CENTER, 0, 0, 310, 264, nullptr, 8, eva.items()},
        {IDD_SELECT_GRAPHS, "Select graphs", DLG | DS_CENTER, 0, 0, 280, 214, nullptr, 8, select.items()},
    };
    RegisterDialogTemplates(module, templates);
}

// ---- the analyses' common base -------------------------------------------------

CFinanceDialog::CFinanceDialog(int templateId, int help_context, CFinanceWnd& books, CWnd* parent)
    : CSimDialog(templateId, current_dialog_registry(), parent), m_books(books), m_help(help_context)
{
}

BOOL CFinanceDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == FIN_HELP && HIWORD(wParam) == BN_CLICKED) {
        plat::WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(m_help));
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

// ---- the analyses with a list -------------------------------------------------

void CListedAnalysisDlg::fill_list(const std::vector<std::string>& entries)
{
    for (const std::string& e : entries)
        plat::SendDlgItemMessage(m_hWnd, FIN_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
    if (entries.empty())
        return;
    plat::SendDlgItemMessage(m_hWnd, FIN_LIST, LB_SETCURSEL, 0, 0);
    show_entry(0);
}

BOOL CListedAnalysisDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == FIN_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
        show_entry(selected(m_hWnd));
        return TRUE;
    }
    return CFinanceDialog::OnCommand(wParam, lParam);
}

// ---- Product Analysis ----------------------------------------------------------

CProductAnalysisDlg::CProductAnalysisDlg(CFinanceWnd& books, CWnd* parent)
    : CListedAnalysisDlg(IDD_PRODUCT_ANALYSIS, 301, books, parent)
{
}

BOOL CProductAnalysisDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    m_products = analysis_products(m_books);
    std::vector<std::string> codes;
    for (const AnalysisProduct& p : m_products)
        codes.push_back(p.code);
    fill_list(codes);
    return TRUE;
}

void CProductAnalysisDlg::show_product(int index)
{
    if (index < 0 || index >= static_cast<int>(m_products.size()))
        return;
    const AnalysisProduct& p = m_products[static_cast<size_t>(index)];
    const std::string title = std::string(lang_translate("Product Cost Analysis")) + " - " + p.code;
    plat::SetWindowText(m_hWnd, title.c_str());
    show_cost(m_hWnd, product_analysis(m_books, p.family, p.product));
}

// ---- Contract Cost Analysis ----------------------------------------------------

CContractAnalysisDlg::CContractAnalysisDlg(CFinanceWnd& books, CWnd* parent)
    : CListedAnalysisDlg(IDD_CONTRACT_ANALYSIS, 302, books, parent)
{
}

intptr_t CContractAnalysisDlg::DoModal()
{
    m_contracts = analysis_contracts(m_books);
    if (m_contracts.empty()) {
        lang_message_box(m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : 0, "No available contracts",
                         "Contract Cost Analysis", MB_OK);
        return IDCANCEL;
    }
    return CFinanceDialog::DoModal();
}

BOOL CContractAnalysisDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    std::vector<std::string> texts;
    for (const ContractSummary& c : m_contracts)
        texts.push_back(contract_list_text(c));
    fill_list(texts);
    return TRUE;
}

void CContractAnalysisDlg::show_contract(int index)
{
    if (index < 0 || index >= static_cast<int>(m_contracts.size()))
        return;
    const ContractSummary& c = m_contracts[static_cast<size_t>(index)];
    set_text(m_hWnd, FIN_CONTRACT_ID, std::to_string(c.number));
    show_cost(m_hWnd, contract_analysis(m_books, c));

    // The contract as Marketing's contract view shows it, one row a line.
    destroy_cells(m_grid.get());
    m_grid = std::make_unique<CGrid>();
    m_grid->SetColumnWidth(60);
    m_grid->SetHeaderWidth(0);
    for (const char* title : {"Name", "Start", "Type", "Quantity", "Price"})
        m_grid->AddColumn(lang_translate(title), SS_LEFT | SS_NOPREFIX);
    const size_t rows = std::min<size_t>(c.lines.size(), CGrid::MAX_ROWS);
    for (size_t i = 0; i < rows; ++i)
        m_grid->AddRow(i == 0 ? std::to_string(c.number).c_str() : "");
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    m_grid->Create(0, this, 10, 232, client.right - 10, 232 + 20 + static_cast<int>(rows) * 22, 0);
    // The contract's name, start and type stand on its first line only.
    for (size_t i = 0; i < rows; ++i) {
        const int r = static_cast<int>(i);
        m_grid->SetCellText(r, 0, i == 0 ? c.customer.c_str() : "");
        m_grid->SetCellText(r, 1, i == 0 ? c.start.c_str() : "");
        m_grid->SetCellText(r, 2, i == 0 ? c.type.c_str() : "");
        m_grid->SetCellText(r, 3, c.lines[i].text.c_str());
        m_grid->SetCellText(r, 4, std::to_string(c.lines[i].price).c_str());
    }
    plat::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CContractAnalysisDlg::OnPaint() { paint_grid(m_hWnd, m_grid.get()); }
void CSummaryGridDlg::OnPaint() { paint_grid(m_hWnd, m_grid.get()); }

// ---- the summaries -------------------------------------------------------------

namespace {
int summary_template(CSummaryGridDlg::Kind kind)
{
    switch (kind) {
    case CSummaryGridDlg::MARGINAL_PROFIT: return IDD_MARGINAL_PROFIT;
    case CSummaryGridDlg::PRODUCT_THROUGHPUT: return IDD_PRODUCT_THROUGHPUT;
    default: return IDD_CONTRACT_THROUGHPUT;
    }
}
int summary_help(CSummaryGridDlg::Kind kind)
{
    switch (kind) {
    case CSummaryGridDlg::MARGINAL_PROFIT: return 306;
    case CSummaryGridDlg::PRODUCT_THROUGHPUT: return 308;
    default: return 309;
    }
}
} // namespace

CSummaryGridDlg::CSummaryGridDlg(Kind kind, CFinanceWnd& books, CWnd* parent)
    : CFinanceDialog(summary_template(kind), summary_help(kind), books, parent), m_kind(kind)
{
}

BOOL CSummaryGridDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    std::vector<SummaryRow> rows;
    const char* column = "Throughput";
    switch (m_kind) {
    case MARGINAL_PROFIT:
        rows = marginal_profit_rows(m_books);
        column = "Marginal Profit";
        break;
    case PRODUCT_THROUGHPUT: rows = product_throughput_rows(m_books); break;
    case CONTRACT_THROUGHPUT: rows = contract_throughput_rows(m_books); break;
    }
    if (rows.size() > static_cast<size_t>(CGrid::MAX_ROWS))
        rows.resize(CGrid::MAX_ROWS);
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    const int bottom = 10 + static_cast<int>(rows.size()) * 22 + 30;
    if (m_kind == CONTRACT_THROUGHPUT && rows.empty()) {
        plat::ShowWindow(plat::GetDlgItem(m_hWnd, FIN_NO_CONTRACTS), SW_SHOW);
    } else {
        m_grid = std::make_unique<CGrid>();
        m_grid->SetRowHeight(22);
        if (m_kind == CONTRACT_THROUGHPUT)
            m_grid->SetCornerText(lang_translate("Name"));
        m_grid->AddColumn(lang_translate(column), SS_RIGHT);
        for (const SummaryRow& r : rows)
            m_grid->AddRow(r.label.c_str());
        m_grid->Create(0, this, 10, 10, client.right - 10, bottom, 0);
        // A retired product's row keeps its label and shows no figure.
        for (size_t i = 0; i < rows.size(); ++i)
            m_grid->SetCellText(static_cast<int>(i), 0, rows[i].value.c_str());
    }
    // The buttons under the grid, the dialog as tall as they need.
    const int buttons = std::max(bottom, 40) + 12;
    plat::MoveWindow(plat::GetDlgItem(m_hWnd, IDCANCEL), 20, buttons, 80, 24, TRUE);
    plat::MoveWindow(plat::GetDlgItem(m_hWnd, FIN_HELP), 110, buttons, 80, 24, TRUE);
    RECT outer{};
    plat::GetWindowRect(m_hWnd, &outer);
    const int frame = (outer.bottom - outer.top) - client.bottom;
    plat::SetWindowPos(m_hWnd, 0, 0, 0, outer.right - outer.left, buttons + 36 + frame,
                 SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

// ---- Global Performance Measures -----------------------------------------------

CGlobalMeasuresDlg::CGlobalMeasuresDlg(CFinanceWnd& books, CWnd* parent)
    : CFinanceDialog(IDD_GLOBAL_MEASURES, 307, books, parent)
{
}

BOOL CGlobalMeasuresDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const GlobalMeasures g = global_measures(m_books);
    set_text(m_hWnd, FIN_GLOBAL_FIRST, grouped(g.throughput));
    set_text(m_hWnd, FIN_GLOBAL_FIRST + 1, grouped(g.total_assets));
    set_text(m_hWnd, FIN_GLOBAL_FIRST + 2, grouped(g.current_inventory));
    set_text(m_hWnd, FIN_GLOBAL_FIRST + 3, grouped(g.oe));
    return TRUE;
}

// ---- EVA Measurement -----------------------------------------------------------

CEvaMeasurementDlg::CEvaMeasurementDlg(CFinanceWnd& books, CWnd* parent)
    : CFinanceDialog(IDD_EVA_MEASUREMENT, 310, books, parent)
{
}

intptr_t CEvaMeasurementDlg::DoModal()
{
    m_eva = eva_measurement(m_books);
    if (!m_eva.available) {
        lang_message_box(m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : 0, "Not availble yet", "EVA Measurement",
                         MB_OK | MB_ICONINFORMATION);
        return IDCANCEL;
    }
    return CFinanceDialog::DoModal();
}

BOOL CEvaMeasurementDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const int order = m_books.host().clock().date_order;
    char interest[64];
    std::snprintf(interest, sizeof interest, "%0.2f", m_eva.interest);
    set_text(m_hWnd, FIN_EVA_FIRST, date_text(m_eva.from, order));
    set_text(m_hWnd, FIN_EVA_FIRST + 1, date_text(m_eva.to, order));
    set_text(m_hWnd, FIN_EVA_FIRST + 2, grouped(m_eva.profit));
    set_text(m_hWnd, FIN_EVA_FIRST + 3, grouped(m_eva.capital));
    set_text(m_hWnd, FIN_EVA_FIRST + 4, interest);
    set_text(m_hWnd, FIN_EVA_FIRST + 5, grouped(m_eva.capital_interest));
    set_text(m_hWnd, FIN_EVA_FIRST + 6, grouped(m_eva.eva));
    set_text(m_hWnd, FIN_EVA_FIRST + 7, grouped(m_eva.last_year_eva));
    return TRUE;
}

// ---- Select graphs -------------------------------------------------------------

int GraphChoice::count() const
{
    int n = 0;
    for (int i : {0, 1, 2, 4, 6})
        n += box[static_cast<size_t>(i)] ? 1 : 0;
    if (box[7])
        return n + 1;
    return n + (box[3] ? 1 : 0) + (box[5] ? 1 : 0);
}

CSelectGraphsDlg::CSelectGraphsDlg(const GraphChoice& c, CWnd* parent)
    : CSimDialog(IDD_SELECT_GRAPHS, current_dialog_registry(), parent), choice(c)
{
}

BOOL CSelectGraphsDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    for (size_t i = 0; i < choice.box.size(); ++i)
        plat::CheckDlgButton(m_hWnd, FIN_GRAPH_BOX_FIRST + static_cast<int>(i), choice.box[i] ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CSelectGraphsDlg::OnOK()
{
    GraphChoice typed;
    for (size_t i = 0; i < typed.box.size(); ++i)
        typed.box[i] = plat::IsDlgButtonChecked(m_hWnd, FIN_GRAPH_BOX_FIRST + static_cast<int>(i)) == BST_CHECKED;
    if (typed.count() > 3) {
        lang_message_box(m_hWnd, "Please select up to 3 graphs", "Select Graphs", MB_OK | MB_ICONINFORMATION);
        return;
    }
    choice = typed;
    EndDialog(IDOK);
}
