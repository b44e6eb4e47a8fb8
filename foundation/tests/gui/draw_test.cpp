#include "foundation/draw.h"
#include "gui/gui_support.h"
#include "plat/window.h"
#include <gtest/gtest.h>

using namespace plat;

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kLight = 0xC0C0C0;

} // namespace

TEST(Palette, IndexesAndColours)
{
    EXPECT_EQ(index_to_color(9), 0xFF0000u);
    EXPECT_EQ(index_to_color(7), 0xC0C0C0u);
    EXPECT_EQ(index_to_color(16), 0u);
    EXPECT_EQ(index_to_color(-1), 0u);
    EXPECT_EQ(color_to_index(0xFF0000), 9);
    EXPECT_EQ(color_to_index(0x00FFFF), 14);
    EXPECT_EQ(color_to_index(0x123456), 0);
}

TEST(Labels, DirectivesParse)
{
    const LabelStyle s = parse_label("Units#12 #B#C-9");
    EXPECT_EQ(s.text, "Units");
    EXPECT_EQ(s.points, 12);
    EXPECT_TRUE(s.bold);
    EXPECT_FALSE(s.italic);
    EXPECT_EQ(s.color, 0xFF0000u);
    const LabelStyle plain = parse_label("Plain text");
    EXPECT_EQ(plain.text, "Plain text");
    EXPECT_EQ(plain.points, 8);
    EXPECT_EQ(plain.color, 0u);
    EXPECT_TRUE(parse_label("x#I").italic);
}

TEST(Labels, MeasureTheTextFieldOnly)
{
    Canvas c(200, 60);
    const HDC dc = GetDC(c.hwnd());
    const uint32_t bare = draw_label(dc, "Sales", 0, 0, true);
    const uint32_t with_default_size = draw_label(dc, "Sales#8#C-4", 0, 0, true);
    EXPECT_EQ(with_default_size, bare);
    const SIZE s = unpack_extent(bare);
    EXPECT_GT(s.cx, 10);
    EXPECT_GE(s.cy, 8);
    EXPECT_GT(unpack_extent(draw_label(dc, "Sales#14", 0, 0, true)).cx, s.cx);
    EXPECT_EQ(c.pixel(2, 5), kWhite);  // measuring draws nothing
    ReleaseDC(c.hwnd(), dc);
}

TEST(Stateless, DottedLinesAndArrows)
{
    Canvas c(40, 20);
    const HDC dc = GetDC(c.hwnd());
    draw_dotted_line(dc, 10, 5, 16, 5, kRed);
    draw_dotted_line(dc, 3, 3, 9, 9, kRed);  // diagonal: nothing
    draw_dotted_line(dc, 30, 12, 30, 6, kRed);
    draw_small_arrow(dc, 20, 12, kRed);
    ReleaseDC(c.hwnd(), dc);
    EXPECT_EQ(c.row(5, 8, 18, kRed), "..#.#.#...");
    EXPECT_EQ(c.row(4, 3, 10, kRed) + c.row(6, 3, 10, kRed), std::string(14, '.'));
    EXPECT_EQ(c.pixel(30, 6), kRed);
    EXPECT_EQ(c.pixel(30, 8), kRed);
    EXPECT_EQ(c.pixel(30, 11), kWhite);
    // Line i from (x + i - 2, y + i) up to, not including, (x + 5 - i, y + i).
    EXPECT_EQ(c.row(12, 16, 27, kRed), "..#######..");
    EXPECT_EQ(c.row(13, 16, 27, kRed), "...#####...");
    EXPECT_EQ(c.row(14, 16, 27, kRed), "....###....");
    EXPECT_EQ(c.row(15, 16, 27, kRed), ".....#.....");
}

TEST(Stateless, BevelsAndFrames)
{
    Canvas c(60, 30);
    const HDC dc = GetDC(c.hwnd());
    draw_3d_border(dc, 2, 2, 12, 12, 1, 0);   // sunken
    draw_3d_border(dc, 20, 2, 30, 12, 2, 1);  // raised, two bevels
    draw_frame(dc, RECT{40, 2, 50, 12}, kRed, 2);
    ReleaseDC(c.hwnd(), dc);
    EXPECT_EQ(c.pixel(5, 2), kGrey);    // sunken top
    EXPECT_EQ(c.pixel(2, 5), kGrey);    // sunken left
    EXPECT_EQ(c.pixel(5, 11), kWhite);  // bottom
    EXPECT_EQ(c.pixel(11, 5), kWhite);  // right
    EXPECT_EQ(c.pixel(2, 11), kLight);  // bottom-left corner
    EXPECT_EQ(c.pixel(11, 2), kLight);  // top-right corner
    EXPECT_EQ(c.pixel(25, 3), kWhite);  // second raised bevel
    EXPECT_EQ(c.pixel(25, 10), kGrey);
    EXPECT_EQ(c.row(6, 39, 51, kRed), ".##......##.");
}

