// An empirical discrete distribution: cumulative thresholds on the generator and their values.
#pragma once
#include "shopfloor/byte_stream.h"
#include <cstdint>
#include <vector>

struct SimHost;

class rrandom {
public:
    rrandom() = default;
    // Thresholds 1..n-1 given; the last is always 32767.
    rrandom(const std::vector<uint16_t>& thresholds, const std::vector<uint16_t>& values);
    uint16_t draw(SimHost& host) const;
    uint16_t draw_breakdown(SimHost& host, int16_t threshold, int32_t percent) const;
    uint16_t value_for(int r) const;
    void save(ByteWriter& w) const;
    bool load(ByteReader& r);

    uint8_t n = 0;
    std::vector<uint16_t> thresholds;
    std::vector<uint16_t> values;
};
