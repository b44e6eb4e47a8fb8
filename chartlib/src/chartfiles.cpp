// Readers of the chart data files: VEC files, raw samples, text vectors.
#include "chartfiles.h"
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace qxi {

namespace {

uint32_t u32_at(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint16_t u16_at(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

double element_at(const uint8_t* p, int sample_type)
{
    switch (sample_type) {
    case 0: return p[0];
    case 1: return int16_t(u16_at(p));
    case 2: return int32_t(u32_at(p));
    case 3: {
        uint32_t bits = u32_at(p);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    default: {
        uint64_t bits = uint64_t(u32_at(p)) | (uint64_t(u32_at(p + 4)) << 32);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    }
}

int sample_size(int sample_type)
{
    static const int sizes[] = {1, 2, 4, 4, 8, 8};
    return sizes[sample_type];
}

// VEC element types 0 long, 1 float, 2 double read as their own values.
double vec_element_at(const uint8_t* p, int vec_type)
{
    return element_at(p, vec_type == TYPE_LONG ? 2 : vec_type == TYPE_FLOAT ? 3 : 4);
}

int vec_size(int vec_type) { return vec_type == TYPE_DOUBLE ? 8 : 4; }

} // namespace

int32_t to_long(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

float to_float(double v)
{
    constexpr double max = std::numeric_limits<float>::max();
    if (std::isnan(v))
        return std::numeric_limits<float>::quiet_NaN();
    // Values past the largest single that would still round to it stay finite.
    if (v > max || v < -max) {
        if (std::fabs(v) < max + std::ldexp(1.0, 103))
            return v > 0 ? std::numeric_limits<float>::max() : -std::numeric_limits<float>::max();
        return v > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(v);
}

double to_type(double v, int type)
{
    if (type == TYPE_LONG)
        return to_long(v);
    if (type == TYPE_FLOAT)
        return to_float(v);
    return v;
}

ReadError parse_vec(std::span<const uint8_t> file, Series& x, Series& y)
{
    x.values.clear();
    y.values.clear();
    if (file.size() < 8 || std::memcmp(file.data(), "VEC73549", 8) != 0)
        return READ_FORMAT;
    if (file.size() < 16)
        return READ_SHORT;
    const uint8_t* p = file.data();
    uint64_t n = u32_at(p + 8);
    int xt = u16_at(p + 12), yt = u16_at(p + 14);
    if (xt > TYPE_DOUBLE || yt > TYPE_DOUBLE)
        return READ_SHORT;
    // 64-bit sizes, checked against the file before anything is allocated.
    uint64_t xbytes = n * uint64_t(vec_size(xt));
    uint64_t ybytes = n * uint64_t(vec_size(yt));
    if (16 + xbytes > file.size() || 16 + xbytes + ybytes > file.size())
        return READ_SHORT;
    x.type = xt;
    y.type = yt;
    x.values.resize(n);
    y.values.resize(n);
    const uint8_t* px = p + 16;
    const uint8_t* py = px + xbytes;
    for (uint64_t i = 0; i < n; ++i) {
        x.values[i] = vec_element_at(px + i * vec_size(xt), xt);
        y.values[i] = vec_element_at(py + i * vec_size(yt), yt);
    }
    return READ_OK;
}

ReadError parse_bin_samples(std::span<const uint8_t> file, int64_t offset, int element_type,
                            int64_t count, Series& out)
{
    out.values.clear();
    if (count < -1 || offset < 0 || element_type < 0 || element_type > 5)
        return READ_PARAM;
    static const int vector_type[] = {TYPE_LONG, TYPE_LONG, TYPE_FLOAT, TYPE_DOUBLE, TYPE_DOUBLE, TYPE_DOUBLE};
    out.type = vector_type[element_type];
    uint64_t size = uint64_t(sample_size(element_type));
    uint64_t available = uint64_t(offset) >= file.size() ? 0 : (file.size() - uint64_t(offset)) / size;
    uint64_t n = count < 0 ? available : std::min<uint64_t>(available, uint64_t(count));
    out.values.resize(n);
    const uint8_t* p = file.data() + (n ? offset : 0);
    for (uint64_t i = 0; i < n; ++i)
        out.values[i] = to_type(element_at(p + i * size, element_type), out.type);
    return READ_OK;
}

ReadError parse_bin_vector(std::span<const uint8_t> file, int64_t first_element, int element_type,
                           int64_t count, std::vector<double>& out)
{
    out.clear();
    if (count == 0 || count < -1 || first_element < 0 || element_type < 0 || element_type > 3)
        return READ_PARAM;
    Series s;
    // The first element's byte offset in 64 bits: a large index only runs past the end.
    ReadError e = parse_bin_samples(file, first_element * sample_size(element_type), element_type, count, s);
    out = std::move(s.values);
    return e;
}

double leading_number(const char* text, size_t length)
{
    size_t i = 0;
    while (i < length && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                          text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= length || text[i] == '+' || text[i] == '-')
        return 0.0;
    double v = 0.0;
    auto r = std::from_chars(text + i, text + length, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // from_chars leaves v alone; atof gives infinity or zero.
        bool tiny = false;
        for (const char* q = text + i; q < r.ptr; ++q)
            if (*q == 'e' || *q == 'E') {
                tiny = q + 1 < r.ptr && q[1] == '-';
                break;
            }
        v = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (r.ec != std::errc()) {
        return 0.0;
    }
    return negative ? -v : v;
}

ReadError parse_text_vector(std::span<const uint8_t> file, int header_lines, int64_t count,
                            std::vector<double>& out)
{
    out.clear();
    if (count == 0 || count < -1 || header_lines < 0)
        return READ_PARAM;
    // Lines as the runtime's text mode and a 1000-byte line buffer give them.
    constexpr size_t MAX_LINE = 999;
    std::string line;
    int64_t line_no = 0;
    auto take = [&](void) -> bool {
        if (line_no++ >= header_lines)
            out.push_back(leading_number(line.data(), line.size()));
        line.clear();
        return count < 0 || int64_t(out.size()) < count;
    };
    size_t n = file.size();
    for (size_t i = 0; i < n; ++i) {
        uint8_t c = file[i];
        if (c == 0x1A)
            break;
        if (c == '\r' && i + 1 < n && file[i + 1] == '\n')
            continue;
        line.push_back(char(c));
        if (c == '\n' || line.size() == MAX_LINE) {
            if (!take())
                return READ_OK;
        }
    }
    if (!line.empty())
        take();
    return READ_OK;
}

} // namespace qxi
