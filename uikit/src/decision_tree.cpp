// Decision tree: three tree notices folded into WM_TREE_NOTIFY.
#include "uikit/decision_tree.h"
#include "uikit/uikit.h"
#include "plat/window.h"

using namespace plat;

BOOL CDecisionTreeCtrl::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return CTreeCtrl::PreCreateWindow(cs);
}

HTREEITEM CDecisionTreeCtrl::InsertItem(HTREEITEM parent, const char* text, int image)
{
    return CTreeCtrl::InsertItem(text, image, image, parent, TVI_LAST);
}

void CDecisionTreeCtrl::notify(WPARAM code, LPARAM item) const
{
    if (const HWND parent = plat::GetParent(m_hWnd); parent != 0)
        plat::SendMessage(parent, WM_TREE_NOTIFY, code, item);
}

void CDecisionTreeCtrl::OnItemExpanded(NMTREEVIEW* nm, LRESULT* result)
{
    *result = 0;
    const HTREEITEM item = nm->itemNew.hItem;
    // Kept here rather than read from the item state, so the notice goes out
    // exactly once whatever order the control sets its flags in.
    if ((nm->itemNew.state & TVIS_EXPANDED) != 0 && m_expandedOnce.insert(item).second)
        notify(1, static_cast<LPARAM>(item));
}

void CDecisionTreeCtrl::OnSelChanged(NMTREEVIEW* nm, LRESULT* result)
{
    *result = 0;
    if (nm->itemNew.hItem != 0)
        notify(2, static_cast<LPARAM>(nm->itemNew.hItem));
}

void CDecisionTreeCtrl::OnClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    notify(3, 0);
    SelectDropTarget(0);
    // Cleared so that a click on the item already selected selects it again
    // and its notice goes out once more.
    SelectItem(0);
}
