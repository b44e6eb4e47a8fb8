// The view window: it owns the sessions and shows them through the toolbar,
// the indicator panes, the status line and the shown department's window.
#include "appgui/vorn_gui.h"
#include "appgui/tutor.h"
#include "plat/uihost.h"
#include "app/learn_file.h"
#include "app/run_log.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/simdate.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/gdi.h"
#include "plat/help.h"
#include "plat/menu.h"
#include "plat/module.h"
#include "plat/window.h"
#include "uikit/info_tip.h"
#include "uikit/uikit.h"
#include <cstdio>
#include <functional>
#include <utility>

using namespace plat;

namespace {

constexpr int TOOLBAR_HEIGHT = 28;
constexpr int STATUS_HEIGHT = 24;
constexpr int STRIP_WIDTH = 125;
constexpr COLORREF LIGHT_GREY = 0xC0C0C0;

struct PaneSpec {
    int id;
    const char* title;
    const char* tip;
    int height;
};
// In creation order; Status, Session End and Profit move up 50 pixels
// when the timer is off.
constexpr PaneSpec kPanes[7] = {
    {201, "Clock", "Simulation date and time", 80},
    {202, "Reputation", "Customer satisfaction meter. Based on the on-time delivery", 45},
    {205, "Cash", "Current cash meter", 45},
    {203, "Timer", "Time left for simulation", 45},
    {204, "Status", "Show company measurements in graphs", 45},
    {206, "Session End", "End date for this scenario", 45},
    {207, "Profit", "Profit generated up to last month", 45},
};

int pane_y(int id, bool timerOn)
{
    switch (id) {
    case 201: return 8;
    case 202: return 88;
    case 205: return 138;
    case 203: return 188;
    case 204: return timerOn ? 238 : 188;
    case 206: return timerOn ? 288 : 238;
    default: return timerOn ? 338 : 288;
    }
}

struct ToolSpec {
    int id;
    const char* label;
    const char* tip;
    int width;
};
constexpr ToolSpec kTools[] = {
    {ID_OPEN, "Open", "(re)Open a scenario", 52},
    {ID_RUN, "Run", "Run the company until a specified date", 45},
    {ID_STOP, "Stop", "Stop Running", 45},
    {ID_MARKETING, "Marketing", "Visit the Marketing department", 85},
    {ID_PRODUCTION, "Production", "Visit the Production department", 85},
    {ID_PURCHASING, "Purchasing", "Visit the Purchasing department", 85},
    {ID_FINANCE, "Finance", "Visit the Finance department", 85},
    {ID_RESTORE_HOLD, "Restore hold", "Restore From Hold state", 87},
};

bool is_department(int id) { return id >= ID_MARKETING && id <= ID_FINANCE; }

void draw_text(HDC dc, int x, int y, const std::string& text)
{
    TextOut(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// The engraved frame around a pane's white inner area.
void draw_pane_frame(HDC dc, const RECT& r)
{
    HPEN dark = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HPEN light = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(dc, dark);
    MoveToEx(dc, r.left - 1, r.bottom, nullptr);
    LineTo(dc, r.left - 1, r.top - 1);
    LineTo(dc, r.right, r.top - 1);
    SelectObject(dc, light);
    MoveToEx(dc, r.right, r.top - 1, nullptr);
    LineTo(dc, r.right, r.bottom);
    LineTo(dc, r.left - 2, r.bottom);
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
}

// The department window's buttons; Orders and Materials link to the
// departments that hold them and start hidden.
constexpr int BUTTON_LEGEND = 102;
constexpr int BUTTON_ORDERS = 301;
constexpr int BUTTON_MATERIALS = 302;
constexpr int BUTTON_RED_WARNINGS = 306;
constexpr int TITLE_BAND_HEIGHT = 30;

// The title band across the top: a raised frame and the title, engraved.
void draw_title_band(HDC dc, int width, const std::string& title)
{
    draw_3d_frame(dc, 0, 0, width, TITLE_BAND_HEIGHT, 1, 1);
    HFONT font = make_font(lang_font("Times New Roman"), 13, true, false, false, false, false);
    HGDIOBJ old = font != 0 ? SelectObject(dc, font) : 0;
    SetBkMode(dc, TRANSPARENT);
    RECT band{0, 0, width, TITLE_BAND_HEIGHT};
    SetTextColor(dc, RGB(255, 255, 255));
    DrawText(dc, title.c_str(), -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RECT shadow{1, 1, width + 1, TITLE_BAND_HEIGHT + 1};
    SetTextColor(dc, RGB(0, 0, 0));
    DrawText(dc, title.c_str(), -1, &shadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (font != 0) {
        SelectObject(dc, old);
        DeleteObject(font);
    }
}

// The panel's window: the background, the title band with its buttons, and
// everything else handed to the department through its content seam.
class PanelWindow : public CPanelWnd {
public:
    PanelWindow(CDepartmentWnd& department, std::function<void(int)> pressed)
        : m_department(department), m_pressed(std::move(pressed))
    {
    }
    const char* GetRuntimeClassName() const override { return "DepartmentWindow"; }
    // Set while the panel goes with its department: nothing is handed over.
    bool detached = false;

    int OnCreate(CREATESTRUCT* cs) override
    {
        if (CPanelWnd::OnCreate(cs) == -1)
            return -1;
        const struct {
            int id, bitmap;
            RECT rect;
            const char* caption;
            const char* tip;
            int offset;
            bool shown;
        } buttons[] = {
            {BUTTON_LEGEND, IDB_FACE_LEGEND, {3, 5, 73, 25}, "Legend", "Get help to current screen", 15, true},
            {BUTTON_MATERIALS, IDB_FACE_MATERIALS, {80, 5, 145, 25}, "Materials", "View Materials", 20, false},
            {BUTTON_ORDERS, IDB_FACE_ORDERS, {145, 5, 210, 25}, "Orders", "View Orders", 20, false}};
        for (const auto& b : buttons) {
            auto button = std::make_unique<CBarButton>();
            button->Create(this, b.id, b.rect, lang_translate(b.caption), lang_translate(b.tip), b.offset);
            button->SetBitmap(b.bitmap);
            if (!b.shown)
                button->ShowWindow(SW_HIDE);
            m_buttons.push_back(std::move(button));
        }
        m_department.create_controls(m_hWnd);
        return 0;
    }
    BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg == WM_BUTTON_PRESSED) {
            const int id = static_cast<int>(wParam);
            if (id >= BUTTON_LEGEND && id <= BUTTON_RED_WARNINGS && m_pressed)
                m_pressed(id);
            result = 0;
            return TRUE;
        }
        return CPanelWnd::OnMessage(msg, wParam, lParam, result);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (detached)
            return FALSE;
        return m_department.command(LOWORD(wParam), HIWORD(wParam), static_cast<HWND>(lParam)) ? TRUE : FALSE;
    }
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override
    {
        if (!detached)
            if (HBRUSH brush = m_department.control_colour(dc, control); brush != 0)
                return brush;
        return CPanelWnd::OnCtlColor(dc, control, type);
    }
    void OnDestroy() override
    {
        if (!detached)
            m_department.destroy_controls();
        for (const auto& b : m_buttons)
            b->DestroyWindow();
        m_buttons.clear();
        CPanelWnd::OnDestroy();
    }
    void OnPaint() override
    {
        PAINTSTRUCT ps;
        HDC dc = plat::BeginPaint(m_hWnd, &ps);
        RECT rc;
        plat::GetClientRect(m_hWnd, &rc);
        HBRUSH face = CreateSolidBrush(LIGHT_GREY);
        FillRect(dc, &rc, face);
        DeleteObject(face);
        draw_title_band(dc, rc.right, lang_translate(m_department.title().c_str()));
        CVornView* view = m_department.view();
        if (!detached && (view == nullptr || view->paint_hold == 0)) {
            const int saved = SaveDC(dc);
            m_department.paint(dc, view != nullptr ? view->scale_x : 1.0f, view != nullptr ? view->scale_y : 1.0f);
            RestoreDC(dc, saved);
        }
        plat::EndPaint(m_hWnd, &ps);
    }
    void OnSize(UINT type, int cx, int cy) override
    {
        CPanelWnd::OnSize(type, cx, cy);
        if (!detached)
            m_department.size(cx, cy);
    }
    void OnMouseMove(UINT keys, POINT pt) override
    {
        if (detached)
            return;
        const HCURSOR cursor = m_department.cursor_at(pt.x, pt.y);
        SetCursor(cursor != 0 ? cursor : LoadCursor(0, IDC_ARROW));
        m_department.mouse_move(pt.x, pt.y, keys);
    }
    BOOL OnSetCursor(HWND hwnd, UINT hitTest, UINT message) override
    {
        // The pointer's shape is chosen on every move, over the client area.
        if (hitTest == HTCLIENT)
            return TRUE;
        return CPanelWnd::OnSetCursor(hwnd, hitTest, message);
    }
    void OnLButtonDown(UINT keys, POINT pt) override { hand(&DepartmentContent::left_down, keys, pt); }
    void OnLButtonUp(UINT keys, POINT pt) override { hand(&DepartmentContent::left_up, keys, pt); }
    void OnLButtonDblClk(UINT keys, POINT pt) override { hand(&DepartmentContent::double_click, keys, pt); }
    void OnRButtonDown(UINT keys, POINT pt) override { hand(&DepartmentContent::right_down, keys, pt); }
    void OnRButtonUp(UINT keys, POINT pt) override { hand(&DepartmentContent::right_up, keys, pt); }

private:
    void hand(void (DepartmentContent::*event)(int, int, UINT), UINT keys, POINT pt)
    {
        if (!detached)
            (m_department.*event)(pt.x, pt.y, keys);
    }
    CDepartmentWnd& m_department;
    std::function<void(int)> m_pressed;
    // Owned by the panel object: a panel deleted with its window still up (the
    // window then goes without its OnDestroy) takes its buttons along.
    std::vector<std::unique_ptr<CBarButton>> m_buttons;
};

} // namespace

// ---- indicator panes -----------------------------------------------------------

std::string CIndicatorPane::value_text() const
{
    CVornView* v = m_owner.session();
    if (v == nullptr)
        return {};
    switch (m_kind) {
    case 202:
        return reputation_text(v->reputation.displayed);
    case 205:
        return cash_text(v->finance != nullptr ? v->finance->cash() : 0);
    case 203:
        return timer_text(v->timer.remaining);
    case 204:
        return lang_translate(status_look(v->run_state).text);
    case 206:
        return date_text(v->clock.session_end, v->clock.date_order);
    case 207: {
        if (v->finance == nullptr)
            return {};
        const char letter = v->clock.IsNewYear() ? 'L' : 'C';
        return profit_text(v->finance->net_profit(letter),
                           date_text(v->clock.LastClosedMonthEnd(v->clock.current), v->clock.date_order));
    }
    default:
        return {};
    }
}

void CIndicatorPane::show_part(int part, bool)
{
    if (m_hWnd != 0)
        plat::InvalidateRect(m_hWnd, nullptr, FALSE);
    // The Profit pane names the last closed month: a new day may close one.
    if (part == 0)
        if (CIndicatorPane* profit = m_owner.pane(207); profit != nullptr && profit->m_hWnd != 0)
            profit->InvalidateRect(nullptr, FALSE);
}

void CIndicatorPane::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = plat::BeginPaint(m_hWnd, &ps);
    RECT rc;
    plat::GetClientRect(m_hWnd, &rc);
    HBRUSH face = CreateSolidBrush(LIGHT_GREY);
    FillRect(dc, &rc, face);
    DeleteObject(face);
    char title[64];
    plat::GetWindowText(m_hWnd, title, sizeof title);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    draw_text(dc, 4, 2, title);
    SetTextColor(dc, RGB(0, 0, 0));
    draw_text(dc, 3, 1, title);
    RECT inner{4, 16, rc.right - 4, rc.bottom - 4};
    FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw_pane_frame(dc, inner);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 255, 255));
    CVornView* v = m_owner.session();
    if (v != nullptr) {
        if (m_kind == 201) {
            const SimDateTime& now = v->clock.current;
            draw_text(dc, 7, 23, date_text(now, v->clock.date_order));
            draw_text(dc, 7, 40, time_text(now));
            std::string day = lang_translate(day_name(weekday_of(now)));
            day.resize(15, ' ');
            draw_text(dc, 7, 56, day);
        } else if (m_kind == 204) {
            // The state's colour is the word's ground, as in the status line,
            // so white ("Pause") is the pane's own and green stays readable.
            const StatusLook look = status_look(v->run_state);
            SetBkColor(dc, look.colour);
            draw_text(dc, 7, 23, lang_translate(look.text));
        } else {
            draw_text(dc, 7, m_kind == 207 || m_kind == 206 ? 23 : 24, value_text());
        }
    }
    plat::EndPaint(m_hWnd, &ps);
}

