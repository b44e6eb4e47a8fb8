// Private to chartlib/src. Geometry of a graph: area, mapping, automatic
// view and spacing, ticks, grid lines, value texts and the layout rectangles.
#pragma once
#include "graph.h"
#include <string>

namespace qxi {

// Text measurement, so that the layout can be worked out without a window.
class Measure {
public:
    virtual ~Measure() = default;
    virtual int text_width(const FontSpec& font, const char* text) = 0;
    virtual int text_height(const FontSpec& font) = 0;
    virtual int dpi_y() = 0;
};

// The default font: 8 points, weight 100, "Ms Sans Serif".
FontSpec default_font();
// round(-height x 72 / dpi), halves up.
int point_size(const FontSpec& font, int dpi);

// Halves away from zero; NaN and huge values are clamped first.
int round_px(double v);

// Pixel of a value with the current mapping (no scroll offset).
int px_x(const GraphRecord& g, double x);
int px_y(const GraphRecord& g, double y);
double value_of_px_x(const GraphRecord& g, double px);
double value_of_px_y(const GraphRecord& g, double px);

void compute_mapping(GraphRecord& g);
// The mapping of slot i over its rectangle and the Y view it is painted with.
void slot_view(const GraphRecord& g, int slot, double& y_min, double& y_max, double& y_tick);
void compute_slot_rects(GraphRecord& g);

// Area from the client size and display space, then aligned, then mapped.
void recompute_area(GraphRecord& g, Measure& m);
void update_auto_scales(GraphRecord& g, Measure& m);
// Display spaces from titles, axes, ticks and fonts (auto graph location).
void recalc_layout(GraphRecord& g, Measure& m);
void compute_label_geometry(GraphRecord& g, Measure& m);
void compute_title_rects(GraphRecord& g, Measure& m);

std::string format_axis_value(double value, const char* format);
std::string auto_value_format(double view_max);
void round_limits(double& min, double& max);

// Ticks anchored at the data: first value, spacing and count (0 = none).
struct TickRow {
    double first = 0, step = 0, count = 0;
    int big_every = 0;
};
TickRow x_ticks(const GraphRecord& g);
TickRow y_ticks(const GraphRecord& g);
TickRow x_grid(const GraphRecord& g);
TickRow y_grid(const GraphRecord& g);
// Index range of a row whose values fall within [lo, hi]; empty when last < first.
void visible_indexes(const TickRow& row, double lo, double hi, double& first, double& last);

// Where the axis lines lie.
int x_axis_row(const GraphRecord& g);
int y_axis_col(const GraphRecord& g);
// Start of a tick line for a tick row at `pos` (0 bottom/left, 1 top/right, 3 axis) of length a.
int x_tick_start(const GraphRecord& g, int pos, int a);
int y_tick_start(const GraphRecord& g, int pos, int a);
int tick_extent(const Axis& a);

// First and last X of all sets with points; false when there is none.
bool data_x_bounds(const GraphRecord& g, double& first, double& last);

// The month axis: the day of the month of the n-th working day (Monday to
// Friday) of a month of 1998, the month's last day when it has fewer.
int nth_working_day(int month, int n);
extern const char* const month_names[12];

} // namespace qxi
