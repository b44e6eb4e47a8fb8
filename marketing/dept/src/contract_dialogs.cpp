// The Marketing department's decision windows (new contracts, contract end
// and cancellation, new product) and the day's two event popups.
#include "marketing/contract_dialogs.h"
#include "dialog_build.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/simdate.h"
#include "marketing/marketing_wnd.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>

using namespace plat;
using namespace mkt_dlg;

namespace {

constexpr int GRID_ID = 12;
constexpr UINT_PTR POPUP_TIMER = 1;

// The list's columns: the answer's check box, then a tab stop for each of
// the row's nine fields (the row's leading tab moves to the first); the
// headers stand over their stops.
constexpr int LIST_X = 10;
constexpr int32_t kContractTabs[] = {30, 62, 150, 220, 290, 380, 470, 520, 568};
constexpr int header_x(int column) { return LIST_X + kContractTabs[column] + 2; }

Items new_contracts_items()
{
    Items b;
    b.headers(1301,
              {{"ID", header_x(0), 30},
               {"Name", header_x(1), 80},
               {"Start", header_x(2), 60},
               {"Stop", header_x(3), 60},
               {"Type", header_x(4), 80},
               {"Supply ", header_x(5), 90},
               {"Prod.", header_x(6), 46},
               {"Qty.", header_x(7), 46},
               {"Price", header_x(8), 46}},
              8);
    b.add({"BUTTON", 1311, "Contracts", WS_CHILD | BS_GROUPBOX, 0, LIST_X, 26, 620, 240});
    b.buttons({{IDC_MRK_YES, "&Yes"}, {IDC_MRK_NO, "&No"}, {IDC_MRK_YES_ALL, "Yes &All"}, {IDC_MRK_NO_ALL, "N&o All"}},
              10, 276, 85, false);
    b.buttons({{IDOK, "&OK"}, {IDC_MRK_HOLD, "&Hold"}}, 470, 276, 85, true);
    return b;
}

Items contract_end_items()
{
    Items b;
    b.add({"STATIC", 1320, "Renew contract for 1 more year ?", CHILD, 0, 12, 150, 240, 18});
    b.add({"BUTTON", IDC_MRK_RENEW_YES, "&Yes", BUTTON | WS_GROUP | BS_AUTORADIOBUTTON, 0, 260, 148, 60, 20});
    b.add({"BUTTON", IDC_MRK_RENEW_NO, "&No", CHILD | BS_AUTORADIOBUTTON, 0, 330, 148, 60, 20});
    b.add({"BUTTON", IDC_MRK_CONTINUE, "&Continue", BUTTON | WS_GROUP | BS_DEFPUSHBUTTON, 0, 430, 182, 75, 23});
    b.add({"BUTTON", IDC_MRK_HOLD, "&Hold", BUTTON, 0, 515, 182, 75, 23});
    return b;
}

Items contract_canceled_items()
{
    Items b;
    b.buttons({{IDC_MRK_CONTINUE, "&Continue"}}, 515, 182, 0, true);
    return b;
}

Items lost_orders_items()
{
    Items b;
    b.headers(1331, {{"Product", 14, 50}, {"Orders", 60, 50}, {"Units", 110, 50}}, 8);
    b.add({"LISTBOX", IDC_MRK_LOST_LIST, "", CHILD | WS_BORDER | WS_VSCROLL | LBS_USETABSTOPS, 0, 10, 26, 170, 90});
    b.buttons({{IDOK, "&Continue"}}, 58, 124, 0, true);
    return b;
}

Items past_due_items()
{
    Items b;
    b.buttons({{IDCANCEL, "&Continue"}}, 58, 154, 0, true);
    return b;
}

Items new_product_items()
{
    Items b;
    const struct {
        int label_id;
        const char* label;
        int value_id;
    } rows[] = {{1341, "Product:", 1088},        {1342, "QLT:", 1122},
                {1343, "Materials cost:", 1246}, {1344, "Price:", 1123},
                {1345, "Shelf life:", 1245},     {1346, "Initial expenses:", 1244},
                {1347, "Estimated sales per year:", 1243}};
    int y = 12;
    for (const auto& r : rows) {
        b.label_value(r.label_id, r.label, r.value_id, 12, y, 160, 180);
        y += 22;
    }
    b.add({"STATIC", 1348, "Launch date:", CHILD, 0, 12, 168, 160, 18});
    b.add({"EDIT", IDC_MRK_LAUNCH_DATE, "", BUTTON | WS_BORDER | ES_AUTOHSCROLL, 0, 180, 166, 100, 22});
    b.buttons({{IDOK, "&Accept"}, {IDCANCEL, "&Cancel"}, {IDC_MRK_HOLD, "&Hold"}}, 30, 204, 110, true, 90);
    return b;
}

std::span<const DlgTemplate> templates()
{
    static const Items new_contracts = new_contracts_items(), contract_end = contract_end_items(),
                       canceled = contract_canceled_items(), lost = lost_orders_items(), past_due = past_due_items(),
                       new_product = new_product_items();
    static const DlgTemplate table[] = {
        {IDD_MRK_NEW_CONTRACTS, "Select New Contracts", DLG | DS_CENTER, 0, 0, 640, 310, nullptr, 0,
         new_contracts.items()},
        {IDD_MRK_LOST_ORDERS, "Lost Customer Orders", WS_POPUP | WS_CAPTION, 20, 0, 190, 156, nullptr, 0, lost.items()},
        {IDD_MRK_CONTRACT_END, "Contract End", DLG | DS_CENTER, 0, 0, 600, 216, nullptr, 0, contract_end.items()},
        {IDD_MRK_CONTRACT_CANCELED, "Contract Canceled", DLG | DS_CENTER, 0, 0, 600, 216, nullptr, 0,
         canceled.items()},
        {IDD_MRK_PAST_DUE, "Past Due Inventory", WS_POPUP | WS_CAPTION, 60, 60, 190, 186, nullptr, 0, past_due.items()},
        {IDD_MRK_NEW_PRODUCT, "New Product", DLG | DS_CENTER, 0, 0, 372, 238, nullptr, 0, new_product.items()},
    };
    return table;
}

const CustomerContract& contract_of(const CMarketingWnd& m, const ContractRef& r)
{
    return m.customers[r.customer].contracts[r.contract];
}

bool valid(const CMarketingWnd& m, const ContractRef& r)
{
    return r.customer < m.customers.size() && r.contract < m.customers[r.customer].contracts.size();
}

std::string item_text(const CMarketingWnd& m, const CustomerContract& k, const ContractItem& it, bool with_price)
{
    const std::string code = code_of(m, it.family, it.product);
    if (k.type == CONTRACT_BLANKET)
        return with_price ? format("%s\t%d,%d\t%d", code.c_str(), it.blanket_min, it.blanket_max, it.unit_price)
                          : format("%s-%d,%d", code.c_str(), it.blanket_min, it.blanket_max);
    return with_price ? format("%s\t%d\t%d", code.c_str(), it.quantity, it.unit_price)
                      : format("%s-%d", code.c_str(), it.quantity);
}

// The split of a popup row "\t%c%c\t%d..." into its fields.
std::vector<std::string> fields(const std::string& row)
{
    std::vector<std::string> out;
    std::stringstream in(row);
    std::string one;
    while (std::getline(in, one, '\t'))
        if (!one.empty())
            out.push_back(one);
    return out;
}

} // namespace

