// The program's own button: bitmap faces, bevel, caption, tooltip, hover tip.
#include "uikit/bar_button.h"
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "foundation/utils.h"
#include "plat/fw/app.h"
#include "plat/gdi.h"
#include "plat/res.h"
#include "plat/window.h"
#include <cstring>

using namespace plat;

// ---- CBitmapImage -------------------------------------------------------------

BOOL CBitmapImage::Load(int resourceId)
{
    DeleteObject();
    const HBITMAP bitmap = plat::LoadBitmap(uikit_resource_module(), resourceId);
    if (bitmap == 0)
        return FALSE;
    return Attach(bitmap);
}

void CBitmapImage::Draw(HDC dc, int x, int y, DWORD rop) const
{
    if (m_hObject == 0)
        return;
    const HDC mem = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(mem, m_hObject);
    BitBlt(dc, x, y, GetWidth(), GetHeight(), mem, 0, 0, rop);
    SelectObject(mem, old);
    DeleteDC(mem);
}

int CBitmapImage::GetWidth() const
{
    BITMAP bm{};
    return GetObject(sizeof bm, &bm) != 0 ? bm.bmWidth : 0;
}

int CBitmapImage::GetHeight() const
{
    BITMAP bm{};
    return GetObject(sizeof bm, &bm) != 0 ? bm.bmHeight : 0;
}

// ---- CButtonTip ------------------------------------------------------------------

namespace {

// The window the hover tips stand in: the main frame, or the button's
// top-level window when there is no frame (tools, tests).
HWND tip_host(HWND button)
{
    if (CWnd* frame = AfxGetMainWnd(); frame != nullptr && frame->m_hWnd != 0)
        return frame->m_hWnd;
    HWND w = button;
    while ((GetWindowLong(w, GWL_STYLE) & WS_CHILD) != 0 && GetParent(w) != 0)
        w = GetParent(w);
    return w;
}

} // namespace

CButtonTip::CButtonTip(CBarButton* button, const char* text) : m_text(text ? text : "")
{
    const HWND host = tip_host(button->m_hWnd);
    RECT b{}, f{};
    plat::GetWindowRect(button->m_hWnd, &b);
    plat::GetWindowRect(host, &f);
    const int left = b.left - f.left - 3;
    const int top = b.top - f.top - 14;
    const int width = 6 * static_cast<int>(m_text.size()) + 8;
    CreateEx(0, nullptr, "", WS_CHILD | WS_BORDER | WS_VISIBLE, left, top, width, 16, host, TIP_ID);
}

void CButtonTip::OnPaint()
{
    CPaintDC dc(this);
    RECT rc{};
    GetClientRect(&rc);
    const HPEN pen = CreatePen(PS_SOLID, 1, 0x00FFFF);
    const HBRUSH brush = CreateSolidBrush(0x00FFFF);
    const HGDIOBJ oldPen = plat::SelectObject(dc, pen);
    const HGDIOBJ oldBrush = plat::SelectObject(dc, brush);
    plat::RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, 4, 4);
    const HFONT font = uikit_make_dialog_font();
    const HGDIOBJ oldFont = plat::SelectObject(dc, font);
    plat::SetBkMode(dc, TRANSPARENT);
    plat::SetTextColor(dc, 0x000000);
    plat::DrawText(dc, m_text.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    plat::SelectObject(dc, oldFont);
    plat::SelectObject(dc, oldPen);
    plat::SelectObject(dc, oldBrush);
    plat::DeleteObject(font);
    plat::DeleteObject(pen);
    plat::DeleteObject(brush);
}

// ---- CBarButton --------------------------------------------------------------------

CBarButton::~CBarButton()
{
    if (m_tip != nullptr) {
        m_tip->DestroyWindow();
        delete m_tip;
        m_tip = nullptr;
    }
    delete m_tipText;
    delete m_normal;
    delete m_pressed;
    delete m_disabled;
}

BOOL CBarButton::Create(CWnd* parent, int commandId, const RECT& rect, const char* caption, const char* tooltip,
                        int captionOffset)
{
    m_parent = parent;
    m_commandId = commandId;
    m_captionOffset = captionOffset;
    m_caption[0] = '\0';
    if (caption != nullptr) {
        std::strncpy(m_caption, caption, sizeof m_caption - 1);
        m_caption[sizeof m_caption - 1] = '\0';
    }
    if (!CWnd::Create(nullptr, m_caption, WS_CHILD | WS_VISIBLE, rect, parent, static_cast<UINT>(commandId)))
        return FALSE;
    if (tooltip != nullptr)
        SetToolTip(tooltip);
    return TRUE;
}

