// The Marketing department's action and policy dialogs and their templates.
#include "marketing/action_dialogs.h"
#include "dialog_build.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/simdate.h"
#include "marketing/market_ports.h"
#include "marketing/market_reports.h"
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
#include <cstdlib>
#include <iterator>

using namespace plat;
using namespace mkt_dlg;

namespace {

constexpr int HELP_ID = 9;
constexpr int GRID_ID = 12;

Items order_items()
{
    Items b;
    b.add({"STATIC", 1401, "Product:", CHILD, 0, 12, 14, 70, 18});
    b.add({"COMBOBOX", IDC_MRK_ORDER_PRODUCT, "", BUTTON | CBS_DROPDOWN, 0, 90, 10, 90, 160});
    b.add({"STATIC", 1402, "Quantity:", CHILD, 0, 12, 46, 70, 18});
    b.add({"EDIT", IDC_MRK_ORDER_QUANTITY, "", BUTTON | WS_BORDER | ES_AUTOHSCROLL, 0, 90, 42, 90, 22});
    b.buttons({{IDC_MRK_ORDER_BUTTON, "&Order"}, {IDCANCEL, "&Close"}, {HELP_ID, "&Help"}}, 200, 10, 30, true, 75, 23,
              true);
    return b;
}

Items contract_list_items()
{
    Items b;
    b.headers(1411,
              {{"ID", 12, 30},
               {"Prod.", 52, 40},
               {"Name", 102, 60},
               {"Start", 172, 60},
               {"Stop", 242, 60},
               {"Type", 312, 70},
               {"Supply", 392, 70},
               {"Qty.", 472, 50},
               {"Price", 532, 50}},
              8);
    b.add({"BUTTON", IDC_MRK_CONTRACTS, "Contracts", WS_CHILD | BS_GROUPBOX, 0, 10, 26, 600, 260});
    b.buttons({{IDCANCEL, "&Close"}, {HELP_ID, "&Help"}}, 440, 296, 90, true);
    return b;
}

Items shipment_items()
{
    Items b;
    b.headers(1421, {{"Supply time", 24, 90}, {"Product", 124, 60}, {"Quantity", 194, 60}}, 8);
    b.add({"LISTBOX", IDC_MRK_SHIPMENTS, "", BUTTON | WS_BORDER | WS_VSCROLL | LBS_USETABSTOPS, 0, 10, 26, 280, 240});
    b.buttons({{IDCANCEL, "&Close"}, {HELP_ID, "&Help"}}, 120, 276, 90, true);
    return b;
}

Items parameters_items()
{
    Items b;
    b.buttons({{IDOK, "OK"}, {IDCANCEL, "Cancel"}, {HELP_ID, "&Help"}}, 360, 380, 85, true);
    return b;
}

Items advertising_items()
{
    Items b;
    b.add({"STATIC", 1431, "Product:", CHILD, 0, 12, 10, 90, 18});
    b.add({"LISTBOX", IDC_MRK_CAMPAIGNS, "", BUTTON | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 12, 30, 110, 120});
    b.add({"STATIC", 1432, "Invest:", CHILD, 0, 140, 30, 90, 18});
    b.add({"COMBOBOX", IDC_MRK_LEVELS, "", BUTTON | CBS_DROPDOWNLIST, 0, 140, 50, 110, 160});
    b.add({"STATIC", 1433, "For period of:", CHILD, 0, 140, 86, 110, 18});
    b.add({"EDIT", IDC_MRK_PERIOD, "", BUTTON | WS_BORDER | ES_AUTOHSCROLL, 0, 140, 106, 50, 22});
    b.add({"STATIC", 1434, "months", CHILD, 0, 196, 108, 60, 18});
    b.buttons({{IDOK, "&OK"}, {IDCANCEL, "&Cancel"}}, 40, 160, 110, true);
    return b;
}

Items promotion_items()
{
    Items b;
    b.add({"STATIC", 1441, "Product:", CHILD, 0, 12, 10, 90, 18});
    b.add({"LISTBOX", IDC_MRK_PROMO_PRODUCTS, "", BUTTON | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 12, 30, 80, 120});
    b.add({"STATIC", 1442, "Sale (Reduction):", CHILD, 0, 110, 30, 130, 18});
    b.add({"COMBOBOX", IDC_MRK_REDUCTIONS, "", BUTTON | CBS_DROPDOWNLIST, 0, 110, 50, 130, 160});
    b.label_value(1443, "Sale Month:", IDC_MRK_SALE_MONTH, 110, 86, 80, 60, 18, 6);
    b.label_value(1444, "Expenses:", IDC_MRK_EXPENSES, 110, 110, 80, 60, 18, 6);
    b.buttons({{IDOK, "&OK"}, {IDCANCEL, "&Cancel"}}, 40, 160, 110, true);
    return b;
}

Items due_items()
{
    Items b;
    b.add({"STATIC", 1451, "Product:", CHILD, 0, 12, 12, 60, 18});
    b.add({"COMBOBOX", 1088, "", BUTTON | CBS_DROPDOWNLIST, 0, 80, 8, 90, 160});
    b.buttons({{IDCANCEL, "&Close"}}, 470, 130, 0, true);
    return b;
}

std::span<const DlgTemplate> templates()
{
    static const Items due = due_items(), order = order_items(), contracts = contract_list_items(),
                       shipments = shipment_items(), parameters = parameters_items(),
                       advertising = advertising_items(), promotion = promotion_items();
    static const DlgTemplate table[] = {
        {IDD_MRK_DUE_SHIPMENTS, "Due Shipments", DLG | DS_CENTER, 0, 0, 560, 164, nullptr, 0, due.items()},
        {IDD_MRK_ORDER_TO_PRODUCE, "Order To Prodcue", DLG | DS_CENTER, 0, 0, 290, 106, nullptr, 0, order.items()},
        {IDD_MRK_CONTRACT_LIST, "Contract List", DLG | DS_CENTER, 0, 0, 620, 330, nullptr, 0, contracts.items()},
        {IDD_MRK_SHIPMENT_LIST, "Shipment List", DLG | DS_CENTER, 0, 0, 300, 310, nullptr, 0, shipments.items()},
        {IDD_MRK_PRODUCT_PARAMETERS, "Edit Product Parameters", DLG | DS_CENTER, 0, 0, 620, 414, nullptr, 0,
         parameters.items()},
        {IDD_MRK_ADVERTISING, "Advertising", DLG | DS_CENTER, 0, 0, 270, 196, nullptr, 0, advertising.items()},
        {IDD_MRK_PROMOTION, "Promotion", DLG | DS_CENTER, 0, 0, 260, 196, nullptr, 0, promotion.items()},
    };
    return table;
}

bool same_day(const SimDateTime& a, const SimDateTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

bool before(const SimDateTime& a, const SimDateTime& b)
{
    if (a.year != b.year)
        return a.year < b.year;
    if (a.month != b.month)
        return a.month < b.month;
    return a.day < b.day;
}

void help(HWND dlg, int context)
{
    if (context != 0)
        WinHelp(dlg, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(context));
}

// A contract's line: the product under "Prod.", then its quantity and price
// under theirs.
std::string item_text(const CMarketingWnd& m, const CustomerContract& k, const ContractItem& it)
{
    const std::string code = code_of(m, it.family, it.product);
    return k.type == CONTRACT_BLANKET
               ? format("\t\t%s\t\t\t\t\t\t%d,%d\t%d", code.c_str(), it.blanket_min, it.blanket_max, it.unit_price)
               : format("\t\t%s\t\t\t\t\t\t%d\t%d", code.c_str(), it.quantity, it.unit_price);
}

} // namespace

void register_action_dialog_templates()
{
    const HINSTANCE module = AfxGetResourceHandle();
    if (FindDialogTemplate(module, IDD_MRK_ORDER_TO_PRODUCE) == nullptr)
        RegisterDialogTemplates(module, templates());
}

std::vector<std::string> contract_list_rows(const CMarketingWnd& m, int date_order)
{
    std::vector<ContractRef> active;
    for (size_t c = 0; c < m.customers.size(); ++c)
        for (size_t k = 0; k < m.customers[c].contracts.size(); ++k)
            if (m.is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                active.push_back({static_cast<uint16_t>(c), static_cast<uint16_t>(k)});
    std::stable_sort(active.begin(), active.end(), [&](const ContractRef& a, const ContractRef& b) {
        return before(m.customers[a.customer].contracts[a.contract].end_date,
                      m.customers[b.customer].contracts[b.contract].end_date);
    });
    std::vector<std::string> rows;
    for (const ContractRef& r : active) {
        const CustomerContract& k = m.customers[r.customer].contracts[r.contract];
        std::string type;
        if (k.type == CONTRACT_ONE_TIME)
            type = "OneTime  ";
        else if (k.type == CONTRACT_BLANKET)
            type = format("Blanket(%d)", k.blanket_days);
        else
            type = k.period == 0 ? "Weekly" : "Monthly";
        const bool weekly = k.type == CONTRACT_PERIODIC && k.period == 0;
        // The contract's own row leaves the "Prod." column to its lines.
        rows.push_back(format("\t%d\t\t%s\t%s\t%s\t%s\t%s", k.number, m.customers[r.customer].name.c_str(),
                              date_text(k.start_date, date_order).c_str(),
                              k.type == CONTRACT_ONE_TIME ? "  -  " : date_text(k.end_date, date_order).c_str(),
                              type.c_str(), weekly ? day_name(k.delivery_day) : ""));
        for (int i = 0; i < k.item_count && i < MAX_CONTRACT_ITEMS_PER_CONTRACT; ++i)
            rows.push_back(item_text(m, k, k.items[static_cast<size_t>(i)]));
    }
    if (rows.empty())
        rows.push_back(lang_translate("No active contracts"));
    return rows;
}

std::vector<std::string> shipment_rows(const CMarketingWnd& m, const MarketHost& host, int date_order)
{
    std::vector<std::string> rows;
    const SimDateTime today = host.today();
    for (int i = 0; i < 66; ++i) {
        const SimDateTime d = host.add_work_days(today, i);
        for (int f = 0; f < m.family_count(); ++f)
            for (int p = 0; p < m.product_count(f); ++p) {
                if (product_waiting(m, f, p) || m.is_product_retired(f, p))
                    continue;
                long units = 0;
                if (i == 0)
                    units += m.get_late_open_units(f, p) + m.get_late_contract_units(f, p);
                if (i <= m.product(f, p).qlt)
                    for (const OpenOrder& o : m.open_orders)
                        if (o.family == f && o.product == p && o.days_late <= 0 && same_day(o.due, d))
                            units += o.units;
                for (size_t c = 0; c < m.customers.size(); ++c)
                    for (size_t k = 0; k < m.customers[c].contracts.size(); ++k) {
                        if (!m.is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                            continue;
                        const CustomerContract& ct = m.customers[c].contracts[k];
                        const bool due = std::any_of(ct.supply.begin(), ct.supply.end(),
                                                     [&](const SimDateTime& s) { return same_day(s, d); });
                        if (!due)
                            continue;
                        for (int it = 0; it < ct.item_count && it < MAX_CONTRACT_ITEMS_PER_CONTRACT; ++it)
                            if (ct.items[static_cast<size_t>(it)].family == f &&
                                ct.items[static_cast<size_t>(it)].product == p)
                                units += ct.items[static_cast<size_t>(it)].quantity;
                    }
                if (units > 0)
                    rows.push_back(format("\t%s\t%s\t%ld", date_text(d, date_order).c_str(),
                                          code_of(m, f, p).c_str(), units));
            }
    }
    return rows;
}

DueTable due_shipments(const CMarketingWnd& m, const MarketHost& host, int f, int p)
{
    DueTable t{};
    if (!m.product_exists(f, p))
        return t;
    const SimDateTime today = host.today();
    std::array<SimDateTime, 5> days{};
    for (int i = 0; i < 5; ++i)
        days[static_cast<size_t>(i)] = host.add_work_days(today, i + 1);
    // The column of a date: 0..4 the next working days, 5 later, 6 overdue.
    auto column = [&](const SimDateTime& d) {
        if (before(d, today) || same_day(d, today))
            return 6;
        for (int i = 0; i < 5; ++i)
            if (same_day(d, days[static_cast<size_t>(i)]) || before(d, days[static_cast<size_t>(i)]))
                return i;
        return 5;
    };
    for (const OpenOrder& o : m.open_orders)
        if (o.family == f && o.product == p)
            t[0][static_cast<size_t>(o.days_late > 0 ? 6 : column(o.due))] += o.units;
    for (const LoadedContract& l : m.loaded)
        for (int i = 0; i < l.item_count && i < MAX_CONTRACT_ITEMS_PER_CONTRACT; ++i)
            if (l.lines[static_cast<size_t>(i)].family == f && l.lines[static_cast<size_t>(i)].product == p)
                t[1][static_cast<size_t>(l.days_waited > 0 ? 6 : column(l.due))] += l.lines[static_cast<size_t>(i)].quantity;
    for (size_t c = 0; c < m.customers.size(); ++c)
        for (size_t k = 0; k < m.customers[c].contracts.size(); ++k) {
            if (!m.is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                continue;
            const CustomerContract& ct = m.customers[c].contracts[k];
            long units = 0;
            for (int it = 0; it < ct.item_count && it < MAX_CONTRACT_ITEMS_PER_CONTRACT; ++it)
                if (ct.items[static_cast<size_t>(it)].family == f && ct.items[static_cast<size_t>(it)].product == p)
                    units += ct.items[static_cast<size_t>(it)].quantity;
            if (units == 0)
                continue;
            // Deliveries not loaded yet: the supply dates still ahead.
            for (size_t d = ct.deliveries_made; d < ct.supply.size(); ++d)
                if (!before(ct.supply[d], today) && !same_day(ct.supply[d], today))
                    t[1][static_cast<size_t>(column(ct.supply[d]))] += units;
        }
    return t;
}

// ---- Due Shipments ------------------------------------------------------------

CDueShipmentsDlg::CDueShipmentsDlg(const CMarketingWnd& m, const MarketHost& host, CWnd* parent)
    : CSimDialog(IDD_MRK_DUE_SHIPMENTS, current_dialog_registry(), parent), m_market(m), m_host(host)
{
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p)
            if (!m.is_product_retired(f, p) && !product_waiting(m, f, p))
                m_products.emplace_back(f, p);
}

BOOL CDueShipmentsDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const HWND combo = plat::GetDlgItem(m_hWnd, 1088);
    for (const auto& [f, p] : m_products)
        plat::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code_of(m_market, f, p).c_str()));
    plat::SendMessage(combo, CB_SETCURSEL, 0, 0);
    for (const char* c : {"1", "2", "3", "4", "5", "More", "Late"})
        m_grid.AddColumn(lang_translate(c), ES_RIGHT | ES_READONLY);
    m_grid.AddRow(lang_translate("Customers"));
    m_grid.AddRow(lang_translate("Clients"));
    m_grid.SetHeaderWidth(80);
    m_grid.SetColumnWidth(60);
    m_grid.Create(GRID_ID, this, 10, 40, 550, 40 + 2 * 22 + 30, 0);
    fill();
    return TRUE;
}

