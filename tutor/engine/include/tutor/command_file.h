// Tutorial command files: text in lines, a "[Keyword]" line starts a
// command and the lines after it are its argument text. Plain or coded by
// the coder; read into the command records the player plays.
#pragma once
#include "tutorproto/protocol.h"
#include <cstdint>
#include <string>
#include <vector>

// The player's own name, the caption of its boxes that name none.
inline constexpr const char* STEPLAY_TITLE = "Steplay Windows Application";

// Longest line taken; the rest of a longer line is dropped.
inline constexpr size_t COMMAND_LINE_MAX = 400;
// A longer keyword is not looked up; it counts as unknown.
inline constexpr size_t COMMAND_KEYWORD_MAX = 200;

// The code of a keyword, any case; 0 after the box "Unknown command found
// in commands file: %s".
int16_t parse_command_name(const std::string& keyword);

// Line by line, in file order; the records so far stay valid.
class CommandFileParser {
public:
    explicit CommandFileParser(bool coded) : coded_(coded) {}
    // One line without its line feed; had_break tells whether one ended it.
    void feed_line(std::string line, bool had_break);
    // Splits the text at its line feeds and feeds every line.
    void feed_text(const std::string& text);
    const std::vector<CommandRecord>& records() const { return records_; }
    std::vector<CommandRecord> take() { return std::move(records_); }

private:
    bool coded_;
    std::vector<CommandRecord> records_;
};

// Reads the file: "Unable to open wizard file '%s'." ("Learning") when it is
// not there, "Unable to open wizard commands file" when it cannot be read;
// false then, with no records.
bool load_command_file(const std::string& path, std::vector<CommandRecord>& out);

// Field n (from 1) of an argument text, fields separated by ","; "" when
// there is none.
std::string command_field(const std::string& text, int n);
// The field as a decimal integer: leading blanks, a sign, digits; anything
// else ends it, no digits read as 0. Beyond the 32-bit range: the bound.
int32_t command_field_int(const std::string& text, int n);