void CBarButton::SetToolTip(const char* text)
{
    if (m_hWnd == 0 || text == nullptr)
        return;
    if (m_tooltip != 0 && plat::IsWindow(m_tooltip))
        plat::DestroyWindow(m_tooltip);
    m_tooltip = create_tooltip(uikit_resource_module(), m_hWnd, lang_translate(text));
}

BOOL CBarButton::load_face(CBitmapImage*& face, int resourceId)
{
    delete face;
    face = new CBitmapImage;
    if (!face->Load(resourceId)) {
        delete face;
        face = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CBarButton::SetBitmap(int resourceId) { return load_face(m_normal, resourceId); }
BOOL CBarButton::SetPressedBitmap(int resourceId) { return load_face(m_pressed, resourceId); }
BOOL CBarButton::SetDisabledBitmap(int resourceId) { return load_face(m_disabled, resourceId); }

void CBarButton::SetState(int state)
{
    if (state == DISABLED) {
        if (IsWindowEnabled())
            EnableWindow(FALSE);
    } else if (!IsWindowEnabled()) {
        EnableWindow(TRUE);
    }
    m_state = state;
    if (m_hWnd == 0)
        return;
    // Shown at once; a hidden button repaints when it is shown.
    Invalidate(TRUE);
    if (IsWindowVisible())
        UpdateWindow();
}

void CBarButton::SetTipText(const char* text)
{
    delete m_tipText;
    m_tipText = (text != nullptr && *text != '\0') ? new std::string(text) : nullptr;
}

void CBarButton::Resize(int width, int height, BOOL redraw)
{
    UINT flags = SWP_NOMOVE | SWP_NOZORDER;
    if (!redraw)
        flags |= SWP_NOREDRAW;
    SetWindowPos(0, 0, 0, width, height, flags);
}

void CBarButton::PostCommand()
{
    if (m_parent != nullptr && m_parent->m_hWnd != 0)
        plat::PostMessage(m_parent->m_hWnd, WM_BUTTON_PRESSED, static_cast<WPARAM>(m_commandId),
                          static_cast<LPARAM>(m_hWnd));
}

void CBarButton::ShowHoverTip()
{
    if (m_tipText == nullptr || m_tip != nullptr)
        return;
    m_tip = new CButtonTip(this, m_tipText->c_str());
    SetCapture();
}

void CBarButton::HideHoverTip()
{
    if (m_tip == nullptr)
        return;
    m_tip->ShowWindow(SW_HIDE);
    if (const HWND host = plat::GetParent(m_tip->m_hWnd); host != 0)
        plat::UpdateWindow(host);
    m_tip->DestroyWindow();
    delete m_tip;
    m_tip = nullptr;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
}

bool CBarButton::inside(POINT pt) const
{
    RECT rc{};
    GetClientRect(&rc);
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

void CBarButton::OnLButtonDown(UINT, POINT pt)
{
    if (inside(pt)) {
        HideHoverTip();
        m_tipSuppressed = 1;
    }
    if (m_kind == PUSH) {
        m_tracking = 1;
        SetState(DOWN);
        return;
    }
    if (m_radio && m_state == DOWN)
        return;
    m_tracking = 1;
    m_stateAtPress = m_state;
    SetState(DOWN);
}

void CBarButton::OnMouseMove(UINT flags, POINT pt)
{
    const bool in = inside(pt);
    if (m_tracking) {
        if (in) {
            if (GetCapture() != m_hWnd)
                SetCapture();
        } else if (GetCapture() == m_hWnd) {
            ReleaseCapture();
        }
    }
    if ((flags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
        if (!in)
            m_tipSuppressed = 0;
        if (in && m_tip == nullptr && !m_tipSuppressed)
            ShowHoverTip();
        else if (!in && m_tip != nullptr)
            HideHoverTip();
    } else if ((flags & MK_LBUTTON) != 0 && m_tracking) {
        if (!in && m_state != UP)
            SetState(UP);
        else if (in && m_state != DOWN)
            SetState(DOWN);
    }
}

void CBarButton::OnLButtonUp(UINT, POINT pt)
{
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    const bool in = inside(pt);
    if (m_kind == PUSH) {
        if (in && m_state != UP)
            SetState(UP);
        if (in && m_tracking)
            PostCommand();
    } else if (in && m_tracking) {
        const int next = m_stateAtPress != DOWN ? DOWN : UP;
        SetState(next);
        m_stateAtPress = next;
        PostCommand();
    }
    m_tracking = 0;
}

void CBarButton::OnDestroy()
{
    if (m_tip != nullptr) {
        m_tip->DestroyWindow();
        delete m_tip;
        m_tip = nullptr;
    }
    m_tooltip = 0;
    CWnd::OnDestroy();
}

void CBarButton::draw_bevel(HDC dc, RECT rc, bool raised) const
{
    const HPEN white = CreatePen(PS_SOLID, 1, 0xFFFFFF);
    const HPEN grey = CreatePen(PS_SOLID, 1, 0x808080);
    const HGDIOBJ old = plat::SelectObject(dc, grey);
    const int whiteRings = m_bevelWidth - (m_bevelStyle == 1 ? 1 : 0);
    for (int i = 0; i < m_bevelWidth; ++i) {
        const int l = rc.left + i, t = rc.top + i, r = rc.right - 1 - i, b = rc.bottom - 1 - i;
        if (raised) {
            if (i < whiteRings) {
                plat::SelectObject(dc, white);
                MoveToEx(dc, l, b, nullptr);
                plat::LineTo(dc, l, t);
                plat::LineTo(dc, r, t);
            }
            plat::SelectObject(dc, grey);
            MoveToEx(dc, r, t, nullptr);
            plat::LineTo(dc, r, b);
            plat::LineTo(dc, l - 1, b);
        } else {
            plat::SelectObject(dc, grey);
            MoveToEx(dc, l, b, nullptr);
            plat::LineTo(dc, l, t);
            plat::LineTo(dc, r + 1, t);
        }
    }
    plat::SelectObject(dc, old);
    plat::DeleteObject(white);
    plat::DeleteObject(grey);
}

namespace {

// The caption's font, made for one drawing (0: the stock small font).
HFONT caption_font(bool down)
{
    return uikit_display_bits() > 16 ? make_font(down ? "Small Fonts" : "Arial", 6, false, false, false, false, false)
                                     : HFONT{0};
}

} // namespace

int CBarButton::CaptionWidth(const char* caption)
{
    if (caption == nullptr || caption[0] == '\0')
        return 0;
    const HDC dc = plat::GetDC(0);
    const HFONT font = caption_font(false);
    const HGDIOBJ old = plat::SelectObject(dc, font != 0 ? font : GetStockObject(ANSI_VAR_FONT));
    SIZE extent{};
    GetTextExtentPoint32(dc, caption, static_cast<int>(std::strlen(caption)), &extent);
    plat::SelectObject(dc, old);
    if (font != 0)
        plat::DeleteObject(font);
    plat::ReleaseDC(0, dc);
    return extent.cx;
}

void CBarButton::draw_caption(HDC dc, RECT rc, bool down) const
{
    if (m_caption[0] == '\0')
        return;
    const HFONT font = caption_font(down);
    const HGDIOBJ old = plat::SelectObject(dc, font != 0 ? font : GetStockObject(ANSI_VAR_FONT));
    plat::SetBkMode(dc, TRANSPARENT);
    plat::SetTextColor(dc, 0x000000);
    RECT text = rc;
    text.left = m_captionOffset + (down ? 2 : 0);
    if (down) {
        text.top += 2;
        text.bottom += 2;
    }
    plat::DrawText(dc, m_caption, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    plat::SelectObject(dc, old);
    if (font != 0)
        plat::DeleteObject(font);
}

void CBarButton::OnPaint()
{
    CPaintDC dc(this);
    RECT rc{};
    GetClientRect(&rc);
    const HBRUSH face = CreateSolidBrush(0xC0C0C0);
    plat::FillRect(dc, &rc, face);
    plat::DeleteObject(face);

    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    auto centred = [&](const CBitmapImage* bm, int shift) {
        if (bm == nullptr)
            return;
        bm->Draw(dc, (w - bm->GetWidth()) / 2 + shift, (h - bm->GetHeight()) / 2 + shift, SRCCOPY);
    };
    auto frame = [&]() {
        if (!m_framed)
            return;
        const HGDIOBJ oldBrush = plat::SelectObject(dc, GetStockObject(NULL_BRUSH));
        const HGDIOBJ oldPen = plat::SelectObject(dc, GetStockObject(BLACK_PEN));
        if (m_rounded)
            plat::RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, 2, 2);
        else
            plat::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
        plat::SelectObject(dc, oldBrush);
        plat::SelectObject(dc, oldPen);
        rc = RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
    };

    if (m_state == DOWN) {
        if (m_pressed != nullptr)
            m_pressed->Draw(dc, 0, 0, SRCCOPY);
        else
            centred(m_normal, m_bevelWidth);
        frame();
        draw_bevel(dc, rc, false);
        draw_caption(dc, rc, true);
        return;
    }
    if (m_state == DISABLED && m_disabled != nullptr)
        m_disabled->Draw(dc, (w - m_disabled->GetWidth()) / 2, (h - m_disabled->GetHeight()) / 2, SRCCOPY);
    else
        centred(m_normal, 0);
    frame();
    draw_bevel(dc, rc, true);
    draw_caption(dc, rc, false);
}
