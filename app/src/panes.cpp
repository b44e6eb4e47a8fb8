// The indicator panes' values.
#include "app/panes.h"
#include "foundation/binfile.h"
#include "foundation/datafile.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

void CReputationPane::LoadStatusSection(DataFile& file)
{
    std::string text, rec;
    find_section(file, "STATUS", text, 1);
    get_record(1, 1, text, rec);
    for (int i = 0; i < 6; ++i)
        periods[i] = static_cast<float>(get_item_float(static_cast<int16_t>(i + 1), rec));
    current_figure = periods[5];
    displayed = SixPeriodAverage();
}

float CReputationPane::SixPeriodAverage() const
{
    float sum = 0.0f;
    for (int i = 0; i < 6; ++i)
        sum += static_cast<float>(i + 1) * periods[i];
    return sum / 21.0f;
}

float CReputationPane::ReputationPercent(float x)
{
    float p;
    if (x < 0.5f)
        p = 100.0f - 100.0f * x;
    else if (x < 2.0f)
        p = 50.0f - 25.0f * (x - 0.5f);
    else
        p = 12.5f - 5.0f * (x - 2.0f);
    return p < 0.0f ? 0.0f : p;
}

void CReputationPane::AddPeriodValue(float lateness)
{
    lateness = std::min(lateness, MAX_FIGURE);
    current_figure = lateness;
    for (int i = 0; i < 5; ++i)
        periods[i] = periods[i + 1];
    periods[5] = lateness;
    displayed = SixPeriodAverage();
}

void CReputationPane::SaveState(BinFile& file) const
{
    file.WriteF32(displayed);
    file.WriteF32(current_figure);
    for (float v : periods)
        file.WriteF32(v);
}

void CReputationPane::LoadState(BinFile& file)
{
    displayed = file.ReadF32();
    current_figure = file.ReadF32();
    for (float& v : periods)
        v = file.ReadF32();
}

// A figure that is not a number would be averaged into every later period and shown as such.
// The figures are penalties over sales, never below zero; below it the percentage would leave
// every range it is shown and counted in; past MAX_FIGURE their average would not be a number.
bool CReputationPane::IsValidRecord() const
{
    auto valid = [](float v) { return std::isfinite(v) && v >= 0.0f && v <= MAX_FIGURE; };
    if (!valid(displayed) || !valid(current_figure))
        return false;
    for (float v : periods)
        if (!valid(v))
            return false;
    return true;
}

void CTimerPane::LoadTimerSection(DataFile& file)
{
    std::string text, rec;
    find_section(file, "TIMER", text, 1);
    get_record(1, 1, text, rec);
    int32_t seconds = get_item_int(1, rec);
    if (seconds < 0 || seconds > 32767) {
        DataFilePosition& pos = data_file_position();
        pos.item = 1;
        data_load_error(LOAD_ITEM);
    }
    initial = static_cast<int16_t>(seconds);
    remaining = initial;
}

bool CTimerPane::CheckTimer(bool enabled, int64_t now)
{
    if (!enabled || remaining < 1) {
        // Time spent at zero is not charged when more time is added.
        last_count = now;
        return false;
    }
    int64_t d = now - last_count;
    if (d <= 0)
        return false;
    // A long gap can jump past zero; the end is the same either way.
    int64_t left = static_cast<int64_t>(remaining) - d;
    remaining = left <= 0 ? 0 : static_cast<int32_t>(left);
    last_count = now;
    return remaining == 0;
}

int16_t CTimerPane::RoundForSave(int16_t value, int16_t initial_time)
{
    int32_t v = (value / 600) * 600 + 600;
    if (v > initial_time)
        v = initial_time;
    return static_cast<int16_t>(v);
}

StatusLook status_look(int16_t run_state)
{
    switch (run_state) {
    case RUN_RUNNING: return {"Run", 0x00FF00};
    case RUN_HOLD: return {"Hold", 0x0000FF};
    case RUN_OVER: return {"Over", 0x808000};
    default: return {"Pause", 0xFFFFFF};
    }
}

static std::string two_digits(int32_t v)
{
    char b[16];
    std::snprintf(b, sizeof b, v >= 10 ? "%d" : "0%d", v);
    return b;
}

std::string timer_text(int32_t remaining)
{
    int32_t h = remaining / 3600;
    int32_t m = (remaining - 3600 * h) / 60;
    int32_t s = remaining % 60;
    return two_digits(h) + ":" + two_digits(m) + ":" + two_digits(s);
}

std::string reputation_text(float lateness)
{
    char b[32];
    std::snprintf(b, sizeof b, "%0.0f", static_cast<double>(CReputationPane::ReputationPercent(lateness)));
    std::string text = b;
    if (text.size() < 8)
        text.append(8 - text.size(), ' ');
    return text;
}

std::string cash_text(int32_t cash)
{
    std::string digits = std::to_string(cash < 0 ? -static_cast<int64_t>(cash) : static_cast<int64_t>(cash));
    insert_thousands_separators(digits);
    std::string text = (cash < 0 ? "-$" : "$") + digits;
    if (text.size() < 9)
        text.append(9 - text.size(), ' ');
    return text;
}

std::string profit_text(int32_t profit, const std::string& period_end)
{
    std::string digits = std::to_string(profit);
    insert_thousands_separators(digits);
    insert_dollar_sign(digits);
    return digits + " (" + period_end + ")";
}
