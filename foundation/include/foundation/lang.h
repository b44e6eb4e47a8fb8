// UI text translation through the language file vorn.lng.
#pragma once
#include "plat/types.h"
#include <cstdint>
#include <string>

inline constexpr int LANG_TEXT_MAX = 150;   // source and translation
inline constexpr int LANG_FONT_MAX = 100;

// The folder that holds vorn.lng: the program's folder unless set (tests,
// or a read-only program folder).
void lang_set_folder(const std::string& folder);
std::string lang_file_path();

void lang_init();
// mode: 0 write-langs off, 1 on, -1 keep. 1 loaded, 0 file not opened.
int lang_load(int mode);
// The translation, or the text itself.
const char* lang_translate(const char* text);
// The language file's font when it names one, else the default face.
const char* lang_font(const char* default_face);
void lang_translate_dialog(plat::HWND dialog);
void lang_append_missing(const char* text);
void show_control_ids(plat::HWND dialog);
int lang_write_mode();
int32_t lang_entry_count();
