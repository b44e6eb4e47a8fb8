// The Master Production Schedule: every production order with what is left
// of it and the work order that serves it.
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/simdate.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/help.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "production/production_dialogs.h"
#include "uikit/lists.h"
#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>

using namespace plat;

namespace {

constexpr int HELP_BUTTON = 3;
constexpr int SHOW_WO = 1259;
constexpr int SORT_FIRST = 1086;

std::string date_of(const SimStamp& s, int order)
{
    return date_text(SimDateTime{s.year, s.month, s.day, s.hour, s.minute}, order);
}

// What has reached the final job of each work order, spread over its orders in order.
std::map<const ProductionOrder*, int32_t> left_of_orders(const CProductionWnd& plant)
{
    std::map<const ProductionOrder*, int32_t> left;
    for (const auto& wo : plant.Work_Orders) {
        int32_t amount = static_cast<int32_t>(wo->quantity);
        if (const RJob* final = plant.job(wo->final_job()))
            for (const auto& r : final->requests)
                if (r->wo == wo.get()) {
                    amount = r->finished;
                    break;
                }
        for (const ProductionOrder* o : wo->Request) {
            if (o->quantity >= amount) {
                left[o] = o->quantity - amount;
                amount = 0;
            } else {
                left[o] = 0;
                amount -= o->quantity;
            }
        }
    }
    return left;
}

} // namespace

std::vector<ScheduleRow> master_schedule_rows(const CProductionWnd& plant, int sort, int date_order)
{
    const auto& orders = plant.prd_orders;
    std::vector<size_t> at(orders.size());
    std::iota(at.begin(), at.end(), size_t{0});
    auto due_of = [&](const ProductionOrder& o) {
        return plant.host->add_work_days(o.order_date, o.lead_days - 1);
    };
    auto due_key = [&](const ProductionOrder& o) {
        if (o.order_type == ORDER_MANUAL || o.order_type == ORDER_FORECAST)
            return int64_t{32767} << 16;
        const SimStamp d = due_of(o);
        return (static_cast<int64_t>(d.year) << 16) | (d.month << 8) | d.day;
    };
    switch (sort) {
    case 1:
        std::stable_sort(at.begin(), at.end(), [&](size_t a, size_t b) {
            const RWork_Order* x = orders[a]->work_order;
            const RWork_Order* y = orders[b]->work_order;
            const int kx = x != nullptr ? x->number : 65536, ky = y != nullptr ? y->number : 65536;
            return kx < ky;
        });
        break;
    case 2:
        std::stable_sort(at.begin(), at.end(), [&](size_t a, size_t b) {
            const ProductionOrder& x = *orders[a];
            const ProductionOrder& y = *orders[b];
            return std::pair(x.item_kind, plant.order_product(x)) < std::pair(y.item_kind, plant.order_product(y));
        });
        break;
    case 3:
        std::stable_sort(at.begin(), at.end(),
                         [&](size_t a, size_t b) { return due_key(*orders[a]) < due_key(*orders[b]); });
        break;
    default:
        break;
    }
    const auto left = left_of_orders(plant);
    std::vector<ScheduleRow> rows;
    for (size_t i : at) {
        const ProductionOrder& o = *orders[i];
        const RWork_Order* wo = o.work_order;
        const std::string item = o.item_kind == KIND_PRODUCT ? plant.item_name(KIND_PRODUCT, plant.order_product(o))
                                                             : plant.item_name(o.item_kind, o.product_index);
        const auto found = left.find(&o);
        const int32_t remaining = wo == nullptr || found == left.end() ? o.quantity : found->second;
        const std::string due = o.order_type == ORDER_MANUAL ? "********" : date_of(due_of(o), date_order);
        char line[200];
        std::snprintf(line, sizeof line, "\t%s\t%d\t%d\t%s\t%s\t%s", item.c_str(), static_cast<int>(o.quantity),
                      static_cast<int>(remaining), date_of(o.order_date, date_order).c_str(), due.c_str(),
                      wo != nullptr ? wo->name : "****");
        rows.push_back({line, (wo != nullptr && wo->priority > 0) || o.priority > 0});
    }
    if (rows.empty())
        rows.push_back({lang_translate(" No orders"), false});
    return rows;
}

CMasterScheduleDlg::CMasterScheduleDlg(CProductionWnd& plant, int date_order, std::function<void(int)> show_wo,
                                       CWnd* parent)
    : CSimDialog(IDD_MASTER_PRODUCTION_SCHEDULE, current_dialog_registry(), parent), m_plant(plant),
      m_order(date_order), m_show_wo(std::move(show_wo)), m_list(std::make_unique<CTabbedList>())
{
}

CMasterScheduleDlg::~CMasterScheduleDlg() = default;

BOOL CMasterScheduleDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const HWND place = plat::GetDlgItem(m_hWnd, LIST_ID);
    RECT r{};
    plat::GetWindowRect(place, &r);
    POINT a{r.left, r.top}, b{r.right, r.bottom};
    plat::ScreenToClient(m_hWnd, &a);
    plat::ScreenToClient(m_hWnd, &b);
    // The list stands in the placeholder's place, under the same id.
    plat::DestroyWindow(place);
    m_list->Create(LIST_ID, this, a.x, a.y, b.x, b.y);
    int32_t stops[6] = {};
    for (int i = 0; i < 6; ++i) {
        RECT h{};
        plat::GetWindowRect(plat::GetDlgItem(m_hWnd, 1215 + i), &h);
        stops[i] = std::max<int32_t>(0, h.left - r.left);
    }
    m_list->SetTabStops(6, stops);
    plat::CheckRadioButton(m_hWnd, SORT_FIRST, SORT_FIRST + 3, SORT_FIRST + sort);
    fill();
    return TRUE;
}

void CMasterScheduleDlg::fill()
{
    m_list->ResetContent();
    for (const ScheduleRow& row : master_schedule_rows(m_plant, sort, m_order))
        m_list->AddRow(row.text.c_str(), row.highlighted ? 1u : 0u);
    m_list->Invalidate();
}

void CMasterScheduleDlg::show_work_order()
{
    const int row = m_list->GetCurSel();
    if (row < 0) {
        lang_message_box(m_hWnd, "No Item selected!", "VORNS Application", MB_OK);
        return;
    }
    const std::string text = m_list->GetRowText(row);
    const size_t w = text.rfind('W');
    const std::string name = w == std::string::npos ? std::string() : text.substr(w, 4);
    for (size_t i = 0; i < m_plant.Work_Orders.size(); ++i) {
        const std::string wo = m_plant.Work_Orders[i]->name;
        // The row keeps four characters of the name.
        if (!name.empty() && wo.substr(0, 4) == name) {
            if (m_show_wo)
                m_show_wo(static_cast<int>(i));
            return;
        }
    }
    lang_message_box(m_hWnd, "WO not created yet for this order", GetWindowText().c_str(), MB_OK);
}

BOOL CMasterScheduleDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == HELP_BUTTON) {
        WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, HELP_CONTEXT_ID);
        return TRUE;
    }
    if (id >= SORT_FIRST && id <= SORT_FIRST + 3 && HIWORD(wParam) == BN_CLICKED) {
        sort = id - SORT_FIRST;
        fill();
        return TRUE;
    }
    if (id == SHOW_WO) {
        show_work_order();
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}
