// Chart data files: the readers on bytes, and the loaders through the exports.
#include "support/graph_fixture.h"
#include "chartfiles.h"
#include <cmath>
#include <filesystem>

using namespace qxtest;
using namespace qxi;

namespace {

LeWriter vec_header(uint32_t n, uint16_t xt, uint16_t yt)
{
    LeWriter w;
    w.raw("VEC73549", 8).u32(n).u16(xt).u16(yt);
    return w;
}

std::span<const uint8_t> span_of(const LeWriter& w) { return {w.bytes.data(), w.bytes.size()}; }

} // namespace

TEST(VecReader, DamagedFilesAreRefusedWhole)
{
    struct Case {
        LeWriter file;
        ReadError expected;
        const char* why;
    };
    LeWriter bad;
    bad.raw("VEC73548", 8).u32(0).u16(2).u16(2);
    LeWriter huge = vec_header(0xFFFFFFFF, 2, 2);
    LeWriter truncated = vec_header(3, 0, 2);
    truncated.i32(1).i32(2).i32(3).f64(1.0);
    LeWriter short_header;
    short_header.raw("VEC73549", 8).u32(1);
    LeWriter bad_type = vec_header(1, 3, 2);
    bad_type.i32(0).f64(0);
    const Case cases[] = {
        {bad, READ_FORMAT, "magic"},
        {huge, READ_SHORT, "n = 0xFFFFFFFF in 16 bytes"},
        {truncated, READ_SHORT, "Y values cut short"},
        {short_header, READ_SHORT, "header cut short"},
        {bad_type, READ_SHORT, "type 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Series x, y;
        EXPECT_EQ(parse_vec(span_of(c.file), x, y), c.expected);
        EXPECT_TRUE(x.values.empty());
    }
}

TEST(VecReader, ValuesOfEachTypeAreReadLittleEndian)
{
    LeWriter w = vec_header(2, 0, 1);
    w.i32(-5).i32(70000).f32(1.5f).f32(-0.25f);
    Series x, y;
    ASSERT_EQ(parse_vec(span_of(w), x, y), READ_OK);
    EXPECT_EQ(x.type, 0);
    EXPECT_EQ(y.type, 1);
    EXPECT_EQ(x.values, (std::vector<double>{-5, 70000}));
    EXPECT_EQ(y.values, (std::vector<double>{1.5, -0.25}));
}

TEST(BinReader, SampleTypesMapToVectorTypes)
{
    LeWriter w;
    w.u8(0xFF).u8(0x7F).u8(0x00).u8(0x80);
    struct Case {
        int type;
        int vector_type;
        std::vector<double> values;
    };
    const Case cases[] = {
        {0, TYPE_LONG, {255, 127, 0, 128}},
        {1, TYPE_LONG, {32767, -32768}},
        {2, TYPE_FLOAT, {-2147450881.0f}},
    };
    for (const Case& c : cases) {
        Series s;
        ASSERT_EQ(parse_bin_samples(span_of(w), 0, c.type, -1, s), READ_OK);
        EXPECT_EQ(s.type, c.vector_type) << c.type;
        EXPECT_EQ(s.values, c.values) << c.type;
    }
    Series s;
    EXPECT_EQ(parse_bin_samples(span_of(w), 0, 6, -1, s), READ_PARAM);
    EXPECT_EQ(parse_bin_samples(span_of(w), -1, 0, -1, s), READ_PARAM);
    EXPECT_EQ(parse_bin_samples(span_of(w), 0, 0, -2, s), READ_PARAM);
    ASSERT_EQ(parse_bin_samples(span_of(w), 3, 0, 100, s), READ_OK);
    EXPECT_EQ(s.values, (std::vector<double>{128}));
    ASSERT_EQ(parse_bin_samples(span_of(w), 1000, 0, -1, s), READ_OK);
    EXPECT_TRUE(s.values.empty());
}

TEST(TextVectorReader, LinesHeadersCountsAndLineEnds)
{
    struct Case {
        std::string text;
        int headers;
        int count;
        std::vector<double> values;
        const char* why;
    };
    const Case cases[] = {
        {"1\n2.5\n-3e2\n", 0, -1, {1, 2.5, -300}, "plain lines"},
        {"title\nunit\n4\n5", 2, -1, {4, 5}, "headers, last line without LF counted"},
        {"1\r\n2\r\n3\r\n", 0, 2, {1, 2}, "CRLF, count 2"},
        {"  +7 apples\nabc\n", 0, -1, {7, 0}, "leading number only"},
        {"1\n2\x1a" "3\n", 0, -1, {1, 2}, "Ctrl-Z ends"},
        {"", 0, -1, {}, "empty file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::vector<double> out;
        std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(c.text.data()), c.text.size());
        ASSERT_EQ(parse_text_vector(bytes, c.headers, c.count, out), READ_OK);
        EXPECT_EQ(out, c.values);
    }
    std::vector<double> out;
    EXPECT_EQ(parse_text_vector({}, 0, 0, out), READ_PARAM);
    EXPECT_EQ(parse_text_vector({}, -1, 5, out), READ_PARAM);
}

TEST(ValueConversion, ToLongIsTowardZeroAndClamped)
{
    EXPECT_EQ(to_long(2.9), 2);
    EXPECT_EQ(to_long(-2.9), -2);
    EXPECT_EQ(to_long(1e12), INT32_MAX);
    EXPECT_EQ(to_long(-1e12), INT32_MIN);
    EXPECT_EQ(to_long(std::nan("")), 0);
    EXPECT_EQ(to_float(1.75), 1.75f);
    EXPECT_TRUE(std::isinf(to_float(1e300)));
}

using ChartLoaders = GraphTest;

TEST_F(ChartLoaders, VecFilesLoadAndRefuse)
{
    QXISetRunMode(graph, 0);
    QXIAddEmptyGraphSet(graph, 1);
    EXPECT_EQ(QXILoadVECFile(graph, 1, vec_header(0, 2, 2).save("empty.vec").c_str()), 1);
    LeWriter w = vec_header(2, 2, 2);
    w.f64(0).f64(1).f64(5).f64(6);
    std::string doubles = w.save("doubles.vec");
    QXISetXType(graph, 1, 0);
    EXPECT_EQ(QXILoadVECFile(graph, 1, doubles.c_str()), 0xE0001);
    GraphSetInfo info{};
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 0);
    QXISetXType(graph, 2, 0);
    EXPECT_EQ(QXILoadVECFile(graph, 1, doubles.c_str()), 1);
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 2);
    LeWriter bad;
    bad.raw("NOTAVEC!", 8).u32(0).u32(0);
    EXPECT_EQ(QXILoadVECFile(graph, 1, bad.save("bad.vec").c_str()), 0xA0001);
    EXPECT_EQ(QXILoadVECFile(graph, 1, vec_header(0xFFFFFFFF, 2, 2).save("huge.vec").c_str()), 0xB0001);
    EXPECT_EQ(QXILoadVECFile(graph, 1, "/nonexistent/x.vec"), 0x90001);
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 0);
}

