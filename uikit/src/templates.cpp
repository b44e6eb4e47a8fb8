// Templates built at run time: kept for the life of the program, as the
// resource tables require.
#include "uikit/templates.h"
#include "uikit/graph_dialog.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/msg.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include <array>
#include <deque>
#include <string>

using namespace plat;

namespace {

struct GraphTemplate {
    std::string caption;
    std::array<DlgItemTemplate, 2> items;
    DlgTemplate dialog;
};

std::deque<GraphTemplate>& graph_templates()
{
    static std::deque<GraphTemplate> kept;
    return kept;
}

} // namespace

void uikit_register_graph_template(HINSTANCE module, int templateId, const char* caption, int width, int height)
{
    GraphTemplate& t = graph_templates().emplace_back();
    t.caption = caption != nullptr ? caption : "";
    const int y = height - 28;
    t.items[0] = DlgItemTemplate{"BUTTON", IDOK, "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                                 width - 170, y, 75, 23};
    t.items[1] = DlgItemTemplate{"BUTTON", CGraphDialog::HELP_BUTTON_ID, "Help",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, width - 85, y, 75, 23};
    t.dialog = DlgTemplate{templateId, t.caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0,
                           width, height, nullptr, 8, t.items};
    RegisterDialogTemplates(module, std::span<const DlgTemplate>(&t.dialog, 1));
}
