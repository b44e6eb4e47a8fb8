// Small helpers shared by the engine's sources.
#pragma once
#include "foundation/simdate.h"
#include "marketing/market_ports.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace mkt {

// Calendar order of two dates, the time of day ignored: <0, 0, >0.
inline int day_order(const SimDateTime& a, const SimDateTime& b)
{
    if (a.year != b.year)
        return a.year < b.year ? -1 : 1;
    if (a.month != b.month)
        return a.month < b.month ? -1 : 1;
    if (a.day != b.day)
        return a.day < b.day ? -1 : 1;
    return 0;
}

inline bool same_day(const SimDateTime& a, const SimDateTime& b) { return day_order(a, b) == 0; }

// Scenario item n as an integer within lo..hi; outside: the Data Loading
// Error naming it.
inline int32_t bounded(MarketData& d, int16_t n, int32_t lo, int32_t hi)
{
    const int32_t v = d.item_int(n);
    if (v < lo || v > hi)
        d.load_error(2);
    return v;
}

template <class T>
T clamp_to(double v)
{
    if (!(v == v))
        return 0;
    const double lo = static_cast<double>(std::numeric_limits<T>::min());
    const double hi = static_cast<double>(std::numeric_limits<T>::max());
    return static_cast<T>(std::clamp(std::trunc(v), lo, hi));
}

inline int16_t add16(int16_t a, int b) { return clamp_to<int16_t>(static_cast<double>(a) + b); }
inline uint16_t addu16(uint16_t a, int b) { return clamp_to<uint16_t>(static_cast<double>(a) + b); }
inline uint32_t addu32(uint32_t a, int64_t b) { return clamp_to<uint32_t>(static_cast<double>(a) + static_cast<double>(b)); }

// Weights 1 to 6, the newest (last) heaviest, over 21.
template <class A>
float weighted6(const A& v)
{
    float s = 0;
    for (int i = 0; i < 6; ++i)
        s += static_cast<float>(i + 1) * v[static_cast<size_t>(i)];
    return s / 21.0f;
}

template <class A, class V>
void shift_in(A& series, V value)
{
    for (size_t i = 0; i + 1 < series.size(); ++i)
        series[i] = series[i + 1];
    series[series.size() - 1] = value;
}

} // namespace mkt
