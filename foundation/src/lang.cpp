// The language table: vorn.lng read into 256 buckets by the source's first
// byte; lookups in file order.
#include "foundation/lang.h"
#include "foundation/coder.h"
#include "host_p.h"
#include <cstdio>
#include <cstring>
#include <deque>
#include "plat/config.h"

namespace {

struct LangEntry {
    char source[LANG_TEXT_MAX + 1];
    char translation[LANG_TEXT_MAX + 1];
};

constexpr size_t kLineMax = 329;

struct LangTable {
    // A deque keeps the entries where they are, so translations handed out
    // stay valid while write-langs mode adds entries.
    std::deque<LangEntry> buckets[256];
    char font[LANG_FONT_MAX + 1] = {};
    int32_t count = 0;
};

LangTable g_table;
int g_write_mode = 0;
bool g_coded = false;
std::string g_folder;
bool g_folder_set = false;

void copy_cut(char* out, size_t max, const char* text, size_t n)
{
    if (n > max)
        n = max;
    std::memcpy(out, text, n);
    out[n] = '\0';
}

void clear_table()
{
    for (auto& b : g_table.buckets)
        b.clear();
    g_table.font[0] = '\0';
    g_table.count = 0;
}

void add_entry(const char* source, size_t source_len, const char* translation, size_t translation_len)
{
    LangEntry e{};
    copy_cut(e.source, LANG_TEXT_MAX, source, source_len);
    copy_cut(e.translation, LANG_TEXT_MAX, translation, translation_len);
    g_table.buckets[static_cast<unsigned char>(e.source[0])].push_back(e);
    ++g_table.count;
}

// One line without its line end; false at the end of the file. Anything past
// kLineMax characters is dropped.
bool read_line(std::FILE* f, std::string& line)
{
    line.clear();
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(f)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        if (line.size() < kLineMax)
            line += static_cast<char>(c);
    }
    if (!any)
        return false;
    if (!line.empty() && line.back() == '\r' && c == '\n')
        line.pop_back();
    return true;
}

} // namespace

void lang_set_folder(const std::string& folder)
{
    g_folder = folder;
    g_folder_set = true;
}

std::string lang_file_path()
{
    std::string folder = g_folder;
    if (!g_folder_set)
        folder = plat::ProgramDataDir();
    return folder + "/vorn.lng";
}

void lang_init() { clear_table(); }

int lang_load(int mode)
{
    if (mode != -1)
        g_write_mode = mode;
    clear_table();
    const std::string path = lang_file_path();
    g_coded = is_coded_file(path.c_str()) != 0;
    std::FILE* f = fhost::open_file(path.c_str(), "rb");
    if (f == nullptr)
        return 0;
    std::string line;
    bool first = true;
    while (read_line(f, line)) {
        if (g_coded)
            uncode_string(line);
        const size_t eq1 = line.find('=');
        const size_t eq2 = eq1 == std::string::npos ? std::string::npos : line.find('=', eq1 + 1);
        if (first) {
            first = false;
            if (eq1 != std::string::npos) {
                const size_t end = eq2 == std::string::npos ? line.size() : eq2;
                copy_cut(g_table.font, LANG_FONT_MAX, line.c_str() + eq1 + 1, end - eq1 - 1);
            }
            continue;
        }
        if (line.empty())
            continue;  // the blank line before each appended text
        if (eq1 == std::string::npos) {
            add_entry(line.c_str(), line.size(), "", 0);
            continue;
        }
        const size_t end = eq2 == std::string::npos ? line.size() : eq2;
        add_entry(line.c_str(), eq1, line.c_str() + eq1 + 1, end - eq1 - 1);
    }
    std::fclose(f);
    return 1;
}

const char* lang_translate(const char* text)
{
    if (text == nullptr)
        return "";
    if (g_write_mode == 1) {
        lang_append_missing(text);
        return text;
    }
    const unsigned char first = static_cast<unsigned char>(text[0]);
    if (first >= 128)
        return text;
    for (const LangEntry& e : g_table.buckets[first])
        if (e.translation[0] != '\0' && std::strcmp(e.source, text) == 0)
            return e.translation;
    return text;
}

const char* lang_font(const char* default_face)
{
    return g_table.font[0] != '\0' ? g_table.font : default_face;
}

void lang_append_missing(const char* text)
{
    // An empty text has nothing to translate (and would write a bare line).
    if (text == nullptr || text[0] == '\0' || text[0] == 'X' || (text[0] >= '0' && text[0] <= '9'))
        return;
    for (const auto& bucket : g_table.buckets)
        for (const LangEntry& e : bucket)
            if (std::strcmp(e.source, text) == 0)
                return;
    std::string line = text;
    if (g_coded)
        code_string(line);
    line.insert(line.begin(), '\n');
    const std::string path = lang_file_path();
    if (std::FILE* f = fhost::open_file(path.c_str(), "ab")) {
        // A failed append loses only the translator's list; the run goes on.
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
    const size_t n = std::strlen(text);
    add_entry(text, n, text, n);
}

int lang_write_mode() { return g_write_mode; }
int32_t lang_entry_count() { return g_table.count; }
