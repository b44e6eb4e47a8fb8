// The plant's saved records go through the foundation's little-endian record
// writer and reader; this adds what the plant's decoders need on top of them:
// byte runs kept as they are, counts bounded by what is left, and a way for a
// decoder to refuse what it has read.
#pragma once
#include "foundation/binfile.h"
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

class ByteWriter : public RecordWriter {
public:
    // n bytes exactly as held (history blocks hold zeros anywhere, so no text rules apply).
    void raw(const void* p, size_t n)
    {
        const auto* c = static_cast<const uint8_t*>(p);
        for (size_t i = 0; i < n; ++i)
            u8(c[i]);
    }
};

// Reads past the end give zeros and set the sticky failure; decoders check ok() once per record.
class ByteReader : public RecordReader {
public:
    ByteReader(const uint8_t* data, size_t size) : RecordReader(data, size), size_(size) {}
    explicit ByteReader(const std::vector<uint8_t>& v) : ByteReader(v.data(), v.size()) {}
    bool ok() const { return !failed(); }
    // Marks the input refused: a skip past the end is the reader's own failure.
    void fail()
    {
        while (!failed())
            skip(INT_MAX);
    }
    size_t left() const { return size_ - position(); }
    void raw(void* out, size_t k)
    {
        auto* c = static_cast<uint8_t*>(out);
        for (size_t i = 0; i < k; ++i)
            c[i] = u8();
    }
    // A count read from the file, refused when above the bound or larger than what is left.
    int count(int bound, size_t min_record)
    {
        const int c = u16();
        if (failed() || c > bound || static_cast<size_t>(c) * min_record > left()) {
            fail();
            return 0;
        }
        return c;
    }

private:
    size_t size_;
};
