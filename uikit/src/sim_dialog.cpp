// Dialog bases: font, centring, translation, the view's dialog stack.
#include "uikit/sim_dialog.h"
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "plat/window.h"
#include <algorithm>

using namespace plat;

namespace {
DialogRegistry* (*g_source)() = nullptr;

BOOL set_font_proc(HWND child, LPARAM font)
{
    plat::SendMessage(child, WM_SETFONT, static_cast<WPARAM>(font), 0);
    return TRUE;
}
} // namespace

void DialogStack::push(HWND dialog)
{
    if (dialog != 0 && !contains(dialog))
        m_dialogs.push_back(dialog);
}

void DialogStack::remove(HWND dialog)
{
    m_dialogs.erase(std::remove(m_dialogs.begin(), m_dialogs.end(), dialog), m_dialogs.end());
}

bool DialogStack::contains(HWND dialog) const
{
    return std::find(m_dialogs.begin(), m_dialogs.end(), dialog) != m_dialogs.end();
}

void set_dialog_registry_source(DialogRegistry* (*source)())
{
    g_source = source;
}

DialogRegistry* current_dialog_registry()
{
    return g_source != nullptr ? g_source() : nullptr;
}

POINT sim_dialog_position(const RECT& desktop, int w, int h, bool sessionOpen)
{
    POINT p{};
    if (sessionOpen) {
        // The indicator panes take the first 130 pixels of the main window.
        p.x = (desktop.right + 130) / 2 - w / 2;
        if (p.x + w > desktop.right)
            p.x = desktop.right - w - 10;
    } else {
        p.x = (desktop.right - desktop.left) / 2 - w / 2;
    }
    p.y = (desktop.bottom - desktop.top) / 2 - h / 2;
    return p;
}

// ---- CSimDialog ------------------------------------------------------------------

CSimDialog::CSimDialog(int templateId, DialogRegistry* view, CWnd* parent)
    : CDialog(templateId, parent), m_view(view)
{
}

CSimDialog::~CSimDialog()
{
    if (m_font != 0) {
        DeleteObject(m_font);
        m_font = 0;
    }
}

BOOL CSimDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterOnScreen();
    if (m_font == 0)
        m_font = uikit_make_dialog_font();
    EnumChildWindows(m_hWnd, set_font_proc, static_cast<LPARAM>(m_font));
    lang_translate_dialog(m_hWnd);
    if (m_view != nullptr) {
        const std::string caption = GetWindowText();
        SetWindowText(lang_translate(caption.c_str()));
        PostMessage(WM_SHOW_IDS, 0, 0);
        m_view->push_dialog(m_hWnd);
    }
    return TRUE;
}

void CSimDialog::CenterOnScreen()
{
    RECT desktop{}, w{};
    plat::GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(&w);
    const bool session = m_view != nullptr && m_view->session_open();
    const POINT p = sim_dialog_position(desktop, w.right - w.left, w.bottom - w.top, session);
    SetWindowPos(0, p.x, p.y, 0, 0, SWP_NOSIZE);
}

void CSimDialog::AddTextId(int32_t id)
{
    if (m_textIdCount >= MAX_IDS)
        return;
    m_textIds[m_textIdCount++] = id;
}

void CSimDialog::AddActionId(int32_t id)
{
    if (m_actionIdCount >= MAX_IDS)
        return;
    m_actionIds[m_actionIdCount++] = id;
}

BOOL CSimDialog::HasActionId(int32_t id) const
{
    return std::find(m_actionIds, m_actionIds + m_actionIdCount, id) != m_actionIds + m_actionIdCount;
}

void CSimDialog::SelectGraphicsView()
{
    gfx_select_window(m_hWnd);
}

int CSimDialog::OnCreate(CREATESTRUCT* cs)
{
    if (CDialog::OnCreate(cs) == -1)
        return -1;
    if (m_view != nullptr)
        m_view->push_dialog(m_hWnd);
    return 0;
}

void CSimDialog::OnDestroy()
{
    if (m_font != 0) {
        DeleteObject(m_font);
        m_font = 0;
    }
    if (m_view != nullptr)
        m_view->remove_dialog(m_hWnd);
    gfx_release_window(m_hWnd);
    CDialog::OnDestroy();
}

void CSimDialog::OnMouseMove(UINT, POINT)
{
    plat::SetCursor(LoadCursor(0, IDC_ARROW));
}

BOOL CSimDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_SHOW_IDS) {
        if (m_view != nullptr && m_view->show_ids())
            show_control_ids(m_hWnd);
        result = 0;
        return TRUE;
    }
    return CDialog::OnMessage(msg, wParam, lParam, result);
}

// ---- CModelessDialog ------------------------------------------------------------------

CModelessDialog::CModelessDialog(int templateId, CWnd* parent) : CDialog(templateId, parent)
{
    Create(templateId, parent);
}

void CModelessDialog::PostNcDestroy()
{
    m_alive.reset();
    delete this;
}

void CModelessDialog::OnCancel()
{
    DestroyWindow();
}