void CDueShipmentsDlg::fill()
{
    const int chosen = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, 1088, CB_GETCURSEL, 0, 0));
    if (chosen < 0 || static_cast<size_t>(chosen) >= m_products.size())
        return;
    const auto [f, p] = m_products[static_cast<size_t>(chosen)];
    const DueTable t = due_shipments(m_market, m_host, f, p);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 7; ++c)
            m_grid.SetCellText(r, c, format("%ld", t[static_cast<size_t>(r)][static_cast<size_t>(c)]).c_str());
}

BOOL CDueShipmentsDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == 1088 && HIWORD(wParam) == CBN_SELCHANGE) {
        fill();
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CDueShipmentsDlg::OnPaint() { paint_grids(m_hWnd, {&m_grid}); }

// ---- Order To Produce ---------------------------------------------------------

COrderToProduceDlg::COrderToProduceDlg(const CMarketingWnd& m, CWnd* parent)
    : CSimDialog(IDD_MRK_ORDER_TO_PRODUCE, current_dialog_registry(), parent), m_market(m)
{
}

BOOL COrderToProduceDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const HWND combo = plat::GetDlgItem(m_hWnd, IDC_MRK_ORDER_PRODUCT);
    for (int f = 0; f < m_market.family_count(); ++f)
        for (int p = 0; p < m_market.product_count(f); ++p)
            if (!m_market.is_product_retired(f, p) && !product_waiting(m_market, f, p))
                plat::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code_of(m_market, f, p).c_str()));
    plat::SendMessage(combo, CB_SETCURSEL, 0, 0);
    return TRUE;
}

