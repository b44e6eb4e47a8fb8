// The link's wire format: frames, their payload fields and which messages
// may carry text across.
#include "plat/commctl.h"
#include "plat/controls.h"
#include "plat/link.h"
#include "plat/msg.h"
#include <cstring>

namespace plat {

namespace {

void put_le(std::string& out, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint64_t get_le(const char* p, int bytes)
{
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
    return v;
}

} // namespace

std::string EncodeLinkFrame(const LinkFrame& frame)
{
    std::string out;
    out.reserve(4 + LINK_FRAME_HEADER + frame.payload.size());
    put_le(out, LINK_FRAME_HEADER + frame.payload.size(), 4);
    out.push_back(static_cast<char>(frame.type));
    put_le(out, frame.sequence, 4);
    out += frame.payload;
    return out;
}

void LinkFrameDecoder::feed(const void* data, size_t size)
{
    if (m_broken || size == 0)
        return;
    // What has been taken is dropped before the buffer grows, so a
    // long-lived connection keeps only its unread bytes.
    if (m_start > 0 && m_start == m_buffer.size()) {
        m_buffer.clear();
        m_start = 0;
    } else if (m_start > 4096) {
        m_buffer.erase(0, m_start);
        m_start = 0;
    }
    m_buffer.append(static_cast<const char*>(data), size);
}

std::optional<LinkFrame> LinkFrameDecoder::next()
{
    if (m_broken || buffered() < 4)
        return std::nullopt;
    const char* p = m_buffer.data() + m_start;
    const uint64_t length = get_le(p, 4);
    if (length < LINK_FRAME_HEADER || length > LINK_FRAME_MAX) {
        m_broken = true;
        return std::nullopt;
    }
    if (buffered() >= 5) {
        const uint8_t type = static_cast<uint8_t>(p[4]);
        if (type == 0 || type > LINK_FRAME_TYPE_LAST) {
            m_broken = true;
            return std::nullopt;
        }
    }
    if (buffered() < 4 + length)
        return std::nullopt;
    LinkFrame f;
    f.type = static_cast<LinkFrameType>(static_cast<uint8_t>(p[4]));
    f.sequence = static_cast<uint32_t>(get_le(p + 5, 4));
    f.payload.assign(p + 4 + LINK_FRAME_HEADER, length - LINK_FRAME_HEADER);
    m_start += 4 + length;
    return f;
}

LinkPayloadWriter& LinkPayloadWriter::u8(uint8_t v) { put_le(m_out, v, 1); return *this; }
LinkPayloadWriter& LinkPayloadWriter::u16(uint16_t v) { put_le(m_out, v, 2); return *this; }
LinkPayloadWriter& LinkPayloadWriter::u32(uint32_t v) { put_le(m_out, v, 4); return *this; }
LinkPayloadWriter& LinkPayloadWriter::u64(uint64_t v) { put_le(m_out, v, 8); return *this; }

LinkPayloadWriter& LinkPayloadWriter::text(std::string_view s)
{
    put_le(m_out, s.size(), 4);
    m_out.append(s.data(), s.size());
    return *this;
}

bool LinkPayloadReader::take(size_t n)
{
    if (!m_ok || m_in.size() - m_pos < n) {
        m_ok = false;
        return false;
    }
    return true;
}

uint8_t LinkPayloadReader::u8()
{
    if (!take(1))
        return 0;
    return static_cast<uint8_t>(get_le(m_in.data() + m_pos++, 1));
}

uint16_t LinkPayloadReader::u16()
{
    if (!take(2))
        return 0;
    const auto v = static_cast<uint16_t>(get_le(m_in.data() + m_pos, 2));
    m_pos += 2;
    return v;
}

uint32_t LinkPayloadReader::u32()
{
    if (!take(4))
        return 0;
    const auto v = static_cast<uint32_t>(get_le(m_in.data() + m_pos, 4));
    m_pos += 4;
    return v;
}

uint64_t LinkPayloadReader::u64()
{
    if (!take(8))
        return 0;
    const uint64_t v = get_le(m_in.data() + m_pos, 8);
    m_pos += 8;
    return v;
}

std::string LinkPayloadReader::text()
{
    const uint32_t n = u32();
    // The length is checked against what is left before anything is
    // allocated.
    if (!take(n))
        return {};
    std::string s(m_in.substr(m_pos, n));
    m_pos += n;
    return s;
}

LinkTextKind LinkTextKindOf(UINT msg)
{
    switch (msg) {
    case WM_SETTEXT:
    case LB_ADDSTRING:
    case CB_ADDSTRING:
        return LinkTextKind::In;
    case WM_GETTEXT:
    case LB_GETTEXT:
    case CB_GETLBTEXT:
        return LinkTextKind::Out;
    // Pointers to structures or to text the link does not copy.
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_GETMINMAXINFO:
    case LB_INSERTSTRING:
    case LB_SELECTSTRING:
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SETTABSTOPS:
    case LB_GETITEMRECT:
    case CB_INSERTSTRING:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING:
    case EM_REPLACESEL:
    case WM_NOTIFY:
    case TVM_INSERTITEM:
    case TVM_GETITEM:
    case TVM_SETITEM:
    case TVM_HITTEST:
        return LinkTextKind::Refused;
    default:
        return LinkTextKind::None;
    }
}

} // namespace plat
