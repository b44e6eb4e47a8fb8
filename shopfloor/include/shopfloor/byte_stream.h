// Little-endian field writer and bounded reader for the plant's saved records.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class ByteWriter {
public:
    void u8(uint8_t v) { buf.push_back(v); }
    void u16(uint16_t v) { u8(static_cast<uint8_t>(v)); u8(static_cast<uint8_t>(v >> 8)); }
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void u32(uint32_t v) { u16(static_cast<uint16_t>(v)); u16(static_cast<uint16_t>(v >> 16)); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v) { uint32_t b; std::memcpy(&b, &v, 4); u32(b); }
    void bytes(const void* p, size_t n)
    {
        const auto* c = static_cast<const uint8_t*>(p);
        buf.insert(buf.end(), c, c + n);
    }
    std::vector<uint8_t> buf;
};

// Reads past the end give zeros and set a sticky error; callers check ok() once per record.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : p(data), n(size) {}
    explicit ByteReader(const std::vector<uint8_t>& v) : p(v.data()), n(v.size()) {}
    bool ok() const { return !failed; }
    void fail() { failed = true; }
    size_t left() const { return n - pos; }
    uint8_t u8() { if (failed || pos >= n) { failed = true; return 0; } return p[pos++]; }
    uint16_t u16() { uint16_t lo = u8(); return static_cast<uint16_t>(lo | (u8() << 8)); }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    uint32_t u32() { uint32_t lo = u16(); return lo | (static_cast<uint32_t>(u16()) << 16); }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    float f32() { uint32_t b = u32(); float v; std::memcpy(&v, &b, 4); return v; }
    void bytes(void* out, size_t k)
    {
        if (failed || k > n - pos) { failed = true; std::memset(out, 0, k); return; }
        std::memcpy(out, p + pos, k);
        pos += k;
    }
    // A count read from the file, refused when above the bound or larger than what is left.
    int count(int bound, size_t min_record)
    {
        int c = u16();
        if (failed || c > bound || static_cast<size_t>(c) * min_record > left()) { failed = true; return 0; }
        return c;
    }

private:
    const uint8_t* p;
    size_t n;
    size_t pos = 0;
    bool failed = false;
};
