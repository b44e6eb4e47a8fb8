#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/utils.h"
#include "gui/gui_support.h"
#include "support/support.h"
#include "plat/controls.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace plat;

namespace {

HWND popup(int x, int y, int w, int h)
{
    return CreateWindowEx(0, "FoundationCanvas", "", WS_POPUP, x, y, w, h, 0, 0, 0, nullptr);
}

RECT rect_of(HWND w)
{
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

std::string text_of(HWND w)
{
    char buf[64] = {};
    GetWindowText(w, buf, sizeof buf);
    return buf;
}

} // namespace

TEST(WindowHelpers, NumbersIntoWindowTexts)
{
    const HWND w = popup(0, 0, 50, 20);
    set_int_text(w, -123456);
    EXPECT_EQ(text_of(w), "-123456");
    set_short_text(w, 32767);
    EXPECT_EQ(text_of(w), "32767");
    set_float_text(w, 1.5f);
    EXPECT_EQ(text_of(w), "1.50");
    set_float_text(w, -0.125f);
    EXPECT_EQ(text_of(w), "-0.12");
    DestroyWindow(w);
}

TEST(WindowHelpers, CentringOnTheDesktop)
{
    // The desktop is 1024 x 768 in tests.
    const HWND w = popup(0, 0, 200, 100);
    center_window(w, 10, -5);
    EXPECT_EQ(rect_of(w).left, 512 - 100 + 10);
    EXPECT_EQ(rect_of(w).top, 384 - 50 - 5);
    center_on_desktop(w);
    EXPECT_EQ(rect_of(w).left, 412);
    const HWND wide = popup(0, 0, 1200, 100);
    center_window(wide, 0, 0);
    EXPECT_EQ(rect_of(wide).left, -88);
    DestroyWindow(w);
    DestroyWindow(wide);
}

TEST(WindowHelpers, PopupBelowOrAboveItsAnchor)
{
    const HWND low = popup(100, 700, 50, 20);
    const HWND tip = popup(0, 0, 80, 60);
    place_popup_below(low, tip);
    EXPECT_EQ(rect_of(tip).left, 100);
    EXPECT_EQ(rect_of(tip).top, 700 - 60 + 2);  // no room below: above it
    const HWND right = popup(1000, 100, 20, 20);
    place_popup_below(right, tip);
    EXPECT_EQ(rect_of(tip).left, 1020 - 80 - 1);
    EXPECT_EQ(rect_of(tip).top, 120 - 2);
    DestroyWindow(low);
    DestroyWindow(tip);
    DestroyWindow(right);
}

TEST(WindowHelpers, ProductCodesIntoACombo)
{
    const HWND dlg = popup(0, 0, 200, 200);
    const HWND combo = CreateWindowEx(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 200, dlg,
                                      static_cast<HMENU>(7), 0, nullptr);
    ASSERT_NE(combo, 0u);
    set_product_code_walk([](void (*add)(char, char, void*), void* ctx) {
        add('A', 'A', ctx);
        add('A', 'B', ctx);
        add('C', 'A', ctx);
    });
    fill_product_code_combo(combo);
    fill_material_code_combo(combo);  // no walk registered: nothing
    ASSERT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 3);
    char item[8] = {};
    SendMessage(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, "CA");
    set_product_code_walk(nullptr);
    DestroyWindow(dlg);
}

TEST(WindowHelpers, DialogTextsTranslatedAndIdsShown)
{
    ScratchDir dir;
    write_file(dir.file("vorn.lng"), "Font==\nCancel=Annuler=\nTotal=Somme=\n");
    lang_set_folder(dir.path());
    const HWND dlg = popup(0, 0, 300, 200);
    const HWND label = CreateWindowEx(0, "STATIC", "Total", WS_CHILD, 0, 0, 80, 20, dlg, static_cast<HMENU>(101), 0,
                                      nullptr);
    const HWND button = CreateWindowEx(0, "BUTTON", "Cancel", WS_CHILD, 0, 30, 80, 20, dlg,
                                       static_cast<HMENU>(2), 0, nullptr);
    const HWND edit = CreateWindowEx(0, "EDIT", "Total", WS_CHILD, 0, 60, 80, 20, dlg, static_cast<HMENU>(102), 0,
                                     nullptr);
    const HWND list = CreateWindowEx(0, "LISTBOX", "", WS_CHILD, 100, 0, 80, 80, dlg, static_cast<HMENU>(103), 0,
                                     nullptr);
    ASSERT_NE(list, 0u);
    lang_init();
    lang_translate_dialog(dlg);  // an empty table changes nothing
    EXPECT_EQ(text_of(label), "Total");
    ASSERT_EQ(lang_load(0), 1);
    lang_translate_dialog(dlg);
    EXPECT_EQ(text_of(label), "Somme");
    EXPECT_EQ(text_of(button), "Annuler");
    EXPECT_EQ(text_of(edit), "Total");  // edits keep what they hold
    show_control_ids(dlg);
    EXPECT_EQ(text_of(button), "ID=2");
    EXPECT_EQ(text_of(edit), "ID=102");
    EXPECT_EQ(text_of(label), "Somme");
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 0);
    char item[16] = {};
    SendMessage(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, "ID=103");
    DestroyWindow(dlg);
    lang_init();
}

TEST(WindowHelpers, WritingLangsMeetsTheDialogsTextsWithNothingTranslatedYet)
{
    ScratchDir dir;
    write_file(dir.file("vorn.lng"), "Font==\n");
    lang_set_folder(dir.path());
    const HWND dlg = popup(0, 0, 300, 200);
    CreateWindowEx(0, "STATIC", "Total", WS_CHILD, 0, 0, 80, 20, dlg, static_cast<HMENU>(101), 0, nullptr);
    CreateWindowEx(0, "BUTTON", "Cancel", WS_CHILD, 0, 30, 80, 20, dlg, static_cast<HMENU>(2), 0, nullptr);
    CreateWindowEx(0, "STATIC", "", WS_CHILD, 0, 60, 80, 20, dlg, static_cast<HMENU>(102), 0, nullptr);
    ASSERT_EQ(lang_load(1), 1);
    lang_translate_dialog(dlg);
    lang_translate_dialog(dlg);  // each text once
    EXPECT_EQ(read_file(dir.file("vorn.lng")), "Font==\n\nTotal\nCancel");
    DestroyWindow(dlg);
    lang_load(0);
    EXPECT_EQ(lang_entry_count(), 2);
    lang_init();
}
