// The tab bar above a product's box, on a small window of its own that
// hands the bar's choice to the department.
#pragma once
#include "plat/fw/wnd.h"
#include "uikit/tab_bar.h"
#include <memory>

class MarketingDepartment;

class CBoxTabs : public plat::CWnd {
public:
    CBoxTabs(MarketingDepartment& department, int family, int product);
    ~CBoxTabs() override;
    const char* GetRuntimeClassName() const override { return "CBoxTabs"; }
    // Under `parent` over the rectangle; the bar carries the product's id.
    bool make(plat::HWND parent, const plat::RECT& rect, int id, plat::COLORREF colour);
    CTabBar* bar() const { return bar_.get(); }
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;

private:
    MarketingDepartment& department_;
    int family_, product_, id_ = 0;
    std::unique_ptr<CTabBar> bar_;
};
