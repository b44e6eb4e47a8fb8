// The Marketing department's decisions and actions in the windowed program:
// the dialogs that answer the engine's questions, and the action and policy
// commands that change the market.
#include "app/view.h"
#include "foundation/lang.h"
#include "marketing/action_dialogs.h"
#include "marketing/contract_dialogs.h"
#include "marketing/export_dialog.h"
#include "marketing/market_reports.h"
#include "marketing/marketing_dept.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <string>

using namespace plat;

namespace {

CWnd* owner_of(HWND w) { return w != 0 ? CWnd::FromHandle(w) : nullptr; }

} // namespace

const MarketHost& MarketingDepartment::market_host() const
{
    return const_cast<MarketingDepartment*>(this)->host_port();
}

int MarketingDepartment::date_order() const { return view_ != nullptr ? view_->clock.date_order : 0; }

bool MarketingDepartment::decides_in_windows() const { return decisions_in_windows && window_handle() != 0; }

int MarketingDepartment::window_new_contracts(const std::vector<ContractRef>& list, std::vector<bool>& accepted)
{
    register_contract_dialog_templates();
    CNewContractsDlg dlg(*engine_, owner_of(window_handle()), list, date_order());
    if (dlg.DoModal() == 5)
        return 5;
    accepted = dlg.accepted;
    return 1;
}

int MarketingDepartment::window_contract_end(const ContractRef& ref)
{
    register_contract_dialog_templates();
    CContractEndDlg dlg(*engine_, owner_of(window_handle()), ref, date_order());
    const intptr_t answer = dlg.DoModal();
    return answer >= 1 && answer <= 3 ? static_cast<int>(answer) : 3;
}

void MarketingDepartment::window_contract_canceled(const ContractRef& ref, const char* text)
{
    register_contract_dialog_templates();
    CContractCanceledDlg dlg(*engine_, owner_of(window_handle()), ref, date_order(), text != nullptr ? text : "");
    dlg.DoModal();
}

int MarketingDepartment::window_new_product(int entry)
{
    register_contract_dialog_templates();
    const SimDateTime today = view_ != nullptr ? view_->clock.current : SimDateTime{};
    CNewProductDlg dlg(*engine_, owner_of(window_handle()), entry, today, date_order());
    const intptr_t answer = dlg.DoModal();
    if (answer == 1 && entry >= 0 && entry < MAX_NEW_PRODUCTS)
        engine_->new_products[static_cast<size_t>(entry)].date = dlg.launch;
    return answer >= 0 && answer <= 2 ? static_cast<int>(answer) : 2;
}

// A popup still open from an earlier day goes first, unless the view pauses
// on events (then the user closes it).
void MarketingDepartment::window_popup(int kind, const std::vector<std::string>& rows)
{
    register_contract_dialog_templates();
    ModelessPtr<CMarketPopup>& slot = kind == IDD_MRK_LOST_ORDERS ? lost_popup_ : past_due_popup_;
    const int32_t* pause = view_ != nullptr ? &view_->pause_events : nullptr;
    if (CMarketPopup* old = slot.get(); old != nullptr && (pause == nullptr || *pause == 0))
        old->DestroyWindow();
    auto* popup = new CMarketPopup(kind, owner_of(window_handle()), pause);
    slot = ModelessPtr<CMarketPopup>(popup);
    if (popup->m_hWnd == 0)
        return;
    if (kind == IDD_MRK_LOST_ORDERS)
        popup->show_lost_orders(rows);
    else
        popup->show_past_due(rows);
}

void MarketingDepartment::run_order_to_produce()
{
    register_action_dialog_templates();
    COrderToProduceDlg dlg(*engine_, owner_of(window_handle()));
    dlg.order = [this](int f, int p, int quantity) {
        if (production_link_ != nullptr)
            production_link_->add_order(static_cast<int16_t>(f), static_cast<int16_t>(p),
                                        static_cast<int16_t>(quantity), 0, 2,
                                        static_cast<int16_t>(engine_->product(f, p).qlt));
        Repaint();
        host_port().log_decision("MrkOrder", std::string{engine_->family_letter(f), engine_->product_letter(f, p)},
                                 "-----", std::to_string(quantity));
    };
    dlg.DoModal();
}

void MarketingDepartment::run_contract_list()
{
    register_action_dialog_templates();
    CMarketListDlg dlg(IDD_MRK_CONTRACT_LIST, owner_of(window_handle()), contract_list_rows(*engine_, date_order()),
                       101);
    dlg.DoModal();
}

void MarketingDepartment::run_shipment_list()
{
    register_action_dialog_templates();
    CMarketListDlg dlg(IDD_MRK_SHIPMENT_LIST, owner_of(window_handle()),
                       shipment_rows(*engine_, host_port(), date_order()), 111);
    dlg.DoModal();
}