TEST_F(ChartLoaders, RawSamplesGetAnIndexAsX)
{
    QXISetRunMode(graph, 0);
    QXIAddEmptyGraphSet(graph, 1);
    LeWriter w;
    for (int i = 0; i < 7000; ++i)
        w.i16(int16_t(i - 3500));
    EXPECT_EQ(QXILoadBINFile(graph, 1, w.save("7000.bin").c_str(), 0, 1, -1, 0), 1);
    GraphSetInfo info{};
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 7000);
    QXISetXMinMaxScale(graph, 0, 0);
    double axes[2];
    QXIGetAxesInfo(graph, axes);
    LeWriter big;
    for (int i = 0; i < 40000; ++i)
        big.u8(uint8_t(i));
    EXPECT_EQ(QXILoadBINFile(graph, 1, big.save("40000.bin").c_str(), 0, 0, -1, 0), 1);
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 40000);
    for (auto [offset, type, count] : {std::tuple{0, 6, -1}, {-1, 0, -1}, {0, 0, -2}})
        EXPECT_EQ(QXILoadBINFile(graph, 1, "x", offset, type, count, 0), 0x100001);
    EXPECT_EQ(QXILoadBINFile(graph, 1, "/nonexistent/x.bin", 0, 0, -1, 0), 0x90001);
}

TEST_F(ChartLoaders, TextAndBinaryVectorsReportRealOutcomes)
{
    QXISetRunMode(graph, 0);
    QXIAddEmptyGraphSet(graph, 1);
    LeWriter t;
    t.raw("h\n1\n2\n3", 7);
    std::string path = t.save("values.txt");
    EXPECT_EQ(QXILoadTextVector(graph, 1, 1, path.c_str(), 0, 0, 1, -1), 1);
    GraphSetInfo info{};
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 3);
    EXPECT_EQ(QXILoadTextVector(graph, 1, 2, path.c_str(), 0, 0, 0, -1), 0x100001);
    EXPECT_EQ(QXILoadTextVector(graph, 9, 1, path.c_str(), 0, 0, 0, -1), 0x50001);
    EXPECT_EQ(QXILoadTextVector(graph, 1, 1, "/nonexistent", 0, 0, 0, -1), 0x90001);
    LeWriter b;
    b.i16(1).i16(-2).i16(3);
    EXPECT_EQ(QXILoadBinVector(graph, 1, 1, b.save("vec.bin").c_str(), 1, 1, -1), 1);
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 2);
    EXPECT_EQ(QXILoadBinVector(graph, 1, 1, "x", 0, 4, -1), 0x100001);
}

// Every saved crash input stays a case.
TEST(ChartFuzzInputs, SavedInputsReadWithoutHarm)
{
    std::filesystem::path dir = std::string(VORN_TEST_DATA) + "/fuzz";
    if (!std::filesystem::exists(dir))
        GTEST_SKIP() << "no saved inputs";
    for (auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file())
            continue;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(read_whole_file(e.path().c_str(), bytes));
        Series x, y;
        std::vector<double> v;
        parse_vec(bytes, x, y);
        parse_bin_samples(bytes, 0, 1, -1, x);
        parse_text_vector(bytes, 0, -1, v);
    }
}
