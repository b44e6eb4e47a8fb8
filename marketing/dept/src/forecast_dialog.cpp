// Marketing Forecast: finished goods, work in process, firm demand and the
// forecast per product over the forecast range; the held contracts' boxes
// take their units in or out of the firm demand.
#include "marketing/forecast_dialog.h"
#include "dialog_build.h"
#include "foundation/lang.h"
#include "marketing/market_reports.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/gdi.h"
#include "plat/help.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <algorithm>

using namespace plat;
using namespace mkt_dlg;

namespace {

constexpr int GRID_ID = 12;
constexpr int HELP_ID = 9;
constexpr int HELD_X = 520;

const std::vector<DlgItemTemplate>& forecast_items()
{
    static const Items items = [] {
        Items b;
        b.add({"STATIC", IDC_MRK_FORECAST_TABLE, "Table", CHILD, 0, 12, 8, 200, 18});
        b.add({"STATIC", 1601, "Contracts in", CHILD, 0, HELD_X, 8, 100, 18});
        b.add({"STATIC", 1602, "hold ID's", CHILD, 0, HELD_X, 26, 100, 18});
        b.buttons({{IDCANCEL, "&Close"}, {HELP_ID, "&Help"}}, 330, 290, 90, true);
        return b;
    }();
    return items.items();
}

const DlgTemplate& forecast_template()
{
    static const DlgTemplate t{IDD_MRK_FORECAST, "Marketing Forecast", DLG | DS_CENTER, 0, 0, 620, 324, nullptr, 0,
                               forecast_items()};
    return t;
}

} // namespace

std::vector<ForecastRow> forecast_rows(const CMarketingWnd& m, const MarketHost& host, int days,
                                       const std::vector<uint16_t>& included_held, bool job_shop,
                                       const std::function<int(int, int)>& wip)
{
    std::vector<ForecastRow> rows;
    const SimDateTime today = host.today();
    const SimDateTime end = host.add_work_days(today, std::max(0, days - 1));
    auto within = [&](const SimDateTime& d) {
        return compare_dates(d, today) != 0 && compare_dates(d, end) != 2;
    };
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p) {
            if (product_waiting(m, f, p))
                continue;
            ForecastRow r;
            r.family = f;
            r.product = p;
            r.fg = m.get_inventory(f, p);
            r.wip = wip ? wip(f, p) : 0;
            // Active contracts and open orders in the range.
            long firm = m.get_contract_units_between(today, days, f, p, nullptr, false);
            for (uint16_t number : included_held) {
                uint16_t c = NO_INDEX, k = NO_INDEX;
                m.find_contract_by_number(number, c, k);
                if (c >= m.customers.size() || k >= m.customers[c].contracts.size() || m.is_contract_active(c, k))
                    continue;
                const CustomerContract& ct = m.customers[c].contracts[k];
                long dates = 0;
                for (const SimDateTime& d : ct.supply)
                    dates += within(d) ? 1 : 0;
                for (int i = 0; i < ct.item_count && i < MAX_CONTRACT_ITEMS_PER_CONTRACT; ++i)
                    if (ct.items[static_cast<size_t>(i)].family == f && ct.items[static_cast<size_t>(i)].product == p)
                        firm += dates * ct.items[static_cast<size_t>(i)].quantity;
            }
            if (job_shop)
                firm += m.get_jobshop_units(f, p);
            r.firm = static_cast<int>(std::clamp<long>(firm, 0, 2147483647));
            r.forecast = std::max<int>(0, m.get_expected_orders(f, p, days));
            rows.push_back(r);
        }
    return rows;
}

void register_forecast_dialog_template()
{
    const HINSTANCE module = AfxGetResourceHandle();
    if (FindDialogTemplate(module, IDD_MRK_FORECAST) == nullptr)
        RegisterDialogTemplates(module, std::span<const DlgTemplate>(&forecast_template(), 1));
}

CMarketingForecastDlg::CMarketingForecastDlg(const CMarketingWnd& m, CWnd* parent, std::vector<uint16_t> held,
                                             Compute compute)
    : CSimDialog(IDD_MRK_FORECAST, current_dialog_registry(), parent),
      m_market(m),
      m_held(std::move(held)),
      m_compute(std::move(compute))
{
}

BOOL CMarketingForecastDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    // One box a held contract, ticked: its units are in at first.
    for (size_t i = 0; i < m_held.size(); ++i) {
        const HWND box = CreateWindow("BUTTON", format("%d", m_held[i]).c_str(),
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, HELD_X,
                                      48 + static_cast<int>(i) * 20, 90, 18, m_hWnd,
                                      static_cast<HMENU>(IDC_MRK_HELD_FIRST + i), 0,
                                      nullptr);
        if (box != 0)
            plat::SendMessage(box, BM_SETCHECK, BST_CHECKED, 0);
    }
    const std::vector<ForecastRow> rows = m_compute ? m_compute(m_held) : std::vector<ForecastRow>{};
    for (const char* c : {"FG", "WIP", "Firm", "Forecast", "Firm+Forecast"})
        m_grid.AddColumn(lang_translate(c), ES_RIGHT | ES_READONLY);
    for (const ForecastRow& r : rows)
        m_grid.AddRow(code_of(m_market, r.family, r.product).c_str());
    // Under the "Table" label, as tall as its rows.
    RECT label{};
    plat::GetWindowRect(plat::GetDlgItem(m_hWnd, IDC_MRK_FORECAST_TABLE), &label);
    POINT below{label.left, label.bottom};
    plat::ScreenToClient(m_hWnd, &below);
    const int top = below.y + 4;
    m_grid.Create(GRID_ID, this, 10, top, HELD_X - 10, top + static_cast<int>(rows.size()) * 22 + 20, 0);
    fill();
    return TRUE;
}

std::vector<uint16_t> CMarketingForecastDlg::included() const
{
    std::vector<uint16_t> in;
    for (size_t i = 0; i < m_held.size(); ++i)
        if (plat::IsDlgButtonChecked(m_hWnd, static_cast<int>(IDC_MRK_HELD_FIRST + i)) == BST_CHECKED)
            in.push_back(m_held[i]);
    return in;
}

void CMarketingForecastDlg::fill()
{
    if (!m_compute)
        return;
    const std::vector<ForecastRow> rows = m_compute(included());
    for (size_t i = 0; i < rows.size() && static_cast<int>(i) < m_grid.GetRowCount(); ++i) {
        const ForecastRow& r = rows[i];
        const int row = static_cast<int>(i);
        for (const auto& [col, v] : {std::pair{0, r.fg}, {1, r.wip}, {2, r.firm}, {3, r.forecast}, {4, r.firm + r.forecast}})
            m_grid.SetCellText(row, col, format("%d", v).c_str());
    }
    plat::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CMarketingForecastDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id >= IDC_MRK_HELD_FIRST && id < IDC_MRK_HELD_FIRST + static_cast<int>(m_held.size())) {
        fill();
        return TRUE;
    }
    if (id == HELP_ID) {
        WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, 106);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CMarketingForecastDlg::OnPaint() { paint_grids(m_hWnd, {&m_grid}); }
