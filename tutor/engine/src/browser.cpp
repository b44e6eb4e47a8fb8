#include "tutor/browser.h"
#include "plat/msg.h"
#include <algorithm>

namespace {

void strip_marks(std::vector<DecisionEntry>& list)
{
    for (DecisionEntry& e : list)
        std::erase(e.text, '&');
}

int32_t first_match(const std::vector<DecisionEntry>& list, const std::string& text)
{
    const auto it = std::find_if(list.begin(), list.end(), [&](const DecisionEntry& e) { return e.text == text; });
    return it == list.end() ? 0 : it->id;
}

} // namespace

DecisionMenu browser_menu(const DecisionMenu& file)
{
    DecisionMenu shown = file;
    for (size_t g = 0; g < DECISION_SHOWN_GROUPS; ++g) {
        strip_marks(shown.groups[g].actions);
        strip_marks(shown.groups[g].policies);
    }
    return shown;
}

DecisionMenu load_browser_menu(const std::string& path)
{
    DecisionMenu file;
    if (!read_decision_menu_file(path, file))
        return DecisionMenu{};
    return browser_menu(file);
}

std::vector<int32_t> decision_commands(const DecisionMenu& shown, const std::string& root_text,
                                       const std::string& item_text)
{
    std::vector<int32_t> out;
    for (size_t g = 0; g < DECISION_SHOWN_GROUPS; ++g) {
        if (shown.groups[g].name != root_text)
            continue;
        out.push_back(DECISION_DEPARTMENT_COMMANDS[g]);
        // A text found in both lists opens both.
        if (const int32_t id = first_match(shown.groups[g].actions, item_text); id != 0)
            out.push_back(id);
        if (const int32_t id = first_match(shown.groups[g].policies, item_text); id != 0)
            out.push_back(id);
        break;
    }
    return out;
}

void select_decision(TutorLink& link, plat::HWND simulator, const DecisionMenu& shown,
                     const std::string& root_text, const std::string& item_text)
{
    if (simulator == 0)
        return;
    if (!hand_to_main_program(link, simulator, CommandRecord{TUTOR_CLOSE_WINDOW, ""}))
        return;
    for (const int32_t id : decision_commands(shown, root_text, item_text))
        link.post(simulator, plat::WM_COMMAND, static_cast<plat::WPARAM>(id), 0);
}
