// Running figures of the shop floor.
#include "shopfloor/stats.h"
#include <algorithm>
#include <cmath>

int32_t AverageAccumulator::mean() const
{
    if (count == 0)
        return 2147483647;
    return isum / static_cast<int32_t>(count);
}

double AverageAccumulator::float_mean() const
{
    if (count == 0)
        return 2147483648.0;
    return static_cast<double>(fsum) / count;
}

int32_t StdDeviation::std_deviation() const
{
    const size_t n = Entries.size();
    if (n < 2)
        return 2147483647;
    const int64_t m = acc.mean();
    float s = 0.0f;
    for (int32_t v : Entries) {
        const long double d = static_cast<long double>(m - v);
        s = static_cast<float>(static_cast<long double>(s) + d * d);
    }
    return static_cast<int32_t>(std::sqrt(static_cast<double>(s) / static_cast<double>(n - 1)));
}

void StdDeviation::save(ByteWriter& w) const
{
    acc.save(w);
    w.i16(static_cast<int16_t>(Entries.size()));
    for (int32_t v : Entries)
        w.i32(v);
}

bool StdDeviation::load(ByteReader& r)
{
    acc.load(r);
    const int n = r.count(32767, 4);
    Entries.assign(static_cast<size_t>(n), 0);
    for (auto& v : Entries)
        v = r.i32();
    // The accumulator must describe the entries, or later removals drive it negative.
    int64_t sum = 0;
    for (int32_t v : Entries)
        sum += v;
    if (acc.count != Entries.size() || sum != acc.isum)
        r.fail();
    return r.ok();
}

void MoveStdDev::remove_oldest_block()
{
    if (BlockEndIndexs.empty())
        return;
    const uint16_t e = BlockEndIndexs.front();
    const size_t k = std::min<size_t>(e, Entries.size());
    int32_t total = 0;
    for (size_t i = 0; i < k; ++i)
        total += Entries[i];
    Entries.erase(Entries.begin(), Entries.begin() + static_cast<std::ptrdiff_t>(k));
    acc.isum -= total;
    acc.count = static_cast<uint16_t>(acc.count - k);
    BlockEndIndexs.erase(BlockEndIndexs.begin());
    for (auto& b : BlockEndIndexs)
        b = static_cast<uint16_t>(b - e);
}

void MoveStdDev::save(ByteWriter& w) const
{
    StdDeviation::save(w);
    w.i16(static_cast<int16_t>(BlockEndIndexs.size()));
    for (uint16_t b : BlockEndIndexs) {
        w.u16(b);
        w.u16(0);
    }
}

bool MoveStdDev::load(ByteReader& r)
{
    if (!StdDeviation::load(r))
        return false;
    const int n = r.count(32767, 4);
    BlockEndIndexs.assign(static_cast<size_t>(n), 0);
    uint16_t prev = 0;
    for (auto& b : BlockEndIndexs) {
        b = r.u16();
        r.u16();
        if (b < prev || b > Entries.size())
            r.fail();
        prev = b;
    }
    return r.ok();
}