// ---- department panels ----------------------------------------------------------

CDepartmentPanel::CDepartmentPanel(CVornWindow& owner, CDepartmentWnd& department)
    : m_owner(owner), m_department(department)
{
}

CDepartmentPanel::~CDepartmentPanel()
{
    if (m_window && m_window->m_hWnd != 0) {
        // The department is going too: its controls die with the window.
        static_cast<PanelWindow*>(m_window.get())->detached = true;
        m_window->DestroyWindow();
    }
}

void CDepartmentPanel::show(bool shown)
{
    if (!shown) {
        if (m_window)
            m_window->ShowWindow(SW_HIDE);
        return;
    }
    if (!m_window && m_owner.m_hWnd != 0) {
        auto w = std::make_unique<PanelWindow>(m_department, [this](int id) { m_owner.DepartmentButton(id); });
        if (w->Create(nullptr, m_department.name().c_str(), WS_CHILD, m_owner.department_rect(), &m_owner,
                      IDC_DEPARTMENT))
            m_window = std::move(w);
    }
    if (m_window) {
        RECT r = m_owner.department_rect();
        m_window->MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top);
        m_window->ShowWindow(SW_SHOW);
    }
}

void CDepartmentPanel::show_link_button(int show, int kind)
{
    const int id = kind == 1 ? BUTTON_ORDERS : kind == 2 ? BUTTON_MATERIALS : 0;
    if (id == 0 || !m_window)
        return;
    if (HWND button = plat::GetDlgItem(m_window->m_hWnd, id))
        plat::ShowWindow(button, show != 0 ? SW_SHOW : SW_HIDE);
}

