#include "tutorproto/decision_menu.h"
#include "plat/path.h"
#include "replace_file.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

void put_text(DecisionMenuBytes& out, size_t at, size_t field, const std::string& text)
{
    const size_t n = std::min({text.size(), field - 1, std::strlen(text.c_str())});
    std::memcpy(out.data() + at, text.data(), n);
}

void put_int(DecisionMenuBytes& out, size_t at, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::string get_text(const uint8_t* data, size_t at, size_t field)
{
    const char* p = reinterpret_cast<const char*>(data + at);
    return std::string(p, ::strnlen(p, field - 1));
}

int32_t get_int(const uint8_t* data, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(data[at + i]) << (8 * i);
    return static_cast<int32_t>(v);
}

void put_entries(DecisionMenuBytes& out, size_t at, size_t count_at, const std::vector<DecisionEntry>& list)
{
    const size_t n = std::min(list.size(), DECISION_ENTRIES);
    for (size_t i = 0; i < n; ++i) {
        const size_t e = at + i * DECISION_ENTRY_SIZE;
        put_text(out, e, DECISION_ENTRY_TEXT_FIELD, list[i].text);
        put_int(out, e + DECISION_ENTRY_TEXT_FIELD, list[i].id);
    }
    put_int(out, count_at, static_cast<int32_t>(n));
}

std::vector<DecisionEntry> get_entries(const uint8_t* data, size_t at, size_t count_at)
{
    const int32_t count = std::clamp<int32_t>(get_int(data, count_at), 0, static_cast<int32_t>(DECISION_ENTRIES));
    std::vector<DecisionEntry> list;
    for (int32_t i = 0; i < count; ++i) {
        const size_t e = at + static_cast<size_t>(i) * DECISION_ENTRY_SIZE;
        list.push_back({get_text(data, e, DECISION_ENTRY_TEXT_FIELD), get_int(data, e + DECISION_ENTRY_TEXT_FIELD)});
    }
    return list;
}

} // namespace

DecisionMenuBytes encode_decision_menu(const DecisionMenu& menu)
{
    DecisionMenuBytes out(DECISION_MENU_SIZE, 0);
    put_text(out, DECISION_TITLE_AT, DECISION_TEXT_FIELD, menu.title);
    put_text(out, DECISION_CLOSE_AT, DECISION_TEXT_FIELD, menu.close_caption);
    put_text(out, DECISION_ACTIONS_LABEL_AT, DECISION_TEXT_FIELD, menu.actions_label);
    put_text(out, DECISION_POLICIES_LABEL_AT, DECISION_TEXT_FIELD, menu.policies_label);
    for (size_t g = 0; g < DECISION_GROUPS; ++g) {
        const size_t at = DECISION_GROUPS_AT + g * DECISION_GROUP_SIZE;
        const DecisionGroup& group = menu.groups[g];
        put_text(out, at, DECISION_NAME_FIELD, group.name);
        put_entries(out, at + DECISION_ACTIONS_AT, at + DECISION_ACTION_COUNT_AT, group.actions);
        put_entries(out, at + DECISION_POLICIES_AT, at + DECISION_POLICY_COUNT_AT, group.policies);
    }
    return out;
}

bool decode_decision_menu(const uint8_t* data, size_t size, DecisionMenu& out)
{
    if (data == nullptr || size != DECISION_MENU_SIZE)
        return false;
    DecisionMenu menu;
    menu.title = get_text(data, DECISION_TITLE_AT, DECISION_TEXT_FIELD);
    menu.close_caption = get_text(data, DECISION_CLOSE_AT, DECISION_TEXT_FIELD);
    menu.actions_label = get_text(data, DECISION_ACTIONS_LABEL_AT, DECISION_TEXT_FIELD);
    menu.policies_label = get_text(data, DECISION_POLICIES_LABEL_AT, DECISION_TEXT_FIELD);
    for (size_t g = 0; g < DECISION_GROUPS; ++g) {
        const size_t at = DECISION_GROUPS_AT + g * DECISION_GROUP_SIZE;
        DecisionGroup& group = menu.groups[g];
        group.name = get_text(data, at, DECISION_NAME_FIELD);
        group.actions = get_entries(data, at + DECISION_ACTIONS_AT, at + DECISION_ACTION_COUNT_AT);
        group.policies = get_entries(data, at + DECISION_POLICIES_AT, at + DECISION_POLICY_COUNT_AT);
    }
    out = std::move(menu);
    return true;
}

bool write_decision_menu_file(const std::string& path, const DecisionMenu& menu)
{
    const DecisionMenuBytes bytes = encode_decision_menu(menu);
    return tutorproto::replace_file(path, bytes.data(), bytes.size());
}

bool read_decision_menu_file(const std::string& path, DecisionMenu& out)
{
    std::string target;
    if (!plat::ResolvePath(path.c_str(), target))
        return false;
    std::FILE* f = std::fopen(target.c_str(), "rb");
    if (f == nullptr)
        return false;
    DecisionMenuBytes bytes(DECISION_MENU_SIZE + 1);
    const size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return decode_decision_menu(bytes.data(), n, out);
}