void register_contract_dialog_templates()
{
    const HINSTANCE module = AfxGetResourceHandle();
    if (FindDialogTemplate(module, IDD_MRK_NEW_CONTRACTS) == nullptr)
        RegisterDialogTemplates(module, templates());
}

std::vector<std::string> new_contract_rows(const CMarketingWnd& m, const ContractRef& ref, int date_order)
{
    std::vector<std::string> rows;
    if (!valid(m, ref))
        return rows;
    const CustomerContract& k = contract_of(m, ref);
    std::string type;
    if (k.type == CONTRACT_ONE_TIME)
        type = "One Time";
    else if (k.type == CONTRACT_BLANKET)
        type = format("Blanket(%d)", k.blanket_days);
    else
        type = k.period == 0 ? "Weekly" : "Monthly";
    const bool weekly = k.type == CONTRACT_PERIODIC && k.period == 0;
    const std::string supply = weekly ? std::string(day_name(k.delivery_day)) : std::string("  ------------   ");
    const std::string stop = k.type == CONTRACT_ONE_TIME ? std::string("  -  ") : date_text(k.end_date, date_order);
    for (int i = 0; i < k.item_count && i < MAX_CONTRACT_ITEMS_PER_CONTRACT; ++i) {
        const std::string line = item_text(m, k, k.items[static_cast<size_t>(i)], true);
        if (i == 0)
            rows.push_back(format("\t%d\t%s\t%s\t%s\t%s\t%s\t", k.number, m.customers[ref.customer].name.c_str(),
                                  date_text(k.start_date, date_order).c_str(), stop.c_str(), type.c_str(),
                                  supply.c_str()) +
                           line);
        else {
            std::string blank = "\t";
            for (int c = 0; c < 6; ++c)
                blank += "                  \t";
            rows.push_back(blank + line);
        }
    }
    return rows;
}

