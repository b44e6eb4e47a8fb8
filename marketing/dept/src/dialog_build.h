// What the department's dialog sources share: the window styles of their
// templates, a builder for the rows of controls the templates repeat, the
// product code text and a bounded formatter.
#pragma once
#include "marketing/marketing_wnd.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/res.h"
#include "uikit/grid.h"
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace mkt_dlg {

inline constexpr plat::DWORD CHILD = plat::WS_CHILD | plat::WS_VISIBLE;
inline constexpr plat::DWORD DLG = plat::WS_POPUP | plat::WS_CAPTION | plat::WS_SYSMENU | plat::DS_MODALFRAME;
inline constexpr plat::DWORD BUTTON = CHILD | plat::WS_TABSTOP;

// A template's controls, built once and kept for as long as the program
// runs (the module's table points at them).
class Items {
public:
    Items& add(const plat::DlgItemTemplate& item)
    {
        items_.push_back(item);
        return *this;
    }
    // A caption and the static that shows its value, on one line, `gap`
    // pixels apart.
    Items& label_value(int label_id, const char* label, int value_id, int x, int y, int label_w, int value_w,
                       int h = 18, int gap = 8)
    {
        add({"STATIC", label_id, label, CHILD, 0, x, y, label_w, h});
        return add({"STATIC", value_id, "", CHILD, 0, x + label_w + gap, y, value_w, h});
    }
    struct Header {
        const char* title;
        int x, w;
    };
    // Column headers over a list, one static a title, numbered from first_id.
    Items& headers(int first_id, std::initializer_list<Header> titles, int y, int h = 16)
    {
        int id = first_id;
        for (const Header& t : titles)
            add({"STATIC", id++, t.title, CHILD, 0, t.x, y, t.w, h});
        return *this;
    }
    // Push buttons in a row from x, `step` apart (or, with `down`, in a
    // column); the first may be the default.
    Items& buttons(std::initializer_list<std::pair<int, const char*>> list, int x, int y, int step,
                   bool first_default, int w = 75, int h = 23, bool down = false)
    {
        bool first = true;
        for (const auto& [id, text] : list) {
            add({"BUTTON", id, text, BUTTON | (first && first_default ? plat::BS_DEFPUSHBUTTON : 0), 0, x, y, w, h});
            (down ? y : x) += step;
            first = false;
        }
        return *this;
    }
    const std::vector<plat::DlgItemTemplate>& items() const { return items_; }

private:
    std::vector<plat::DlgItemTemplate> items_;
};

template <class... A>
std::string format(const char* f, A... a)
{
    char b[160];
    std::snprintf(b, sizeof b, f, a...);
    return b;
}

// A dialog's paint: its grids, the absent ones (null) passed over.
inline void paint_grids(plat::HWND dlg, std::initializer_list<CGrid*> grids)
{
    plat::PAINTSTRUCT ps{};
    plat::HDC dc = plat::BeginPaint(dlg, &ps);
    for (CGrid* g : grids)
        if (g != nullptr)
            g->Draw(dc);
    plat::EndPaint(dlg, &ps);
}

inline std::string code_of(const CMarketingWnd& m, int f, int p)
{
    return std::string{m.family_letter(f), m.product_letter(f, p)};
}

} // namespace mkt_dlg
