// What Purchasing's dialog sources share: template rows laid out by a
// cursor that moves down the dialog, strict number reading, the boxes and
// the help pages.
#pragma once
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/controls.h"
#include "plat/help.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace prc_dlg {

// The dialogs' help pages.
inline constexpr int HELP_ORDER = 221, HELP_PACKAGES = 222, HELP_SUPPLIERS = 223, HELP_CHANGE_SUPPLIER = 224,
                     HELP_ORDER_PACKAGE = 225, HELP_MATERIAL_PARAMETERS = 231, HELP_POLICY = 232,
                     HELP_CONTRACT_END = 233;

inline constexpr plat::DWORD CHILD = plat::WS_CHILD | plat::WS_VISIBLE;
inline constexpr plat::DWORD TAB = CHILD | plat::WS_TABSTOP;
inline constexpr plat::DWORD DLG = plat::WS_POPUP | plat::WS_CAPTION | plat::WS_SYSMENU | plat::DS_MODALFRAME |
                                   plat::DS_CENTER;
inline constexpr plat::DWORD EDIT = TAB | plat::WS_BORDER | plat::ES_AUTOHSCROLL;
inline constexpr plat::DWORD COMBO = TAB | plat::WS_VSCROLL | plat::CBS_DROPDOWN;
inline constexpr plat::DWORD LIST =
    TAB | plat::WS_BORDER | plat::WS_VSCROLL | plat::LBS_NOTIFY | plat::LBS_USETABSTOPS | plat::LBS_NOINTEGRALHEIGHT;

// A template's controls, kept for as long as the program runs (the module's
// table points at them). Rows go down from the cursor: a caption on the
// left and its control beside it, `step` pixels a row.
class Rows {
public:
    Rows(int left, int top, int label_w, int step = 30) : x_(left), y_(top), label_w_(label_w), step_(step) {}
    Rows& add(const plat::DlgItemTemplate& item)
    {
        items_.push_back(item);
        return *this;
    }
    // "Caption:" and its control of width w, then the next row.
    Rows& row(const char* label, const char* cls, int id, plat::DWORD style, int w, int h = 22, int label_id = -1)
    {
        add({"STATIC", label_id, label, CHILD, 0, x_, y_ + 3, label_w_, 18});
        add({cls, id, "", style, 0, x_ + label_w_, y_, w, h});
        y_ += step_;
        return *this;
    }
    // Column titles at their x over a list that follows at the cursor.
    Rows& titles(std::initializer_list<std::pair<const char*, int>> list, int w = 80)
    {
        for (const auto& [text, x] : list)
            add({"STATIC", -1, text, CHILD, 0, x, y_, w, 16});
        y_ += 18;
        return *this;
    }
    // Push buttons from (x, y) going down (or right with `across`), the
    // first the default one.
    Rows& buttons(std::initializer_list<std::pair<int, const char*>> list, int x, int y, bool across = false,
                  int w = 80)
    {
        bool first = true;
        for (const auto& [id, text] : list) {
            add({"BUTTON", id, text, TAB | (first ? plat::BS_DEFPUSHBUTTON : 0), 0, x, y, w, 24});
            (across ? x : y) += across ? w + 10 : 30;
            first = false;
        }
        return *this;
    }
    Rows& skip(int dy)
    {
        y_ += dy;
        return *this;
    }
    int y() const { return y_; }
    const std::vector<plat::DlgItemTemplate>& items() const { return items_; }

private:
    int x_, y_, label_w_, step_;
    std::vector<plat::DlgItemTemplate> items_;
};

template <class... A>
std::string format(const char* f, A... a)
{
    char b[200];
    std::snprintf(b, sizeof b, f, a...);
    return b;
}

// A whole decimal number (blanks around it allowed) within [low, high].
inline std::optional<long> read_number(const std::string& text, long low, long high)
{
    const char* s = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s, &end, 10);
    if (end == s || errno == ERANGE)
        return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != 0 || v < low || v > high)
        return std::nullopt;
    return v;
}

inline std::string item_text(plat::HWND dlg, int id)
{
    char text[64] = {};
    plat::GetDlgItemText(dlg, id, text, sizeof text);
    return text;
}

// The box shows the translated message, then the text the user gave.
inline void refuse(plat::HWND dlg, const char* message, const std::string& text, const char* caption)
{
    lang_message_box(dlg, (std::string(lang_translate(message)) + " " + text).c_str(), caption, plat::MB_OK);
}

inline void box(plat::HWND dlg, const std::string& text, const char* caption)
{
    lang_message_box(dlg, text.c_str(), caption, plat::MB_OK);
}

// The bottom of a grid at y 10 with its header and `rows` rows of 22.
constexpr int grid_bottom(int rows) { return 10 + 20 + rows * 22; }

// Moves the controls that stand at or below `from` up by `dy` pixels and
// shortens the dialog by as much: a grid's dialog fits its rows.
inline void shorten_below(plat::HWND dlg, int from, int dy, std::initializer_list<int> ids)
{
    if (dy <= 0)
        return;
    for (int id : ids) {
        const plat::HWND c = plat::GetDlgItem(dlg, id);
        plat::RECT r{};
        if (c == 0 || !plat::GetWindowRect(c, &r))
            continue;
        plat::POINT tl{r.left, r.top};
        plat::ScreenToClient(dlg, &tl);
        if (tl.y >= from)
            plat::MoveWindow(c, tl.x, tl.y - dy, r.right - r.left, r.bottom - r.top, plat::TRUE);
    }
    plat::RECT w{};
    plat::GetWindowRect(dlg, &w);
    plat::MoveWindow(dlg, w.left, w.top + dy / 2, w.right - w.left, w.bottom - w.top - dy, plat::TRUE);
}

} // namespace prc_dlg
