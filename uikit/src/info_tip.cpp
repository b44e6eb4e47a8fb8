// Information tip: measured lines of normal labels and bold values.
#include "uikit/info_tip.h"
#include "foundation/draw.h"
#include "plat/fw/wrappers.h"
#include "plat/gdi.h"
#include "plat/window.h"
#include <algorithm>
#include <cstring>

using namespace plat;

namespace {

HFONT make_tip_font(int weight)
{
    LOGFONT lf{};
    lf.lfHeight = 14;
    lf.lfWeight = weight;
    std::strncpy(lf.lfFaceName, "Helvetica", sizeof lf.lfFaceName - 1);
    return CreateFontIndirect(&lf);
}

SIZE extent(HDC dc, HFONT font, const std::string& s)
{
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32(dc, s.c_str(), static_cast<int>(s.size()), &size);
    if (s.empty()) {
        TEXTMETRIC tm{};
        GetTextMetrics(dc, &tm);
        size.cy = tm.tmHeight;
    }
    SelectObject(dc, old);
    return size;
}

} // namespace

CInfoTipWnd::CInfoTipWnd()
{
    WNDCLASS existing{};
    if (!GetClassInfo(0, CLASS_NAME, &existing)) {
        WNDCLASS wc{};
        wc.style = CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = FrameworkWndProc;
        wc.lpszClassName = CLASS_NAME;
        RegisterClass(&wc);
    }
}

CInfoTipWnd::~CInfoTipWnd()
{
    if (m_hWnd != 0)
        DestroyWindow();
    if (m_bold != 0)
        DeleteObject(m_bold);
    if (m_normal != 0)
        DeleteObject(m_normal);
}

BOOL CInfoTipWnd::Create(CWnd* owner)
{
    return CreateEx(0, CLASS_NAME, "", WS_POPUP, 0, 0, 100, 50, owner != nullptr ? owner->m_hWnd : 0, 0);
}

int CInfoTipWnd::OnCreate(CREATESTRUCT* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (m_bold == 0)
        m_bold = make_tip_font(700);
    if (m_normal == 0)
        m_normal = make_tip_font(400);
    return 0;
}

void CInfoTipWnd::Hide()
{
    m_tag = 0;
    if (m_hWnd != 0)
        ShowWindow(SW_HIDE);
}

std::vector<CInfoTipWnd::Line> CInfoTipWnd::split_lines(const std::string& text)
{
    std::vector<Line> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t colon = line.find(':');
        Line l;
        if (colon == std::string::npos) {
            l.value = line;
        } else {
            l.label = line.substr(0, colon + 1);
            l.value = line.substr(colon + 1);
        }
        lines.push_back(std::move(l));
        start = end + 1;
    }
    return lines;
}

void CInfoTipWnd::ShowAt(POINT pt, const char* text, int32_t tag)
{
    m_tag = tag;
    m_text = text != nullptr ? text : "";
    const std::vector<Line> lines = split_lines(m_text);
    if (lines.empty() || m_hWnd == 0) {
        Hide();
        return;
    }
    const HDC dc = GetDC();
    int width = 0, height = 0;
    for (const Line& l : lines) {
        const SIZE a = extent(dc, m_normal, l.label);
        const SIZE b = extent(dc, m_bold, l.value);
        width = std::max(width, static_cast<int>(a.cx + b.cx));
        height += std::max(a.cy, b.cy);
    }
    m_lineHeight = height / static_cast<int32_t>(lines.size());
    const int screenWidth = GetDeviceCaps(dc, HORZRES);
    ReleaseDC(dc);
    width += 4;
    height += 4;
    int left = pt.x;
    const int top = pt.y - height;
    if (left + width > screenWidth)
        left = screenWidth - width;
    SetWindowPos(HWND_TOP, left, top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate(TRUE);
}

void CInfoTipWnd::OnPaint()
{
    CPaintDC dc(this);
    RECT rc{};
    GetClientRect(&rc);
    plat::FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const RECT inner{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
    plat::FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    plat::SetBkMode(dc, TRANSPARENT);
    plat::SetTextColor(dc, 0x000000);
    const HGDIOBJ old = plat::SelectObject(dc, m_normal);
    int y = 2;
    for (const Line& l : split_lines(m_text)) {
        plat::SelectObject(dc, m_normal);
        plat::TextOut(dc, 2, y, l.label.c_str(), static_cast<int>(l.label.size()));
        SIZE a{};
        GetTextExtentPoint32(dc, l.label.c_str(), static_cast<int>(l.label.size()), &a);
        plat::SelectObject(dc, m_bold);
        plat::TextOut(dc, 2 + a.cx, y, l.value.c_str(), static_cast<int>(l.value.size()));
        y += m_lineHeight;
    }
    plat::SelectObject(dc, old);
}

void CInfoTipWnd::OnMouseMove(UINT, POINT) {}

// ---- CPaneStrip ------------------------------------------------------------------

void CPaneStrip::Reposition()
{
    CWnd* parent = GetParent();
    if (parent == nullptr)
        return;
    RECT pc{};
    parent->GetClientRect(&pc);
    MoveWindow(0, 28, 125, pc.bottom - 27, TRUE);
}

int CPaneStrip::OnCreate(CREATESTRUCT* cs)
{
    if (CPanelWnd::OnCreate(cs) == -1)
        return -1;
    SetClassLongPtr(m_hWnd, GCLP_HBRBACKGROUND, 0);
    return 0;
}

void CPaneStrip::OnPaint()
{
    CPaintDC dc(this);
    RECT rc{};
    GetClientRect(&rc);
    plat::FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    draw_3d_border(dc, rc.left, rc.top, rc.right, rc.bottom, 1, 1);
}
