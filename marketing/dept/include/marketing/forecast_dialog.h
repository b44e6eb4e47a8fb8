// Marketing Forecast: per product its finished goods, work in process, firm
// demand and forecast over the department's forecast range, with a check
// box per held contract that takes its units in or out of the firm demand.
#pragma once
#include "uikit/grid.h"
#include "uikit/sim_dialog.h"
#include <cstdint>
#include <functional>
#include <vector>

class CMarketingWnd;
class MarketHost;

inline constexpr int IDD_MRK_FORECAST = 128;
inline constexpr int IDC_MRK_FORECAST_TABLE = 1222;
inline constexpr int IDC_MRK_HELD_FIRST = 2000;

struct ForecastRow {
    int family = 0, product = 0;
    int fg = 0, wip = 0, firm = 0, forecast = 0;
};

// The table over `days` working days from today: the included held
// contracts (by number) and every active contract, the open orders and, in
// job-shop mode, the orders waiting; the forecast is the expected orders.
std::vector<ForecastRow> forecast_rows(const CMarketingWnd& m, const MarketHost& host, int days,
                                       const std::vector<uint16_t>& included_held, bool job_shop,
                                       const std::function<int(int family, int product)>& wip);

void register_forecast_dialog_template();

class CMarketingForecastDlg : public CSimDialog {
public:
    using Compute = std::function<std::vector<ForecastRow>(const std::vector<uint16_t>& included_held)>;
    CMarketingForecastDlg(const CMarketingWnd& m, plat::CWnd* parent, std::vector<uint16_t> held, Compute compute);
    const char* GetRuntimeClassName() const override { return "CMarketingForecastDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    const CGrid& grid() const { return m_grid; }
    // The held contracts whose boxes are ticked.
    std::vector<uint16_t> included() const;

private:
    void fill();
    const CMarketingWnd& m_market;
    std::vector<uint16_t> m_held;
    Compute m_compute;
    CGrid m_grid;
};
