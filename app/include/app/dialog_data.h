// What the application dialogs hold and decide, apart from their windows:
// the sales summary graph's series sets, the forecast range, the guided
// runs offered and the learn levels the Open Session dialog enables.
#pragma once
#include "app/learn_file.h"
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr int MAX_SERIES_SETS = 50;
inline constexpr int MAX_SET_SERIES = 5;
inline constexpr size_t SERIES_SET_TITLE_CHARS = 100;

struct SummarySeries {
    const float* data = nullptr;  // 12 monthly values, owned by the caller
    uint32_t line_colour = 0;
    uint32_t marker_colour = 0;
};

struct SeriesSet {
    std::string title;
    std::array<SummarySeries, MAX_SET_SERIES> series{};
    int16_t count = 0;
};

class SalesSummarySets {
public:
    // Sets and series are defined in increasing order; a set or series
    // beyond the table is refused (false) and nothing changes.
    bool DefineSeries(int set, int series, const std::string& title, const float* data, uint32_t line_colour,
                      uint32_t marker_colour);
    int16_t set_count() const { return count_; }
    const SeriesSet& set(int i) const { return sets_[static_cast<size_t>(i)]; }

private:
    std::array<SeriesSet, MAX_SERIES_SETS> sets_{};
    int16_t count_ = 0;
};

// The Get Forecast Range dialog's result: the range in days (months times
// the working days per month of the shift mode); 0 or less refused with the
// box "Invalid range", answering none.
std::optional<int32_t> forecast_range_days(int32_t range, bool months);

// "Guide1" .. "Guide10" whose ".cmd" file exists in the folder, in order.
std::vector<std::string> guided_run_names(const std::string& folder);

// The Open Session dialog's buttons: one per level, enabled by the gating
// rule, and "Last session" when a last-session file exists.
struct LevelButton {
    std::string label;
    bool enabled = false;
};
std::vector<LevelButton> open_session_buttons(const LearnRecord& record);
