// Purchasing's policy dialogs: the material parameters and the ordering
// policy.
#include "app/view.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "prc_dialog_build.h"
#include "purchasing/purchasing_dialogs.h"
#include <algorithm>
#include <array>

using namespace plat;
using namespace prc_dlg;

namespace {

// A grid column: its title, its decision key and where the value lives.
struct ParameterColumn {
    const char* title;
    const char* key;
    int16_t& (*field)(CPurchasingWnd& p, int f, int m);
};

int16_t& max_level(CPurchasingWnd& p, int f, int m) { return p.material(f, m).max_level; }
int16_t& order_level(CPurchasingWnd& p, int f, int m) { return p.material(f, m).order_level; }
int16_t& red_line_level(CPurchasingWnd& p, int f, int m) { return p.material(f, m).red_line_level; }
int16_t& safety_stock(CPurchasingWnd& p, int f, int m)
{
    return p.safety_stock[static_cast<size_t>(f)][static_cast<size_t>(m)];
}
int16_t& red_line_time(CPurchasingWnd& p, int f, int m)
{
    return p.red_line_time[static_cast<size_t>(f)][static_cast<size_t>(m)];
}

constexpr std::array<ParameterColumn, 3> ORDER_LEVEL_COLUMNS = {{
    {"Max Level", "PrcMaxLevel", max_level},
    {"Order Level", "PrcOrdLevel", order_level},
    {"Red Line Level", "PrcRedLevel", red_line_level},
}};
constexpr std::array<ParameterColumn, 3> MRP_COLUMNS = {{
    {"Safety Stock", "PrcSafetyStock", safety_stock},
    {"Red Line Time", "PrcRedLineTime", red_line_time},
    {"Red Line Level", "PrcRedLevel", red_line_level},
}};

const std::array<ParameterColumn, 3>& columns_of(const CPurchasingWnd& p)
{
    return p.policy == POLICY_MRP ? MRP_COLUMNS : ORDER_LEVEL_COLUMNS;
}

} // namespace

// ---- Edit Material Parameters ------------------------------------------------

CMaterialParametersDlg::CMaterialParametersDlg(CPurchasingWnd& p, CWnd* parent)
    : CPrcDialog(IDD_PRC_MATERIAL_PARAMETERS, HELP_MATERIAL_PARAMETERS, parent),
      m_p(p),
      m_grid(std::make_unique<CGrid>())
{
    for (int f = 0; f < p.family_count(); ++f)
        for (int m = 0; m < p.material_count(f); ++m)
            if (m_materials.size() < static_cast<size_t>(CGrid::MAX_ROWS))
                m_materials.emplace_back(f, m);
}

CMaterialParametersDlg::~CMaterialParametersDlg() = default;

BOOL CMaterialParametersDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    CGrid& g = *m_grid;
    for (const ParameterColumn& c : columns_of(m_p))
        g.AddColumn(lang_translate(c.title), SS_RIGHT);
    for (const auto& [f, m] : m_materials)
        g.AddRow(m_p.material_code(f, m).c_str());
    g.SetHeaderWidth(60);
    const int bottom = grid_bottom(static_cast<int>(m_materials.size()));
    g.Create(IDC_PARAMETERS_GRID, this, 10, 10, 430, bottom, 0);
    // The buttons stand for a grid of every material there can be.
    shorten_below(m_hWnd, 296, grid_bottom(MAX_RM_FAMILYS * MAX_MATERIALS) - bottom, {IDOK, IDCANCEL, IDC_PRC_DIALOG_HELP});
    for (size_t r = 0; r < m_materials.size(); ++r)
        for (size_t c = 0; c < columns_of(m_p).size(); ++c) {
            const auto [f, m] = m_materials[r];
            g.SetCellInt(static_cast<int>(r), static_cast<int>(c), columns_of(m_p)[c].field(m_p, f, m));
        }
    if (m_p.view().management_feature == 0 && !m_materials.empty()) {
        g.BeginEdit(0, 0);
        return FALSE;   // the editor has the focus
    }
    return TRUE;
}

void CMaterialParametersDlg::OnLButtonDown(UINT, POINT pt) { m_grid->OnLButtonDown(pt); }

void CMaterialParametersDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = plat::BeginPaint(m_hWnd, &ps);
    m_grid->Draw(dc);
    plat::EndPaint(m_hWnd, &ps);
}

void CMaterialParametersDlg::OnOK()
{
    CGrid& g = *m_grid;
    g.EndEdit();
    const auto& columns = columns_of(m_p);
    std::vector<std::array<int16_t, 3>> values(m_materials.size());
    // Every cell first: a figure past 16 bits or below 0 is no level, and
    // nothing is stored until all are good.
    for (size_t r = 0; r < m_materials.size(); ++r)
        for (size_t c = 0; c < columns.size(); ++c) {
            int16_t v = 0;
            if (!g.GetCellInt(static_cast<int>(r), static_cast<int>(c), &v) || v < 0) {
                box(m_hWnd, "Invalid value!", "Edit Material Parameters");
                g.BeginEdit(static_cast<int>(r), static_cast<int>(c));
                return;
            }
            values[r][c] = v;
        }
    for (size_t r = 0; r < m_materials.size(); ++r)
        for (size_t c = 0; c < columns.size(); ++c) {
            const auto [f, m] = m_materials[r];
            int16_t& field = columns[c].field(m_p, f, m);
            if (field == values[r][c])
                continue;
            m_p.log(columns[c].key, m_p.material_code(f, m), format("%d", field), format("%d", values[r][c]));
            field = values[r][c];
        }
    EndDialog(IDOK);
}

