// The framework's dialog: a template id, modal or modeless, data exchange.
#pragma once
#include "plat/dialog.h"
#include "plat/fw/wnd.h"
#include <string>

// Each class here has its own Create form and hides CWnd's on purpose, as the
// framework it follows does; clang's warning about it is not an error here.
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Woverloaded-virtual"
#endif

namespace plat {

class CDataExchange;

class CDialog : public CWnd {
public:
    // The template is looked up in inst (0: the module set by
    // SetDefaultResourceModule, normally the program's).
    explicit CDialog(int templateId = 0, CWnd* parent = nullptr, HINSTANCE inst = 0);
    const char* GetRuntimeClassName() const override { return "CDialog"; }

    // Modal: the EndDialog result, IDCANCEL's 2 included; -1 if the dialog
    // could not be made.
    virtual intptr_t DoModal();
    // Modeless: FALSE if the dialog could not be made.
    virtual BOOL Create(int templateId, CWnd* parent = nullptr);
    // WM_INITDIALOG: runs data exchange into the controls; TRUE lets the
    // manager focus the first tab stop.
    virtual BOOL OnInitDialog();
    // IDOK: data exchange out of the controls, then EndDialog(IDOK); stays
    // open when a check fails.
    virtual void OnOK();
    // IDCANCEL: EndDialog(IDCANCEL); a modeless dialog is destroyed.
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void EndDialog(intptr_t result);
    void SetDefID(int id);
    int GetDefID() const;
    void NextDlgCtl(BOOL previous = FALSE) const;
    void GotoDlgCtrl(CWnd* ctl) const;
    BOOL MapDialogRect(RECT* rect) const { return plat::MapDialogRect(m_hWnd, rect); }
    BOOL IsModal() const { return m_modal; }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    int m_nIDTemplate;
    CWnd* m_pParentWnd;
    HINSTANCE m_hInst;

private:
    bool m_modal = false;
};

// Direction and failure state of one exchange.
class CDataExchange {
public:
    CDataExchange(CWnd* dlg, BOOL saveAndValidate) : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    // The control the next check refers to.
    HWND PrepareEditCtrl(int id);
    HWND PrepareCtrl(int id);
    // A failed check: focus (and for edits, selection) back to the last
    // control prepared; the exchange stops.
    [[noreturn]] void Fail();
    HWND m_lastControl = 0;
    bool m_lastIsEdit = false;
};

// Thrown by CDataExchange::Fail and caught by UpdateData.
struct DataExchangeFailure {};

void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& value);
void DDX_LBIndex(CDataExchange* dx, int id, int& value);
// Box "Please enter an integer between %d and %d.", then Fail().
void DDV_MinMaxInt(CDataExchange* dx, int value, int minVal, int maxVal);
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars);

} // namespace plat

#ifdef __clang__
#pragma clang diagnostic pop
#endif
