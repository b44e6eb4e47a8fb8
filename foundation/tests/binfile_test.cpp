#include "foundation/binfile.h"
#include "support/support.h"
#include <cstdlib>
#include <gtest/gtest.h>
#include <fstream>
#include <string>

namespace {

struct Order {
    int16_t product;
    int32_t quantity;
    double due;
    char tag[6];
};

constexpr int16_t kOrderSize = 2 + 4 + 8 + 6;

void put_order(RecordWriter& w, const Order& o)
{
    w.i16(o.product);
    w.i32(o.quantity);
    w.f64(o.due);
    w.chars(o.tag, 6);
}

void get_order(RecordReader& r, Order& o)
{
    o.product = r.i16();
    o.quantity = r.i32();
    o.due = r.f64();
    r.chars(o.tag, 6);
}

std::string hex(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

} // namespace

TEST(BinFile, EmptyListIsTwoZeroBytes)
{
    ScratchDir dir;
    RTypedList<Order> list(2, 2, 1);
    BinFile f;
    ASSERT_TRUE(f.Create(dir.file("e.bin").c_str()));
    EXPECT_TRUE(f.WriteList(list, kOrderSize, put_order));
    EXPECT_EQ(f.Close(), 0);
    EXPECT_EQ(hex(read_file(dir.file("e.bin"))), "0000");
}

TEST(BinFile, RecordsAreLittleEndianFieldByField)
{
    ScratchDir dir;
    RTypedList<Order> list(2, 2, 1);
    list.Add(new Order{0x0102, -2, 1.5, "AB"});
    BinFile f;
    ASSERT_TRUE(f.Create(dir.file("o.bin").c_str()));
    f.WriteF32(0.5f);
    EXPECT_TRUE(f.WriteList(list, kOrderSize, put_order));
    ASSERT_EQ(f.Close(), 0);
    // 0.5f, count 1, product 0x0102, -2, 1.5, "AB" and four NULs
    EXPECT_EQ(hex(read_file(dir.file("o.bin"))),
              "0000003f" "0100" "0201" "feffffff" "000000000000f83f" "414200000000");

    RTypedList<Order> back(1, 1, 1);
    back.Add(new Order{});  // replaced by the read
    BinFile g;
    ASSERT_TRUE(g.Open(dir.file("o.bin").c_str()));
    EXPECT_EQ(g.ReadF32(), 0.5f);
    EXPECT_TRUE(g.ReadList(back, kOrderSize, get_order));
    EXPECT_EQ(g.Close(), 0);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.Item(0)->product, 0x0102);
    EXPECT_EQ(back.Item(0)->quantity, -2);
    EXPECT_EQ(back.Item(0)->due, 1.5);
    EXPECT_STREQ(back.Item(0)->tag, "AB");
}

// Byte runs go through unchanged; a run past the end gives zeros and fails
// the reader, as does a decoder's refusal; what is left counts down.
TEST(RecordReader, RawRunsRemainingAndRefusal)
{
    RecordWriter w;
    const uint8_t run[] = {0, 7, 0, 255};
    w.u8(9);
    w.raw(run, sizeof run);
    const std::vector<uint8_t>& bytes = w.bytes();
    EXPECT_EQ(hex(std::string(bytes.begin(), bytes.end())), "09000700ff");

    RecordReader r(bytes.data(), bytes.size());
    EXPECT_EQ(r.remaining(), 5u);
    EXPECT_EQ(r.u8(), 9);
    uint8_t back[4] = {};
    r.raw(back, sizeof back);
    EXPECT_EQ(std::vector<uint8_t>(back, back + 4), std::vector<uint8_t>(run, run + 4));
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_FALSE(r.failed());
    uint8_t past[2] = {1, 1};
    r.raw(past, sizeof past);
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(past[0] + past[1], 0);

    RecordReader refused(bytes.data(), bytes.size());
    refused.refuse();
    EXPECT_TRUE(refused.failed());
    EXPECT_EQ(refused.u8(), 0) << "nothing more is read once refused";
}