void MarketingDepartment::run_due_shipments()
{
    register_action_dialog_templates();
    CDueShipmentsDlg dlg(*engine_, host_port(), owner_of(window_handle()));
    dlg.DoModal();
}

void MarketingDepartment::run_product_parameters()
{
    register_action_dialog_templates();
    CProductParametersDlg dlg(*engine_, owner_of(window_handle()));
    if (dlg.DoModal() != IDOK)
        return;
    const bool to_order = engine_->link_mode() == LINK_MAKE_TO_ORDER;
    for (size_t r = 0; r < dlg.products.size() && r < dlg.values.size(); ++r) {
        const auto [f, p] = dlg.products[r];
        MarketProduct& pr = engine_->product(f, p);
        const std::vector<int>& v = dlg.values[r];
        const std::string code{engine_->family_letter(f), engine_->product_letter(f, p)};
        auto set = [&](uint16_t& field, int value, const char* key) {
            if (field == value)
                return;
            host_port().log_decision(key, code, std::to_string(field), std::to_string(value));
            field = static_cast<uint16_t>(value);
        };
        if (v.size() < 4)
            continue;
        if (pr.qlt != v[0]) {
            engine_->apply_quoted_lead_time_change(f, p, pr.qlt, v[0]);
            set(pr.qlt, v[0], "QLT");
        }
        if (pr.price != v[1]) {
            engine_->apply_price_change(f, p, pr.price, v[1]);
            set(pr.price, v[1], "Price");
        }
        if (to_order) {
            set(pr.safety_stock, v[2], "SafetyStock");
            set(pr.red_line_time, v[3], "RedlineTime");
        } else if (v.size() >= 5) {
            set(pr.max_level, v[2], "MrkMaxLevel");
            set(pr.order_level, v[3], "MrkOrdLevel");
            set(pr.red_level, v[4], "MrkRedLevel");
        }
    }
    // The export lines take their values as they stand.
    for (size_t r = 0; r < dlg.export_lines.size() && r < dlg.export_values.size(); ++r) {
        const auto [f, p] = dlg.export_lines[r];
        const std::vector<int>& v = dlg.export_values[r];
        if (v.size() < 5 || !engine_->product(f, p).exp)
            continue;
        ExportLine& e = *engine_->product(f, p).exp;
        e.qlt = static_cast<uint16_t>(v[0]);
        e.price = static_cast<uint16_t>(v[1]);
        e.max_level = static_cast<uint16_t>(v[2]);
        e.order_level = static_cast<uint16_t>(v[3]);
        e.red_level = static_cast<uint16_t>(v[4]);
    }
    engine_->build_supply_days_table();
    Repaint();
}

void MarketingDepartment::run_advertising()
{
    register_action_dialog_templates();
    CAdvertisingDlg dlg(*engine_, owner_of(window_handle()));
    dlg.not_available = [this](int c) {
        const std::string& name = engine_->campaigns[static_cast<size_t>(c)].name;
        if (name == "General")
            return false;
        uint16_t f = NO_INDEX, p = NO_INDEX;
        engine_->find_product_by_code(name.c_str(), f, p);
        return f == NO_INDEX || p == NO_INDEX || product_waiting(*engine_, f, p);
    };
    if (dlg.DoModal() != IDOK || dlg.campaign < 0)
        return;
    engine_->start_campaign(dlg.campaign, dlg.level - 1, dlg.months);
    host_port().log_decision("Advertizing", "", "",
                             std::to_string(dlg.campaign) + "," + std::to_string(dlg.level) + "," +
                                 std::to_string(dlg.months));
    Repaint();
}

void MarketingDepartment::run_promotion()
{
    register_action_dialog_templates();
    const int next = view_ != nullptr ? view_->clock.NextMonth() : 1;
    CPromotionDlg dlg(*engine_, owner_of(window_handle()), next);
    if (dlg.DoModal() != IDOK || !engine_->product_exists(dlg.family, dlg.product))
        return;
    MarketProduct& pr = engine_->product(dlg.family, dlg.product);
    // The reduction chosen is the one the monthly step applies.
    pr.promotion_level = static_cast<uint16_t>(dlg.level);
    pr.promotion_state = 1;
}

void MarketingDepartment::run_add_export_line()
{
    register_export_dialog_template();
    CAddExportLineDlg dlg(*engine_, owner_of(window_handle()), date_order());
    dlg.add = [this](int f, int p, const SimDateTime& start) {
        if (!engine_->request_export_line(f, p, start))
            return false;
        add_export_tabs(f, p);
        if (view_ != nullptr)
            view_->notify_panes(PANE_CASH | PANE_PROFIT);
        Repaint();
        return true;
    };
    dlg.DoModal();
}
