// The view's information and shortcut dialogs: General Information,
// Intermission, Policy Decisions, Set Machine Work Percent, Guided Runs and
// the modeless Red Warnings window.
#include "appgui/vorn_gui.h"
#include "foundation/datafile.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/utils.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "uikit/uikit.h"
#include <cmath>
#include <cstdio>
#include <filesystem>

using namespace plat;

namespace {

std::string grouped(int32_t value)
{
    std::string text = std::to_string(value);
    insert_thousands_separators(text);
    return text;
}

class CGeneralInformationDlg : public CSimDialog {
public:
    CGeneralInformationDlg(CVornWindow* view, CVornView* session)
        : CSimDialog(IDD_GENERAL_INFORMATION, view, view), m_session(session)
    {
    }
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        CDepartmentWnd* finance = m_session != nullptr ? m_session->finance : nullptr;
        CDepartmentWnd* marketing = m_session != nullptr ? m_session->marketing : nullptr;
        if (finance != nullptr) {
            plat::SetDlgItemText(m_hWnd, 1087, grouped(finance->bank_credit_line()).c_str());
            set_int_text(plat::GetDlgItem(m_hWnd, 1088), finance->client_credit_days());
            set_int_text(plat::GetDlgItem(m_hWnd, 1089), finance->supplier_credit_days());
            plat::SetDlgItemText(m_hWnd, 1091, grouped(finance->building_value()).c_str());
            plat::SetDlgItemText(m_hWnd, 1092, grouped(finance->machine_value()).c_str());
        }
        if (marketing != nullptr)
            set_float_text(plat::GetDlgItem(m_hWnd, 1093), marketing->smoothing_factor());
        return TRUE;
    }

private:
    CVornView* m_session;
};

class CIntermissionDlg : public CSimDialog {
public:
    explicit CIntermissionDlg(CVornWindow* view) : CSimDialog(IDD_INTERMISSION, view, view) {}
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        m_big = create_font(uikit_dialog_face(), 18, true, true, false, false);
        plat::SendDlgItemMessage(m_hWnd, 1209, WM_SETFONT, static_cast<WPARAM>(m_big), TRUE);
        // Nothing with the focus that a key could press.
        plat::SetFocus(m_hWnd);
        return FALSE;
    }
    // Enter and Esc reach the dialog as OK and Cancel: both ignored.
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == 1210 && HIWORD(wParam) == BN_CLICKED) {
            EndDialog(IDOK);
            return TRUE;
        }
        return CSimDialog::OnCommand(wParam, lParam);
    }
    BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        // A session that closes, or the tutorial, still closes it.
        if (msg == WM_CLOSE) {
            EndDialog(IDCANCEL);
            result = 0;
            return TRUE;
        }
        if (msg == WM_KEYDOWN || msg == WM_CHAR) {
            result = 0;
            return TRUE;
        }
        return CSimDialog::OnMessage(msg, wParam, lParam, result);
    }
    void OnDestroy() override
    {
        if (m_big != 0)
            DeleteObject(m_big);
        m_big = 0;
        CSimDialog::OnDestroy();
    }

private:
    HFONT m_big = 0;
};

struct PolicyButton {
    int id;
    int department;  // the view's command of the department
    const char* entry;
    PolicyDialog dialog;
};
constexpr PolicyButton kPolicyButtons[] = {
    {1260, ID_MARKETING, "&Product parameters", POLICY_PRODUCT_PARAMETERS},
    {1124, ID_PRODUCTION, "&Machine policy", POLICY_MACHINE},
    {1125, ID_PRODUCTION, "&Work order planning", POLICY_WORK_ORDER_PLANNING},
    {1126, ID_PRODUCTION, "Red &level policy", POLICY_RED_LEVEL},
    {1127, ID_PURCHASING, "&Material parameters", POLICY_MATERIAL_PARAMETERS},
};

class CPolicyDecisionsDlg : public CSimDialog {
public:
    CPolicyDecisionsDlg(CVornWindow* view, CVornView* session)
        : CSimDialog(IDD_POLICY_DECISIONS, view, view), m_session(session)
    {
    }
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        for (const PolicyButton& b : kPolicyButtons) {
            const bool has = m_session != nullptr && m_session->DepartmentHasMenuText(b.department, 4, b.entry);
            plat::EnableWindow(plat::GetDlgItem(m_hWnd, b.id), has ? TRUE : FALSE);
        }
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == BN_CLICKED && m_session != nullptr)
            for (const PolicyButton& b : kPolicyButtons)
                if (b.id == LOWORD(wParam)) {
                    if (CDepartmentWnd* d = m_session->department_by_command(b.department))
                        d->edit_policy(b.dialog);
                    return TRUE;
                }
        return CSimDialog::OnCommand(wParam, lParam);
    }

private:
    CVornView* m_session;
};

