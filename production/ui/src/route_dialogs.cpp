// The route diagrams: a product's, a work order's in progress, and every
// product's one below the other.
#include "foundation/lang.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "plat/help.h"
#include "plat/msg.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "production/dc_painter.h"
#include "production/production_dialogs.h"
#include "uikit/info_tip.h"
#include <algorithm>
#include <climits>
#include <cstdlib>

using namespace plat;

namespace {

constexpr int HELP_BUTTON = 3;
constexpr int BUTTON_ROW = 40;
constexpr int32_t LABEL_GREY = 0xC0C0C0;
// A work order's route in the shop lies this far below the diagram's rows.
constexpr int WO_ROUTE_Y = 25;

CInfoTipWnd* g_info_tip = nullptr;

void help_at(HWND dlg, int context) { WinHelp(dlg, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(context)); }

} // namespace

CInfoTipWnd* program_info_tip() { return g_info_tip; }

void set_program_info_tip(CInfoTipWnd* tip) { g_info_tip = tip; }

void route_diagram_scale(int width, int height, float& scale_x, float& scale_y)
{
    scale_x = static_cast<float>(width - 20) / 510.0f;
    scale_y = static_cast<float>(height - 20) / 409.0f;
}

// ---- one product or one work order ---------------------------------------------------

CRouteDiagramDlg::CRouteDiagramDlg(CProductionWnd& plant, int product, int wo, PaintScope scope, CWnd* parent)
    : CSimDialog(wo >= 0 ? IDD_WO_DIAGRAM : IDD_ROUTING_DIAGRAM, current_dialog_registry(), parent), m_plant(plant),
      m_product(product), m_wo(wo), m_scope(std::move(scope))
{
}

CRouteDiagramDlg::~CRouteDiagramDlg() = default;

void CRouteDiagramDlg::collect()
{
    m_route.clear();
    if (m_wo >= 0) {
        if (static_cast<size_t>(m_wo) >= m_plant.Work_Orders.size())
            return;
        const RWork_Order* wo = m_plant.Work_Orders[static_cast<size_t>(m_wo)].get();
        // A common part's work order shows the part's own route; the boxes sit
        // where the work order's requests are keyed.
        const int product = wo->product_position();
        if (product >= 0)
            m_plant.collect_route_info({KIND_PRODUCT, static_cast<uint8_t>(product), 1}, m_route, 0, WO_ROUTE_Y, false,
                                       wo);
        return;
    }
    if (m_product >= 0 && static_cast<size_t>(m_product) < m_plant.Products.size())
        m_plant.collect_route_info({KIND_PRODUCT, static_cast<uint8_t>(m_product), 1}, m_route, 0, 0, false, nullptr);
}

void CRouteDiagramDlg::fit()
{
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    route_diagram_scale(client.right, client.bottom - BUTTON_ROW, m_sx, m_sy);
}

BOOL CRouteDiagramDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    if (m_wo >= 0) {
        SetWindowText(lang_translate("WO Diagram"));
        for (const auto& wo : m_plant.Work_Orders) {
            const std::string number = std::to_string(wo->number);
            plat::SendDlgItemMessage(m_hWnd, WO_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(number.c_str()));
        }
        plat::SendDlgItemMessage(m_hWnd, WO_LIST, CB_SETCURSEL, static_cast<WPARAM>(m_wo), 0);
    }
    m_plant.routing_option = 0;
    collect();
    fit();
    return TRUE;
}

BOOL CRouteDiagramDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == HELP_BUTTON) {
        help_at(m_hWnd, m_wo >= 0 ? 406 : 407);
        return TRUE;
    }
    if (id == WO_LIST && HIWORD(wParam) == CBN_SELCHANGE) {
        const auto chosen = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, WO_LIST, CB_GETCURSEL, 0, 0));
        if (chosen >= 0 && static_cast<size_t>(chosen) < m_plant.Work_Orders.size()) {
            m_wo = chosen;
            collect();
            plat::InvalidateRect(m_hWnd, nullptr, TRUE);
        }
        return TRUE;
    }
    if (id == IDOK) {
        // The WO Diagram's Close button.
        EndDialog(IDOK);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CRouteDiagramDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    fit();
    if (m_scope) {
        DcPainter screen(dc);
        ScaledPainter scaled(screen, m_sx, m_sy);
        m_scope(scaled, [&] {
            if (m_wo >= 0 && static_cast<size_t>(m_wo) < m_plant.Work_Orders.size()) {
                m_plant.draw_route_wo_status(m_route, m_plant.Work_Orders[static_cast<size_t>(m_wo)].get());
                return;
            }
            m_plant.draw_route(m_route, false, 0);
            for (const RouteInfo& r : m_route)
                if (r.parent_x >= 0)
                    m_plant.draw_number_label(r.x + 15, r.y - 24, r.item.quantity, false, LABEL_GREY);
        });
    }
    EndPaint(m_hWnd, &ps);
}

std::string CRouteDiagramDlg::popup_text() const { return m_tip ? m_tip->text() : std::string(); }