void fill_contract_grid(CGrid& grid, const CMarketingWnd& m, const ContractRef& ref, CWnd* parent, int x, int y,
                        int width, int height, int date_order)
{
    if (!valid(m, ref))
        return;
    const CustomerContract& k = contract_of(m, ref);
    for (const char* title : {"Name", "Start", "End", "Type", "Day"})
        grid.AddColumn(lang_translate(title), ES_LEFT | ES_READONLY);
    for (const char* title : {"Quantity", "Price"})
        grid.AddColumn(lang_translate(title), ES_RIGHT | ES_READONLY);
    grid.SetCornerText("ID");
    const int lines = k.item_count < MAX_CONTRACT_ITEMS_PER_CONTRACT ? k.item_count : MAX_CONTRACT_ITEMS_PER_CONTRACT;
    for (int i = 0; i < lines; ++i)
        grid.AddRow(i == 0 ? format("%d", k.number).c_str() : "");
    grid.SetColumnWidth((width - x - 50) / 7);
    grid.Create(GRID_ID, parent, x, y, x + width, y + height, 0);
    if (lines == 0)
        return;
    grid.SetCellText(0, 0, m.customers[ref.customer].name.c_str());
    grid.SetCellText(0, 1, date_text(k.start_date, date_order).c_str());
    grid.SetCellText(0, 2, k.type == CONTRACT_ONE_TIME ? "  --- " : date_text(k.end_date, date_order).c_str());
    const char* type = k.type == CONTRACT_ONE_TIME ? "OneTime"
                       : k.type == CONTRACT_BLANKET ? "Blanket"
                       : k.period == 0              ? "Weekly"
                                                    : "Monthly";
    grid.SetCellText(0, 3, lang_translate(type));
    const bool weekly = k.type == CONTRACT_PERIODIC && k.period == 0;
    grid.SetCellText(0, 4, weekly ? day_name(k.delivery_day) : "---   ");
    for (int i = 1; i < lines; ++i)
        for (int c = 0; c < 5; ++c)
            grid.SetCellText(i, c, "");
    for (int i = 0; i < lines; ++i) {
        const ContractItem& it = k.items[static_cast<size_t>(i)];
        grid.SetCellText(i, 5, item_text(m, k, it, false).c_str());
        grid.SetCellText(i, 6, format("%d", it.unit_price).c_str());
    }
}

// ---- Select New Contracts -----------------------------------------------------

CNewContractsDlg::CNewContractsDlg(const CMarketingWnd& m, CWnd* parent, const std::vector<ContractRef>& list,
                                   int date_order)
    : CSimDialog(IDD_MRK_NEW_CONTRACTS, current_dialog_registry(), parent), m_contracts(list)
{
    for (const ContractRef& r : list) {
        m_first_rows.push_back(static_cast<int>(m_rows.size()));
        for (std::string& row : new_contract_rows(m, r, date_order))
            m_rows.push_back(std::move(row));
    }
    accepted.assign(list.size(), false);
}

BOOL CNewContractsDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    RECT r{};
    if (HWND frame = plat::GetDlgItem(m_hWnd, 1311)) {
        plat::GetWindowRect(frame, &r);
        POINT tl{r.left, r.top}, br{r.right, r.bottom};
        plat::ScreenToClient(m_hWnd, &tl);
        plat::ScreenToClient(m_hWnd, &br);
        r = RECT{tl.x, tl.y, br.x, br.y};
    }
    m_list.Create(IDC_MRK_CONTRACT_LIST, this, r.left, r.top, r.right, r.bottom);
    m_list.SetTabStops(static_cast<int>(std::size(kContractTabs)), kContractTabs);
    size_t next = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const bool first = next < m_first_rows.size() && m_first_rows[next] == static_cast<int>(i);
        if (first)
            ++next;
        m_list.AddRow(m_rows[i].c_str(), first ? TRUE : FALSE);
    }
    if (!m_first_rows.empty())
        m_list.SetCurSel(m_first_rows[0], TRUE);
    return TRUE;
}

