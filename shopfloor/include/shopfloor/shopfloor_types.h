// Limits, kinds and small helpers shared by every shop-floor record.
#pragma once
#include <cstdint>

inline constexpr int MAX_UNITS = 4;            // unit numbers 0..3 per machine
inline constexpr int MAX_MACHINES = 255;
inline constexpr int MAX_JOBS = 255;            // job numbers are 8-bit; WO item 255 = none
inline constexpr int MAX_PRODUCTS_PLANT = 255;
inline constexpr int MAX_RAW_MS = 255;
// A bought product's transport from the stores when no raw material carries its code: the
// transport never finds anything to fetch.
inline constexpr uint8_t NO_RAW_SOURCE = 255;
inline constexpr uint16_t NONE16 = 65535;
inline constexpr int32_t NO_LIMIT = 0x7FFFFFFF;
inline constexpr uint16_t CANNOT_PLAN = 65535;

enum ItemKind : int16_t { KIND_RAW = 0, KIND_JOB = 1, KIND_PRODUCT = 2 };

enum UnitState : int16_t {
    UNIT_IDLE = 0,
    UNIT_SETUP = 1,
    UNIT_PROD = 2,
    UNIT_BREAK = 3,
    UNIT_OUT_OF_WORK = 4,
    UNIT_ON_DELIVERY = 5,
};

enum DispatchRule : int16_t { RULE_FIFO = 0, RULE_CURRENT_JOB = 1, RULE_SCHEDULE = 2, RULE_EDD = 3, RULE_PRI = 4 };

enum ReleasePolicy : int16_t {
    RELEASE_IMMEDIATE = 0,
    RELEASE_MRP = 1,
    RELEASE_MRP_SCHEDULE = 2,
    RELEASE_DBR_NO_CONSTRAINT = 3,
    RELEASE_DBR_CONSTRAINT = 4,
    RELEASE_MANUAL = 5,
};

// The value truncated toward zero, plus one when the dropped fraction is at least a half.
inline int32_t half_up(float v)
{
    int32_t t = static_cast<int32_t>(v);
    if (v - static_cast<float>(t) >= 0.5f)
        ++t;
    return t;
}

struct MaterialCode {
    char code[3] = {0, 0, 0};
};
