// The button bar: layout, bevel, and forwarding of presses.
#include "uikit/button_bar.h"
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "plat/fw/wrappers.h"
#include "plat/gdi.h"
#include "plat/window.h"

using namespace plat;

CButtonBar::~CButtonBar()
{
    for (CBarButton* b : m_buttons)
        delete b;
    m_buttons.clear();
}

BOOL CButtonBar::Create(CWnd* parent, int childId)
{
    m_parent = parent;
    if (!CWnd::Create(nullptr, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, parent, static_cast<UINT>(childId)))
        return FALSE;
    m_nextX = 10;
    m_y = 3;
    m_buttonWidth = 24;
    m_buttonHeight = 22;
    m_defaultGap = 15;
    return TRUE;
}

int CButtonBar::OnCreate(CREATESTRUCT* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    SetClassLongPtr(m_hWnd, GCLP_HBRBACKGROUND, 0);
    return 0;
}

CBarButton* CButtonBar::AddButton(const char* caption, const char* tooltip, int commandId, int normalBitmap,
                                  int pressedBitmap, int disabledBitmap, int gap, int captionOffset)
{
    auto* button = new CBarButton;
    m_buttons.push_back(button);
    const RECT rc{m_nextX, m_y, m_nextX + m_buttonWidth, m_y + m_buttonHeight};
    button->Create(this, commandId, rc, caption, tooltip, captionOffset);
    m_nextX += m_buttonWidth + gap;
    button->SetStyle(1);
    button->SetFramed(FALSE);
    if (normalBitmap != 0)
        button->SetBitmap(normalBitmap);
    if (pressedBitmap != 0)
        button->SetPressedBitmap(pressedBitmap);
    if (disabledBitmap != 0)
        button->SetDisabledBitmap(disabledBitmap);
    return button;
}

CBarButton* CButtonBar::AddButtonAt(int commandId, int x, int y, int width, int height, const char* caption,
                                    const char* tooltip)
{
    auto* button = new CBarButton;
    m_buttons.push_back(button);
    button->Create(this, commandId, RECT{x, y, x + width, y + height}, caption, tooltip, 20);
    return button;
}

CBarButton* CButtonBar::FindButton(int commandId) const
{
    for (CBarButton* b : m_buttons)
        if (b->GetCommandId() == commandId)
            return b;
    return nullptr;
}

void CButtonBar::OnPaint()
{
    CPaintDC dc(this);
    RECT rc{};
    GetClientRect(&rc);
    const HBRUSH face = CreateSolidBrush(0xC0C0C0);
    plat::FillRect(dc, &rc, face);
    plat::DeleteObject(face);
    draw_3d_frame(dc, rc.left, rc.top, rc.right, rc.bottom, 1, 1);
}

BOOL CButtonBar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_BUTTON_PRESSED)
        return CWnd::OnMessage(msg, wParam, lParam, result);
    result = 0;
    if (m_parent != nullptr && m_parent->m_hWnd != 0)
        result = plat::SendMessage(m_parent->m_hWnd, msg, wParam, lParam);
    return TRUE;
}
