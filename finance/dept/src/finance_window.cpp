// The Finance department's window: the Profit and Loss Statement of the
// selected report, or the summary graphs, and the boxes of the title band.
// The panel of the windowed program serves it; headless none of this runs.
#include "app/clock.h"
#include "app/view.h"
#include "finance/finance_dept.h"
#include "foundation/lang.h"
#include "foundation/simdate.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/uihost.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <algorithm>
#include <string>

using namespace plat;

namespace {

constexpr int ADDED_VALUE_BOX = 101;
constexpr int SUMMARY_BOX = 102;
constexpr int SELECT_BUTTON = 103;
constexpr int PROFIT_BOX = 104;
constexpr int SUMMARY_GRAPH = 105;
constexpr int BAND = 30;

HWND make_control(HWND parent, const char* text, DWORD style, int id, int x, int w, bool shown)
{
    HWND h = CreateWindow("BUTTON", lang_translate(text), WS_CHILD | (shown ? WS_VISIBLE : 0) | style, x, 5, w, 22,
                          parent, static_cast<HMENU>(id), 0, nullptr);
    if (h != 0)
        SendMessage(h, WM_SETFONT, static_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return h;
}

bool checked(HWND box) { return box != 0 && SendMessage(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void set_check(HWND box, bool on)
{
    if (box != 0)
        SendMessage(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void show_control(HWND h, bool on)
{
    if (h != 0)
        ShowWindow(h, on ? SW_SHOW : SW_HIDE);
}

} // namespace

void FinanceDepartment::create_controls(HWND parent)
{
    // The dialogs exist only where there is a window to open them from.
    register_finance_dialog_templates(AfxGetResourceHandle());
    register_finance_graph_templates(AfxGetResourceHandle());
    added_value_box_ =
        make_control(parent, "With added value on FG and WIP", BS_AUTOCHECKBOX, ADDED_VALUE_BOX, 80, 190, true);
    summary_box_ = make_control(parent, "Summary graphs", BS_AUTOCHECKBOX, SUMMARY_BOX, 0, 110, true);
    profit_box_ = make_control(parent, "Show profit", BS_AUTOCHECKBOX, PROFIT_BOX, 0, 80, false);
    select_button_ = make_control(parent, "Select", BS_PUSHBUTTON, SELECT_BUTTON, 80, 70, false);
    set_check(added_value_box_, engine_->with_added_value != 0);
    set_check(summary_box_, summary_graphs_);
    set_check(profit_box_, show_profit_);
    RECT client{};
    GetClientRect(parent, &client);
    summary_graph_ = std::make_unique<CSummaryGraphWnd>();
    if (!summary_graph_->Create(CWnd::FromHandle(parent), RECT{0, BAND, client.right, client.bottom}, SUMMARY_GRAPH))
        summary_graph_.reset();
    else
        ShowWindow(summary_graph_->m_hWnd, SW_HIDE);
    auto* profit = new CProfitGraphDlg(CWnd::FromHandle(parent));
    profit_graph_ = ModelessPtr<CProfitGraphDlg>(profit);
    if (profit->m_hWnd != 0)
        profit->closed = [this] {
            show_profit_ = false;
            set_check(profit_box_, false);
        };
    size(client.right, client.bottom);
    on_summary_graphs(summary_graphs_);
}

HWND FinanceDepartment::control(int id) const
{
    switch (id) {
    case ADDED_VALUE_BOX: return added_value_box_;
    case SUMMARY_BOX: return summary_box_;
    case SELECT_BUTTON: return select_button_;
    case PROFIT_BOX: return profit_box_;
    default: return 0;
    }
}

void FinanceDepartment::destroy_controls()
{
    added_value_box_ = summary_box_ = select_button_ = profit_box_ = 0;
    if (CProfitGraphDlg* profit = profit_graph_.get()) {
        ShowWindow(profit->m_hWnd, SW_HIDE);
        profit->closed = nullptr;
        profit->DestroyWindow();
    }
    profit_graph_ = {};
    if (summary_graph_ && summary_graph_->m_hWnd != 0 && IsWindow(summary_graph_->m_hWnd))
        summary_graph_->DestroyWindow();
    summary_graph_.reset();
}

void FinanceDepartment::size(int cx, int cy)
{
    if (summary_graph_ && summary_graph_->m_hWnd != 0) {
        MoveWindow(summary_graph_->m_hWnd, 0, BAND, cx, std::max(cy - BAND, 0), TRUE);
        summary_graph_->place_labels();
    }
    if (summary_box_ != 0)
        MoveWindow(summary_box_, cx - 110, 5, 110, 22, TRUE);
    if (profit_box_ != 0)
        MoveWindow(profit_box_, cx - 200, 5, 80, 22, TRUE);
}

HBRUSH FinanceDepartment::control_colour(HDC dc, HWND control)
{
    if (control == 0 || (control != added_value_box_ && control != summary_box_ && control != profit_box_))
        return 0;
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}

bool FinanceDepartment::command(int id, int code, HWND)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case ADDED_VALUE_BOX:
        engine_->with_added_value = checked(added_value_box_) ? 1 : 0;
        Repaint();
        return true;
    case SUMMARY_BOX: on_summary_graphs(checked(summary_box_)); return true;
    case PROFIT_BOX: on_show_profit(checked(profit_box_)); return true;
    case SELECT_BUTTON: select_graphs(); return true;
    default: return false;
    }
}

void FinanceDepartment::on_summary_graphs(bool on)
{
    summary_graphs_ = on;
    show_control(added_value_box_, !on);
    show_control(profit_box_, on);
    show_control(select_button_, on);
    show_graphs();
    Repaint();
}

void FinanceDepartment::on_show_profit(bool on)
{
    show_profit_ = on;
    show_graphs();
}

// The profit graph shows beside the summary graphs only.
void FinanceDepartment::show_graphs()
{
    if (summary_graph_)
        show_control(summary_graph_->m_hWnd, summary_graphs_);
    if (CProfitGraphDlg* profit = profit_graph_.get())
        show_control(profit->m_hWnd, summary_graphs_ && show_profit_);
}

void FinanceDepartment::flip_summary_graphs()
{
    set_check(summary_box_, !summary_graphs_);
    on_summary_graphs(!summary_graphs_);
}

void FinanceDepartment::flip_show_profit()
{
    set_check(profit_box_, !show_profit_);
    on_show_profit(!show_profit_);
}

void FinanceDepartment::select_graphs()
{
    CSelectGraphsDlg dlg(summary_graph_ ? summary_graph_->choice() : graph_choice_, nullptr);
    if (dlg.DoModal() != IDOK)
        return;
    graph_choice_ = dlg.choice;
    if (summary_graph_)
        summary_graph_->apply(graph_choice_);
}

// The statement's layout in screen units, scaled: column 1 at x 90, the
// period on the first line at y 60, one line every 17, the figures
// right-aligned to the end of a 350 wide column.
void FinanceDepartment::paint(HDC dc, float sx, float sy)
{
    if (summary_graphs_)
        return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    HFONT header = CreateFont(static_cast<int>(14 * sy), 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                              "Ms Sans Serif");
    HGDIOBJ old = SelectObject(dc, header);
    const int x = static_cast<int>(90 * sx);
    const std::string title = lang_translate("Profit and Loss Statement");
    TextOut(dc, x, static_cast<int>(34 * sy), title.c_str(), static_cast<int>(title.size()));

    HFONT body = CreateFont(static_cast<int>(12 * sy), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                            "Ms Sans Serif");
    SelectObject(dc, body);
    SimDateTime from{}, to{};
    engine_->get_report_period(engine_->report_letter, from, to);
    const int order = view_ != nullptr ? view_->clock.date_order : 0;
    const std::string period = std::string(lang_translate("From:")) + " " +
                               (from.year != 0 ? date_text(from, order) : std::string()) + "    " +
                               lang_translate("To:") + " " + (to.year != 0 ? date_text(to, order) : std::string());
    const int line = static_cast<int>(17 * sy);
    int y = static_cast<int>(60 * sy);
    TextOut(dc, x, y, period.c_str(), static_cast<int>(period.size()));

    const int value_right = static_cast<int>((90 + 350) * sx);
    y += 2 * line;
    for (const StatementLine& l : engine_->statement_lines()) {
        const std::string label = lang_translate(l.label.c_str());
        TextOut(dc, x, y, label.c_str(), static_cast<int>(label.size()));
        if (!l.value.empty()) {
            SIZE extent{};
            GetTextExtentPoint32(dc, l.value.c_str(), static_cast<int>(l.value.size()), &extent);
            TextOut(dc, value_right - extent.cx, y, l.value.c_str(), static_cast<int>(l.value.size()));
        }
        y += line;
    }
    SelectObject(dc, old);
    DeleteObject(header);
    DeleteObject(body);
}
