// Named random tables of cumulative thresholds, drawn by name.
#pragma once
#include <cstdint>

inline constexpr int MAX_TABLES = 5;
inline constexpr int MAX_TABLE_ENTRIES = 20;

struct RandTable {
    char name[81];
    int16_t threshold[MAX_TABLE_ENTRIES];  // exclusive upper bounds, ascending
    int16_t value[MAX_TABLE_ENTRIES];
    int16_t count;
};

// Reads the random-tables file (default: bgtables.tbl in the current folder)
// into the table set: 1 loaded, 0 missing or malformed (a header without
// "]", more than 20 thresholds or values, unequal counts, a number outside
// int16). A 6th table is the fatal "Index Overflow MAX_TABLES" message.
int load_random_tables(const char* path = "bgtables.tbl");
// The program's generator: the running session's, installed by whoever
// owns the sessions. Every draw of the program (tables and direct draws)
// advances that one state. The source answers 0 .. 32767, or a negative
// number when no session is there to draw from.
using RandomSource = int (*)();
void set_random_source(RandomSource source);
// One draw of the installed source; a draw with no source or no session is
// fatal ("Random draw without a session").
int program_rand();

// One draw of the program's generator against the named table (name
// compared ignoring case). A draw at or past the last threshold gives the
// last value. An unknown name is fatal ("Rand table not found %s").
double draw_rand_table(const char* name);

// The table set, for a scenario's own tables (MARKET_RAND_TABLES).
void rand_tables_clear();
// False when the set is full or the table is not well formed.
bool rand_tables_add(const RandTable& table);
int16_t rand_tables_count();
const RandTable* rand_table_at(int16_t index);