BOOL COrderToProduceDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MRK_ORDER_BUTTON) {
        place_order();
        return TRUE;
    }
    if (LOWORD(wParam) == HELP_ID) {
        help(m_hWnd, 112);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void COrderToProduceDlg::place_order()
{
    char name[31] = {};
    plat::GetDlgItemText(m_hWnd, IDC_MRK_ORDER_PRODUCT, name, sizeof name);
    uint16_t f = NO_INDEX, p = NO_INDEX;
    if (std::string(name).size() == 2)
        m_market.find_product_by_code(name, f, p);
    if (f == NO_INDEX || p == NO_INDEX || !m_market.product_exists(f, p)) {
        lang_message_box(m_hWnd, format("%s %s", lang_translate("Invalid product name:"), name).c_str(),
                         "Order To Produce", MB_OK);
        return;
    }
    char text[16] = {};
    plat::GetDlgItemText(m_hWnd, IDC_MRK_ORDER_QUANTITY, text, sizeof text);
    char* end = nullptr;
    const long quantity = std::strtol(text, &end, 10);
    // A production order holds at most 32767 units.
    if (end == text || quantity <= 0 || quantity > 32767) {
        lang_message_box(m_hWnd, format("%s %s", lang_translate("Invalid quantity:"), text).c_str(),
                         "Order To Produce", MB_OK);
        return;
    }
    if (order)
        order(f, p, static_cast<int>(quantity));
}

// ---- Contract List, Shipment List ---------------------------------------------

CMarketListDlg::CMarketListDlg(int templateId, CWnd* parent, std::vector<std::string> rows, int help_context)
    : CSimDialog(templateId, current_dialog_registry(), parent), m_rows(std::move(rows)), m_help(help_context)
{
}

BOOL CMarketListDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    if (HWND list = plat::GetDlgItem(m_hWnd, IDC_MRK_SHIPMENTS)) {
        const int32_t tabs[3] = {8, 60, 100};
        plat::SendMessage(list, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(tabs));
        for (const std::string& row : m_rows)
            plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        return TRUE;
    }
    // The contract list sits over its frame.
    RECT r{};
    if (HWND frame = plat::GetDlgItem(m_hWnd, IDC_MRK_CONTRACTS)) {
        plat::GetWindowRect(frame, &r);
        POINT tl{r.left, r.top}, br{r.right, r.bottom};
        plat::ScreenToClient(m_hWnd, &tl);
        plat::ScreenToClient(m_hWnd, &br);
        r = RECT{tl.x, tl.y, br.x, br.y};
    }
    m_list.Create(IDC_MRK_CONTRACTS + 100, this, r.left, r.top, r.right, r.bottom);
    // One stop a header: ID, Prod., Name, Start, Stop, Type, Supply, Qty., Price.
    const int32_t tabs[] = {2, 42, 92, 162, 232, 302, 382, 462, 522};
    m_list.SetTabStops(static_cast<int>(std::size(tabs)), tabs);
    for (const std::string& row : m_rows)
        m_list.AddRow(row.c_str(), 0);
    m_tabbed = true;
    return TRUE;
}

