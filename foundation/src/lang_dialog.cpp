// Translation of a dialog's static texts and buttons, and the show-ID mode.
#include "foundation/lang.h"
#include "plat/controls.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <cstdio>
#include <cstring>
#include <strings.h>

using namespace plat;

namespace {

bool class_is(HWND w, const char* name)
{
    char cls[64] = {};
    GetClassName(w, cls, sizeof cls);
    return strcasecmp(cls, name) == 0;
}

BOOL translate_proc(HWND child, LPARAM)
{
    if (!class_is(child, "STATIC") && !class_is(child, "BUTTON"))
        return TRUE;
    char text[200] = {};
    GetWindowText(child, text, sizeof text);
    const char* translated = lang_translate(text);
    if (std::strcmp(translated, text) != 0)
        SetWindowText(child, translated);
    return TRUE;
}

BOOL ids_proc(HWND child, LPARAM)
{
    char text[32];
    std::snprintf(text, sizeof text, "ID=%d", GetDlgCtrlID(child) & 0xFFFF);
    if (class_is(child, "EDIT") || class_is(child, "BUTTON")) {
        SetWindowText(child, text);
    } else if (class_is(child, "COMBOBOX")) {
        const LRESULT i = SendMessage(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessage(child, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    } else if (class_is(child, "LISTBOX")) {
        const LRESULT i = SendMessage(child, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessage(child, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
    return TRUE;
}

} // namespace

void lang_translate_dialog(HWND dialog)
{
    // Writing the translator's list, the dialog's texts are met whether or
    // not anything is translated yet.
    if (lang_entry_count() < 1 && lang_write_mode() != 1)
        return;
    EnumChildWindows(dialog, translate_proc, 0);
}

void show_control_ids(HWND dialog) { EnumChildWindows(dialog, ids_proc, 0); }
