// The view's helpers for the departments' windows and the teaching aids'
// toggles.
#include "app/view.h"

void CVornView::ShowRedWarnings(BOOL16 show)
{
    if (ui_ != nullptr)
        ui_->show_red_warnings(show != 0);
}

void CVornView::ShowDepartmentLinkButtons(int show, int kind)
{
    for (CDepartmentWnd* d : {marketing, production, purchasing, finance})
        if (d != nullptr)
            d->ShowLinkButton(show, kind);
}

bool CVornView::ToggleShowIds()
{
    show_ids = show_ids != 0 ? 0 : 1;
    return show_ids != 0;
}

bool CVornView::TogglePauseEvents()
{
    pause_events = pause_events != 0 ? 0 : 1;
    return pause_events != 0;
}