HWND CDepartmentPanel::handle() const { return m_window ? m_window->m_hWnd : 0; }

// ---- the view window ------------------------------------------------------------

std::string main_window_title(const Configuration& config, const CVornView* session)
{
    std::string title = config.title.substr(0, 100) + " " + lang_translate("Application");
    if (session != nullptr) {
        const std::string& path = session->session_path;
        const size_t cut = path.find_last_of("/\\");
        title += " - " + (cut == std::string::npos ? path : path.substr(cut + 1));
    }
    return title;
}

CVornWindow::CVornWindow(Configuration config, DepartmentAssembly assembly)
    : m_sessions(std::move(config), [this, assembly = std::move(assembly)](CVornView& view) {
          const PanelMaker panels = [this](CDepartmentWnd& department) -> std::unique_ptr<DepartmentWindow> {
              return std::make_unique<CDepartmentPanel>(*this, department);
          };
          if (assembly)
              return assembly(view, panels);
          Departments d = base_departments(view);
          attach_panels(d, panels);
          return d;
      })
{
    m_sessions.set_ui(this);
    m_sessions.open_dialogs = [this] { return static_cast<int>(m_dialogs.all().size()); };
    m_sessions.close_dialogs = [this] {
        const std::vector<HWND> open = m_dialogs.all();
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            plat::PostMessage(*it, WM_CLOSE, 0, 0);
    };
}

