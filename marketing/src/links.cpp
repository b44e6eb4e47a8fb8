// What the user changes of the market: the link mode and a campaign.
#include "marketing/marketing_wnd.h"
#include <algorithm>

void CMarketingWnd::change_link_mode(int mode, const std::function<void()>& show_forecast)
{
    if (mode < LINK_MAKE_TO_STOCK || mode > LINK_FORECAST)
        return;
    link_mode_ = static_cast<uint16_t>(mode);
    if (mode == LINK_MAKE_TO_ORDER) {
        red_line_active = 0;
        for (int f = 0; f < family_count_; ++f)
            for (int p = 0; p < product_count(f); ++p)
                check_red_line_to_order(f, p);
    } else {
        red_line_active = 1;
        check_red_line();
    }
    if (mode == LINK_FORECAST) {
        build_monthly_forecast();
        if (show_forecast)
            show_forecast();
        build_production_plan();
        if (production_ != nullptr)
            production_->on_link_mode_changed();
    }
    build_supply_days_table();
    ui_.redraw();
}

ContractPlanning CMarketingWnd::contract_planning() const
{
    return {plan_by_qlt != 0 ? 1 : 0, plan_days_before, plan_merge};
}

void CMarketingWnd::set_contract_planning(const ContractPlanning& chosen)
{
    const ContractPlanning old = contract_planning();
    const int by_qlt = chosen.by_qlt != 0 ? 1 : 0;
    const auto flag = [](int on) { return std::string(on != 0 ? "TRUE" : "FALSE"); };
    if (by_qlt != old.by_qlt)
        host_.log_decision("PlannCont.-ByQLT", "", flag(old.by_qlt), flag(by_qlt));
    if (chosen.days_before != old.days_before)
        host_.log_decision("PlannCont-DaysBefore", "", std::to_string(old.days_before),
                           std::to_string(chosen.days_before));
    if (chosen.merge != old.merge)
        host_.log_decision("PlannCont-Merge", "", std::to_string(old.merge), std::to_string(chosen.merge));
    plan_by_qlt = static_cast<uint16_t>(by_qlt);
    if (by_qlt == 0) {
        plan_days_before = static_cast<uint16_t>(std::clamp(chosen.days_before, 0, 32767));
        plan_merge = static_cast<uint16_t>(std::clamp(chosen.merge, 0, 32767));
    }
    if (link_mode_ == LINK_MAKE_TO_ORDER) {
        for (int f = 0; f < family_count_; ++f)
            for (int p = 0; p < product_count(f); ++p)
                check_red_line_to_order(f, p);
    } else if (link_mode_ == LINK_MAKE_TO_STOCK) {
        check_red_line();
    }
}

void CMarketingWnd::start_campaign(int campaign, int level, int months)
{
    if (campaign < 0 || static_cast<size_t>(campaign) >= campaigns.size())
        return;
    AdvertisingCampaign& c = campaigns[static_cast<size_t>(campaign)];
    if (c.active != 0) {
        end_campaign_effect(c, true);
        c.active = 0;
    }
    c.level_index = level;
    c.months_left = months;
    run_monthly_campaigns(campaign);
    ui_.redraw();
}