int CMarketListDlg::row_count() const
{
    if (m_tabbed)
        return m_list.GetRowCount();
    return static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_SHIPMENTS, LB_GETCOUNT, 0, 0));
}

BOOL CMarketListDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == HELP_ID) {
        help(m_hWnd, m_help);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

// ---- Edit Product Parameters --------------------------------------------------

CProductParametersDlg::CProductParametersDlg(const CMarketingWnd& m, CWnd* parent)
    : CSimDialog(IDD_MRK_PRODUCT_PARAMETERS, current_dialog_registry(), parent),
      m_market(m),
      m_toOrder(m.link_mode() == LINK_MAKE_TO_ORDER)
{
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p)
            if (!product_waiting(m, f, p)) {
                products.emplace_back(f, p);
                if (m.export_line_active(f, p))
                    export_lines.emplace_back(f, p);
            }
}

BOOL CProductParametersDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    const std::vector<const char*> columns =
        m_toOrder ? std::vector<const char*>{"Quoted Lead Time", "Price", "Safety Stock", "Red Line Time"}
                  : std::vector<const char*>{"Quoted Lead Time", "Price", "Max Level", "Order Level", "Red Line Level"};
    for (const char* c : columns)
        m_grid.AddColumn(lang_translate(c), ES_RIGHT);
    const size_t rows = std::min(products.size(), static_cast<size_t>(CGrid::MAX_ROWS));
    for (size_t i = 0; i < rows; ++i)
        m_grid.AddRow(code_of(m_market, products[i].first, products[i].second).c_str());
    m_grid.SetColumnWidth(static_cast<int>((client.right - 20 - 50) / static_cast<long>(columns.size())));
    m_grid.Create(GRID_ID, this, 10, 10, client.right - 10, 10 + static_cast<int>(rows) * 22 + 30, 0);
    for (size_t i = 0; i < rows; ++i) {
        const MarketProduct& pr = m_market.product(products[i].first, products[i].second);
        const std::vector<int> v =
            m_toOrder ? std::vector<int>{pr.qlt, pr.price, pr.safety_stock, pr.red_line_time}
                      : std::vector<int>{pr.qlt, pr.price, pr.max_level, pr.order_level, pr.red_level};
        for (size_t c = 0; c < v.size(); ++c)
            m_grid.SetCellText(static_cast<int>(i), static_cast<int>(c), format("%d", v[c]).c_str());
    }
    products.resize(rows);
    if (!export_lines.empty()) {
        for (const char* c : {"Quoted Lead Time", "Price", "Max Level", "Order Level", "Red Line Level"})
            m_exportGrid.AddColumn(lang_translate(c), ES_RIGHT);
        export_lines.resize(std::min(export_lines.size(), static_cast<size_t>(CGrid::MAX_ROWS)));
        for (const auto& [f, p] : export_lines)
            m_exportGrid.AddRow((code_of(m_market, f, p) + "-" + m_market.product(f, p).exp->name).c_str());
        m_exportGrid.SetHeaderWidth(90);
        m_exportGrid.SetColumnWidth(static_cast<int>((client.right - 20 - 90) / 5));
        const int top = 10 + static_cast<int>(rows) * 22 + 30 + 10;
        m_exportGrid.Create(GRID_ID + 1, this, 10, top, client.right - 10,
                            top + static_cast<int>(export_lines.size()) * 22 + 30, 0);
        for (size_t i = 0; i < export_lines.size(); ++i) {
            const ExportLine& e = *m_market.product(export_lines[i].first, export_lines[i].second).exp;
            const int v[5] = {e.qlt, e.price, e.max_level, e.order_level, e.red_level};
            for (int c = 0; c < 5; ++c)
                m_exportGrid.SetCellText(static_cast<int>(i), c, format("%d", v[c]).c_str());
        }
    }
    return TRUE;
}