CVornWindow::~CVornWindow()
{
    m_sessions.set_ui(nullptr);
}

CIndicatorPane* CVornWindow::pane(int kind) const
{
    for (const auto& p : m_panes)
        if (p && p->kind() == kind)
            return p.get();
    return nullptr;
}

RECT CVornWindow::department_rect() const
{
    RECT rc{};
    plat::GetClientRect(m_hWnd, &rc);
    return RECT{STRIP_WIDTH, TOOLBAR_HEIGHT, std::max<LONG>(rc.right, STRIP_WIDTH + 1),
                std::max<LONG>(rc.bottom - STATUS_HEIGHT, TOOLBAR_HEIGHT + 1)};
}

namespace {
// The view that dialogs made without one are registered with.
CVornWindow* g_registry_window = nullptr;
DialogRegistry* registry_window() { return g_registry_window; }
} // namespace

int CVornWindow::OnCreate(CREATESTRUCT* cs)
{
    if (CView::OnCreate(cs) == -1)
        return -1;
    g_registry_window = this;
    set_dialog_registry_source(&registry_window);
    // Texts made from here on are translated; the fonts and the About box
    // wait for the message loop.
    lang_load(0);
    CreateToolbar();
    CreatePanes();
    m_status = std::make_unique<CStatusLine>();
    m_status->Create(nullptr, "", WS_CHILD, RECT{0, 0, 10, STATUS_HEIGHT}, this, IDC_STATUS_LINE);
    // The program's fonts, then the start-up About box, once the loop runs.
    PostMessage(WM_SET_FONTS, 0, 0);
    return 0;
}

void CVornWindow::OnDestroy()
{
    if (g_registry_window == this)
        g_registry_window = nullptr;
    show_red_warnings(false);
    // The session's departments own windows inside this one.
    m_sessions.CloseSession();
    m_shownSession = nullptr;
    for (auto& p : m_panes)
        if (p && p->m_hWnd != 0)
            p->DestroyWindow();
    if (m_strip && m_strip->m_hWnd != 0)
        m_strip->DestroyWindow();
    if (m_status && m_status->m_hWnd != 0)
        m_status->DestroyWindow();
    gfx_delete_fonts();
    CView::OnDestroy();
}

