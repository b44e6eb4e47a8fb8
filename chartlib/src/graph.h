// Private to chartlib/src. The records of a graph: settings, sets, slots,
// annotations, layout and scroll state.
#pragma once
#include "plat/types.h"
#include <cstdint>
#include <memory>
#include <vector>

namespace qxi {

using plat::COLORREF;
using plat::HGLOBAL;
using plat::HWND;
using plat::RECT;

inline constexpr double EMPTY_MIN = 1.7e308;
inline constexpr double EMPTY_MAX = -1.7e308;
inline constexpr int MAX_SLOTS = 10;
inline constexpr int MAX_MONTHS = 100;
inline constexpr int MAX_BOOKMARKS = 100;

// A font as the graph keeps it (the fields of the classic 60-byte record).
struct FontSpec {
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 0;
    uint8_t italic = 0, underline = 0, strike_out = 0, char_set = 0;
    uint8_t out_precision = 0, clip_precision = 0, quality = 0, pitch_and_family = 0;
    char face[32] = {};
};

// Everything one axis carries; index 0 is X, 1 is Y.
struct Axis {
    int data_type = 2;
    int visible = 1, position = 0, style = 0, width = 1;
    COLORREF colour = 0;
    int tick_visible = 1, tick_scale = 0;
    double tick_each = 0.0;
    int tick_pos = 3, tick_type = 0, tick_size = 9;
    COLORREF tick_colour = 0;
    int big_visible = 1, big_every = 2, big_size = 13;
    int val_visible = 1, val_scale = 1, val_pos = 3;
    char format[21] = "0,0,0";
    int auto_format = 0;
    FontSpec val_font;
    COLORREF val_colour = 0;
    int grid_visible = 1, grid_style = 1, grid_scale = 1;
    double grid_each = 0.0;
    COLORREF grid_colour = 0;
    int grid_width = 1;
    int min_max_scale = 2;
    int title_visible = 1;
    char title[41] = {};
    FontSpec title_font;
    COLORREF title_colour = 0;
    double view_min = 0.0, view_max = 10.0;
    double ext_min = EMPTY_MIN, ext_max = EMPTY_MAX;
};

struct SetRecord {
    int32_t id = 0;
    char name[12] = {};
    HGLOBAL x = 0, y = 0;
    int32_t count = 0;
    COLORREF colour = 0;
    int32_t point_style = 1, point_size = 1, line_style = 1, line_width = 1;
    int32_t connection = 0;
    char text[41] = {};
    char connection_text[201] = {};
    char source_text[201] = {};
    int32_t slot = 0;
    int32_t visible = 1;
    int32_t hint = 0;
    double hint_min = 0.0, hint_max = 0.0;
};

struct SlotRecord {
    int32_t settings_set = 0;
    RECT rect{};
    double y_min = 0.0, y_max = 0.0, y_tick_each = 0.0;
};

struct RefRecord {
    char id[12] = {};
    int32_t visible = 1, kind = 0, pen = 0;
    double x = 0, y = 0, x2 = 0, y2 = 0;
    int32_t width = 1;
    COLORREF colour = 0;
};

struct LabelRecord {
    char id[12] = {};
    int32_t visible = 1;
    double x = 0, y = 0;
    COLORREF colour = 0;
    char text[104] = {};
    FontSpec font;
    int32_t placement = 0;
    int32_t value_a = 0, value_b = 0;
};

struct BookmarkRecord {
    int32_t id = 0;
    int32_t visible = 1;
    double x = 0;
    char text[104] = {};
    int32_t value = 0;
    int32_t whole_x = 0;
};

struct TracerState {
    int line_enabled = 0, line_active = 0, line_dirs = 0;
    COLORREF line_colour = 0;
    int line_width = 1;
    int box_enabled = 0, box_active = 0, box_texts = 0;
    COLORREF box_colour = 0, box_bk = 0x00FFFF;
    FontSpec box_font;
    bool box_font_given = false;
    RECT track{};
    // The overlay the window paints over its picture; nothing is drawn on
    // the screen itself.
    int line_x = -1, line_y = -1;
    int line_shown = 0, box_shown = 0;
    int right_held = 0, left_held = 0;
    char box_text[52] = {};
    RECT box{};
};

struct GraphRecord {
    HWND window = 0;
    plat::HINSTANCE instance = 0;
    plat::WNDPROC prev_proc = nullptr;
    COLORREF window_bg = 0xC0C0C0, frame_colour = 0xC0C0C0;
    int frame_style = 3, frame_width = 1;
    COLORREF area_bg = 0xFFFFFF, border_colour = 0;
    int border_style = 4, border_width = 5;
    int space[4] = {60, 40, 20, 80};
    int auto_location = 0, align_to_grid = 1, coord_system = 0;
    Axis ax[2];
    int x_val_type = 0, first_month = 0;
    double month_starts[MAX_MONTHS] = {};
    int main_title_visible = 1;
    char main_title[61] = {};
    FontSpec main_font;
    COLORREF main_colour = 0;
    // scroller settings
    int sc_visible = 1, sc_appearance = 0, sc_height = 18, sc_position = 0, sc_auto = 0;
    double sc_small = 10.0, sc_big = 40.0;
    int sc_unit = 0, sc_drag = 0, sc_show_added = 0;
    // tracer settings
    int tr_line_visible = 0, tr_line_active = 0, tr_line_type = 0;
    COLORREF tr_line_colour = 0;
    int tr_line_width = 1;
    int tr_val_visible = 0, tr_val_active = 0, tr_val_type = 0;
    COLORREF tr_val_colour = 0, tr_val_bk = 0x00FFFF;
    FontSpec tr_val_font;
    bool tr_val_font_given = false;
    int print_style = 1;
    int default_x = 1, run_mode = 1;
    int32_t last_error = 0;
    char last_error_text[201] = {};
    std::vector<std::unique_ptr<SetRecord>> sets;
    double x_scale = 0, x_offset = 0, y_scale = 0, y_offset = 0;
    RECT area{};
    int assume_x = 2;
    int layer_mask = 2047;
    // layout state
    RECT x_strip{}, main_rect{}, x_title_rect{}, y_title_rect{};
    int x_label_w = 0, x_label_h = 0, y_label_w = 0, y_label_h = 0;
    int client_w = 0, client_h = 0;
    // scroller state
    HWND scroller = 0;
    int max_off = 0, min_off = 0, cur_off = 0, scroll_needed = 0;
    double pos_scale = 0, pos_offset = 0, remainder = 0;
    int thumb_tracking = 0, pause_running = 0;
    SlotRecord slots[MAX_SLOTS];
    int slot_count = 1, slot_space = 12;
    std::unique_ptr<TracerState> tracer;
    std::vector<RefRecord> refs;
    std::vector<LabelRecord> labels;
    std::vector<BookmarkRecord> bookmarks;
    // the bookmark glyph, 12 x 20, row by row (key colour = transparent)
    std::vector<COLORREF> glyph;
};

} // namespace qxi