void CRouteDiagramDlg::OnLButtonDown(UINT, POINT pt)
{
    if (m_wo < 0 || static_cast<size_t>(m_wo) >= m_plant.Work_Orders.size())
        return;
    std::string text;
    if (!m_plant.route_hit_test(m_route, m_plant.Work_Orders[static_cast<size_t>(m_wo)].get(), pt.x, pt.y, m_sx, m_sy,
                                text))
        return;
    if (!m_tip)
        m_tip = program_info_tip();
    if (!m_tip) {
        m_own_tip = std::make_unique<CInfoTipWnd>();
        if (!m_own_tip->Create(this)) {
            m_own_tip.reset();
            return;
        }
        m_tip = m_own_tip.get();
    }
    POINT at = pt;
    plat::ClientToScreen(m_hWnd, &at);
    m_tip->ShowAt(at, text.c_str(), 0);
}

void CRouteDiagramDlg::OnLButtonUp(UINT, POINT)
{
    if (m_tip)
        m_tip->Hide();
}

void CRouteDiagramDlg::OnDestroy()
{
    if (m_tip)
        m_tip->Hide();
    if (m_own_tip) {
        m_own_tip->DestroyWindow();
        m_own_tip.reset();
    }
    m_tip = nullptr;
    CSimDialog::OnDestroy();
}

// ---- every product -------------------------------------------------------------------

CAllProductsRoutingDlg::CAllProductsRoutingDlg(CProductionWnd& plant, PaintScope scope, CWnd* parent)
    : CSimDialog(IDD_ALL_PRODUCTS_ROUTING, current_dialog_registry(), parent), m_plant(plant), m_scope(std::move(scope))
{
}

RECT CAllProductsRoutingDlg::area() const
{
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    return RECT{0, 0, client.right - 30, client.bottom - 50};
}

BOOL CAllProductsRoutingDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    RECT outer{};
    plat::GetWindowRect(m_hWnd, &outer);
    plat::SetWindowPos(m_hWnd, 0, 0, 0, static_cast<int>((outer.right - outer.left) * 1.12), outer.bottom - outer.top,
                       SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    const HWND bar = plat::GetDlgItem(m_hWnd, SCROLL_BAR);
    plat::MoveWindow(bar, client.right - 20, 0, 20, client.bottom - 50, TRUE);
    plat::ShowWindow(bar, SW_HIDE);
    return TRUE;
}

BOOL CAllProductsRoutingDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == HELP_BUTTON) {
        help_at(m_hWnd, 411);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CAllProductsRoutingDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    const RECT a = area();
    float sx = 1, sy = 1;
    route_diagram_scale(a.right, a.bottom, sx, sy);
    sx *= 0.95f;
    const HRGN clip = CreateRectRgn(a.left, a.top, a.right, a.bottom);
    SelectClipRgn(dc, clip);
    int top = 0;
    for (size_t i = 0; i < m_plant.Products.size(); ++i) {
        std::vector<RouteInfo> route;
        m_plant.collect_route_info({KIND_PRODUCT, static_cast<uint8_t>(i), 1}, route, 0, 0, false, nullptr);
        if (route.empty())
            continue;
        int lowest = INT_MAX, highest = INT_MIN;
        for (const RouteInfo& r : route) {
            lowest = std::min<int>(lowest, r.y);
            highest = std::max<int>(highest, r.y);
        }
        // The block starts 20 above its lowest box, below the block before.
        const int dy = top - m_pos - (lowest - 20);
        if (m_scope) {
            DcPainter screen(dc);
            ScaledPainter scaled(screen, sx, 1.0f, 0, dy);
            m_scope(scaled, [&] { m_plant.draw_route(route, false, 0); });
        }
        top += highest - lowest + 40;
    }
    SelectClipRgn(dc, 0);
    DeleteObject(clip);
    EndPaint(m_hWnd, &ps);
    if (!m_painted) {
        m_painted = true;
        m_total = top;
        m_range = std::max(0, top - (a.bottom - a.top));
        const HWND bar = plat::GetDlgItem(m_hWnd, SCROLL_BAR);
        if (m_range > 0) {
            // The bar is a control of its own: it takes its range and position by its messages.
            plat::SendMessage(bar, SBM_SETRANGE, 0, m_range);
            plat::SendMessage(bar, SBM_SETPOS, 0, TRUE);
            plat::ShowWindow(bar, SW_SHOW);
        }
    }
}

void CAllProductsRoutingDlg::OnVScroll(UINT code, UINT pos, HWND)
{
    if (m_range <= 0)
        return;
    int next = m_pos;
    switch (code) {
    case SB_LINEUP: next -= 25; break;
    case SB_LINEDOWN: next += 20; break;
    case SB_PAGEUP: next -= 100; break;
    case SB_PAGEDOWN: next += 100; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: next = static_cast<int>(pos); break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = m_range; break;
    default: return;
    }
    next = std::clamp(next, 0, m_range);
    if (next == m_pos)
        return;
    const RECT a = area();
    plat::ScrollWindow(m_hWnd, 0, m_pos - next, &a, &a);
    m_pos = next;
    plat::SendMessage(plat::GetDlgItem(m_hWnd, SCROLL_BAR), SBM_SETPOS, static_cast<WPARAM>(m_pos), TRUE);
    plat::InvalidateRect(m_hWnd, &a, TRUE);
}
