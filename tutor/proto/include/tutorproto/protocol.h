// What the simulator and the tutorial player agree on: the two window
// messages, the player's window title, the command codes and their
// keywords, and the one command record that travels through the hand-off
// file. Both programs link this one definition.
#pragma once
#include "plat/types.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Simulator to player: wParam 1 (sent) starts the player with the low 16
// bits of the simulator's main window; wParam 3 (posted) says the command
// whose code is in lParam has been carried out.
inline constexpr unsigned WM_TUTOR_CONTROL = 0x61E;
inline constexpr plat::WPARAM TUTOR_CONTROL_START = 1;
inline constexpr plat::WPARAM TUTOR_CONTROL_DONE = 3;
// Player to simulator (WM_TUTOR_REQUEST): wParam 1 a command waits in the
// hand-off file, wParam 2 the player has closed.
inline constexpr unsigned WM_TUTOR_REQUEST = 0x61F;
inline constexpr plat::WPARAM TUTOR_REQUEST_EXECUTE = 1;
inline constexpr plat::WPARAM TUTOR_REQUEST_CLOSED = 2;

inline constexpr const char* TUTOR_PROGRAM = "Steplay32.EXE";
inline constexpr const char* TUTOR_WINDOW_TITLE = "App Tutorial";
// In the working folder, whatever the case of its name on disk.
inline constexpr const char* TUTOR_STEP_FILE = "STEPBIN.CMD";

// The command codes, in the order of the keyword table; 0 is a keyword the
// table does not know.
inline constexpr int16_t TUTOR_UNKNOWN = 0;
inline constexpr int16_t TUTOR_OPEN_FILE = 1;        // handed over
inline constexpr int16_t TUTOR_SHOW_TEXT = 2;
inline constexpr int16_t TUTOR_SHOW_MENU = 3;
inline constexpr int16_t TUTOR_POST_MENU = 4;        // "ExecMenu": a posted menu command
inline constexpr int16_t TUTOR_DELAY = 5;
inline constexpr int16_t TUTOR_CLOSE_TITLED = 6;     // "CloseWindow": a window by its title
inline constexpr int16_t TUTOR_CONFIRM_TEXT = 7;
inline constexpr int16_t TUTOR_CLICK_BUTTON = 8;
inline constexpr int16_t TUTOR_CHECK_BUTTON = 9;
inline constexpr int16_t TUTOR_SET_EDIT_TEXT = 10;
inline constexpr int16_t TUTOR_SET_COMBO = 11;
inline constexpr int16_t TUTOR_SET_LIST = 12;
inline constexpr int16_t TUTOR_EXEC_MENU = 13;       // handed over: the simulator walks the menu
inline constexpr int16_t TUTOR_CONFIRM_CONTINUE = 14;
inline constexpr int16_t TUTOR_POSITION = 15;
inline constexpr int16_t TUTOR_CLOSE_WINDOW = 16;    // handed over: the simulator's open dialog
inline constexpr int16_t TUTOR_SELECT_COMBO = 17;    // handed over: the simulator walks the combo
inline constexpr int16_t TUTOR_LAST_CODE = 17;

// The keyword of a code 1..17, nullptr otherwise.
const char* tutor_keyword(int16_t code);
// The code of a keyword, matched ignoring case; 0 when the table has none.
int16_t tutor_code_of(const std::string& keyword);
// The commands the simulator carries out; playback waits for its resume.
bool tutor_is_handed_over(int16_t code);

// The record as it is stored: int16 code (little-endian), then the argument
// text NUL-terminated in 1042 bytes.
inline constexpr size_t COMMAND_RECORD_SIZE = 1044;
inline constexpr size_t COMMAND_TEXT_MAX = COMMAND_RECORD_SIZE - 3;
struct CommandRecord {
    int16_t code = 0;
    std::string text;  // the argument text, up to its NUL
};
using CommandRecordBytes = std::array<char, COMMAND_RECORD_SIZE>;
// Text cut at 1041 characters (or at an inner NUL); the rest zero.
CommandRecordBytes encode_command_record(const CommandRecord& record);
// The last byte is taken as 0 whatever the file holds.
CommandRecord decode_command_record(const CommandRecordBytes& bytes);

// Exactly 1044 bytes, else the box "Unable to read command binary file"
// (captioned with the application's name) and false.
bool read_command_record(const std::string& path, CommandRecord& out);
// Through a temp file beside it: written, flushed, closed and checked, then
// renamed over the file. False (and no file left half written) on any failure.
bool write_command_record(const std::string& path, const CommandRecord& record);
