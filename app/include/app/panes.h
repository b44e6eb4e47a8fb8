// The engine side of the indicator panes that carry values: Reputation
// (lateness figures) and Timer (time left); the Status pane's texts.
#pragma once
#include "app/app_types.h"
#include <array>
#include <cstdint>
#include <string>

class BinFile;
class DataFile;

inline constexpr int REPUTATION_RECORD_SIZE = 32;

class CReputationPane {
public:
    void LoadStatusSection(DataFile& file);
    float SixPeriodAverage() const;
    static float ReputationPercent(float lateness);
    // The largest figure a period keeps: far past where the percentage reaches 0 (4.5), and
    // small enough that the weighted average of six stays a number.
    static constexpr float MAX_FIGURE = 1.0e6f;
    // A new period figure: the oldest drops out, the average is recomputed.
    void AddPeriodValue(float lateness);
    void SaveState(BinFile& file) const;
    void LoadState(BinFile& file);
    bool IsValidRecord() const;

    float displayed = 0.0f;
    float current_figure = 0.0f;
    std::array<float, 6> periods{};
};

class CTimerPane {
public:
    void LoadTimerSection(DataFile& file);
    // Counts down the wall-clock seconds since the last count; true when
    // this count brought the time to zero (the caller ends the session).
    bool CheckTimer(bool enabled, int64_t now);
    // (v / 600) * 600 + 600, at most the initial time.
    static int16_t RoundForSave(int16_t value, int16_t initial);

    int16_t initial = 0;
    int32_t remaining = 0;
    int64_t last_count = 0;
};

// The panes' value texts.
std::string timer_text(int32_t remaining);           // "01:02:05"
std::string reputation_text(float lateness);         // percent, padded to 8
std::string cash_text(int32_t cash);                 // "-$1,234,567", padded to 9
std::string profit_text(int32_t profit, const std::string& period_end);

struct StatusLook {
    const char* text;
    uint32_t colour;  // COLORREF 0x00BBGGRR
};
StatusLook status_look(int16_t run_state);
