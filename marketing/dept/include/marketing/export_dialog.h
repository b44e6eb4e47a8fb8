// Add Export Line: the scenario's export lines, the chosen one's figures, and
// the request that opens it.
#pragma once
#include "foundation/simdate.h"
#include "uikit/sim_dialog.h"
#include <functional>
#include <utility>
#include <vector>

class CMarketingWnd;

inline constexpr int IDD_MRK_ADD_EXPORT_LINE = 219;
inline constexpr int IDC_MRK_EXPORT_LINES = 1266;
inline constexpr int IDC_MRK_EXPORT_START = 1263;
inline constexpr int IDC_MRK_EXPORT_SALES = 1243;
inline constexpr int IDC_MRK_EXPORT_QLT = 1122;
inline constexpr int IDC_MRK_EXPORT_PRICE = 1123;
inline constexpr int IDC_MRK_EXPORT_TRANSPORT = 1265;
inline constexpr int IDC_MRK_EXPORT_INITIAL = 1244;
inline constexpr int IDC_MRK_EXPORT_PER_SHIPMENT = 1037;
inline constexpr int IDC_MRK_EXPORT_PER_UNIT = 1039;
inline constexpr int IDC_MRK_EXPORT_MONTHLY = 1245;
inline constexpr int IDC_MRK_EXPORT_INFO = 1264;
inline constexpr int IDC_MRK_EXPORT_ADD = 3;

void register_export_dialog_template();

class CAddExportLineDlg : public CSimDialog {
public:
    CAddExportLineDlg(const CMarketingWnd& m, plat::CWnd* parent, int date_order);
    const char* GetRuntimeClassName() const override { return "CAddExportLineDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

    // Opens the line (family, product) from the start date shown; false:
    // refused, nothing changed.
    std::function<bool(int family, int product, const SimDateTime& start)> add;

private:
    void show();
    void add_selected();
    const CMarketingWnd& m_market;
    int m_dateOrder;
    std::vector<std::pair<int, int>> m_lines;
    SimDateTime m_start{};
};
