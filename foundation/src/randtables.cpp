// The named random tables and their file.
#include "foundation/randtables.h"
#include "foundation/msgbox.h"
#include "host_p.h"
#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

struct TableSet {
    RandTable tables[MAX_TABLES];
    int16_t count = 0;
};

TableSet g_set{};
RandomSource g_source = nullptr;

// "123," or "-5;" : a decimal int16 and exactly one separator after it.
// 1 more follows, 0 the list ended with ";", -1 malformed.
int read_entry(std::FILE* f, int16_t& out)
{
    int c = std::fgetc(f);
    while (c != EOF && std::isspace(c))
        c = std::fgetc(f);
    bool negative = false;
    if (c == '-' || c == '+') {
        negative = c == '-';
        c = std::fgetc(f);
    }
    long v = 0;
    int digits = 0;
    while (c != EOF && c >= '0' && c <= '9') {
        v = v * 10 + (c - '0');
        if (v > 100000)
            v = 100000;
        ++digits;
        c = std::fgetc(f);
    }
    if (digits == 0 || c == EOF)
        return -1;
    if (negative)
        v = -v;
    if (v < INT16_MIN || v > INT16_MAX)
        return -1;
    out = static_cast<int16_t>(v);
    return c == ';' ? 0 : 1;
}

// Reads one list of at most MAX_TABLE_ENTRIES numbers; the count, or -1.
int read_list(std::FILE* f, int16_t (&out)[MAX_TABLE_ENTRIES])
{
    int n = 0;
    for (;;) {
        int16_t v = 0;
        const int r = read_entry(f, v);
        if (r < 0 || n >= MAX_TABLE_ENTRIES)
            return -1;
        out[n++] = v;
        if (r == 0)
            return n;
    }
}

} // namespace

int load_random_tables(const char* path)
{
    std::FILE* f = fhost::open_file(path, "rb");
    if (f == nullptr)
        return 0;
    TableSet set{};
    int c = 0;
    while ((c = std::fgetc(f)) != EOF) {
        if (c != '[')
            continue;
        // The set holds MAX_TABLES; the next "[" is the overflow.
        if (set.count >= MAX_TABLES) {
            std::fclose(f);
            check_index(set.count, MAX_TABLES, "MAX_TABLES");
        }
        char line[80] = {};
        size_t n = 0;
        while (n < 79 && (c = std::fgetc(f)) != EOF && c != '\n')
            line[n++] = static_cast<char>(c);
        const char* close = std::strchr(line, ']');
        if (close == nullptr) {
            std::fclose(f);
            return 0;
        }
        RandTable& t = set.tables[set.count];
        std::snprintf(t.name, sizeof t.name, "%.*s", static_cast<int>(close - line), line);
        const int thresholds = read_list(f, t.threshold);
        const int values = thresholds < 0 ? -1 : read_list(f, t.value);
        if (thresholds < 0 || values != thresholds) {
            std::fclose(f);
            return 0;
        }
        t.count = static_cast<int16_t>(thresholds);
        ++set.count;
    }
    std::fclose(f);
    g_set = set;
    return 1;
}

double draw_rand_table(const char* name)
{
    const RandTable* table = nullptr;
    for (int16_t i = 0; i < g_set.count && table == nullptr; ++i)
        if (name != nullptr && strcasecmp(g_set.tables[i].name, name) == 0)
            table = &g_set.tables[i];
    if (table == nullptr) {
        char text[160];
        std::snprintf(text, sizeof text, "Rand table not found %.120s", name != nullptr ? name : "");
        fatal_error_now(text);
    }
    const int r = program_rand();
    if (table->count < 1)
        return -2.0;
    int lower = 0;
    for (int16_t i = 0; i < table->count; ++i) {
        if (lower <= r && r < table->threshold[i])
            return table->value[i];
        lower = table->threshold[i];
    }
    // A draw at or past the last bound (32767 itself) belongs to the last interval.
    return table->value[table->count - 1];
}

void set_random_source(RandomSource source) { g_source = source; }

int program_rand()
{
    const int r = g_source != nullptr ? g_source() : -1;
    if (r < 0)
        fatal_error_now("Random draw without a session");
    return r;
}

void rand_tables_clear() { g_set = TableSet{}; }

bool rand_tables_add(const RandTable& table)
{
    if (g_set.count >= MAX_TABLES || table.count < 1 || table.count > MAX_TABLE_ENTRIES)
        return false;
    RandTable& t = g_set.tables[g_set.count];
    t = table;
    t.name[sizeof t.name - 1] = '\0';
    ++g_set.count;
    return true;
}

int16_t rand_tables_count() { return g_set.count; }

const RandTable* rand_table_at(int16_t index)
{
    return index >= 0 && index < g_set.count ? &g_set.tables[index] : nullptr;
}