TEST(GraphicsLayer, PrimitivesNeedAView)
{
    ASSERT_EQ(gfx_view(), nullptr);
    gfx_set_line_color(kRed);  // nothing without a view
    gfx_line(0, 0, 10, 10);
    EXPECT_EQ(gfx_current_x(), 0);
}

TEST(GraphicsLayer, ThickLinesAndTheKeptView)
{
    Canvas c(40, 30);
    gfx_create_fonts("MS Sans Serif", "MS Sans Serif", "Small Fonts");
    GraphicsView* view = gfx_open_view(c.hwnd());
    ASSERT_NE(view, nullptr);
    gfx_set_line_color(kRed);
    gfx_select_window(c.hwnd());
    EXPECT_EQ(gfx_view(), view);
    EXPECT_EQ(gfx_view()->line_color, kRed);  // not reset
    gfx_move_to(5, 10);
    gfx_thick_line_to(15, 10, 1);
    gfx_move_to(5, 20);
    gfx_thick_line_to(15, 20, 4);
    EXPECT_EQ(gfx_current_x(), 15);
    EXPECT_EQ(gfx_current_y(), 20);
    gfx_release_window(c.hwnd());
    EXPECT_EQ(gfx_view(), nullptr);
    gfx_delete_fonts();
    std::string column1;
    std::string column4;
    for (int y = 7; y < 14; ++y)
        column1 += c.pixel(10, y) == kRed ? '#' : '.';
    for (int y = 16; y < 25; ++y)
        column4 += c.pixel(10, y) == kRed ? '#' : '.';
    EXPECT_EQ(column1, "...#...");
    EXPECT_EQ(column4, "..#####..");
}

TEST(GraphicsLayer, BoxesPaneFrameAndAPicture)
{
    Canvas c(240, 120);
    gfx_create_fonts("MS Sans Serif", "MS Sans Serif", "Small Fonts");
    ASSERT_NE(gfx_open_view(c.hwnd()), nullptr);
    const HDC dc = gfx_view()->dc;
    {
        const HBRUSH face = CreateSolidBrush(kLight);
        const RECT all{0, 0, 240, 120};
        FillRect(dc, &all, face);
        DeleteObject(face);
    }
    gfx_draw_box(4, 4, 10, 6, kRed);
    gfx_draw_pane_frame(20, 4, 100, 50);
    gfx_draw_text("Cash", 26, 6, 0x000000, GFX_TRANSPARENT, 0);
    gfx_draw_text("1,234", 26, 24, 0x000000, kWhite, 80);
    draw_styled_frame(dc, 130, 4, 170, 30, 3, 2);
    draw_button_frame(dc, 180, 4, 230, 30, false);
    draw_push_face(dc, 130, 40, 170, 64, false, true);
    draw_push_face(dc, 180, 40, 230, 64, true, false);
    draw_tab_edge(dc, 20, 100, 70, 80);
    draw_filled_rect(dc, 80, 80, 30, 20, 0x00FFFF, 0x000000);
    draw_line(dc, 120, 80, 200, 110, 0x008000, 3);
    draw_label(dc, "Label#10#B#C-12", 130, 70, false);
    gfx_set_fill(1, 0xFF0000);
    gfx_fill_rect(210, 70, 230, 90);
    gfx_set_line_color(0x000000);
    gfx_frame_rect(205, 95, 235, 115);
    // The box's outline takes columns 4 and 14, rows 4 and 10.
    EXPECT_EQ(c.pixel(4, 4), 0u);
    EXPECT_EQ(c.pixel(14, 10), 0u);
    EXPECT_EQ(c.pixel(5, 5), kRed);
    EXPECT_EQ(c.pixel(13, 9), kRed);
    // The pane frame: grey outside, white beside it, inner top at y + 16.
    EXPECT_EQ(c.pixel(60, 4), kGrey);
    EXPECT_EQ(c.pixel(60, 5), kWhite);
    EXPECT_EQ(c.pixel(60, 20), kGrey);
    EXPECT_EQ(c.pixel(210, 70), 0xFF0000u);
    EXPECT_EQ(c.pixel(220, 95), 0u);
    EXPECT_EQ(c.pixel(220, 100), kLight);  // frame only
    c.save_png("drawing_helpers.png");
    gfx_release_window(c.hwnd());
    gfx_delete_fonts();
}

TEST(Fonts, HeightsWeightsAndPoints)
{
    const HFONT f = make_font("MS Sans Serif", 8, false, true, false, false, true);
    LOGFONT lf{};
    ASSERT_EQ(GetObject(f, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -10);  // 8 x 96 / 72 = 10.67, cut
    EXPECT_EQ(lf.lfWeight, 100);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfEscapement, 1800);
    EXPECT_EQ(font_points_of(lf), 8);  // 10 x 72 / 96 = 7.5, half up
    DeleteObject(f);
    const HFONT b = create_font("Arial", 12, true, false, false, false);
    ASSERT_EQ(GetObject(b, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfEscapement, 0);
    DeleteObject(b);
    EXPECT_EQ(unpack_extent(0x000C0030).cx, 0x30);
    EXPECT_EQ(unpack_extent(0x000C0030).cy, 0x0C);
}
