// Status line fields: layout and painting.
#include "uikit/status_line.h"
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "plat/fw/wrappers.h"
#include "plat/gdi.h"
#include "plat/window.h"
#include <cstring>

using namespace plat;

namespace {

void copy_field_text(char* dst, const char* text)
{
    std::strncpy(dst, text != nullptr ? text : "", CStatusLine::FIELD_TEXT_MAX);
    dst[CStatusLine::FIELD_TEXT_MAX] = '\0';
}

} // namespace

CStatusLine::~CStatusLine()
{
    for (Field* f : m_fields)
        delete f;
}

void CStatusLine::AddField(uint32_t id, const char* text, int width, int framed, COLORREF color)
{
    auto* f = new Field{};
    f->id = id;
    copy_field_text(f->text, text);
    f->width = width;
    f->framed = framed;
    f->color = color;
    m_fields.push_back(f);
}

const CStatusLine::Field* CStatusLine::GetField(int index) const
{
    if (index < 0 || index >= GetFieldCount())
        return nullptr;
    return m_fields[static_cast<size_t>(index)];
}

void CStatusLine::SetFieldText(int index, const char* text, COLORREF color)
{
    if (index < 0 || index >= GetFieldCount())
        return;
    Field* f = m_fields[static_cast<size_t>(index)];
    copy_field_text(f->text, text);
    f->color = color;
    if (m_hWnd != 0) {
        RECT rc{};
        GetFieldRect(index, &rc);
        InvalidateRect(&rc, TRUE);
    }
}

void CStatusLine::Reposition()
{
    CWnd* parent = GetParent();
    if (parent == nullptr)
        return;
    RECT pc{};
    parent->GetClientRect(&pc);
    MoveWindow(125, pc.bottom - 24, pc.right - 125, 24, TRUE);
}

void CStatusLine::GetFieldRect(int index, RECT* out) const
{
    RECT client{};
    if (m_hWnd != 0)
        GetClientRect(&client);
    int left = 1;
    for (int i = 0; i < index && i < GetFieldCount(); ++i)
        left += m_fields[static_cast<size_t>(i)]->width;
    const int width = (index >= 0 && index < GetFieldCount()) ? m_fields[static_cast<size_t>(index)]->width : 0;
    *out = RECT{left, client.top + 4, left + width, client.bottom - 3};
}

int CStatusLine::OnCreate(CREATESTRUCT* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    SetClassLongPtr(m_hWnd, GCLP_HBRBACKGROUND, 0);
    return 0;
}

void CStatusLine::DrawField(HDC dc, int index) const
{
    const Field* f = m_fields[static_cast<size_t>(index)];
    RECT rc{};
    GetFieldRect(index, &rc);
    const HBRUSH brush = CreateSolidBrush(f->color);
    plat::FillRect(dc, &rc, brush);
    plat::DeleteObject(brush);
    if (f->framed == 1)
        draw_3d_border(dc, rc.left, rc.top, rc.right, rc.bottom, 1, 0);
    const HFONT font = uikit_make_dialog_font();
    const HGDIOBJ old = plat::SelectObject(dc, font);
    plat::SetBkMode(dc, TRANSPARENT);
    plat::SetTextColor(dc, 0x000000);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (f->framed == 1) {
        format |= DT_CENTER;
    } else {
        format |= DT_RIGHT;
        rc.right -= 4;
    }
    plat::DrawText(dc, f->text, -1, &rc, format);
    plat::SelectObject(dc, old);
    plat::DeleteObject(font);
}

void CStatusLine::OnPaint()
{
    CPaintDC dc(this);
    RECT rc{};
    GetClientRect(&rc);
    plat::FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    draw_line(dc, rc.left, rc.top, rc.right, rc.top, 0x808080, 1);
    draw_3d_border(dc, rc.left, rc.top + 1, rc.right, rc.bottom, 1, 1);
    for (int i = 0; i < GetFieldCount(); ++i)
        DrawField(dc, i);
}
