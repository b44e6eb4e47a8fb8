#include "support/tutor_fuzz.h"
#include "plat/testing.h"
#include "tutor/browser.h"
#include "tutor/command_file.h"
#include <cstdlib>
#include <string>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

void fuzz_command_file(const uint8_t* data, size_t size)
{
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const bool coded : {false, true}) {
        CommandFileParser parser(coded);
        parser.feed_text(text);
        for (const CommandRecord& r : parser.records()) {
            check(r.code >= 0 && r.code <= TUTOR_LAST_CODE);
            check(r.text.size() <= COMMAND_TEXT_MAX);
            check(r.text.find('\0') == std::string::npos);
            // What the player hands over is what the simulator reads.
            const CommandRecord back = decode_command_record(encode_command_record(r));
            check(back.code == r.code && back.text == r.text);
            for (int n = 1; n <= 4; ++n)
                (void)command_field_int(r.text, n);
        }
    }
}

void fuzz_decision_menu(const uint8_t* data, size_t size)
{
    DecisionMenu menu;
    if (!decode_decision_menu(data, size, menu))
        return;
    for (const DecisionGroup& g : menu.groups) {
        check(g.actions.size() <= DECISION_ENTRIES && g.policies.size() <= DECISION_ENTRIES);
        check(g.name.size() < DECISION_NAME_FIELD);
        for (const auto* list : {&g.actions, &g.policies})
            for (const DecisionEntry& e : *list)
                check(e.text.size() < DECISION_ENTRY_TEXT_FIELD);
    }
    // Read, write, read: the same menu, and the written image reads back
    // to the same bytes.
    const DecisionMenuBytes image = encode_decision_menu(menu);
    DecisionMenu again;
    check(decode_decision_menu(image.data(), image.size(), again));
    check(encode_decision_menu(again) == image);
    const DecisionMenu shown = browser_menu(again);
    for (size_t g = 0; g < DECISION_SHOWN_GROUPS; ++g)
        for (const DecisionEntry& e : shown.groups[g].actions) {
            check(e.text.find('&') == std::string::npos);
            (void)decision_commands(shown, shown.groups[g].name, e.text);
        }
}
