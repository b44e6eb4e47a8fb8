// The Production department's window: the title "Machines", one box per
// machine drawn by the machine itself, and the "View total load" check box.
// The panel of the windowed program serves it; headless none of this runs.
#include "app/view.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/window.h"
#include "production/production_dept.h"
#include "production/dc_painter.h"
#include "production/production_dialogs.h"
#include "uikit/info_tip.h"
#include "plat/fw/app.h"
#include "production/production_wnd.h"
#include "session_ui.h"
#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <vector>

using namespace plat;

namespace {

constexpr int LOAD_BOX_ID = 303;

struct Box {
    int left, top, right, bottom;
    bool holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// A machine's box: at its screen position, 230 wide and 20 plus 36 for each
// unit high, scaled.
Box box_of(const RMachine& m, float sx, float sy)
{
    const int w = static_cast<int>(230 * sx);
    const int h = 20 + static_cast<int>(m.active_units * 36 * sy);
    return Box{m.panel_x, m.panel_y, m.panel_x + w, m.panel_y + h};
}

} // namespace

void ProductionDepartment::create_controls(HWND parent)
{
    // The dialogs exist only where there is a window to open them from.
    register_production_templates(AfxGetResourceHandle());
    // The program's one information popup belongs to the Production window.
    info_tip_ = std::make_unique<CInfoTipWnd>();
    if (info_tip_->Create(CWnd::FromHandle(parent)))
        set_program_info_tip(info_tip_.get());
    else
        info_tip_.reset();
    load_box_ = CreateWindow("BUTTON", lang_translate("View total load"), WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                             0, 5, 95, 20, parent, static_cast<HMENU>(LOAD_BOX_ID), 0, nullptr);
    if (load_box_ == 0)
        return;
    if (HFONT font = gfx_font(1); font != 0)
        SendMessage(load_box_, WM_SETFONT, static_cast<WPARAM>(font), 0);
    if (engine_)
        SendMessage(load_box_, BM_SETCHECK, engine_->show_load != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ProductionDepartment::destroy_controls()
{
    load_box_ = 0;
    if (info_tip_) {
        if (program_info_tip() == info_tip_.get())
            set_program_info_tip(nullptr);
        if (info_tip_->m_hWnd != 0)
            info_tip_->DestroyWindow();
        info_tip_.reset();
    }
}

void ProductionDepartment::size(int cx, int)
{
    if (load_box_ != 0)
        MoveWindow(load_box_, cx - 100, 5, 95, 20, TRUE);
}

HBRUSH ProductionDepartment::control_colour(HDC dc, HWND control)
{
    if (control != load_box_ || load_box_ == 0)
        return 0;
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}

bool ProductionDepartment::command(int id, int code, HWND)
{
    if (id == POSTED_COMMAND_ID) {
        run_posted_commands();
        return true;
    }
    if (id != LOAD_BOX_ID || code != BN_CLICKED || load_box_ == 0)
        return false;
    set_total_load(SendMessage(load_box_, BM_GETCHECK, 0, 0) == BST_CHECKED);
    return true;
}

void ProductionDepartment::flip_total_load()
{
    if (!engine_)
        return;
    const bool shown = engine_->show_load == 0;
    if (load_box_ != 0)
        SendMessage(load_box_, BM_SETCHECK, shown ? BST_CHECKED : BST_UNCHECKED, 0);
    set_total_load(shown);
}

void ProductionDepartment::set_total_load(bool shown)
{
    engine_->show_load = shown ? 1 : 0;
    if (shown)
        engine_->refresh_machine_loads();
    else
        Repaint();
}

void ProductionDepartment::paint(HDC dc, float, float)
{
    HFONT font = make_font(lang_font("Ms Sans Serif"), 14, true, true, false, false, false);
    HGDIOBJ old = font != 0 ? SelectObject(dc, font) : 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(128, 128, 128));
    const std::string title = lang_translate("Machines");
    TextOut(dc, 5, 34, title.c_str(), static_cast<int>(title.size()));
    if (font != 0) {
        SelectObject(dc, old);
        DeleteObject(font);
    }
    if (!engine_ || (view_ != nullptr && view_->machine_drawing_suspended != 0))
        return;
    DcPainter painter(dc);
    ui_->painting = &painter;
    struct Done {
        SessionUi& ui;
        ~Done() { ui.painting = nullptr; }
    } done{*ui_};
    for (const auto& m : engine_->Machines)
        m->draw();
}

int ProductionDepartment::machine_at(int x, int y) const
{
    if (!engine_)
        return -1;
    const float sx = ui_->scale_x(), sy = ui_->scale_y();
    for (size_t i = 0; i < engine_->Machines.size(); ++i)
        if (box_of(*engine_->Machines[i], sx, sy).holds(x, y))
            return static_cast<int>(i);
    return -1;
}

HCURSOR ProductionDepartment::cursor_at(int x, int y)
{
    return machine_at(x, y) >= 0 && view_ != nullptr ? view_->hand_cursor : 0;
}

void ProductionDepartment::left_down(int x, int y, UINT)
{
    if (!engine_ || window_handle() == 0)
        return;
    if (const int machine = machine_at(x, y); machine >= 0) {
        CWaitingWOsDlg dlg(*engine_, machine, nullptr);
        dlg.DoModal();
        return;
    }
    constexpr int BAND = 30;
    if (view_ != nullptr && view_->management_feature != 0 && y >= BAND)
        view_->SwitchDepartment(ID_MANAGEMENT);
}

void ProductionDepartment::draw_machine_at(HDC dc, int machine, int x, int y)
{
    if (!engine_ || machine < 0 || static_cast<size_t>(machine) >= engine_->Machines.size())
        return;
    RMachine& m = *engine_->Machines[static_cast<size_t>(machine)];
    struct Kept {
        RMachine& m;
        uint16_t x, y;
        std::vector<std::array<int16_t, 5>> drawn;
        Painter* painting;
        SessionUi& ui;
        ~Kept()
        {
            m.panel_x = x;
            m.panel_y = y;
            for (size_t i = 0; i < drawn.size() && i < m.Units.size(); ++i)
                std::copy(drawn[i].begin(), drawn[i].end(), m.Units[i]->drawn);
            ui.painting = painting;
        }
    } kept{m, m.panel_x, m.panel_y, {}, ui_->painting, *ui_};
    for (const auto& u : m.Units) {
        std::array<int16_t, 5> d{};
        std::copy(std::begin(u->drawn), std::end(u->drawn), d.begin());
        kept.drawn.push_back(d);
        // Drawn in full whatever the window last showed.
        std::fill(std::begin(u->drawn), std::end(u->drawn), static_cast<int16_t>(-1));
    }
    m.panel_x = static_cast<uint16_t>(std::max(0, x));
    m.panel_y = static_cast<uint16_t>(std::max(0, y));
    DcPainter painter(dc);
    ui_->painting = &painter;
    m.draw();
}

void ProductionDepartment::draw_into(HDC dc, const std::function<void()>& drawing)
{
    if (!engine_ || dc == 0 || !drawing)
        return;
    struct Restore {
        SessionUi& ui;
        Painter* was;
        ~Restore() { ui.painting = was; }
    } restore{*ui_, ui_->painting};
    DcPainter painter(dc);
    ui_->painting = &painter;
    drawing();
}

void ProductionDepartment::invalidate_machine(int machine)
{
    if (!engine_ || machine < 0 || static_cast<size_t>(machine) >= engine_->Machines.size())
        return;
    const RMachine& m = *engine_->Machines[static_cast<size_t>(machine)];
    // The outline the machine draws reaches past its box by a few pixels.
    const int w = static_cast<int>(230 * ui_->scale_x());
    const int h = 25 + m.active_units * static_cast<int>(36 * ui_->scale_y());
    invalidate_area(m.panel_x, m.panel_y, w + 1, h);
}

void ProductionDepartment::draw_notice(std::string_view text)
{
    const HWND w = window_handle();
    if (w == 0)
        return;
    HDC dc = GetDC(w);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(192, 192, 192));
    SetTextColor(dc, RGB(0, 0, 0));
    TextOut(dc, 30, 30, text.data(), static_cast<int>(text.size()));
    ReleaseDC(w, dc);
}

void ProductionDepartment::invalidate_area(int x, int y, int w, int h)
{
    const RECT r{x, y, x + w, y + h};
    invalidate(&r, false);
}
