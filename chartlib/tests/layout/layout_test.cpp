// Geometry worked out by hand: mapping, automatic formats and spacing,
// value texts, slot rectangles, round limits and the month axis.
#include "layout.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>

using namespace qxi;

namespace {

// Six pixels a character, twelve a line, 96 dpi.
class FixedMeasure : public Measure {
public:
    int text_width(const FontSpec&, const char* text) override { return 6 * int(std::strlen(text)); }
    int text_height(const FontSpec&) override { return 12; }
    int dpi_y() override { return 96; }
};

GraphRecord graph_with_area(int left, int top, int right, int bottom)
{
    GraphRecord g;
    g.area = RECT{left, top, right, bottom};
    compute_mapping(g);
    return g;
}

} // namespace

TEST(ChartLayout, MappingPutsTheViewOnTheAreaEdges)
{
    GraphRecord g = graph_with_area(60, 40, 161, 141);
    g.ax[0].view_max = 100;
    g.ax[1].view_max = 100;
    compute_mapping(g);
    EXPECT_EQ(px_x(g, 0), 60);
    EXPECT_EQ(px_x(g, 100), 160);
    EXPECT_EQ(px_y(g, 0), 140);
    EXPECT_EQ(px_y(g, 100), 40);
    EXPECT_DOUBLE_EQ(value_of_px_x(g, 85), 25);
}

TEST(ChartLayout, EmptyXViewHasNoScaleAndNoTicks)
{
    GraphRecord g = graph_with_area(60, 40, 400, 300);
    g.ax[0].view_min = g.ax[0].view_max = 5;
    g.ax[0].tick_each = 1;
    compute_mapping(g);
    EXPECT_EQ(g.x_scale, 0);
    EXPECT_EQ(px_x(g, 1e6), 60);
    EXPECT_EQ(x_ticks(g).count, 0);
}

TEST(ChartLayout, AutomaticFormatFollowsTheViewMaximum)
{
    EXPECT_EQ(auto_value_format(12345.0), "0,3,0");
    EXPECT_EQ(auto_value_format(0.5), "3,0,0");
    EXPECT_EQ(auto_value_format(250.0), "1,0,0");
    EXPECT_EQ(auto_value_format(0.00001), "0,-3,0");
}

TEST(ChartLayout, ValueTexts)
{
    struct Case {
        double value;
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, "1,3,0", "1.2e3"},
        {1234.5, "2,0,0", "1234.50"},
        {1234.5, "", "?"},
        {1234.5, "1,2", "?"},
        {1234.5, "1,2,3,4", "?"},
        {std::nan(""), "0,0,0", "?"},
        {1.0 / 0.0, "0,0,0", "?"},
        {-0.25, "2,0,0", "-0.25"},
        {50, "0,0,1", "5"},
        {-0.0, "0,0,0", "0"},
        {-0.0001, "2,0,0", "0.00"},
        {1, "0,400,0", "?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(format_axis_value(c.value, c.format), c.text) << c.value << " " << c.format;
    // 500 decimals are held to 15: the text stays short.
    EXPECT_LE(format_axis_value(1.0, "500,0,0").size(), 17u);
}

TEST(ChartLayout, TwoSlotsShareTheAreaWithTheirGap)
{
    GraphRecord g = graph_with_area(60, 40, 400, 240);
    g.slot_count = 2;
    g.slot_space = 12;
    compute_slot_rects(g);
    EXPECT_EQ(g.slots[0].rect.top, 40);
    EXPECT_EQ(g.slots[0].rect.bottom, 134);
    EXPECT_EQ(g.slots[1].rect.top, 146);
    EXPECT_EQ(g.slots[1].rect.bottom, 240);
}

TEST(ChartLayout, LimitsRoundOutward)
{
    double lo = 73, hi = 173;
    round_limits(lo, hi);
    EXPECT_EQ(lo, 60);
    EXPECT_EQ(hi, 180);
    lo = 0;
    hi = 100;
    round_limits(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
}

TEST(ChartLayout, AutomaticTickSpacingUsesTheLabelWidth)
{
    FixedMeasure m;
    GraphRecord g = graph_with_area(60, 40, 161, 300);
    g.ax[0].view_max = 100;
    update_auto_scales(g, m);
    // Labels "0" and "100": 18 px, so a tick every 36 px: 100 / 2 = 50, rounded up to 60.
    EXPECT_EQ(g.x_label_w, 18);
    EXPECT_EQ(g.ax[0].tick_each, 60);
}

TEST(ChartLayout, DenseRowsVisitOnlyTheVisibleIndexes)
{
    TickRow row;
    row.first = 0;
    row.step = 1e-9;
    row.count = 1e21;
    double f, l;
    visible_indexes(row, 5.0, 5.0 + 1e-7, f, l);
    EXPECT_LE(l - f, 110);
    visible_indexes(row, 2e21, 3e21, f, l);
    EXPECT_LT(l, f);
}

TEST(ChartLayout, MonthAxisCountsWorkingDaysOf1998)
{
    EXPECT_EQ(nth_working_day(2, 4), 5);
    EXPECT_EQ(nth_working_day(4, 4), 6);
    EXPECT_EQ(nth_working_day(2, 30), 28);
}

TEST(ChartLayout, AutoLocationMakesRoomForTitlesAndValues)
{
    FixedMeasure m;
    GraphRecord g = graph_with_area(0, 0, 0, 0);
    g.main_font = g.ax[0].title_font = g.ax[1].title_font = default_font();
    g.ax[0].val_pos = 0;
    g.ax[1].val_pos = 0;
    g.ax[0].tick_pos = 0;
    g.ax[1].tick_pos = 0;
    recalc_layout(g, m);
    // Y title 8 pt + 30, labels "0" and "10": 1.1 x 12 = 13 px + 2, ticks 13.
    EXPECT_EQ(g.space[0], 8 + 30 + 13 + 2 + 13);
    EXPECT_EQ(g.space[1], 8 + 30);
    EXPECT_EQ(g.space[2], 20);
    // scroller 18 at position 0: max(18, 20) + 10, X title 8 + 10, labels 12 + 2, ticks 13.
    EXPECT_EQ(g.space[3], 30 + 18 + 14 + 13);
    EXPECT_EQ(g.align_to_grid, 1);
}

#include "core.h"

TEST(ChartSamples, SetZeroSineRunsNinePeriods)
{
    double xs[SAMPLE_POINTS], ys[SAMPLE_POINTS];
    plat::Lcg unused;
    sample_wave(2, 0, 0, 10, 0, 10, xs, ys, unused);
    EXPECT_EQ(xs[0], 0);
    EXPECT_EQ(xs[299], 10);
    int changes = 0;
    for (int i = 2; i < 299; ++i)
        if ((ys[i] - 5 > 0) != (ys[i - 1] - 5 > 0))
            ++changes;
    // 9 periods: 18 half-waves, so 17 sign changes between the ends.
    EXPECT_EQ(changes, 17);
}

TEST(ChartSamples, SquareWaveHoldsFPlusOnePointsPerHalf)
{
    double xs[SAMPLE_POINTS], ys[SAMPLE_POINTS];
    plat::Lcg unused;
    // id 291: 300 periods, f = 1: high, high, (flip keeps high), low, low, (flip keeps low), high...
    sample_wave(3, 291, 0, 10, 0, 8, xs, ys, unused);
    const double expected[] = {6, 6, 6, 2, 2, 2, 6, 6};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ys[i], expected[i]) << i;
}