void CVornWindow::CreateToolbar()
{
    m_toolbar.Create(this, IDC_TOOLBAR);
    m_toolbar.SetButtonSize(45, 22);
    for (const ToolSpec& t : kTools) {
        m_toolbar.SetButtonSize(t.width, 22);
        // The buttons have no pictures: each label stands in the middle of its face.
        const char* label = lang_translate(t.label);
        const int offset = std::max(0, (t.width - CBarButton::CaptionWidth(label)) / 2);
        CBarButton* b = m_toolbar.AddButton(label, lang_translate(t.tip), t.id, 0, 0, 0, 2, offset);
        if (is_department(t.id))
            b->SetKind(CBarButton::TOGGLE, TRUE);
        if (t.id != ID_OPEN) {
            b->ShowWindow(SW_HIDE);
            if (t.id != ID_RESTORE_HOLD)
                b->SetState(CBarButton::DISABLED);
        }
    }
}

void CVornWindow::CreatePanes()
{
    m_strip = std::make_unique<CPaneStrip>();
    m_strip->Create(nullptr, "", WS_CHILD, RECT{0, TOOLBAR_HEIGHT, STRIP_WIDTH, TOOLBAR_HEIGHT + 400}, this,
                    IDC_PANE_STRIP);
    for (size_t i = 0; i < m_panes.size(); ++i) {
        const PaneSpec& s = kPanes[i];
        auto p = std::make_unique<CIndicatorPane>(*this, s.id);
        const int y = pane_y(s.id, true);
        p->Create(nullptr, lang_translate(s.title), WS_CHILD, RECT{10, y, 115, y + s.height}, m_strip.get(),
                  static_cast<UINT>(s.id));
        p->SetToolTip(s.tip);
        m_panes[i] = std::move(p);
    }
}

void CVornWindow::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    if (m_toolbar.m_hWnd != 0)
        m_toolbar.MoveWindow(0, 0, cx, TOOLBAR_HEIGHT);
    // The strip runs down to the bottom, beside the status line.
    if (m_strip && m_strip->m_hWnd != 0)
        m_strip->Reposition();
    if (m_status && m_status->m_hWnd != 0) {
        m_status->MoveWindow(0, std::max(cy - STATUS_HEIGHT, 0), cx, STATUS_HEIGHT);
        m_status->Reposition();
    }
    if (CVornView* v = session(); v != nullptr && v->current_department != nullptr) {
        if (const HWND w = v->current_department->window_handle(); w != 0) {
            RECT r = department_rect();
            plat::MoveWindow(w, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        }
    }
}

