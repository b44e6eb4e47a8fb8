// A tree control that reports first expansions, selections and clicks to
// its parent as one private message.
#pragma once
#include "plat/fw/wrappers.h"
#include <set>

class CDecisionTreeCtrl : public plat::CTreeCtrl {
public:
    const char* GetRuntimeClassName() const override { return "CDecisionTreeCtrl"; }
    plat::BOOL PreCreateWindow(plat::CREATESTRUCT& cs) override;
    plat::HTREEITEM InsertItem(plat::HTREEITEM parent, const char* text, int image);

    void OnItemExpanded(plat::NMTREEVIEW* nm, plat::LRESULT* result) override;
    void OnSelChanged(plat::NMTREEVIEW* nm, plat::LRESULT* result) override;
    void OnClick(plat::NMHDR* nm, plat::LRESULT* result) override;

private:
    void notify(plat::WPARAM code, plat::LPARAM item) const;
    std::set<plat::HTREEITEM> m_expandedOnce;
};
