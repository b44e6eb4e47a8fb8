// Dialog templates used by the tests.
#include "support/ui_support.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/msg.h"
#include "plat/res.h"

using namespace plat;

namespace {

const DlgItemTemplate plain_items[] = {
    {"EDIT", 101, "typed", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 10, 10, 120, 20},
    {"BUTTON", 102, "Press", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 10, 40, 80, 24},
    {"STATIC", 103, "Label", WS_CHILD | WS_VISIBLE, 0, 10, 70, 80, 16},
};

const DlgTemplate templates[] = {
    {TPL_PLAIN, "Plain", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 300, 200, nullptr, 8,
     plain_items},
    {TPL_GRID, "Grid", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 640, 400, nullptr, 8, {}},
};

} // namespace

void register_test_dialogs(HINSTANCE module)
{
    RegisterDialogTemplates(module, templates);
}