class CMachineWorkPercentDlg : public CSimDialog {
public:
    CMachineWorkPercentDlg(CVornWindow* view, float percent, float utilization)
        : CSimDialog(IDD_MACHINE_WORK_PERCENT, view, view), percent(percent), m_utilization(utilization)
    {
    }
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        set_float_text(plat::GetDlgItem(m_hWnd, 1294), percent);
        set_float_text(plat::GetDlgItem(m_hWnd, 1295), m_utilization);
        return TRUE;
    }
    void OnOK() override
    {
        // Read as the C runtime's atof would, whatever the locale: the
        // leading number, 0 when there is none.
        char text[64] = {};
        plat::GetDlgItemText(m_hWnd, 1294, text, sizeof text);
        const double typed = parse_double(text);
        // Marketing's unit costs divide by it: only a number above 0 is taken.
        if (!std::isfinite(typed) || typed <= 0 || typed > 3.0e38) {
            lang_message_box(m_hWnd, "The machine work percent must be a number above 0",
                             "Set Machine Work Percent", plat::MB_OK | plat::MB_ICONINFORMATION);
            return;
        }
        percent = static_cast<float>(typed);
        CSimDialog::OnOK();
    }
    float percent;

private:
    float m_utilization;
};

class CGuidedRunsDlg : public CSimDialog {
public:
    CGuidedRunsDlg(CWnd* parent, std::vector<std::string> names)
        : CSimDialog(IDD_GUIDED_RUNS, current_dialog_registry(), parent), m_names(std::move(names))
    {
    }
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        for (const std::string& n : m_names)
            plat::SendDlgItemMessage(m_hWnd, 1281, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
        if (m_names.empty())
            plat::EnableWindow(plat::GetDlgItem(m_hWnd, IDOK), FALSE);
        else
            plat::SendDlgItemMessage(m_hWnd, 1281, LB_SETCURSEL, 0, 0);
        return TRUE;
    }
    void OnOK() override
    {
        const intptr_t i = plat::SendDlgItemMessage(m_hWnd, 1281, LB_GETCURSEL, 0, 0);
        if (i < 0 || i >= static_cast<intptr_t>(m_names.size()))
            return;
        chosen = m_names[static_cast<size_t>(i)] + ".cmd";
        CSimDialog::OnOK();
    }
    std::string chosen;

private:
    std::vector<std::string> m_names;
};

} // namespace

// ---- Red Warnings ---------------------------------------------------------------

CRedWarningsDlg::CRedWarningsDlg(CWnd* parent) : CModelessDialog(IDD_RED_WARNINGS, parent) {}

BOOL CRedWarningsDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == CLOSE_ID && HIWORD(wParam) == BN_CLICKED) {
        ShowWindow(SW_HIDE);
        return TRUE;
    }
    return CModelessDialog::OnCommand(wParam, lParam);
}

void CVornWindow::show_red_warnings(bool shown)
{
    if (shown) {
        if (!m_redWarnings)
            m_redWarnings = ModelessPtr<CRedWarningsDlg>(new CRedWarningsDlg(this));
        if (CRedWarningsDlg* d = m_redWarnings.get())
            d->ShowWindow(SW_SHOW);
    } else {
        if (CRedWarningsDlg* d = m_redWarnings.get())
            d->DestroyWindow();
        m_redWarnings = {};
    }
}

// ---- the modal dialogs ---------------------------------------------------------------

void general_information_dialog(CVornWindow* view)
{
    CGeneralInformationDlg dlg(view, view != nullptr ? view->session() : nullptr);
    dlg.DoModal();
}

void intermission_dialog(CVornWindow* view)
{
    CIntermissionDlg dlg(view);
    dlg.DoModal();
}

void policy_decisions_dialog(CVornWindow* view)
{
    CPolicyDecisionsDlg dlg(view, view != nullptr ? view->session() : nullptr);
    dlg.DoModal();
}

bool machine_work_percent_dialog(CVornWindow* view)
{
    CVornView* v = view != nullptr ? view->session() : nullptr;
    if (v == nullptr)
        return false;
    const float percent = v->finance != nullptr ? v->finance->machine_work_percent() : 0.0f;
    const float utilization = v->production != nullptr ? v->production->utilization_factor() : 0.0f;
    CMachineWorkPercentDlg dlg(view, percent, utilization);
    if (dlg.DoModal() != IDOK || view->session() != v)
        return false;
    if (v->finance != nullptr)
        v->finance->set_machine_work_percent(dlg.percent);
    return true;
}

std::optional<std::string> guided_runs_dialog(HWND parent, const std::string& folder)
{
    std::vector<std::string> names;
    for (int n = 1; n <= 10; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "Guide%d", n);
        const std::string file = (folder.empty() ? std::string(".") : folder) + "/" + name + ".cmd";
        const std::string path = ResolvePath(file.c_str());
        std::error_code ec;
        if (!path.empty() && std::filesystem::is_regular_file(path, ec))
            names.emplace_back(name);
    }
    CGuidedRunsDlg dlg(CWnd::FromHandle(parent), std::move(names));
    if (dlg.DoModal() != IDOK || dlg.chosen.empty())
        return std::nullopt;
    return dlg.chosen;
}
