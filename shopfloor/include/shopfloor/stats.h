// Running figures: an integer or float accumulator, a standard deviation and its moving window.
#pragma once
#include "shopfloor/byte_stream.h"
#include <cstdint>
#include <vector>

class AverageAccumulator {
public:
    void clear() { isum = 0; fsum = 0.0f; count = 0; }
    void add(int32_t v) { isum += v; ++count; }
    void add_float(float v) { fsum += v; ++count; }
    int32_t mean() const;           // 2147483647 when empty
    double float_mean() const;      // 2147483648.0 when empty
    void save(ByteWriter& w) const { w.i32(isum); w.u16(count); }
    void load(ByteReader& r) { isum = r.i32(); count = r.u16(); }
    // Float accumulators share the 32-bit sum field in files.
    void save_float(ByteWriter& w) const { w.f32(fsum); w.u16(count); }
    void load_float(ByteReader& r) { fsum = r.f32(); count = r.u16(); }

    int32_t isum = 0;
    float fsum = 0.0f;
    uint16_t count = 0;
};

class StdDeviation {
public:
    void add(int32_t v) { acc.add(v); Entries.push_back(v); }
    int32_t mean() const { return acc.mean(); }
    int32_t std_deviation() const;
    void save(ByteWriter& w) const;
    bool load(ByteReader& r);

    AverageAccumulator acc;
    std::vector<int32_t> Entries;
};

class MoveStdDev : public StdDeviation {
public:
    void close_block() { BlockEndIndexs.push_back(static_cast<uint16_t>(Entries.size())); }
    int16_t block_count() const { return static_cast<int16_t>(BlockEndIndexs.size()); }
    void remove_oldest_block();
    void save(ByteWriter& w) const;
    bool load(ByteReader& r);

    std::vector<uint16_t> BlockEndIndexs;
};