void CNewContractsDlg::answer_selected(int state)
{
    const int row = m_list.GetCurSel();
    if (m_list.IsSelectable(row))
        m_list.SetCheck(row, state, TRUE);
}

void CNewContractsDlg::answer_all(int state)
{
    for (int row : m_first_rows)
        m_list.SetCheck(row, state, TRUE);
}

BOOL CNewContractsDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_MRK_YES: answer_selected(CSelectCheckList::ACCEPTED); return TRUE;
    case IDC_MRK_NO: answer_selected(CSelectCheckList::REJECTED); return TRUE;
    case IDC_MRK_YES_ALL: answer_all(CSelectCheckList::ACCEPTED); return TRUE;
    case IDC_MRK_NO_ALL: answer_all(CSelectCheckList::REJECTED); return TRUE;
    case IDC_MRK_HOLD: EndDialog(5); return TRUE;
    default: break;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CNewContractsDlg::OnOK()
{
    for (int row : m_first_rows)
        if (m_list.GetCheck(row) == CSelectCheckList::UNDECIDED) {
            lang_message_box(m_hWnd, "You must accept/deny each contract", "New Contracts", MB_OK);
            return;
        }
    for (size_t i = 0; i < m_first_rows.size(); ++i)
        accepted[i] = m_list.GetCheck(m_first_rows[i]) == CSelectCheckList::ACCEPTED;
    EndDialog(1);
}

// ---- Contract End, Contract Canceled ------------------------------------------

CContractEndDlg::CContractEndDlg(const CMarketingWnd& m, CWnd* parent, const ContractRef& ref, int date_order)
    : CContractEndDlg(m, parent, ref, date_order, IDD_MRK_CONTRACT_END)
{
}

CContractEndDlg::CContractEndDlg(const CMarketingWnd& m, CWnd* parent, const ContractRef& ref, int date_order,
                                 int templateId)
    : CSimDialog(templateId, current_dialog_registry(), parent), m_market(m), m_ref(ref), m_dateOrder(date_order)
{
}

BOOL CContractEndDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    const int lines = valid(m_market, m_ref) ? contract_of(m_market, m_ref).item_count : 0;
    fill_contract_grid(m_grid, m_market, m_ref, this, 10, 10, client.right - 10 - 10, lines * 20 + 30, m_dateOrder);
    return TRUE;
}

BOOL CContractEndDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_MRK_CONTINUE:
        if (plat::IsDlgButtonChecked(m_hWnd, IDC_MRK_RENEW_YES) == BST_CHECKED)
            EndDialog(1);
        else if (plat::IsDlgButtonChecked(m_hWnd, IDC_MRK_RENEW_NO) == BST_CHECKED)
            EndDialog(2);
        else
            lang_message_box(m_hWnd, "You must select yes/no for renew contract\n\nbefore continuing!",
                             "End of Contract", MB_OK | MB_ICONSTOP);
        return TRUE;
    case IDC_MRK_HOLD: EndDialog(3); return TRUE;
    default: break;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CContractEndDlg::OnPaint() { paint_grids(m_hWnd, {&m_grid}); }

CContractCanceledDlg::CContractCanceledDlg(const CMarketingWnd& m, CWnd* parent, const ContractRef& ref,
                                           int date_order, std::string title)
    : CContractEndDlg(m, parent, ref, date_order, IDD_MRK_CONTRACT_CANCELED), m_title(std::move(title))
{
}

BOOL CContractCanceledDlg::OnInitDialog()
{
    CContractEndDlg::OnInitDialog();
    if (!m_title.empty())
        plat::SetWindowText(m_hWnd, lang_translate(m_title.c_str()));
    return TRUE;
}

