// CDialog over the dialog manager, and data exchange with its checks.
#include "plat/fw/dialog.h"
#include "plat/fw/app.h"
#include "plat/uihost.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plat {

void FrameworkSetPending(CWnd* w);

namespace {

intptr_t framework_dialog_proc(HWND hwnd, UINT msg, WPARAM, LPARAM)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    auto* d = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hwnd));
    return d ? d->OnInitDialog() : TRUE;
}

HWND owner_of(CWnd* parent)
{
    if (parent)
        return parent->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main ? main->m_hWnd : 0;
}

} // namespace

CDialog::CDialog(int templateId, CWnd* parent, HINSTANCE inst)
    : m_nIDTemplate(templateId), m_pParentWnd(parent), m_hInst(inst)
{
}

intptr_t CDialog::DoModal()
{
    const HINSTANCE inst = m_hInst ? m_hInst : AfxGetResourceHandle();
    const DlgTemplate* tpl = FindDialogTemplate(inst, m_nIDTemplate);
    if (!tpl)
        return -1;
    m_modal = true;
    FrameworkSetPending(this);
    const intptr_t r = DialogBoxIndirectParam(inst, tpl, owner_of(m_pParentWnd), framework_dialog_proc, 0);
    FrameworkSetPending(nullptr);
    m_modal = false;
    return r;
}

BOOL CDialog::Create(int templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    if (parent)
        m_pParentWnd = parent;
    const HINSTANCE inst = m_hInst ? m_hInst : AfxGetResourceHandle();
    const DlgTemplate* tpl = FindDialogTemplate(inst, templateId);
    if (!tpl)
        return FALSE;
    m_modal = false;
    FrameworkSetPending(this);
    const HWND h = CreateDialogIndirectParam(inst, tpl, owner_of(m_pParentWnd), framework_dialog_proc, 0);
    FrameworkSetPending(nullptr);
    return h != 0;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::EndDialog(intptr_t result)
{
    if (m_modal) {
        ::plat::EndDialog(m_hWnd, result);
        return;
    }
    // A modeless dialog ends by going away; its PostNcDestroy may delete it.
    DestroyWindow();
}

void CDialog::SetDefID(int id) { SetDialogDefID(m_hWnd, id); }
int CDialog::GetDefID() const { return GetDialogDefID(m_hWnd); }
void CDialog::NextDlgCtl(BOOL previous) const { ::plat::NextDlgCtl(m_hWnd, 0, previous, FALSE); }
void CDialog::GotoDlgCtrl(CWnd* ctl) const
{
    if (ctl)
        ::plat::NextDlgCtl(m_hWnd, ctl->m_hWnd, FALSE, TRUE);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM)
{
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    if (id == IDOK) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

BOOL CDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return CWnd::OnMessage(msg, wParam, lParam, result);
}

// ---- data exchange ------------------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int id)
{
    m_lastControl = ::plat::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    m_lastIsEdit = false;
    return m_lastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    PrepareCtrl(id);
    m_lastIsEdit = true;
    return m_lastControl;
}

void CDataExchange::Fail()
{
    if (m_lastControl && IsWindow(m_lastControl)) {
        SetFocus(m_lastControl);
        if (m_lastIsEdit)
            SendMessage(m_lastControl, EM_SETSEL, 0, -1);
    }
    throw DataExchangeFailure{};
}

namespace {

std::string control_text(HWND h)
{
    const int n = GetWindowTextLength(h);
    std::string s(static_cast<size_t>(std::max(0, n)) + 1, '\0');
    const int got = GetWindowText(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(0, got)));
    return s;
}

void fail_box(CDataExchange* dx, const char* text)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    dx->Fail();
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    const HWND h = dx->PrepareEditCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate) {
        int64_t v = 0;
        if (!ParseDlgInt(control_text(h).c_str(), true, &v))
            fail_box(dx, "Please enter an integer.");
        value = static_cast<int>(v);
    } else {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%d", value);
        SetWindowText(h, buf);
    }
}

void DDX_Text(CDataExchange* dx, int id, long& value)
{
    int v = static_cast<int>(value);
    DDX_Text(dx, id, v);
    value = v;
}

void DDX_Text(CDataExchange* dx, int id, double& value)
{
    const HWND h = dx->PrepareEditCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate) {
        const std::string t = control_text(h);
        char* end = nullptr;
        const double v = std::strtod(t.c_str(), &end);
        while (end && *end == ' ')
            ++end;
        if (t.empty() || !end || *end != '\0')
            fail_box(dx, "Please enter a number.");
        value = v;
    } else {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", value);
        SetWindowText(h, buf);
    }
}

void DDX_Text(CDataExchange* dx, int id, std::string& value)
{
    const HWND h = dx->PrepareEditCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        value = control_text(h);
    else
        SetWindowText(h, value.c_str());
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    const HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(SendMessage(h, BM_GETCHECK, 0, 0));
    else
        SendMessage(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    // The group runs from this control to the next WS_GROUP.
    for (; h; h = GetWindow(h, GW_HWNDNEXT), ++index) {
        if (index > 0 && (GetWindowLong(h, GWL_STYLE) & WS_GROUP))
            break;
        if (dx->m_bSaveAndValidate) {
            if (SendMessage(h, BM_GETCHECK, 0, 0) == BST_CHECKED && value < 0)
                value = index;
        } else {
            SendMessage(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& value)
{
    const HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(SendMessage(h, CB_GETCURSEL, 0, 0));
    else
        SendMessage(h, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void DDX_LBIndex(CDataExchange* dx, int id, int& value)
{
    const HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(SendMessage(h, LB_GETCURSEL, 0, 0));
    else
        SendMessage(h, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minVal, int maxVal)
{
    if (!dx->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char text[96];
    std::snprintf(text, sizeof text, "Please enter an integer between %d and %d.", minVal, maxVal);
    fail_box(dx, text);
}

void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars)
{
    if (dx->m_lastControl && !dx->m_bSaveAndValidate)
        SendMessage(dx->m_lastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
    if (!dx->m_bSaveAndValidate || static_cast<int>(value.size()) <= maxChars)
        return;
    char text[96];
    std::snprintf(text, sizeof text, "Enter no more than %d characters.", maxChars);
    fail_box(dx, text);
}

} // namespace plat
