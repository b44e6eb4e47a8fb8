#include "support/link_fuzz.h"
#include "plat/link.h"
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace plat;

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "link frames: %s\n", what);
    std::abort();
}

// Reads the payload as its type lays it out; what is read must stay inside
// the payload whatever its length says.
void read_payload(const LinkFrame& f)
{
    LinkPayloadReader r(f.payload);
    switch (f.type) {
    case LinkFrameType::Hello:
    case LinkFrameType::Ready:
        r.u16();
        r.u32();
        break;
    case LinkFrameType::Find:
        if (r.text().size() > f.payload.size())
            fail("text longer than its payload");
        break;
    case LinkFrameType::Send:
    case LinkFrameType::Post:
        r.u32();
        r.u32();
        r.u64();
        r.u64();
        if (f.type == LinkFrameType::Send && r.u8() != 0 && r.text().size() > f.payload.size())
            fail("text longer than its payload");
        break;
    case LinkFrameType::Child:
        r.u32();
        r.u32();
        break;
    case LinkFrameType::WinOp:
        r.u32();
        r.u8();
        break;
    case LinkFrameType::MenuPopup:
        r.u32();
        r.u32();
        r.u32();
        r.u32();
        break;
    case LinkFrameType::Bye:
    case LinkFrameType::Reply:
        break;
    }
    if (r.done() && !r.ok())
        fail("done without ok");
}

} // namespace

void fuzz_link_frames(const uint8_t* data, size_t size)
{
    // The first byte cuts the rest into pieces, as reads from a socket do.
    const size_t piece = size > 0 ? 1 + data[0] % 17 : 1;
    LinkFrameDecoder dec;
    std::string consumed;
    size_t fed = 0;
    for (size_t at = size > 0 ? 1 : 0; at < size; at += piece) {
        const size_t n = std::min(piece, size - at);
        dec.feed(data + at, n);
        fed += n;
        while (auto f = dec.next()) {
            if (f->payload.size() > LINK_FRAME_MAX)
                fail("frame above the maximum");
            read_payload(*f);
            consumed += EncodeLinkFrame(*f);
        }
    }
    // Whole frames given back are exactly the bytes they came from, in order.
    const std::string input(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), fed);
    if (input.compare(0, consumed.size(), consumed) != 0)
        fail("frames differ from their bytes");
    if (!dec.broken() && consumed.size() + dec.buffered() != fed)
        fail("bytes lost");
}
