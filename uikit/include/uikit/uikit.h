// What every part of the toolkit shares: its pictures, its dialog font, the
// display depth, and a debug log for refused calls.
#pragma once
#include "plat/types.h"
#include <span>

namespace plat {
struct ImageResource;
}

// Resource ids of the toolkit's own pictures.
inline constexpr int IDB_CHECK_UNDECIDED = 123;
inline constexpr int IDB_CHECK_ACCEPTED = 124;
inline constexpr int IDB_CHECK_REJECTED = 125;
inline constexpr int IDB_FACE_LEGEND = 189;
inline constexpr int IDB_FACE_ORDERS = 190;
inline constexpr int IDB_FACE_MATERIALS = 191;
inline constexpr int IDC_HAND_CURSOR = 106;

// Private messages of the toolkit's controls.
inline constexpr plat::UINT WM_BUTTON_PRESSED = 0x0400 + 12; // command id / button window
inline constexpr plat::UINT WM_SHOW_IDS = 0x0400 + 1;
inline constexpr plat::UINT WM_TREE_NOTIFY = 0x0400 + 38;    // 1 expanded, 2 selected, 3 click / item
inline constexpr plat::UINT WM_TAB_SELECTED = 0x0400 + 182;  // tab index / tab bar id
inline constexpr plat::UINT MSG_BOOKMARK_DBLCLK_UI = 1496;

// The embedded pictures (generated at build time).
std::span<const plat::ImageResource> uikit_images();
// Adds the pictures to the module the program registered; later loads use
// that module. Before this, loads look in the framework's resource module.
void uikit_register_resources(plat::HINSTANCE module);
plat::HINSTANCE uikit_resource_module();

// "Ms Sans Serif", or the face the language file names.
const char* uikit_dialog_face();
// 8-point font of the dialog face; the caller deletes it.
plat::HFONT uikit_make_dialog_font();

// Colour bits per pixel of the display; a test may pretend another depth
// (0 puts the real one back).
int uikit_display_bits();
void uikit_set_display_bits_for_test(int bits);

// A refused call (index out of range, table full): logged in debug builds,
// counted always so tests can see it happened.
void uikit_debug_log(const char* format, ...) __attribute__((format(printf, 1, 2)));
int uikit_refusal_count();
