// The link's wire format: frames cut anywhere by the socket come out whole
// and in order, a stream that cannot be trusted stops for good, payload
// reads never pass the end, and only the text messages carry text.
#include "plat/commctl.h"
#include "plat/controls.h"
#include "plat/link.h"
#include "plat/msg.h"
#include "support/link_fuzz.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace plat;

namespace {

LinkFrame frame(LinkFrameType type, uint32_t seq, std::string payload)
{
    return LinkFrame{type, seq, std::move(payload)};
}

std::string send_payload()
{
    return LinkPayloadWriter()
        .u32(0x0001'0007)
        .u32(WM_SETTEXT)
        .u64(0xFFFF'FFFF'FFFF'FFF0ull)
        .u64(42)
        .u8(1)
        .text(std::string("Order\n\0x", 8))
        .take();
}

} // namespace

TEST(LinkFrames, EncodedLayoutIsLengthTypeSequencePayload)
{
    const std::string bytes = EncodeLinkFrame(frame(LinkFrameType::Find, 0x01020304, "ab"));
    ASSERT_EQ(bytes.size(), 11u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x07\x00\x00\x00", 4));
    EXPECT_EQ(bytes[4], static_cast<char>(LinkFrameType::Find));
    EXPECT_EQ(bytes.substr(5, 4), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(bytes.substr(9), "ab");
}

TEST(LinkFrames, FramesCutAnywhereComeOutWholeAndInOrder)
{
    const std::vector<LinkFrame> sent{
        frame(LinkFrameType::Hello, 1, LinkPayloadWriter().u16(3).u32(4711).take()),
        frame(LinkFrameType::Send, 2, send_payload()),
        frame(LinkFrameType::Bye, 3, ""),
        frame(LinkFrameType::Reply, 2, std::string(LINK_FRAME_MAX - LINK_FRAME_HEADER, 'x')),
    };
    std::string stream;
    for (const auto& f : sent)
        stream += EncodeLinkFrame(f);
    for (size_t piece : {size_t{1}, size_t{3}, size_t{4096}, stream.size()}) {
        SCOPED_TRACE(piece);
        LinkFrameDecoder dec;
        std::vector<LinkFrame> got;
        for (size_t at = 0; at < stream.size(); at += piece) {
            dec.feed(stream.data() + at, std::min(piece, stream.size() - at));
            while (auto f = dec.next())
                got.push_back(*f);
        }
        ASSERT_EQ(got.size(), sent.size());
        for (size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(got[i].type, sent[i].type);
            EXPECT_EQ(got[i].sequence, sent[i].sequence);
            EXPECT_EQ(got[i].payload, sent[i].payload);
        }
        EXPECT_EQ(dec.buffered(), 0u);
        EXPECT_FALSE(dec.broken());
    }
}

TEST(LinkFrames, UntrustworthyStreamStopsForGood)
{
    const std::string good = EncodeLinkFrame(frame(LinkFrameType::Bye, 9, ""));
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"length below the header", std::string("\x04\x00\x00\x00\x03\x00\x00\x00\x00", 9)},
        {"length above the maximum", std::string("\x06\x00\x01\x00\x03\x00\x00\x00\x00", 9)},
        {"type 0", std::string("\x05\x00\x00\x00\x00\x00\x00\x00\x00", 9)},
        {"type past the last", std::string("\x05\x00\x00\x00\x0B\x00\x00\x00\x00", 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkFrameDecoder dec;
        dec.feed(good.data(), good.size());
        dec.feed(c.bytes.data(), c.bytes.size());
        ASSERT_TRUE(dec.next().has_value()); // the frame before it stands
        EXPECT_FALSE(dec.next().has_value());
        EXPECT_TRUE(dec.broken());
        dec.feed(good.data(), good.size());
        EXPECT_FALSE(dec.next().has_value());
    }
    // A bad type is seen as soon as it arrives, not after a long wait for
    // the payload its length promises.
    LinkFrameDecoder dec;
    dec.feed("\x00\x10\x00\x00\x2A", 5);
    EXPECT_FALSE(dec.next().has_value());
    EXPECT_TRUE(dec.broken());
}

TEST(LinkFrames, PayloadReadsStayInsideThePayload)
{
    const std::string payload = send_payload(); // the reader only looks at it
    LinkPayloadReader r(payload);
    EXPECT_EQ(r.u32(), 0x0001'0007u);
    EXPECT_EQ(r.u32(), WM_SETTEXT);
    EXPECT_EQ(r.u64(), 0xFFFF'FFFF'FFFF'FFF0ull);
    EXPECT_EQ(r.u64(), 42u);
    EXPECT_EQ(r.u8(), 1);
    EXPECT_EQ(r.text(), std::string("Order\n\0x", 8));
    EXPECT_TRUE(r.done());

    // A text whose length runs past the end: nothing taken, nothing allocated.
    const std::string huge = LinkPayloadWriter().u32(0xFFFF'FFFF).take() + "abc";
    LinkPayloadReader h(huge);
    EXPECT_EQ(h.text(), "");
    EXPECT_FALSE(h.ok());
    EXPECT_EQ(h.u8(), 0); // stays failed

    LinkPayloadReader shortOne(std::string("\x01\x02\x03", 3));
    EXPECT_EQ(shortOne.u32(), 0u);
    EXPECT_FALSE(shortOne.ok());
    EXPECT_FALSE(shortOne.done());

    LinkPayloadReader extra(std::string("\x01\x02", 2));
    extra.u8();
    EXPECT_TRUE(extra.ok());
    EXPECT_FALSE(extra.done());
}

TEST(LinkFrames, OnlyTheTextMessagesCarryText)
{
    struct Case {
        UINT msg;
        LinkTextKind kind;
    };
    const Case cases[] = {
        {WM_SETTEXT, LinkTextKind::In},       {LB_ADDSTRING, LinkTextKind::In},
        {CB_ADDSTRING, LinkTextKind::In},     {WM_GETTEXT, LinkTextKind::Out},
        {LB_GETTEXT, LinkTextKind::Out},      {CB_GETLBTEXT, LinkTextKind::Out},
        {WM_COMMAND, LinkTextKind::None},     {CB_SETCURSEL, LinkTextKind::None},
        {LB_SETCURSEL, LinkTextKind::None},   {BM_SETCHECK, LinkTextKind::None},
        {WM_CLOSE, LinkTextKind::None},       {0x61E, LinkTextKind::None},
        {WM_CREATE, LinkTextKind::Refused},   {LB_FINDSTRING, LinkTextKind::Refused},
        {CB_SELECTSTRING, LinkTextKind::Refused}, {EM_REPLACESEL, LinkTextKind::Refused},
        // A tree view's items and a notification travel as structures in the sender's memory.
        {WM_NOTIFY, LinkTextKind::Refused},       {TVM_INSERTITEM, LinkTextKind::Refused},
        {TVM_GETITEM, LinkTextKind::Refused},     {TVM_SETITEM, LinkTextKind::Refused},
        {TVM_HITTEST, LinkTextKind::Refused},     {TVM_SELECTITEM, LinkTextKind::None},
        {TVM_GETNEXTITEM, LinkTextKind::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinkTextKindOf(c.msg), c.kind) << std::hex << c.msg;
}

TEST(LinkFrames, FuzzSeedsReplay)
{
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(VORN_TEST_DATA) / "fuzz" /
                                                             "link_frames")) {
        SCOPED_TRACE(e.path().string());
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        const std::string bytes = ss.str();
        fuzz_link_frames(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++n;
    }
    EXPECT_GE(n, 4u);
}
