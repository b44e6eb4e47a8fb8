// The cross-process window link: what travels between two programs of one
// group (the simulator and the tutorial player) so that one can find, send
// to and post to the other's windows. This part is the wire format; it is
// public so that its decoder can be driven by tests and a fuzzer.
#pragma once
#include "plat/types.h"
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// A frame on the wire: u32 length of what follows (type, sequence and
// payload), u8 type, u32 sequence, payload; little-endian throughout.
enum class LinkFrameType : uint8_t {
    Hello = 1,     // u16 tag, u32 pid: who is on this connection
    Ready = 2,     // u16 tag, u32 pid: a started program's loop has run
    Bye = 3,       // the sender leaves the group
    Find = 4,      // text title -> u32 hwnd
    Send = 5,      // u32 hwnd, u32 msg, u64 wParam, u64 lParam, u8 has text, [text] -> i64 result, u8, [text]
    Post = 6,      // u32 hwnd, u32 msg, u64 wParam, u64 lParam
    Child = 7,     // u32 hwnd, i32 id -> u32 hwnd
    WinOp = 8,     // u32 hwnd, u8 op -> i32 result
    MenuPopup = 9, // u32 frame, i32 index, i32 x, i32 y -> u8 LinkPopupResult
    Reply = 10,    // the answer to the request with the same sequence
};
inline constexpr uint8_t LINK_FRAME_TYPE_LAST = 10;
// Header bytes after the length field; the largest frame a peer may send
// (a text of a few kilobytes at most is ever needed).
inline constexpr uint32_t LINK_FRAME_HEADER = 5;
inline constexpr uint32_t LINK_FRAME_MAX = 64 * 1024;

enum class LinkWinOp : uint8_t { Exists = 0, Show = 1, Hide = 2, Activate = 3, Topmost = 4, NotTopmost = 5 };
inline constexpr uint8_t LINK_WINOP_LAST = 5;
enum class LinkPopupResult : uint8_t { Shown = 0, NoMenu = 1, NoPopup = 2 };

struct LinkFrame {
    LinkFrameType type = LinkFrameType::Bye;
    uint32_t sequence = 0;
    std::string payload;
};

std::string EncodeLinkFrame(const LinkFrame& frame);

// Takes bytes as they come from a connection and gives whole frames. A
// length below the header, above the maximum or an unknown type breaks the
// stream for good (the connection is then dropped): nothing after it can be
// trusted to start on a frame.
class LinkFrameDecoder {
public:
    void feed(const void* data, size_t size);
    std::optional<LinkFrame> next();
    bool broken() const { return m_broken; }
    size_t buffered() const { return m_buffer.size() - m_start; }

private:
    std::string m_buffer;
    size_t m_start = 0;
    bool m_broken = false;
};

// Payload fields, written and read in order. Every read is bounded by what
// is left; a short payload makes ok() false and reads give 0 or "".
class LinkPayloadWriter {
public:
    LinkPayloadWriter& u8(uint8_t v);
    LinkPayloadWriter& u16(uint16_t v);
    LinkPayloadWriter& u32(uint32_t v);
    LinkPayloadWriter& u64(uint64_t v);
    LinkPayloadWriter& text(std::string_view s); // u32 length + bytes
    std::string take() { return std::move(m_out); }

private:
    std::string m_out;
};

class LinkPayloadReader {
public:
    // Keeps its own copy, so a temporary payload is safe to read.
    explicit LinkPayloadReader(std::string payload) : m_in(std::move(payload)) {}
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    uint64_t u64();
    std::string text();
    bool ok() const { return m_ok; }
    // Every byte read, nothing missing.
    bool done() const { return m_ok && m_pos == m_in.size(); }

private:
    bool take(size_t n);
    std::string m_in;
    size_t m_pos = 0;
    bool m_ok = true;
};

// The messages whose lParam points at text, and how the text travels: in
// (the receiver points at its copy), out (the answer comes back into the
// sender's buffer) or none. Other messages whose parameters are pointers
// cannot cross and are refused (result 0).
enum class LinkTextKind { None, In, Out, Refused };
LinkTextKind LinkTextKindOf(UINT msg);

// ---- the group ---------------------------------------------------------------
// Joins the group of the link folder ($PLAT_LINK_DIR, else
// $XDG_RUNTIME_DIR/vorn-link, else vorn-link-<uid> in the temporary folder;
// the choice is exported to started programs). The host takes tag 0, so its
// handles fit 16 bits; any other program the lowest free tag from 1. A
// program that cannot join runs unlinked (a guest with tag 1). Returns
// whether it joined. Leaving happens at exit (posts already sent are in the
// peer's queue by then).
enum class LinkRole { Host, Guest };
bool JoinLink(LinkRole role);
bool IsLinked();
// Ends the link now: BYE to every peer, group files removed.
void LeaveLink();

// WinExec of this program (its module name, "STEPLAY32.EXE") waits up to
// 10 s for it to say it is ready, i.e. its outermost loop has run; its
// windows can be found by then.
void DeclareLinkedProgram(const char* moduleName);

// Shows a menu-bar popup of a frame, this program's or a peer's: the owner
// checks menu and index and answers at once, then tracks the popup from a
// posted event. A point below 0 puts it under the popup's title.
LinkPopupResult ShowMenuBarPopup(HWND frame, int index, int x, int y);

// Tests: the longest a remote call waits for its answer before it fails
// (0, the default: no limit but the peer's end).
void SetLinkReplyTimeout(int ms);

} // namespace plat
