// The learn file: levels to open in turn, comments by profit, results so far.
#pragma once
#include <optional>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int MAX_LEARN_LEVELS = 6;
inline constexpr int MAX_LEARN_ROWS = 15;
inline constexpr size_t LEARN_NAME_CHARS = 13;
inline constexpr size_t LEARN_TITLE_CHARS = 40;
inline constexpr size_t LEARN_COMMENT_CHARS = 300;

struct LearnRow {
    int32_t bound = 0;
    std::string upper;  // for a grade at or above the threshold
    std::string lower;
};

struct LearnLevel {
    std::string file;   // relative to the learn folder
    std::string title;
    int32_t target = 0;
    std::vector<LearnRow> rows;
};

struct LearnResult {
    int16_t grade = 0;
    int32_t profit = 0;
    int32_t passed = 0;
};

struct LearnRecord {
    std::string learn_path;
    std::string chosen_path;
    std::string folder;
    int16_t chosen_level = 0;
    int32_t coded = 0;
    std::vector<LearnLevel> levels;
    int16_t threshold = 0;
    int16_t rows_per_level = 0;
    std::vector<LearnResult> results;
    int32_t loaded = 0;
    int32_t tutorial_chosen = 0;
};

// 1 read, 0 no learn file in the folder, -1 a damaged file (its box shown;
// the Open command is refused).
int load_learn_file(LearnRecord& record, const std::string& folder);
// Level 0 always; level i while i is within the results, when the level
// before was passed or reached its target with a grade at the threshold.
bool learn_level_available(const LearnRecord& record, int level);
// The file a choice opens ("" with its box when missing); choice ==
// number of levels is the last session (LASTLRN.VNB, else LASTLRN).
std::string learn_choice_path(LearnRecord& record, int choice);

struct LearnOutcome {
    std::string profit_text;
    std::string grade_text;
    std::string comment;
};
// Records the result of the chosen level and writes the file back. The
// last session is no level: nothing is recorded, nothing is shown.
std::optional<LearnOutcome> record_learn_result(LearnRecord& record, int32_t profit, float reputation_percent);
// Through "<file>.tmp" and a rename; false (after a box) when not written.
bool save_learn_file(const LearnRecord& record);
void strip_carriage_returns(std::string& text);
