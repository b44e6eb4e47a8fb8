// Field tables: one description drives the bytes written, the fields read and the bounds checked.
#include "foundation/record_fields.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace {

struct Sample {
    char code[3] = {'A', '1', 0};
    int16_t rule = 2;
    uint8_t number = 7;
    uint32_t counts[2] = {5, 70000};
    float share = 0.5f;
    int32_t sum = 300;
    int32_t capacity = 20;
};

constexpr RecordField<Sample> sample_fields[] = {
    field<&Sample::code>(CHARS),
    field<&Sample::rule>(I16).within(0, 4),
    scenario<&Sample::number>(U8).agreeing(),
    pad<Sample>(U16),
    field<&Sample::counts>(U16).saturated(),
    field<&Sample::share>(F32),
    field<&Sample::sum>(I32).since("BG_1020").absent(0),
    field<&Sample::capacity>(I32).since("BG_1031").absent(0x7FFFFFFF).within(0, 0x7FFFFFFF),
};
static_assert(file_size(sample_fields) == 3 + 2 + 1 + 2 + 4 + 4 + 4 + 4);

std::string hex(const std::vector<uint8_t>& b)
{
    std::string s;
    char two[3];
    for (uint8_t v : b) {
        std::snprintf(two, sizeof two, "%02x", v);
        s += two;
    }
    return s;
}

// Files up to and including `newest` carry the fields of their ids.
auto files_of(std::string_view newest)
{
    return [newest](std::string_view id) { return id <= newest; };
}

} // namespace

TEST(RecordFields, WriteIsLittleEndianInTableOrder)
{
    RecordWriter w;
    write_fields(w, Sample{}, sample_fields);
    // code, rule, number, pad, counts (70000 saturates), 0.5f, sum, capacity
    EXPECT_EQ(hex(w.bytes()), "413100" "0200" "07" "0000" "0500ffff" "0000003f" "2c010000" "14000000");
}

TEST(RecordFields, ReadGivesBackWhatWasWrittenAndForcesTheTextEnd)
{
    Sample a;
    a.code[2] = 'x';
    a.rule = 4;
    a.counts[1] = 9;
    a.sum = -5;
    RecordWriter w;
    write_fields(w, a, sample_fields);
    RecordReader r(w.bytes().data(), w.bytes().size());
    Sample b;
    b.rule = 0;
    b.sum = 1;
    read_fields(r, b, sample_fields);
    EXPECT_FALSE(r.failed());
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_STREQ(b.code, "A1");
    EXPECT_EQ(b.rule, 4);
    EXPECT_EQ(b.counts[1], 9u);
    EXPECT_FLOAT_EQ(b.share, 0.5f);
    EXPECT_EQ(b.sum, -5);
}

// The writer with a gate writes the layout the reader with that gate reads.
TEST(RecordFields, GatesReadAndWriteOnlyTheFieldsAFileCarries)
{
    struct Case { const char* version; size_t bytes; int32_t sum; int32_t capacity; };
    const Case cases[] = {
        {"BG_1019", 16, 0, 0x7FFFFFFF},   // neither: both take their absent values
        {"BG_1030", 20, 300, 0x7FFFFFFF},
        {"BG_1031", 24, 300, 20},
    };
    RecordWriter full;
    write_fields(full, Sample{}, sample_fields);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        const auto gate = files_of(c.version);
        EXPECT_EQ(file_size(sample_fields, gate), c.bytes);
        RecordWriter older;
        write_fields(older, Sample{}, sample_fields, gate);
        // The later fields close the record: an older one is the newest cut short.
        ASSERT_EQ(older.bytes().size(), c.bytes);
        EXPECT_TRUE(std::equal(older.bytes().begin(), older.bytes().end(), full.bytes().begin()));
        RecordReader r(older.bytes().data(), older.bytes().size());
        Sample s;
        s.sum = 99;
        s.capacity = 99;
        read_fields(r, s, sample_fields, gate);
        EXPECT_FALSE(r.failed());
        EXPECT_EQ(r.remaining(), 0u);
        EXPECT_EQ(s.sum, c.sum);
        EXPECT_EQ(s.capacity, c.capacity);
    }
}

TEST(RecordFields, AValueOutsideItsBoundsRefusesTheRecord)
{
    struct Case { const char* why; size_t at; uint8_t value; bool refused; };
    const Case cases[] = {
        {"rule 5 is past 0..4", 3, 5, true},
        {"rule 4 is the last allowed", 3, 4, false},
        {"rule -1 (0xffff) is below", 4, 0xFF, true},
        {"the number must be the scenario's", 5, 8, true},
        {"pad bytes are not read", 6, 0xAB, false},
        {"a negative capacity", 23, 0x80, true},
        {"a float is never refused", 14, 0xFF, false},
    };
    RecordWriter good;
    write_fields(good, Sample{}, sample_fields);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::vector<uint8_t> bad = good.bytes();
        bad[c.at] = c.value;
        RecordReader r(bad.data(), bad.size());
        Sample s;
        read_fields(r, s, sample_fields);
        EXPECT_EQ(r.failed(), c.refused);
    }
    Sample out;
    out.rule = 9;
    EXPECT_FALSE(fields_within(out, sample_fields));
    EXPECT_TRUE(fields_within(Sample{}, sample_fields));
}

TEST(RecordFields, AShortRecordFailsAndNeverReadsPastItsEnd)
{
    RecordWriter good;
    write_fields(good, Sample{}, sample_fields);
    for (size_t n = 0; n < good.bytes().size(); ++n) {
        RecordReader r(good.bytes().data(), n);
        Sample s;
        read_fields(r, s, sample_fields);
        EXPECT_TRUE(r.failed()) << n;
    }
}
