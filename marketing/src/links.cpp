// What the user changes of the market: the link mode and a campaign.
#include "marketing/marketing_wnd.h"

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
