// Add Export Line: the lines the scenario offers, the chosen line's start,
// sales, lead times and costs, and the request that opens it.
#include "marketing/export_dialog.h"
#include "dialog_build.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "marketing/marketing_wnd.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/uihost.h"
#include "plat/window.h"

using namespace plat;
using namespace mkt_dlg;

namespace {

const std::vector<DlgItemTemplate>& export_items()
{
    static const Items items = [] {
        Items b;
        b.add({"STATIC", 1501, "Export Line:", CHILD, 0, 12, 10, 120, 18});
        b.add({"LISTBOX", IDC_MRK_EXPORT_LINES, "", BUTTON | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 12, 30, 120, 200});
        const struct {
            int label_id;
            const char* label;
            int value_id;
        } rows[] = {
            {1502, "Start At:", IDC_MRK_EXPORT_START},
            {1503, "Estimated sales per year:", IDC_MRK_EXPORT_SALES},
            {1504, "Assumed QLT:", IDC_MRK_EXPORT_QLT},
            {1505, "Price:", IDC_MRK_EXPORT_PRICE},
            {1506, "Transport lead time:", IDC_MRK_EXPORT_TRANSPORT},
            {1507, "Initial expenses:", IDC_MRK_EXPORT_INITIAL},
            {1508, "Cost per shipment:", IDC_MRK_EXPORT_PER_SHIPMENT},
            {1509, "Cost per unit:", IDC_MRK_EXPORT_PER_UNIT},
            {1510, "Monthly expenses:", IDC_MRK_EXPORT_MONTHLY},
        };
        int y = 30;
        for (const auto& r : rows) {
            b.label_value(r.label_id, r.label, r.value_id, 146, y, 150, 150);
            y += 22;
        }
        b.add({"STATIC", IDC_MRK_EXPORT_INFO, "Information", CHILD, 0, 146, y + 4, 308, 18});
        b.buttons({{IDOK, "&Close"}, {IDC_MRK_EXPORT_ADD, "&Add"}}, 290, 242, 85, true);
        return b;
    }();
    return items.items();
}

const DlgTemplate& export_template()
{
    static const DlgTemplate t{IDD_MRK_ADD_EXPORT_LINE, "Add Export Line", DLG | DS_CENTER, 0, 0, 470, 276, nullptr, 0,
                               export_items()};
    return t;
}

std::string money_or_none(long amount)
{
    return amount != 0 ? format("$%ld", amount) : std::string(lang_translate("None"));
}

} // namespace

void register_export_dialog_template()
{
    const HINSTANCE module = AfxGetResourceHandle();
    if (FindDialogTemplate(module, IDD_MRK_ADD_EXPORT_LINE) == nullptr)
        RegisterDialogTemplates(module, std::span<const DlgTemplate>(&export_template(), 1));
}

CAddExportLineDlg::CAddExportLineDlg(const CMarketingWnd& m, CWnd* parent, int date_order)
    : CSimDialog(IDD_MRK_ADD_EXPORT_LINE, current_dialog_registry(), parent), m_market(m), m_dateOrder(date_order)
{
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p)
            if (m.product(f, p).exp && !m.is_product_retired(f, p))
                m_lines.emplace_back(f, p);
}

BOOL CAddExportLineDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const HWND list = plat::GetDlgItem(m_hWnd, IDC_MRK_EXPORT_LINES);
    for (const auto& [f, p] : m_lines) {
        const std::string row = code_of(m_market, f, p) + "-" + m_market.product(f, p).exp->name;
        plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    plat::SendMessage(list, LB_SETCURSEL, 0, 0);
    show();
    return TRUE;
}

void CAddExportLineDlg::show()
{
    const int row = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_EXPORT_LINES, LB_GETCURSEL, 0, 0));
    auto set = [&](int id, const std::string& s) { plat::SetDlgItemText(m_hWnd, id, s.c_str()); };
    const bool valid = row >= 0 && static_cast<size_t>(row) < m_lines.size();
    plat::EnableWindow(plat::GetDlgItem(m_hWnd, IDC_MRK_EXPORT_ADD), FALSE);
    if (!valid)
        return;
    const auto [f, p] = m_lines[static_cast<size_t>(row)];
    const ExportLine& e = *m_market.product(f, p).exp;
    if (e.state == EXPORT_ACTIVE) {
        set(IDC_MRK_EXPORT_START, lang_translate("Already active"));
    } else {
        // A requested line keeps the start it was requested for.
        m_start = e.state == EXPORT_NONE ? m_market.export_start_date(f, p) : e.start;
        set(IDC_MRK_EXPORT_START, date_text(m_start, m_dateOrder));
    }
    const long units = static_cast<long>(static_cast<double>(e.annual_orders) * e.order_size);
    set(IDC_MRK_EXPORT_SALES, format("$%ld (%d Un.)", units * static_cast<long>(e.price), static_cast<int>(units)));
    set(IDC_MRK_EXPORT_QLT, format("%d %s", e.qlt, lang_translate("Days")));
    set(IDC_MRK_EXPORT_PRICE, format("%d", e.price));
    set(IDC_MRK_EXPORT_TRANSPORT, format("%d %s", e.transit_days, lang_translate("Hours")));
    set(IDC_MRK_EXPORT_INITIAL, money_or_none(e.initial_expenses));
    set(IDC_MRK_EXPORT_PER_SHIPMENT, money_or_none(e.transfer_fixed_cost));
    set(IDC_MRK_EXPORT_PER_UNIT, money_or_none(e.transfer_unit_cost));
    set(IDC_MRK_EXPORT_MONTHLY, money_or_none(static_cast<long>(e.monthly_expenses)));
    // A line once requested is on its way: a second request would pay again.
    plat::EnableWindow(plat::GetDlgItem(m_hWnd, IDC_MRK_EXPORT_ADD), e.state == EXPORT_NONE ? TRUE : FALSE);
}

void CAddExportLineDlg::add_selected()
{
    const int row = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_MRK_EXPORT_LINES, LB_GETCURSEL, 0, 0));
    if (row < 0 || static_cast<size_t>(row) >= m_lines.size() || !add)
        return;
    const auto [f, p] = m_lines[static_cast<size_t>(row)];
    if (m_market.product(f, p).exp->state != EXPORT_NONE || !add(f, p, m_start))
        return;
    const std::string text = format(lang_translate("Export Line: '%c%c-%s' added successfully"),
                                    m_market.family_letter(f), m_market.product_letter(f, p),
                                    m_market.product(f, p).exp->name.c_str());
    lang_message_box(m_hWnd, text.c_str(), "Add ExportLine", MB_OK | MB_ICONINFORMATION);
    show();
}

BOOL CAddExportLineDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_MRK_EXPORT_LINES:
        if (HIWORD(wParam) == LBN_SELCHANGE)
            show();
        return TRUE;
    case IDC_MRK_EXPORT_ADD: add_selected(); return TRUE;
    default: break;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}
