// The view's file commands and small rules.
#include "app/commands.h"
#include "app/sessions.h"
#include "app/state_names.h"
#include "foundation/datafile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "load_guard_p.h"
#include "plat/crt.h"
#include "plat/fw/app.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

static bool exists(const std::string& name)
{
    std::string resolved = plat::ResolvePath(name.c_str());
    struct stat st{};
    return !resolved.empty() && ::stat(resolved.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

static const std::pair<std::string, std::string> kSessionFilter{"Vorns files (*.VNB)", "*.VNB;*.vnb"};
static const std::pair<std::string, std::string> kPoliciesFilter{"Policies files (*.PLC)", "*.PLC;*.plc"};
static constexpr plat::DWORD OFN_OVERWRITEPROMPT = 0x2;
static constexpr plat::DWORD OFN_PATHMUSTEXIST = 0x800;
static constexpr plat::DWORD OFN_FILEMUSTEXIST = 0x1000;

static bool check_file_opens(const std::string& path)
{
    std::FILE* f = plat::crt_fopen(path.c_str(), "rb");
    if (f != nullptr) {
        std::fclose(f);
        return true;
    }
    std::string text = "Unable to open file: " + path;
    lang_message_box(0, text.c_str(), "Open Session", plat::MB_OK | plat::MB_ICONQUESTION);
    return false;
}

bool OnOpenSession(SessionManager& sessions, OpenUi* ui, const std::string& data_folder)
{
    if (!data_folder.empty())
        plat::SetCurrentDirectory(data_folder.c_str());
    CVornView* view = sessions.view();
    if (view != nullptr && view->run_state == RUN_HOLD) {
        lang_message_box(0, "Can open a new session in HOLD State", "Open Session", plat::MB_OK);
        return false;
    }

    LearnRecord learn;
    int learn_state = load_learn_file(learn, data_folder);
    if (learn_state < 0)
        return false;
    if (learn_state > 0) {
        std::optional<int> choice = ui != nullptr ? ui->choose_learn_level(learn) : std::nullopt;
        if (!choice)
            return false;
        if (learn.tutorial_chosen) {
            if (ui != nullptr)
                ui->run_tutorial();
            return false;
        }
        std::string path = learn_choice_path(learn, *choice);
        if (path.empty())
            return false;
        StartOptions options;
        options.learn = true;
        bool started = sessions.StartSession(path, options);
        if (started && sessions.view() != nullptr)
            sessions.view()->learn_record = std::make_shared<LearnRecord>(learn);
        return started;
    }

    std::string path;
    const std::vector<std::string>& scenarios = sessions.configuration().scenarios;
    if (!scenarios.empty()) {
        std::optional<std::string> chosen = ui != nullptr ? ui->choose_scenario(scenarios) : std::nullopt;
        if (!chosen)
            return false;
        path = forward_slashes(*chosen);
    } else {
        plat::FilePrompt prompt;
        prompt.title = lang_translate("Open Session");
        prompt.filters = {kSessionFilter};
        prompt.initialDir = data_folder;
        prompt.flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
        if (!plat::PromptFileName(prompt))
            return false;
        path = prompt.fileName;
    }
    if (!check_file_opens(path))
        return false;
    return sessions.StartSession(path, {});
}

bool SaveSessionAs(CVornView& view)
{
    if (view.run_state == RUN_HOLD) {
        lang_message_box(0, "Can not save in HOLD State", "Save Session", plat::MB_OK);
        return false;
    }
    plat::FilePrompt prompt;
    prompt.save = true;
    prompt.title = lang_translate("Save Session");
    prompt.filters = {kSessionFilter};
    prompt.initialDir = folder_part(view.session_path);
    prompt.flags = OFN_OVERWRITEPROMPT;
    if (!plat::PromptFileName(prompt))
        return false;
    std::string name = save_session_name(prompt.fileName);
    if ((view.config().option_bits & OPTION_PROTECT_SCENARIOS) != 0 && exists(name)) {
        char box[1400];
        std::snprintf(box, sizeof box,
                      "Can not overwrite the existing scenario: '%s'.\nPlease choose another name to save your session.",
                      view.session_path.c_str());
        lang_message_box(0, box, "Save Session", plat::MB_OK | plat::MB_ICONSTOP);
        return false;
    }
    return view.SaveSession(name, true);
}

static plat::FilePrompt policies_prompt(const CVornView& view, bool save)
{
    plat::FilePrompt prompt;
    prompt.save = save;
    prompt.title = lang_translate(save ? "Save Policies" : "Load Policies File");
    prompt.filters = {kPoliciesFilter};
    prompt.initialDir = folder_part(view.session_path);
    prompt.fileName = file_name_part(StateFileBaseName(view.session_path)) + ".PLC";
    prompt.flags = save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    return prompt;
}

bool SavePoliciesCommand(CVornView& view)
{
    plat::FilePrompt prompt = policies_prompt(view, true);
    return plat::PromptFileName(prompt) && view.SavePolicies(prompt.fileName);
}

bool LoadPoliciesCommand(CVornView& view)
{
    plat::FilePrompt prompt = policies_prompt(view, false);
    return plat::PromptFileName(prompt) && view.LoadPolicies(prompt.fileName);
}

bool story_is_help(const std::string& name)
{
    if (name.size() < 3)
        return false;
    std::string tail = name.substr(name.size() - 3);
    for (char& c : tail)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return tail == "HLP";
}

std::optional<std::string> read_background_story(const std::string& name)
{
    std::FILE* f = plat::crt_fopen(name.c_str(), "rb");
    if (f == nullptr) {
        char box[400];
        std::snprintf(box, sizeof box, "Unable to open file: %s", name.c_str());
        lang_message_box(0, box, "Background story", plat::MB_OK | plat::MB_ICONINFORMATION);
        return std::nullopt;
    }
    std::string raw;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && raw.size() < 2 * STORY_MAX_BYTES)
        raw.append(buf, n);
    std::fclose(f);
    std::string text;
    for (char c : raw) {
        if (c == '\r')
            continue;
        if (c == '\n')
            text += '\r';
        text += c;
        if (text.size() >= STORY_MAX_BYTES)
            break;
    }
    // Never end between a CR and its LF.
    if (text.size() > STORY_MAX_BYTES)
        text.resize(STORY_MAX_BYTES);
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    return text;
}

bool machine_work_percent_allowed(const CClockPane& clock)
{
    const SimDateTime& d = clock.current;
    if (d.month != 1)
        return false;
    int w = weekday_of(d);
    if (d.day == 1 || (d.day == 2 && w == 2) || (d.day == 3 && w == 3))
        return true;
    SimDateTime first = d;
    first.day = 1;
    clock.SkipToWorkDay(first);
    return first.month == d.month && first.day == d.day;
}

bool load_configuration(const std::string& path, Configuration& out)
{
    Configuration c;
    LoadGuard guard;
    DataFile file;
    try {
        if (!file.Open(path.c_str()))
            return false;
        std::string text, rec, item;
        find_section(file, "CONFIGURATION", text, 1);
        get_record(1, 1, text, rec);
        get_item(1, rec, c.title);
        c.timer_enabled = get_item_int(2, rec) != 0;
        c.option_bits = static_cast<uint32_t>(get_item_int(3, rec));
        c.tutorial = get_item_int(4, rec) != 0;
        if (find_section(file, "SCENARIOS", text, 0)) {
            get_record(1, 1, text, rec);
            int32_t n = get_item_int(1, rec);
            if (n < 0 || n > 100) {
                data_file_position().item = 1;
                data_load_error(LOAD_ITEM);
            }
            for (int i = 0; i < n; ++i) {
                get_record(1, static_cast<int16_t>(i + 2), text, rec);
                get_item(1, rec, item);
                c.scenarios.push_back(item);
            }
        }
        if (find_section(file, "ABOUT", text, 0)) {
            get_record(1, 1, text, rec);
            get_item(1, rec, c.about);
        }
    } catch (const LoadRefused&) {
        return false;
    }
    out = c;
    return true;
}

std::string finished_goods_text(CVornView& v)
{
    std::string text = "       Inv    RmCost    AddValue\n";
    std::vector<FinishedGoodsRow> rows;
    if (v.marketing != nullptr)
        v.marketing->finished_goods(rows);
    char line[200];
    for (const FinishedGoodsRow& r : rows) {
        if (r.retired)
            continue;
        long added = v.finance != nullptr ? v.finance->unit_added_value(r.family, r.product) : 0;
        std::snprintf(line, sizeof line, "%s     %d     %0.2f    %ld\n", r.code.c_str(), static_cast<int>(r.inventory),
                      static_cast<double>(r.material_cost), added);
        text += line;
    }
    long with = v.finance != nullptr ? v.finance->fg_value(true) : 0;
    long without = v.finance != nullptr ? v.finance->fg_value(false) : 0;
    std::snprintf(line, sizeof line, "FG Inv with add value: %ld\n", with);
    text += line;
    std::snprintf(line, sizeof line, "FG Inv with no add value: %ld\n", without);
    text += line;
    return text;
}
