// The forecast range and sales summary graph dialogs, and their templates.
#include "appdialogs/app_dialogs.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "uikit/uikit.h"
#include <iterator>

using namespace plat;

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr DWORD DLG = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

const DlgItemTemplate kForecastRangeItems[] = {
    {"STATIC", 1000, "Range:", CHILD, 0, 16, 18, 60, 20},
    {"EDIT", 1090, "", CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 80, 16, 70, 22},
    {"BUTTON", 1091, "&Days", CHILD | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 170, 10, 90, 20},
    {"BUTTON", 1092, "&Months", CHILD | BS_AUTORADIOBUTTON, 0, 170, 32, 90, 20},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 40, 68, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 150, 68, 80, 24},
};

// 1221 only marks where the graph goes; the face is drawn by the dialog.
const DlgItemTemplate kSalesSummaryItems[] = {
    {"STATIC", 1247, "Show:", CHILD, 0, 12, 14, 50, 20},
    {"COMBOBOX", 1246, "", CHILD | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 64, 10, 280, 200},
    {"STATIC", 1221, "", WS_CHILD, 0, 70, 50, 450, 290},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 470, 382, 75, 23},
    {"BUTTON", CGraphDialog::HELP_BUTTON_ID, "Help", CHILD | WS_TABSTOP, 0, 555, 382, 75, 23},
};

const DlgTemplate kTemplates[] = {
    {IDD_FORECAST_RANGE, "Get Forecast Range", DLG | DS_CENTER, 0, 0, 280, 104, nullptr, 0, kForecastRangeItems},
    {IDD_SALES_SUMMARY_GRAPH, "Sales Summary Graph", DLG | DS_CENTER, 0, 0, 640, 414, nullptr, 8,
     kSalesSummaryItems},
};

} // namespace

void register_app_dialog_templates(HINSTANCE module)
{
    RegisterDialogTemplates(module, kTemplates);
}

// ---- Get Forecast Range -------------------------------------------------------

CForecastRangeDlg::CForecastRangeDlg(CWnd* parent)
    : CSimDialog(IDD_FORECAST_RANGE, current_dialog_registry(), parent)
{
}

BOOL CForecastRangeDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    plat::CheckRadioButton(m_hWnd, 1091, 1092, 1092);
    return TRUE;
}

void CForecastRangeDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, 1090, range);
    DDV_MinMaxInt(dx, range, 0, MAX_RANGE);
}

void CForecastRangeDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (range <= 0) {
        lang_message_box(m_hWnd, "Invalid range", "Forecast Range", MB_OK);
        return;
    }
    const bool months = plat::IsDlgButtonChecked(m_hWnd, 1092) == BST_CHECKED;
    EndDialog(months ? range * work_days_per_month() : range);
}

void CForecastRangeDlg::OnCancel()
{
    EndDialog(0);
}

// ---- Sales Summary Graph ------------------------------------------------------

CSalesSummaryGraphDlg::CSalesSummaryGraphDlg(CWnd* parent) : CMonthGraphDialog(IDD_SALES_SUMMARY_GRAPH, parent)
{
    SetTitle("Sales Summary Graph");
}

bool CSalesSummaryGraphDlg::DefineSeries(int set, int series, const char* title, const float* data, COLORREF line,
                                         COLORREF marker)
{
    if (set < 0 || set >= MAX_SETS || series < 0 || series >= MAX_SET_SERIES) {
        uikit_debug_log("sales summary graph: set %d series %d refused", set, series);
        return false;
    }
    Set& s = m_sets[static_cast<size_t>(set)];
    s.title = lang_translate(title != nullptr ? title : "");
    if (s.title.size() > TITLE_MAX)
        s.title.resize(TITLE_MAX);
    s.series[static_cast<size_t>(series)] = Series{data, line, marker};
    s.count = series + 1;
    m_setCount = set + 1;
    return true;
}

void CSalesSummaryGraphDlg::ShowSet(int set)
{
    m_seriesCount = 0;
    m_shownSet = set;
    if (set >= 0 && set < m_setCount) {
        const Set& s = m_sets[static_cast<size_t>(set)];
        for (int j = 0; j < s.count; ++j) {
            const Series& one = s.series[static_cast<size_t>(j)];
            if (one.data == nullptr)
                continue;
            AddMonthSeries(one.data, FALSE, one.line, 2, 0);
            AddMonthSeries(one.data, TRUE, one.marker, 2, 1);
        }
    }
    if (m_hWnd != 0)
        plat::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CSalesSummaryGraphDlg::OnInitDialog()
{
    CMonthGraphDialog::OnInitDialog();
    plat::SetDlgItemText(m_hWnd, 1247, lang_translate(m_selectorLabel.c_str()));
    if (HWND area = plat::GetDlgItem(m_hWnd, 1221)) {
        RECT r{};
        plat::GetWindowRect(area, &r);
        POINT tl{r.left, r.top}, br{r.right, r.bottom};
        plat::ScreenToClient(m_hWnd, &tl);
        plat::ScreenToClient(m_hWnd, &br);
        SetPlotRect(RECT{tl.x, tl.y, br.x, br.y});
    }
    for (int i = 0; i < m_setCount; ++i)
        plat::SendDlgItemMessage(m_hWnd, 1246, CB_ADDSTRING, 0,
                                 reinterpret_cast<LPARAM>(m_sets[static_cast<size_t>(i)].title.c_str()));
    plat::SendDlgItemMessage(m_hWnd, 1246, CB_SETCURSEL, 0, 0);
    ShowSet(0);
    return TRUE;
}

BOOL CSalesSummaryGraphDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == 1246 && HIWORD(wParam) == CBN_SELCHANGE) {
        ShowSet(static_cast<int>(plat::SendDlgItemMessage(m_hWnd, 1246, CB_GETCURSEL, 0, 0)));
        return TRUE;
    }
    return CMonthGraphDialog::OnCommand(wParam, lParam);
}

void CSalesSummaryGraphDlg::OnPaint()
{
    const int chosen = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, 1246, CB_GETCURSEL, 0, 0));
    if (chosen >= 0 && chosen != m_shownSet)
        ShowSet(chosen);
    CMonthGraphDialog::OnPaint();
}