void CVornWindow::OnDraw(HDC hdc)
{
    RECT rc;
    plat::GetClientRect(m_hWnd, &rc);
    FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void CVornWindow::ShowSessionFurniture(bool shown)
{
    const bool timerOn = shown && session()->config().timer_enabled;
    for (const ToolSpec& t : kTools) {
        CBarButton* b = m_toolbar.FindButton(t.id);
        if (b == nullptr || t.id == ID_OPEN)
            continue;
        if (t.id == ID_RESTORE_HOLD) {
            b->ShowWindow(shown && session()->run_state == RUN_HOLD ? SW_SHOW : SW_HIDE);
            continue;
        }
        b->SetState(shown ? CBarButton::UP : CBarButton::DISABLED);
        b->ShowWindow(shown ? SW_SHOW : SW_HIDE);
    }
    for (size_t i = 0; i < m_panes.size(); ++i) {
        CIndicatorPane* p = m_panes[i].get();
        if (p == nullptr || p->m_hWnd == 0)
            continue;
        const bool visible = shown && (p->kind() != 203 || timerOn);
        const int y = pane_y(p->kind(), timerOn);
        p->MoveWindow(10, y, 105, kPanes[i].height);
        p->ShowWindow(visible ? SW_SHOW : SW_HIDE);
        p->InvalidateRect(nullptr, TRUE);
    }
    if (m_strip && m_strip->m_hWnd != 0) {
        m_strip->Reposition();
        m_strip->ShowWindow(shown ? SW_SHOW : SW_HIDE);
    }

    // The status line's fields depend on the timer flag: made anew.
    if (m_status && m_status->m_hWnd != 0)
        m_status->DestroyWindow();
    m_status = std::make_unique<CStatusLine>();
    RECT rc;
    plat::GetClientRect(m_hWnd, &rc);
    m_status->Create(nullptr, "", shown ? WS_CHILD | WS_VISIBLE : WS_CHILD,
                     RECT{0, rc.bottom - STATUS_HEIGHT, rc.right, rc.bottom}, this, IDC_STATUS_LINE);
    if (shown) {
        m_status->AddField(1, lang_translate("Status:"), 50, 0, LIGHT_GREY);
        m_status->AddField(2, "", 80, 1, LIGHT_GREY);
        m_status->AddField(3, lang_translate("End:"), 50, 0, LIGHT_GREY);
        m_status->AddField(4, "", 80, 1, LIGHT_GREY);
        if (timerOn) {
            m_status->AddField(5, lang_translate("Timer:"), 50, 0, LIGHT_GREY);
            m_status->AddField(6, "", 80, 1, LIGHT_GREY);
        }
        m_status->Reposition();
        UpdateStatusFields();
    }
}

void CVornWindow::UpdateStatusFields()
{
    CVornView* v = session();
    if (v == nullptr || !m_status || m_status->GetFieldCount() < 4)
        return;
    // The state's own colour; white, the stopped state's, would vanish on
    // the line's grey.
    const StatusLook look = status_look(v->run_state);
    m_status->SetFieldText(1, lang_translate(look.text), look.colour == RGB(255, 255, 255) ? LIGHT_GREY : look.colour);
    m_status->SetFieldText(3, date_text(v->clock.session_end, v->clock.date_order).c_str(), LIGHT_GREY);
    if (m_status->GetFieldCount() >= 6)
        m_status->SetFieldText(5, timer_text(v->timer.remaining).c_str(), LIGHT_GREY);
}

void CVornWindow::SyncSession()
{
    CVornView* v = session();
    if (v == m_shownSession)
        return;
    m_shownSession = v;
    if (v != nullptr)
        v->clock.set_display(pane(201));
    auto* frame = dynamic_cast<CMainFrame*>(GetParent());
    if (frame != nullptr) {
        frame->LoadMainMenu(v != nullptr ? IDR_SESSION_MENU : IDR_START_MENU);
        if (v != nullptr)
            TutorSessionMenu(*this, plat::GetMenu(frame->m_hWnd));
        // Only a scenario that names a story offers it again, in the fifth popup.
        if (v != nullptr && !v->story_file.empty())
            if (HMENU fifth = GetSubMenu(plat::GetMenu(frame->m_hWnd), 4); fifth != 0) {
                AppendMenu(fifth, MF_STRING, ID_BACKGROUND_STORY, lang_translate("&Background story"));
                plat::DrawMenuBar(frame->m_hWnd);
            }
        frame->SetWindowText(main_window_title(m_sessions.configuration(), v).c_str());
    }
    ShowSessionFurniture(v != nullptr);
    if (v != nullptr) {
        department_switched(v->shown_command);
        run_state_changed(v->run_state);
    }
    plat::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CVornWindow::IdleStep()
{
    m_sessions.IdleStep();
    SyncSession();
}

void CVornWindow::FillDepartmentMenus()
{
    CVornView* v = session();
    auto* frame = dynamic_cast<CMainFrame*>(GetParent());
    if (v == nullptr || frame == nullptr || frame->loaded_menu != IDR_SESSION_MENU)
        return;
    HMENU bar = plat::GetMenu(frame->m_hWnd);
    for (int k = 0; k < 3; ++k) {
        HMENU popup = GetSubMenu(bar, 1 + k);
        if (popup == 0)
            continue;
        while (GetMenuItemCount(popup) > 0)
            DeleteMenu(popup, 0, MF_BYPOSITION);
        const MenuTable& table = v->menu_tables.tables[static_cast<size_t>(k)];
        for (int pos = 1; pos <= table.count && pos < MENU_TABLE_TEXTS; ++pos) {
            const std::string& text = table.texts[static_cast<size_t>(pos)];
            if (text.empty() || text == "-")
                AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
            else
                AppendMenu(popup, MF_STRING, static_cast<UINT_PTR>(300 + 100 * k + pos), text.c_str());
        }
    }
    plat::DrawMenuBar(frame->m_hWnd);
}

// ---- what the session tells the windows -------------------------------------------

void CVornWindow::run_state_changed(int16_t state)
{
    if (CIndicatorPane* p = pane(204))
        p->InvalidateRect(nullptr, FALSE);
    // While running the clock is drawn by the hour; once the run stops it
    // shows the minute it stopped at.
    if (CIndicatorPane* p = pane(201); p != nullptr && state != RUN_RUNNING)
        p->InvalidateRect(nullptr, FALSE);
    UpdateStatusFields();
}

void CVornWindow::show_restore_hold(bool shown)
{
    if (CBarButton* b = m_toolbar.FindButton(ID_RESTORE_HOLD))
        b->ShowWindow(shown ? SW_SHOW : SW_HIDE);
}

void CVornWindow::timer_changed()
{
    if (CIndicatorPane* p = pane(203))
        p->InvalidateRect(nullptr, FALSE);
    UpdateStatusFields();
}

void CVornWindow::panes_changed(unsigned panes)
{
    const std::pair<unsigned, int> kinds[] = {{PANE_REPUTATION, 202}, {PANE_CASH, 205}, {PANE_PROFIT, 207}};
    for (const auto& [bit, kind] : kinds) {
        CIndicatorPane* p = (panes & bit) != 0 ? pane(kind) : nullptr;
        if (p == nullptr || p->m_hWnd == 0)
            continue;
        // At once, as the figure changes, not when the message loop comes
        // round to the pane.
        p->InvalidateRect(nullptr, FALSE);
        plat::UpdateWindow(p->m_hWnd);
    }
}

void CVornWindow::department_switched(int command_id)
{
    for (int id = ID_MARKETING; id <= ID_FINANCE; ++id)
        if (CBarButton* b = m_toolbar.FindButton(id); b != nullptr && b->GetState() != CBarButton::DISABLED)
            b->SetState(id == command_id ? CBarButton::DOWN : CBarButton::UP);
    FillDepartmentMenus();
}

// ---- commands ------------------------------------------------------------------------

void CVornWindow::RunCommand()
{
    CVornView* v = session();
    if (v == nullptr || !v->RunPrecheck())
        return;
    std::optional<RunChoice> choice = run_dialog(this, v->clock.date_order);
    if (choice && session() == v)
        v->Run(*choice);
}

void CVornWindow::OnButtonPressed(int id)
{
    switch (id) {
    case ID_OPEN:
    case ID_SAVE:
    case ID_MARKETING:
    case ID_PRODUCTION:
    case ID_PURCHASING:
    case ID_FINANCE:
    case ID_RESTORE_HOLD:
    case ID_STOP:
        ExecuteCommand(id);
        break;
    case ID_RUN:
        ExecuteCommand(session() != nullptr && session()->ContinueEnabled() ? ID_CONTINUE : ID_RUN);
        break;
    default: {
        char text[40];
        std::snprintf(text, sizeof text, "Button Id: %d", id);
        lang_message_box(m_hWnd, text, "Button pressed", MB_OK);
    }
    }
}

bool CVornWindow::ExecuteCommand(int id)
{
    CVornView* v = session();
    bool handled = true;
    switch (id) {
    case ID_OPEN:
        OnOpenSession(m_sessions, this, data_folder);
        break;
    case ID_SAVE:
        if (v != nullptr)
            SaveSessionAs(*v);
        break;
    case ID_RUN:
        RunCommand();
        break;
    case ID_RUN_ON_DAY:
        if (v != nullptr)
            v->RunOnDay();
        break;
    case ID_RUN_YEAR:
        if (v != nullptr)
            v->RunYear();
        break;
    case ID_CONTINUE:
        if (v != nullptr)
            v->Continue();
        break;
    case ID_STOP:
        if (v != nullptr)
            v->Stop();
        break;
    case ID_RESTORE_HOLD:
        if (v != nullptr && v->run_state == RUN_HOLD)
            v->RestoreHold();
        break;
    case ID_MARKETING:
    case ID_PRODUCTION:
    case ID_PURCHASING:
    case ID_FINANCE:
        if (v != nullptr)
            v->SwitchDepartment(id);
        break;
    case ID_TIMER_TEN_MINUTES:
        if (v != nullptr)
            v->AddTimerTenMinutes();
        break;
    case ID_LOGGING:
        if (v != nullptr)
            v->ToggleLogging();
        break;
    case ID_SAVE_POLICIES:
        if (v != nullptr)
            SavePoliciesCommand(*v);
        break;
    case ID_LOAD_POLICIES:
        if (v != nullptr)
            LoadPoliciesCommand(*v);
        break;
    case ID_BACKGROUND_STORY:
        if (v != nullptr)
            show_story(v->story_file);
        break;
    case ID_CHANGE_SEED:
        if (v != nullptr)
            if (std::optional<int32_t> seed = change_seed(v->random_seed))
                v->ChangeSeed(*seed);
        break;
    case ID_CLOSE_SESSION:
        m_sessions.RequestClose();
        m_sessions.ProcessRequests();
        break;
    case ID_HELP_CONTENTS:
        WinHelp(m_hWnd, "vorn.hlp", HELP_CONTENTS, 0);
        break;
    case ID_INFORMATION:
        if (v != nullptr)
            general_information_dialog(this);
        break;
    case ID_SET_MACHINE_WORK_PERCENT:
        if (v != nullptr && machine_work_percent_allowed(v->clock))
            machine_work_percent_dialog(this);
        break;
    case ID_INTERMISSION:
        intermission_dialog(this);
        break;
    case ID_POLICY_DECISIONS:
        if (v != nullptr)
            policy_decisions_dialog(this);
        break;
    case ID_SHOW_ID:
        if (v != nullptr)
            plat::MessageBox(m_hWnd, v->ToggleShowIds() ? "Show ID - ON" : "Show ID - OFF", v->config().title.c_str(),
                             MB_OK);
        break;
    case ID_PAUSE_EVENTS:
        if (v != nullptr)
            plat::MessageBox(m_hWnd, v->TogglePauseEvents() ? "Pause Events ON" : "Pause Events OFF",
                             v->config().title.c_str(), MB_OK);
        break;
    case ID_WRITE_LANG:
        if (v != nullptr)
            ToggleWriteLangs();
        break;
    case ID_COMPARE:
        StartCompare();
        break;
    case ID_SHOW_FG:
        if (v != nullptr)
            plat::MessageBox(m_hWnd, finished_goods_text(*v).c_str(), v->config().title.c_str(), MB_OK);
        break;
    case ID_VERSION:
        plat::MessageBox(m_hWnd, VORN_VERSION_TEXT, "VORN Version", MB_OK | MB_ICONINFORMATION);
        break;
    case ID_VIEW_GRAPH:
        if (v != nullptr && v->marketing != nullptr)
            v->marketing->flip_sales_graph();
        break;
    case ID_VIEW_TOTAL_LOAD:
        if (v != nullptr && v->production != nullptr)
            v->production->flip_total_load();
        break;
    case ID_SUMMARY_GRAPHS:
        if (v != nullptr && v->finance != nullptr)
            v->finance->flip_summary_graphs();
        break;
    case ID_PROFIT_GRAPH:
        if (v != nullptr && v->finance != nullptr)
            v->finance->flip_show_profit();
        break;
    case ID_SEARCH_HELP:
        not_implemented("Search for help on");
        break;
    default:
        // The department menu ids reach the department through the frame.
        handled = handle_tutor_command(*this, id) || (id >= 301 && id <= 599);
    }
    SyncSession();
    return handled;
}

void CVornWindow::DepartmentButton(int id)
{
    CVornView* v = session();
    if (v == nullptr)
        return;
    switch (id) {
    case BUTTON_LEGEND:
        // Help of the department on view, whichever window was pressed.
        if (v->current_department != nullptr)
            v->current_department->show_help();
        break;
    case BUTTON_ORDERS:
        ExecuteCommand(ID_MARKETING);
        break;
    case BUTTON_MATERIALS:
        ExecuteCommand(ID_PURCHASING);
        break;
    case BUTTON_RED_WARNINGS:
        v->ShowRedWarnings(TRUE);
        break;
    default:
        break;
    }
}

void CVornWindow::ToggleWriteLangs()
{
    CVornView* v = session();
    v->write_langs = v->write_langs != 0 ? 0 : 1;
    lang_load(v->write_langs);
    plat::MessageBox(m_hWnd, v->write_langs != 0 ? "Writing Langs ON" : "Writing Langs OFF", v->config().title.c_str(),
                     MB_OK);
}

// Only offered while a run log is written and the comparer is there; what
// it does with the log is its own affair, so its start is not checked.
void CVornWindow::StartCompare()
{
    CVornView* v = session();
    if (v == nullptr || v->logging == 0 || v->compare_available == 0 || !v->run_log)
        return;
    char command[1200];
    std::snprintf(command, sizeof command, "%s %s", COMPARE_PROGRAM, v->run_log->name().c_str());
    WinExec(command, SW_SHOWNORMAL);
}

void CVornWindow::remove_dialog(HWND dialog)
{
    m_dialogs.remove(dialog);
    TutorDialogGone(dialog);
}

BOOL CVornWindow::OnCommand(WPARAM wParam, LPARAM)
{
    return ExecuteCommand(static_cast<int>(LOWORD(wParam))) ? TRUE : FALSE;
}

BOOL CVornWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_BUTTON_PRESSED) {
        OnButtonPressed(static_cast<int>(wParam));
        result = 0;
        return TRUE;
    }
    if (msg == WM_SET_FONTS) {
        gfx_create_fonts(lang_font("Ms Sans Serif"), lang_font("Ms Sans Serif"), lang_font("Ms Serif"));
        if (auto* app = dynamic_cast<CVornApp*>(AfxGetApp()); app != nullptr && app->about_at_start)
            show_about_box(this, app->configuration, true);
        result = 0;
        return TRUE;
    }
    if (msg == WM_RESUME_DEPARTMENT) {
        result = session() != nullptr ? session()->OnResumeDepartment() : 0;
        return TRUE;
    }
    return CView::OnMessage(msg, wParam, lParam, result);
}