BOOL CProductParametersDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == HELP_ID) {
        help(m_hWnd, 113);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

// Every cell holds 0 to 32000: a quoted lead time of 65535 days would walk
// the calendar for ever, and the stock levels are 16-bit counters.
bool CProductParametersDlg::read(const CGrid& grid, size_t rows, std::vector<std::vector<int>>& out)
{
    out.assign(rows, {});
    for (size_t r = 0; r < rows; ++r)
        for (int c = 0; c < grid.GetColumnCount(); ++c) {
            const std::string text = grid.GetCellText(static_cast<int>(r), c);
            char* end = nullptr;
            const long v = std::strtol(text.c_str(), &end, 10);
            if (end == text.c_str() || v < 0 || v > MAX_VALUE) {
                lang_message_box(m_hWnd, c == 1 ? "Maximum price is $32000!" : "Values must be between 0 and 32000!",
                                 "Edit Product Parameters", MB_OK);
                return false;
            }
            out[r].push_back(static_cast<int>(v));
        }
    return true;
}

void CProductParametersDlg::OnOK()
{
    std::vector<std::vector<int>> product_cells, line_cells;
    if (!read(m_grid, products.size(), product_cells) || !read(m_exportGrid, export_lines.size(), line_cells))
        return;
    values = std::move(product_cells);
    export_values = std::move(line_cells);
    EndDialog(IDOK);
}

void CProductParametersDlg::OnPaint()
{
    paint_grids(m_hWnd, {&m_grid, export_lines.empty() ? nullptr : &m_exportGrid});
}

// ---- Advertising --------------------------------------------------------------

CAdvertisingDlg::CAdvertisingDlg(const CMarketingWnd& m, CWnd* parent)
    : CSimDialog(IDD_MRK_ADVERTISING, current_dialog_registry(), parent), m_market(m)
{
}

BOOL CAdvertisingDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const HWND list = plat::GetDlgItem(m_hWnd, IDC_MRK_CAMPAIGNS);
    for (const AdvertisingCampaign& c : m_market.campaigns)
        plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.name.c_str()));
    plat::SendMessage(list, LB_SETCURSEL, 0, 0);
    plat::SetDlgItemText(m_hWnd, IDC_MRK_PERIOD, "1");
    fill_levels();
    return TRUE;
}

