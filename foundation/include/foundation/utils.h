// Small routines on texts, numbers, files, folders and windows.
#pragma once
#include "plat/types.h"
#include <cstdint>
#include <string>

// Fields of separated texts, numbered from 1.
int get_separated_field(const char* text, int n, std::string& out, char separator);
int field_position(const char* text, int n, char separator);
void replace_field(std::string& text, int n, const char* field, char separator);
int count_fields(const char* text, char separator);
std::string remove_char(const char* text, char c);
void remove_blanks(std::string& text);
void trim_trailing_blanks(std::string& text);

// 0 valid, 1 not a number (needs at most one "." and at least one digit),
// 2 out of bounds (-1.0 = no bound), 3 empty.
int validate_number(const char* text, double minimum, double maximum);
int has_non_blank(const char* text);
int is_whole_number(double value);
// Integer digits for 1 and more, minus the leading zeros for less; 1 for 0
// and for NaN and infinities.
int decimal_digits(double value);
double shift_decimal(double x, int n);
// 1 for n below 1; INT32_MAX from n = 10 on.
int32_t int_power_of_ten(int n);
int32_t power_of_ten(int n);
// "?" for NaN and infinities.
std::string format_fixed(double value, int decimals);
std::string format_exponent(double value);
double parse_exponent(const char* text);
// 0 for 0 and for non-finite values.
double nice_step(double x, double range);
double absolute_value(double x);

// Locale-free number reading and writing (always the C rules).
double parse_double(const char* text);
std::string format_c(const char* format, double value);

plat::BOOL file_exists(const char* path, int show_box);
plat::BOOL file_exists_quiet(const char* path);
int32_t file_size(const char* path);
plat::BOOL copy_file(const char* source, const char* target);
// Copies through a 10000-byte buffer; FALSE only on an open, read or write
// failure (a short last chunk is the normal end).
plat::BOOL copy_file_chunked(const char* source, const char* target);
plat::BOOL is_directory(const char* path);
// Path cut at the first "." of its last component.
std::string base_name_buffer(const char* path);
void strip_extension(std::string& name);
// The text after the first "." of the last component ("" when none).
std::string extension_of(const char* name);
// Separators are "\" and "/".
void cut_file_name(std::string& path);
std::string folder_of(const char* path);
std::string file_name_of(const char* path);

void center_on_desktop(plat::HWND window);
void place_popup_below(plat::HWND anchor, plat::HWND popup);
void set_children_font(plat::HWND window, plat::HFONT font);
plat::BOOL get_dlg_item_rect(plat::HWND dialog, int id, plat::RECT& out);
void place_on_dlg_item(plat::HWND window, plat::HWND dialog, int id);
int listbox_item_height();
void limit_text(plat::HWND edit, int n);
plat::HWND create_tooltip(plat::HINSTANCE instance, plat::HWND window, const char* text);
int platform_id();
void wait_ms(uint32_t milliseconds);
uint32_t elapsed_ms(uint32_t start, uint32_t end);
