// The Purchasing department's window: the heading "Materials" and one box per
// material in its family's colour with its stock, units on order and status.
// The panel of the windowed program serves it; headless none of this runs.
#include "app/app_types.h"
#include "app/view.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/window.h"
#include "purchasing/purchasing_dept.h"
#include <cstdio>
#include <string>

using namespace plat;

namespace {

constexpr int BOX_W = 95;
constexpr int BOX_H = 60;
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);

void filled_frame(HDC dc, const RECT& r, COLORREF colour)
{
    dc_fill(dc, r, colour);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// A figure drawn white over the named background, covering what stood there.
void figure(HDC dc, int x, int y, long value, COLORREF background)
{
    char b[24];
    std::snprintf(b, sizeof b, "%ld ", value);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, background);
    dc_text(dc, x, y, b, WHITE);
    SetBkMode(dc, TRANSPARENT);
}

// Family colours are the drawing layer's palette indices.
COLORREF family_colour(const MaterialFamily& family) { return index_to_color(family.colour); }

} // namespace

RECT PurchasingDepartment::box_rect(int f, int m) const
{
    const float sx = view_ != nullptr ? view_->scale_x : 1.0f;
    const float sy = view_ != nullptr ? view_->scale_y : 1.0f;
    const RawMaterial& r = engine_->material(f, m);
    // The loader has already placed the boxes on the view's scale.
    return RECT{r.x, r.y, r.x + static_cast<int>(BOX_W * sx), r.y + static_cast<int>(BOX_H * sy)};
}

bool PurchasingDepartment::material_at(int x, int y, int& family, int& material) const
{
    const CPurchasingWnd& e = *engine_;
    for (int f = 0; f < e.family_count(); ++f)
        for (int m = 0; m < e.material_count(f); ++m) {
            const RECT r = box_rect(f, m);
            if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) {
                family = f;
                material = m;
                return true;
            }
        }
    return false;
}

HCURSOR PurchasingDepartment::cursor_at(int x, int y)
{
    int f = 0, m = 0;
    return view_ != nullptr && material_at(x, y, f, m) ? view_->hand_cursor : 0;
}

void PurchasingDepartment::left_down(int x, int y, UINT)
{
    // A click only opens; it orders nothing, whatever the policy.
    int f = 0, m = 0;
    if (material_at(x, y, f, m)) {
        show_material_information(f, m);
        return;
    }
    const HWND w = window_handle();
    if (view_ == nullptr || view_->management_feature == 0 || w == 0)
        return;
    RECT client{};
    GetClientRect(w, &client);
    if (y < client.top + 30 || y >= client.bottom || x < client.left || x >= client.right)
        return;
    HWND top = w;
    while (top != 0 && GetParent(top) != 0)
        top = GetParent(top);
    if (top != 0)
        PostMessage(top, WM_COMMAND, MAKEWPARAM(ID_MANAGEMENT, 0), 0);
}

void PurchasingDepartment::paint(HDC dc, float, float)
{
    SetBkMode(dc, TRANSPARENT);
    {
        ScopedFont heading(dc, lang_font("Ms Sans Serif"), 14, true);
        dc_text(dc, 5, 34, lang_translate("Materials"), RGB(128, 128, 128));
    }
    if (view_ != nullptr && view_->paint_hold != 0)
        return;
    const CPurchasingWnd& e = *engine_;
    for (int f = 0; f < e.family_count(); ++f)
        for (int m = 0; m < e.material_count(f); ++m) {
            const RECT r = box_rect(f, m);
            const COLORREF colour = family_colour(e.families[static_cast<size_t>(f)]);
            for (int offset : {4, 2})
                filled_frame(dc, RECT{r.left + offset, r.top - offset, r.right + offset, r.bottom - offset}, BLACK);
            filled_frame(dc, r, colour);
            const int mid_x = (r.left + r.right) / 2, mid_y = (r.top + r.bottom) / 2;
            dc_line(dc, r.left, mid_y, r.right, mid_y, WHITE);
            dc_line(dc, mid_x, r.top, mid_x, mid_y, WHITE);
            draw_material_code(dc, f, m);
            {
                ScopedFont small(dc, lang_font("Ms Sans Serif"), 8, false);
                dc_text(dc, mid_x + 3, r.top + 3, lang_translate("On Order"), WHITE);
                dc_text(dc, r.left + 5, mid_y + 3, lang_translate("Stock"), WHITE);
            }
            for (int kind : {REDRAW_STOCK, REDRAW_ON_ORDER, REDRAW_MRP_RED_LINE})
                draw_material_figure(dc, kind, f, m);
        }
}

void PurchasingDepartment::draw_material_code(HDC dc, int f, int m) const
{
    const RECT r = box_rect(f, m);
    char code[8];
    std::snprintf(code, sizeof code, " %c%c", engine_->family_letter(f), engine_->material_letter(f, m));
    ScopedFont bold(dc, lang_font("Ms Sans Serif"), 14, true);
    SetBkMode(dc, TRANSPARENT);
    dc_text(dc, r.left + 5, r.top + 3, code, WHITE);
}

void PurchasingDepartment::draw_material_figure(HDC dc, int kind, int f, int m) const
{
    const CPurchasingWnd& e = *engine_;
    const RawMaterial& r = e.material(f, m);
    const RECT box = box_rect(f, m);
    const COLORREF colour = family_colour(e.families[static_cast<size_t>(f)]);
    const int mid_x = (box.left + box.right) / 2, mid_y = (box.top + box.bottom) / 2;
    // The upper left quarter inside the frame and the white lines.
    const RECT quarter{box.left + 1, box.top + 1, mid_x, mid_y};
    static const COLORREF by_status[3] = {RGB(0, 255, 0), RGB(255, 255, 0), RGB(255, 0, 0)};
    ScopedFont small(dc, lang_font("Ms Sans Serif"), 8, false);
    switch (kind) {
    case REDRAW_STOCK: {
        const int16_t status = r.red_line_status >= 0 && r.red_line_status < 3 ? r.red_line_status : 2;
        const COLORREF shown = e.levels_shown == 0 ? colour : by_status[status];
        if (e.policy == POLICY_ORDER_LEVEL) {
            dc_fill(dc, quarter, shown);
            draw_material_code(dc, f, m);
        }
        figure(dc, box.right - 35, box.bottom - 17, r.stock, colour);
        return;
    }
    case REDRAW_ON_ORDER:
        figure(dc, box.right - 35, mid_y - 16, e.on_order[static_cast<size_t>(f)][static_cast<size_t>(m)], colour);
        return;
    case REDRAW_MRP_RED_LINE:
        if (e.policy != POLICY_MRP)
            return;
        dc_fill(dc, quarter, e.mrp_red_line[static_cast<size_t>(f)][static_cast<size_t>(m)] != 0 ? by_status[2] : by_status[0]);
        draw_material_code(dc, f, m);
        return;
    default: return;
    }
}

void PurchasingDepartment::redraw_material(int kind, int f, int m)
{
    if (window_handle() == 0 || f < 0 || f >= engine_->family_count() || m < 0 || m >= engine_->material_count(f))
        return;
    if (kind != REDRAW_STOCK && kind != REDRAW_ON_ORDER && kind != REDRAW_MRP_RED_LINE)
        return;
    if (view_ != nullptr && view_->paint_hold != 0)
        return;
    const HWND w = window_handle();
    HDC dc = GetDC(w);
    if (dc == 0)
        return;
    draw_material_figure(dc, kind, f, m);
    ReleaseDC(w, dc);
}
