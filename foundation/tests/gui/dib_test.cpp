#include "foundation/datavec.h"
#include "support/support.h"
#include "plat/memory.h"
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

using namespace plat;

namespace {

void put16(std::string& s, uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct BmpSpec {
    int32_t width = 3;
    int32_t height = 2;
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t colors = 0;        // stored colours-used field
    uint32_t table = 0;         // colour entries actually written
    int32_t offset_shift = 0;   // added to the right bits offset
    uint32_t header_size = 40;
    const char* magic = "BM";
    std::string rows;           // the pixel bytes, bottom row first
};

// A .BMP file put together byte by byte, independently of the reader.
std::string bmp_bytes(const BmpSpec& b)
{
    std::string s = b.magic;
    const uint32_t offset = 14 + b.header_size + b.table * 4 + static_cast<uint32_t>(b.offset_shift);
    put32(s, 14 + b.header_size + b.table * 4 + static_cast<uint32_t>(b.rows.size()));
    put32(s, 0);
    put32(s, offset);
    put32(s, b.header_size);
    if (b.header_size == 12) {
        put16(s, static_cast<uint32_t>(b.width));
        put16(s, static_cast<uint32_t>(b.height));
        put16(s, 1);
        put16(s, b.bits);
    } else {
        put32(s, static_cast<uint32_t>(b.width));
        put32(s, static_cast<uint32_t>(b.height));
        put16(s, 1);
        put16(s, b.bits);
        put32(s, b.compression);
        put32(s, static_cast<uint32_t>(b.rows.size()));
        put32(s, 2835);
        put32(s, 2835);
        put32(s, b.colors);
        put32(s, 0);
    }
    for (uint32_t i = 0; i < b.table; ++i)
        put32(s, i * 0x00101010u);  // a grey ramp
    return s + b.rows;
}

// 3 x 2 pictures: rows padded to 4 bytes, bottom row first.
BmpSpec picture(uint16_t bits)
{
    BmpSpec b;
    b.bits = bits;
    switch (bits) {
    case 1:  // bottom 0 1 0, top 1 0 1
        b.table = b.colors = 2;
        b.rows = std::string("\x40\0\0\0\xA0\0\0\0", 8);
        break;
    case 4:  // bottom 3 4 5, top 0 1 2
        b.table = b.colors = 16;
        b.rows = std::string("\x34\x50\0\0\x01\x20\0\0", 8);
        break;
    case 8:
        b.table = b.colors = 256;
        b.rows = std::string("\x03\x04\x05\0\x00\x01\x02\0", 8);
        break;
    default:  // 24: bottom white, black, yellow; top red, green, blue (B, G, R)
        b.rows = std::string("\xff\xff\xff\0\0\0\0\xff\xff\0\0\0", 12) +
                 std::string("\0\0\xff\0\xff\0\xff\0\0\0\0\0", 12);
        break;
    }
    return b;
}

HGLOBAL load(const ScratchDir& dir, const std::string& bytes)
{
    write_file(dir.file("p.bmp"), bytes);
    return dib_load_file(dir.file("p.bmp").c_str());
}

} // namespace

TEST(Bitmaps, ReadAndWriteEveryDepthByteForByte)
{
    for (uint16_t bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        ScratchDir dir;
        const std::string file = bmp_bytes(picture(bits));
        const HGLOBAL dib = load(dir, file);
        ASSERT_NE(dib, 0u);
        void* p = GlobalLock(dib);
        EXPECT_EQ(dib_width(p), 3);
        EXPECT_EQ(dib_height(p), 2);
        EXPECT_EQ(dib_bit_count(p), bits);
        EXPECT_EQ(dib_num_colors(p), bits == 24 ? 0 : 1 << bits);
        EXPECT_EQ(dib_palette_size(p), bits == 24 ? 0 : 4 << bits);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(dib_bits(p)), picture(bits).rows.size()),
                  picture(bits).rows);
        GlobalUnlock(dib);
        ASSERT_TRUE(dib_save_file(dib, dir.file("again.bmp").c_str()));
        const std::string again = read_file(dir.file("again.bmp"));
        EXPECT_EQ(again, file);
        // The layer's own reader agrees on what we wrote.
        DibLayout layout;
        ASSERT_TRUE(ParseBmpFile(again.data(), again.size(), &layout));
        EXPECT_EQ(layout.width, 3);
        EXPECT_EQ(layout.height, 2);
        EXPECT_EQ(layout.bitCount, bits);
        if (bits == 24) {
            EXPECT_EQ(DibPixel(again.data(), layout, 0, 0), 0x0000FFu);  // top left red
            EXPECT_EQ(DibPixel(again.data(), layout, 2, 1), 0x00FFFFu);  // bottom right yellow
        }
        dib_free(dib);
    }
}

