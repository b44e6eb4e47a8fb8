// The decision-menu file the decision browser reads: the departments'
// Actions and Policies entries as the scenario narrows them, written at
// every session start.
#include "app/department.h"
#include "app/tutor_link.h"
#include "app/view.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <cstdio>

namespace {

// The groups, in the order the browser ties to the department commands.
constexpr int kGroupCommands[3] = {ID_MARKETING, ID_PRODUCTION, ID_PURCHASING};
constexpr const char* kGroupNames[3] = {"Marketing", "Production", "Purchasing"};

std::vector<DecisionEntry> entries(const MenuTable& table, int32_t first_id)
{
    std::vector<DecisionEntry> out;
    for (int i = 1; i <= table.count && i < MENU_TABLE_TEXTS; ++i)
        out.push_back({lang_translate(table.texts[static_cast<size_t>(i)].c_str()), first_id + i - 1});
    return out;
}

} // namespace

DecisionMenu decision_menu_of(const CVornView& view)
{
    DecisionMenu menu;
    menu.title = lang_translate("Decisions");
    menu.close_caption = lang_translate("&Close");
    menu.actions_label = lang_translate("Actions");
    menu.policies_label = lang_translate("Policies");
    for (size_t g = 0; g < 3; ++g) {
        DecisionGroup& group = menu.groups[g];
        group.name = lang_translate(kGroupNames[g]);
        CDepartmentWnd* d = view.department_by_command(kGroupCommands[g]);
        if (d == nullptr)
            continue;
        // Scratch tables: the shown department's popups stay as they are.
        DepartmentMenus menus;
        d->build_menus(menus);
        d->SelectMenuTexts(menus);
        group.actions = entries(menus.tables[1], 401);
        group.policies = entries(menus.tables[2], 501);
    }
    return menu;
}

bool WriteDecisionMenu(const CVornView& view, const std::string& path)
{
    if (write_decision_menu_file(path, decision_menu_of(view)))
        return true;
    // A file left from another session would open other decisions than the
    // ones its entries name.
    if (const std::string old = plat::ResolvePath(path.c_str()); !old.empty())
        std::remove(old.c_str());
    const std::string text = "Unable to write decision menu file " + path;
    lang_message_box(0, text.c_str(), view.config().title.c_str(), plat::MB_OK);
    return false;
}
