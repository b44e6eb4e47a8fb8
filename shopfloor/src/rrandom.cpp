// Empirical distributions drawn on the process generator.
#include "shopfloor/rrandom.h"
#include "shopfloor/host.h"

rrandom::rrandom(const std::vector<uint16_t>& t, const std::vector<uint16_t>& v)
    : n(static_cast<uint8_t>(v.size())), thresholds(t), values(v)
{
    thresholds.resize(values.size());
    if (!thresholds.empty())
        thresholds.back() = 32767;
}

uint16_t rrandom::value_for(int r) const
{
    for (size_t i = 0; i < values.size(); ++i)
        if (thresholds[i] >= r)
            return values[i];
    return values.empty() ? 0 : values.back();
}

uint16_t rrandom::draw(SimHost& host) const
{
    return value_for(host.rng());
}

uint16_t rrandom::draw_breakdown(SimHost& host, int16_t threshold, int32_t percent) const
{
    const int r1 = host.rng();
    if (r1 <= threshold)
        return 0;
    const uint16_t v = value_for(host.rng());
    return static_cast<uint16_t>(static_cast<float>(static_cast<uint16_t>(percent)) * v / 100.0f);
}

void rrandom::save(ByteWriter& w) const
{
    w.u8(n);
    for (uint16_t t : thresholds)
        w.u16(t);
    for (uint16_t v : values)
        w.u16(v);
}

bool rrandom::load(ByteReader& r)
{
    const uint8_t k = r.u8();
    if (k < 1 || static_cast<size_t>(k) * 4 > r.left()) {
        r.fail();
        return false;
    }
    n = k;
    thresholds.assign(k, 0);
    values.assign(k, 0);
    for (auto& t : thresholds)
        t = r.u16();
    for (auto& v : values)
        v = r.u16();
    for (size_t i = 1; i < thresholds.size(); ++i)
        if (thresholds[i] < thresholds[i - 1])
            r.fail();
    if (thresholds.back() != 32767)
        r.fail();
    return r.ok();
}