TEST(Bitmaps, DamagedHeadersGiveNothing)
{
    struct Case {
        BmpSpec spec;
        size_t cut;  // bytes dropped from the end
        const char* why;
    };
    std::vector<Case> cases;
    BmpSpec core = picture(8);
    core.header_size = 12;
    cases.push_back({core, 0, "core header"});
    BmpSpec magic = picture(8);
    magic.magic = "MB";
    cases.push_back({magic, 0, "not BM"});
    BmpSpec many = picture(8);
    many.colors = 1000;
    cases.push_back({many, 0, "1000 colours"});
    BmpSpec far = picture(8);
    far.offset_shift = 100;
    cases.push_back({far, 0, "bits offset past the end"});
    BmpSpec huge = picture(24);
    huge.width = 65536;
    huge.height = 65536;
    cases.push_back({huge, 0, "width x height overflow"});
    BmpSpec big = picture(24);
    big.width = 16384;
    big.height = 16384;
    cases.push_back({big, 0, "rows past the end"});
    BmpSpec depth = picture(8);
    depth.bits = 16;
    cases.push_back({depth, 0, "16 bits"});
    BmpSpec rle = picture(24);
    rle.compression = 1;
    cases.push_back({rle, 0, "RLE8 on 24 bits"});
    BmpSpec zero = picture(8);
    zero.width = 0;
    cases.push_back({zero, 0, "width 0"});
    cases.push_back({picture(8), 3, "cut short"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchDir dir;
        std::string bytes = bmp_bytes(c.spec);
        bytes.resize(bytes.size() - c.cut);
        EXPECT_EQ(load(dir, bytes), 0u);
    }
    ScratchDir dir;
    EXPECT_EQ(load(dir, "BM"), 0u);
    EXPECT_EQ(dib_load_file(dir.file("missing.bmp").c_str()), 0u);
}

TEST(Bitmaps, CreateNormalisesTheDepth)
{
    struct Case {
        int asked, made;
    };
    for (Case c : {Case{0, 1}, Case{1, 1}, Case{2, 4}, Case{5, 8}, Case{16, 24}, Case{32, 4}}) {
        SCOPED_TRACE(c.asked);
        const HGLOBAL dib = dib_create(3, 2, c.asked);
        ASSERT_NE(dib, 0u);
        void* p = GlobalLock(dib);
        EXPECT_EQ(dib_bit_count(p), c.made);
        GlobalUnlock(dib);
        dib_free(dib);
    }
    const HGLOBAL d8 = dib_create(3, 2, 5);
    void* p = GlobalLock(d8);
    EXPECT_EQ(dib_palette_size(p), 1024);
    GlobalUnlock(d8);
    dib_free(d8);
    EXPECT_EQ(dib_create(0, 2, 8), 0u);
    EXPECT_EQ(dib_create(16385, 2, 8), 0u);
}

TEST(Bitmaps, BigReadsAndWritesInChunks)
{
    ScratchDir dir;
    std::string bytes(70000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i % 251);
    std::FILE* f = std::fopen(dir.file("big").c_str(), "wb");
    ASSERT_TRUE(write_big(f, bytes.data(), static_cast<uint32_t>(bytes.size())));
    std::fclose(f);
    std::string back(bytes.size(), '\0');
    f = std::fopen(dir.file("big").c_str(), "rb");
    EXPECT_TRUE(read_big(f, back.data(), static_cast<uint32_t>(back.size())));
    EXPECT_EQ(back, bytes);
    EXPECT_FALSE(read_big(f, back.data(), 1));  // nothing left
    std::fclose(f);
    f = std::fopen("/dev/full", "wb");
    ASSERT_NE(f, nullptr);
    std::setvbuf(f, nullptr, _IONBF, 0);
    EXPECT_FALSE(write_big(f, bytes.data(), 10));
    std::fclose(f);
}

TEST(DataVectors, CreationLimits)
{
    EXPECT_EQ(data_vector_create(3, 10, 1), 0u);
    EXPECT_EQ(data_vector_create(DV_LONG, 0, 1), 0u);
    EXPECT_EQ(data_vector_create(DV_DOUBLE, -1, 1), 0u);
    EXPECT_EQ(data_vector_create(DV_DOUBLE, INT32_MAX / 8 + 1, 1), 0u);
    EXPECT_EQ(data_vector_bytes(DV_FLOAT, 10), 40);
    EXPECT_EQ(data_vector_bytes(DV_DOUBLE, 10), 80);
    EXPECT_EQ(data_vector_bytes(7, 10), 0);
}

TEST(DataVectors, ResizeKeepsValuesAndZeroFills)
{
    const HGLOBAL v = data_vector_create(DV_DOUBLE, 10, 1);
    ASSERT_NE(v, 0u);
    DataVector* d = data_vector_lock(v);
    ASSERT_NE(d->double_data, nullptr);
    EXPECT_EQ(d->long_data, nullptr);
    for (int i = 0; i < 10; ++i)
        d->double_data[i] = i + 0.5;
    data_vector_unlock(v);
    ASSERT_EQ(data_vector_resize(v, 20), 1);
    EXPECT_EQ(data_vector_count(v), 20);
    d = data_vector_lock(v);
    EXPECT_EQ(d->double_data[9], 9.5);
    EXPECT_EQ(d->double_data[10], 0.0);
    EXPECT_EQ(d->double_data[19], 0.0);
    data_vector_unlock(v);
    data_vector_free(v);
}

TEST(DataVectors, ConvertByValue)
{
    const HGLOBAL v = data_vector_create(DV_DOUBLE, 6, 1);
    DataVector* d = data_vector_lock(v);
    const double values[6] = {1.5, -2.7, 3e10, -3e10, std::numeric_limits<double>::quiet_NaN(), 42.0};
    for (int i = 0; i < 6; ++i)
        d->double_data[i] = values[i];
    data_vector_unlock(v);
    ASSERT_EQ(data_vector_convert(v, DV_LONG), 1);
    EXPECT_EQ(data_vector_type(v), DV_LONG);
    d = data_vector_lock(v);
    ASSERT_NE(d->long_data, nullptr);
    EXPECT_EQ(std::vector<int32_t>(d->long_data, d->long_data + 6),
              (std::vector<int32_t>{1, -2, INT32_MAX, INT32_MIN, 0, 42}));
    data_vector_unlock(v);
    ASSERT_EQ(data_vector_convert(v, DV_FLOAT), 1);
    d = data_vector_lock(v);
    EXPECT_EQ(d->float_data[1], -2.0f);
    EXPECT_EQ(d->float_data[5], 42.0f);
    data_vector_unlock(v);
    ASSERT_EQ(data_vector_convert(v, DV_DOUBLE), 1);
    d = data_vector_lock(v);
    EXPECT_EQ(d->double_data[0], 1.0);
    data_vector_unlock(v);
    data_vector_free(v);
}
