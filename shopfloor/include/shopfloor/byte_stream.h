// The plant's saved records go through the foundation's little-endian record
// writer and reader; the reader adds what the plant's decoders need on top:
// counts bounded by what is left, and the short names they use.
#pragma once
#include "foundation/binfile.h"
#include "foundation/record_fields.h"
#include <cstddef>
#include <cstdint>
#include <vector>

using ByteWriter = RecordWriter;

// Reads past the end give zeros and set the sticky failure; decoders check ok() once per record.
class ByteReader : public RecordReader {
public:
    using RecordReader::RecordReader;
    explicit ByteReader(const std::vector<uint8_t>& v) : RecordReader(v.data(), v.size()) {}
    bool ok() const { return !failed(); }
    void fail() { refuse(); }
    size_t left() const { return remaining(); }
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
};