void CAdvertisingDlg::fill_levels()
{
    const int chosen = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_CAMPAIGNS, LB_GETCURSEL, 0, 0));
    const HWND combo = plat::GetDlgItem(m_hWnd, IDC_MRK_LEVELS);
    plat::SendMessage(combo, CB_RESETCONTENT, 0, 0);
    if (chosen < 0 || static_cast<size_t>(chosen) >= m_market.campaigns.size())
        return;
    const AdvertisingCampaign& c = m_market.campaigns[static_cast<size_t>(chosen)];
    for (int k = 1; k <= c.level_count && k <= MAX_CAMPAIGN_LEVELS; ++k)
        plat::SendMessage(combo, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(format("$%ld", static_cast<long>(k) * c.monthly_cost).c_str()));
    plat::SendMessage(combo, CB_SETCURSEL, 0, 0);
}

BOOL CAdvertisingDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MRK_CAMPAIGNS && HIWORD(wParam) == LBN_SELCHANGE) {
        fill_levels();
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CAdvertisingDlg::OnOK()
{
    const int chosen = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_CAMPAIGNS, LB_GETCURSEL, 0, 0));
    if (chosen < 0 || static_cast<size_t>(chosen) >= m_market.campaigns.size())
        return;
    char text[16] = {};
    plat::GetDlgItemText(m_hWnd, IDC_MRK_PERIOD, text, sizeof text);
    char* end = nullptr;
    const long period = std::strtol(text, &end, 10);
    if (end == text || period < 1 || period > 12) {
        lang_message_box(m_hWnd, "Please enter an integer between 1 and 12.", "Advertising", MB_OK);
        return;
    }
    const AdvertisingCampaign& c = m_market.campaigns[static_cast<size_t>(chosen)];
    if (not_available && not_available(chosen)) {
        lang_message_box(m_hWnd,
                         format(lang_translate("'%s' is a new product which is not available yet"), c.name.c_str())
                             .c_str(),
                         "Advertising", MB_OK);
        return;
    }
    if (c.active != 0 &&
        lang_message_box(m_hWnd,
                         "Changing the advertising campaign will cause:\n\n1. The expenses will be according to the "
                         "new value promptly.\n2. The new demand will take effect from this point on.\n\nAre you "
                         "sure you want to continue?",
                         "Advertising", MB_YESNO) != IDYES)
        return;
    campaign = chosen;
    level = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_LEVELS, CB_GETCURSEL, 0, 0)) + 1;
    months = static_cast<int>(period);
    EndDialog(IDOK);
}