// ---- Purchasing Policy ---------------------------------------------------------

CPurchasingPolicyDlg::CPurchasingPolicyDlg(CPurchasingWnd& p, int release_policy, CWnd* parent)
    : CPrcDialog(IDD_PRC_POLICY, HELP_POLICY, parent), m_p(p), m_release(release_policy)
{
}

BOOL CPurchasingPolicyDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    plat::CheckRadioButton(m_hWnd, IDC_POLICY_STOCK, IDC_POLICY_MRP,
                     m_p.policy == POLICY_MRP ? IDC_POLICY_MRP : IDC_POLICY_STOCK);
    plat::CheckDlgButton(m_hWnd, IDC_POLICY_QLT, m_p.according_to_qlt != 0 ? BST_CHECKED : BST_UNCHECKED);
    plat::SetDlgItemText(m_hWnd, IDC_POLICY_DAYS, format("%d", m_p.days_before_qlt).c_str());
    plat::SetDlgItemText(m_hWnd, IDC_POLICY_MINIMUM, format("%d", m_p.minimum_to_order).c_str());
    show_parameters();
    return TRUE;
}

void CPurchasingPolicyDlg::show_parameters()
{
    const bool mrp = plat::IsDlgButtonChecked(m_hWnd, IDC_POLICY_MRP) == BST_CHECKED;
    for (int id : {IDC_POLICY_PARAMETERS, IDC_POLICY_QLT, IDC_POLICY_DAYS_LABEL, IDC_POLICY_DAYS,
                   IDC_POLICY_MINIMUM_LABEL, IDC_POLICY_MINIMUM})
        plat::ShowWindow(plat::GetDlgItem(m_hWnd, id), mrp ? SW_SHOW : SW_HIDE);
    plat::EnableWindow(plat::GetDlgItem(m_hWnd, IDC_POLICY_DAYS), plat::IsDlgButtonChecked(m_hWnd, IDC_POLICY_QLT) != BST_CHECKED);
}

BOOL CPurchasingPolicyDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == IDC_POLICY_STOCK || id == IDC_POLICY_MRP || id == IDC_POLICY_QLT) {
        show_parameters();
        return TRUE;
    }
    return CPrcDialog::OnCommand(wParam, lParam);
}

void CPurchasingPolicyDlg::OnOK()
{
    const bool mrp = plat::IsDlgButtonChecked(m_hWnd, IDC_POLICY_MRP) == BST_CHECKED;
    if (mrp && m_release != 1) {
        box(m_hWnd,
            "You must set the 'Raw Material Release' in production\nto MRP before settings MRP in purchasing",
            "Purchasing Policy");
        return;
    }
    int16_t days = m_p.days_before_qlt, minimum = m_p.minimum_to_order, qlt = m_p.according_to_qlt;
    if (mrp) {
        // Days and units are 16-bit and never negative.
        for (int id : {IDC_POLICY_DAYS, IDC_POLICY_MINIMUM}) {
            const std::optional<long> v = read_number(item_text(m_hWnd, id), 0, 32767);
            if (!v) {
                box(m_hWnd, "Invalid value!", "Purchasing Policy");
                plat::SetFocus(plat::GetDlgItem(m_hWnd, id));
                return;
            }
            (id == IDC_POLICY_DAYS ? days : minimum) = static_cast<int16_t>(*v);
        }
        qlt = plat::IsDlgButtonChecked(m_hWnd, IDC_POLICY_QLT) == BST_CHECKED ? 1 : 0;
    }
    const int16_t old_policy = m_p.policy, policy = mrp ? POLICY_MRP : POLICY_ORDER_LEVEL;
    const bool changed = policy != old_policy || days != m_p.days_before_qlt || minimum != m_p.minimum_to_order ||
                         qlt != m_p.according_to_qlt;
    if (policy == POLICY_MRP && old_policy != POLICY_MRP)
        for (int f = 0; f < m_p.family_count(); ++f)
            for (int m = 0; m < m_p.material_count(f); ++m) {
                m_p.safety_stock[static_cast<size_t>(f)][static_cast<size_t>(m)] = 0;
                m_p.material(f, m).red_line_level = 0;
            }
    m_p.policy = policy;
    m_p.days_before_qlt = days;
    m_p.minimum_to_order = minimum;
    m_p.according_to_qlt = qlt;
    if (changed)
        m_p.log("PrcPolicy", "", format("%d", old_policy), format("%d,%d,%d,%d", policy, qlt, days, minimum));
    EndDialog(IDOK);
}