BOOL CContractCanceledDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MRK_CONTINUE) {
        EndDialog(IDOK);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

// ---- New Product --------------------------------------------------------------

CNewProductDlg::CNewProductDlg(const CMarketingWnd& m, CWnd* parent, int entry, const SimDateTime& today,
                               int date_order)
    : CSimDialog(IDD_MRK_NEW_PRODUCT, current_dialog_registry(), parent),
      launch(today),
      m_market(m),
      m_entry(entry),
      m_dateOrder(date_order)
{
}

BOOL CNewProductDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    if (m_entry < 0 || m_entry >= MAX_NEW_PRODUCTS)
        return TRUE;
    const NewProductEntry& e = m_market.new_products[static_cast<size_t>(m_entry)];
    const MarketProduct& p = e.product;
    const char family = e.family < m_market.families.size() ? m_market.families[e.family].letter : '?';
    auto set = [&](int id, const std::string& s) { plat::SetDlgItemText(m_hWnd, id, s.c_str()); };
    set(1088, std::string{family, p.letter} + (e.name.empty() ? "" : " " + e.name));
    set(1122, format("%d %s", p.qlt, lang_translate("days")));
    set(1246, format("%d", p.material_cost));
    set(1123, format("%d", p.price));
    set(1245, format("%d %s", p.shelf_life, lang_translate("days")));
    set(1244, format("$%ld", static_cast<long>(e.cost)));
    const long units = static_cast<long>(e.yearly);
    set(1243, format("$%ld (%ld Un.)", units * static_cast<long>(p.price), units));
    set(IDC_MRK_LAUNCH_DATE, date_text(launch, m_dateOrder));
    return TRUE;
}

BOOL CNewProductDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MRK_HOLD) {
        EndDialog(2);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CNewProductDlg::OnOK()
{
    char text[32] = {};
    plat::GetDlgItemText(m_hWnd, IDC_MRK_LAUNCH_DATE, text, sizeof text);
    SimDateTime date{};
    if (parse_date_text(text, m_dateOrder, date) == 0) {
        lang_message_box(m_hWnd, "Invalid lunch date", "New Product", MB_OK | MB_ICONINFORMATION);
        return;
    }
    launch = date;
    EndDialog(1);
}

// ---- Popups -------------------------------------------------------------------

CMarketPopup::CMarketPopup(int templateId, CWnd* parent, const int32_t* pause_events)
    : CModelessDialog(templateId, parent), m_pause(pause_events)
{
}

void CMarketPopup::show_lost_orders(const std::vector<std::string>& rows)
{
    if (m_hWnd == 0)
        return;
    plat::SetWindowText(m_hWnd, lang_translate("Lost Customer Orders"));
    const HWND list = plat::GetDlgItem(m_hWnd, IDC_MRK_LOST_LIST);
    const int32_t tabs[3] = {3, 40, 90};
    plat::SendMessage(list, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(tabs));
    for (const std::string& row : rows)
        plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    plat::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    plat::SetTimer(m_hWnd, POPUP_TIMER, TIMER_MS, nullptr);
}

void CMarketPopup::show_past_due(const std::vector<std::string>& rows)
{
    if (m_hWnd == 0)
        return;
    plat::SetWindowText(m_hWnd, lang_translate("Past Due Inventory"));
    m_grid.AddColumn(lang_translate("Lost Units"), ES_RIGHT | ES_READONLY);
    std::vector<std::string> units;
    for (size_t i = 0; i < rows.size() && i < static_cast<size_t>(CGrid::MAX_ROWS); ++i) {
        const std::vector<std::string> f = fields(rows[i]);
        m_grid.AddRow(f.empty() ? "" : f[0].c_str());
        const int n = f.size() > 1 ? std::atoi(f[1].c_str()) : 0;
        units.push_back(n > 0 ? format("%3d", n) : std::string(" --- "));
    }
    // Rows of the grid's own height, as many as the popup holds.
    const int shown = static_cast<int>(units.size());
    m_grid.Create(GRID_ID, this, 10, 10, 180, 10 + std::min(130, shown * 22 + 30), 0);
    for (size_t i = 0; i < units.size(); ++i)
        m_grid.SetCellText(static_cast<int>(i), 0, units[i].c_str());
    m_hasGrid = true;
    plat::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    plat::SetTimer(m_hWnd, POPUP_TIMER, TIMER_MS, nullptr);
}

void CMarketPopup::timer_close()
{
    if (m_pause != nullptr && *m_pause != 0)
        return;
    plat::KillTimer(m_hWnd, POPUP_TIMER);
    DestroyWindow();
}

BOOL CMarketPopup::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_TIMER && wParam == POPUP_TIMER) {
        timer_close();
        result = 0;
        return TRUE;
    }
    return CModelessDialog::OnMessage(msg, wParam, lParam, result);
}

BOOL CMarketPopup::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        plat::KillTimer(m_hWnd, POPUP_TIMER);
        DestroyWindow();
        return TRUE;
    }
    return CModelessDialog::OnCommand(wParam, lParam);
}

void CMarketPopup::OnPaint() { paint_grids(m_hWnd, {m_hasGrid ? &m_grid : nullptr}); }