// A date is ten bytes, year first; the check refuses any field the calendar
// cannot hold, and a year whose minutes since 1990 would overflow a count.
TEST(RecordReader, DatesRoundTripAndOnlyRealOnesPass)
{
    const SimDateTime d{96, 2, 29, 23, 59};
    RecordWriter w;
    put_date(w, d);
    const std::vector<uint8_t>& bytes = w.bytes();
    EXPECT_EQ(hex(std::string(bytes.begin(), bytes.end())), "600002001d0017003b00");
    RecordReader r(bytes.data(), bytes.size());
    const SimDateTime back = get_date(r);
    EXPECT_FALSE(r.failed());
    EXPECT_EQ(compare_dates(back, d), 1);
    EXPECT_TRUE(real_date(back));

    struct Case {
        SimDateTime date;
        bool real;
    };
    const Case cases[] = {
        {{0, 1, 1, 0, 0}, true},      {{300, 12, 31, 23, 59}, true}, {{-1, 1, 1, 0, 0}, false},
        {{301, 1, 1, 0, 0}, false},   {{97, 2, 29, 8, 0}, false},    {{96, 4, 31, 8, 0}, false},
        {{96, 0, 1, 8, 0}, false},    {{96, 13, 1, 8, 0}, false},    {{96, 1, 0, 8, 0}, false},
        {{96, 1, 1, 24, 0}, false},   {{96, 1, 1, -1, 0}, false},    {{96, 1, 1, 8, 60}, false},
        {{96, 1, 1, 8, -1}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(real_date(c.date), c.real) << c.date.year << "-" << c.date.month << "-" << c.date.day << " "
                                             << c.date.hour << ":" << c.date.minute;
}

TEST(BinFile, DamagedCountsLeaveAnEmptyListAndAnError)
{
    struct Case {
        std::string bytes;
        const char* why;
    };
    const std::string record(kOrderSize, '\x01');
    const Case cases[] = {
        {std::string("\x05\x00", 2) + record + record, "count 5, two records"},
        {std::string("\xff\xff", 2) + record, "negative count"},
        {std::string("\x01", 1), "count cut short"},
        {"", "nothing at all"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchDir dir;
        write_file(dir.file("d.bin"), c.bytes);
        RTypedList<Order> list(2, 2, 1);
        list.Add(new Order{});
        BinFile f;
        ASSERT_TRUE(f.Open(dir.file("d.bin").c_str()));
        EXPECT_FALSE(f.ReadList(list, kOrderSize, get_order));
        EXPECT_EQ(list.Count(), 0);
        EXPECT_TRUE(f.Failed());
        EXPECT_EQ(f.Close(), -1);
    }
}

TEST(BinFile, ShortReadIsStickyAndReported)
{
    ScratchDir dir;
    write_file(dir.file("s.bin"), std::string("\x07\x00\x01", 3));
    BinFile f;
    ASSERT_TRUE(f.Open(dir.file("s.bin").c_str()));
    EXPECT_EQ(f.Length(), 3);
    EXPECT_EQ(f.ReadI16(), 7);
    EXPECT_FALSE(f.Failed());
    EXPECT_EQ(f.ReadI32(), 0);
    EXPECT_TRUE(f.Failed());
    EXPECT_EQ(f.Close(), -1);
}

TEST(BinFile, AReaderThatTookTooMuchMovesBack)
{
    ScratchDir dir;
    write_file(dir.file("t.bin"), std::string("\x01\x02\x03\x04\x05", 5));
    BinFile f;
    ASSERT_TRUE(f.Open(dir.file("t.bin").c_str()));
    EXPECT_EQ(f.Tell(), 0);
    char all[5];
    ASSERT_EQ(f.Read(all, 5), 5);
    EXPECT_EQ(f.Tell(), 5);
    ASSERT_TRUE(f.SeekTo(3));
    EXPECT_EQ(f.ReadI16(), 0x0504);
    EXPECT_TRUE(f.SeekTo(5)) << "the end itself is a place";
    EXPECT_FALSE(f.Failed());
    EXPECT_EQ(f.Close(), 0);

    BinFile g;
    ASSERT_TRUE(g.Open(dir.file("t.bin").c_str()));
    EXPECT_FALSE(g.SeekTo(6));
    EXPECT_TRUE(g.Failed()) << "past the end is an error";
    g.Close();
    BinFile h;
    ASSERT_TRUE(h.Open(dir.file("t.bin").c_str()));
    EXPECT_FALSE(h.SeekTo(-1));
    h.Close();
    BinFile w;
    ASSERT_TRUE(w.Create(dir.file("w.bin").c_str()));
    EXPECT_EQ(w.Tell(), -1) << "only a reader moves";
    EXPECT_FALSE(w.SeekTo(0));
    w.Close();
}

TEST(BinFile, WriteToAFullDeviceFailsAtClose)
{
    BinFile f;
    ASSERT_TRUE(f.Create("/dev/full"));
    f.WriteI32(42);
    EXPECT_EQ(f.Close(), -1);
}

TEST(BinFile, FailedWriteKeepsTheOldFile)
{
    ScratchDir dir;
    write_file(dir.file("state.MGR"), "old");
    RList list(1, 1, 1);
    list.Add(std::malloc(4));
    BinFile f;
    ASSERT_TRUE(f.Create(dir.file("state.MGR").c_str()));
    f.WriteI16(1);
    // A 4-byte element encoded as 3: refused, the file is not replaced.
    EXPECT_FALSE(f.WriteList(list, 4, [](RecordWriter& w, const void*) { w.zeros(3); }));
    EXPECT_EQ(f.Close(), -1);
    EXPECT_EQ(read_file(dir.file("state.MGR")), "old");
    EXPECT_FALSE(std::ifstream(dir.file("state.MGR.tmp")).good());
}

TEST(BinFile, OpenFileDeniesOtherOpenersUntilClosedOrDestroyed)
{
    ScratchDir dir;
    const std::string path = dir.file("x.PRD");
    {
        BinFile a;
        ASSERT_TRUE(a.Create(path.c_str()));
        BinFile b;
        EXPECT_FALSE(b.Open(path.c_str()));
        EXPECT_FALSE(b.Create(path.c_str()));
        EXPECT_FALSE(a.Create(path.c_str()));  // already open
        a.WriteI16(5);
    }  // destroyed open: closed and written
    BinFile c;
    ASSERT_TRUE(c.Open(path.c_str()));
    EXPECT_EQ(c.ReadI16(), 5);
    BinFile d;
    EXPECT_FALSE(d.Open(path.c_str()));
    EXPECT_EQ(c.Close(), 0);
    EXPECT_TRUE(d.Open(path.c_str()));
}