// ---- Promotion ----------------------------------------------------------------

CPromotionDlg::CPromotionDlg(const CMarketingWnd& m, CWnd* parent, int next_month)
    : CSimDialog(IDD_MRK_PROMOTION, current_dialog_registry(), parent), m_market(m), m_nextMonth(next_month)
{
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p)
            if (!m.is_product_retired(f, p) && !product_waiting(m, f, p))
                m_products.emplace_back(f, p);
}

BOOL CPromotionDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const HWND list = plat::GetDlgItem(m_hWnd, IDC_MRK_PROMO_PRODUCTS);
    for (const auto& [f, p] : m_products)
        plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code_of(m_market, f, p).c_str()));
    plat::SendMessage(list, LB_SETCURSEL, 0, 0);
    plat::SetDlgItemText(m_hWnd, IDC_MRK_SALE_MONTH, lang_translate(month_name(m_nextMonth, 0)));
    fill_reductions();
    return TRUE;
}

void CPromotionDlg::fill_reductions()
{
    const int chosen =
        static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_PROMO_PRODUCTS, LB_GETCURSEL, 0, 0));
    const HWND combo = plat::GetDlgItem(m_hWnd, IDC_MRK_REDUCTIONS);
    plat::SendMessage(combo, CB_RESETCONTENT, 0, 0);
    if (chosen < 0 || static_cast<size_t>(chosen) >= m_products.size())
        return;
    const auto [f, p] = m_products[static_cast<size_t>(chosen)];
    for (int k = 1; k <= 5; ++k)
        plat::SendMessage(combo, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(format("%d ( %d%% )", m_market.get_discounted_price(f, p, k), 10 * k).c_str()));
    plat::SendMessage(combo, CB_SETCURSEL, 0, 0);
    plat::SetDlgItemText(m_hWnd, IDC_MRK_EXPENSES, format("%d", m_market.product(f, p).promotion_cost).c_str());
}

BOOL CPromotionDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MRK_PROMO_PRODUCTS && HIWORD(wParam) == LBN_SELCHANGE) {
        fill_reductions();
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CPromotionDlg::OnOK()
{
    const int chosen =
        static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_PROMO_PRODUCTS, LB_GETCURSEL, 0, 0));
    if (chosen < 0 || static_cast<size_t>(chosen) >= m_products.size())
        return;
    family = m_products[static_cast<size_t>(chosen)].first;
    product = m_products[static_cast<size_t>(chosen)].second;
    level = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_REDUCTIONS, CB_GETCURSEL, 0, 0)) + 1;
    if (level < 1 || level > 5)
        level = 1;
    EndDialog(IDOK);
}
