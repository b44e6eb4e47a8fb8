// Test support for windows: a subclassing message tracer, surface readback,
// event pumping and synthetic Qt input.
#pragma once
#include "plat/msg.h"
#include "plat/types.h"
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace plat {

struct TraceEntry {
    HWND hwnd = 0;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool operator==(const TraceEntry&) const = default;
};

// Records every message that reaches the watched windows, then passes it to
// the procedure it replaced. One tracer at a time.
class MessageTracer {
public:
    MessageTracer();
    ~MessageTracer();
    MessageTracer(const MessageTracer&) = delete;
    MessageTracer& operator=(const MessageTracer&) = delete;

    // Subclasses the window now.
    void Watch(HWND hwnd);
    // Subclasses every window of the class created from now on, before its
    // WM_CREATE.
    void WatchClass(const char* className);
    // These messages are not recorded (they still pass).
    void Ignore(std::initializer_list<UINT> msgs);

    const std::vector<TraceEntry>& entries() const { return entries_; }
    std::vector<UINT> messages() const;
    std::vector<UINT> messages(HWND hwnd) const;
    void clear() { entries_.clear(); }

    // Internal: called by the tracing procedure.
    void record(const TraceEntry& e);
    bool watches_class(const char* className) const;

private:
    std::vector<TraceEntry> entries_;
    std::set<UINT> ignored_;
    std::vector<std::string> classes_;
};

// The surface pixel at client (x, y); CLR_INVALID (0xFFFFFFFF) outside it or
// for a window without a surface.
COLORREF GetSurfacePixel(HWND hwnd, int x, int y);
// What the screen shows at client (x, y) as last put there (no repaint is
// caused); CLR_INVALID when the window is not on screen.
COLORREF GetShownPixel(HWND hwnd, int x, int y);
// The surface alone, as PNG. FALSE on failure.
BOOL SaveSurfacePng(HWND hwnd, const char* path);
// What the window shows, its children and non-client parts included, as PNG.
BOOL SaveWindowPng(HWND hwnd, const char* path);

// The pointer shown over the window's client area when it is a picture (a
// module's cursor): its size, hot spot and 0xAARRGGBB pixels row by row.
// FALSE for a standard shape or no window.
BOOL GetWindowCursorPicture(HWND hwnd, SIZE* size, POINT* hotSpot, std::vector<uint32_t>* argb);

// Processes events for ms milliseconds (at least once), then deletes what
// was left for deletion. Rethrows an exception a handler raised meanwhile.
void PumpEvents(int ms = 0);

// Sets the next fresh local window id and forgets the freed ones (none is
// handed out again); returns the previous value. Lets a test reach the
// point where freed ids come back.
WORD SetNextWindowIdForTest(WORD next);

// Destroys every window, drops posted messages, a pending quit and the idle
// handler: a clean table for the next test.
void ResetWindowsForTest();

// Synthetic Qt input delivered to the window's client widget at client
// (x, y), as the window system would. keys: MK_SHIFT, MK_CONTROL.
enum class Button { Left, Right, Middle };
void SimulateMouseDown(HWND hwnd, Button b, int x, int y, WPARAM keys = 0);
void SimulateMouseUp(HWND hwnd, Button b, int x, int y, WPARAM keys = 0);
// The second press of a double click (Qt sends it in place of a press).
void SimulateMouseDoubleClick(HWND hwnd, Button b, int x, int y, WPARAM keys = 0);
// held: MK_LBUTTON etc. of buttons down during the move.
void SimulateMouseMove(HWND hwnd, int x, int y, WPARAM held = 0);
// A key by virtual-key code; text (UTF-8) is what the key types (empty:
// nothing).
// alt sends it with the Alt modifier.
void SimulateKeyDown(HWND hwnd, UINT vk, const char* text = "", WPARAM keys = 0, bool alt = false);
void SimulateKeyUp(HWND hwnd, UINT vk, WPARAM keys = 0, bool alt = false);
// A click on a window scroll bar (SB_HORZ, SB_VERT) doing code (SB_LINEUP,
// SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM), released at once.
void SimulateScroll(HWND hwnd, int bar, WORD code);
// The Qt close request a title-bar close button makes.
void SimulateClose(HWND hwnd);

// Opens the popup of the frame's menu bar at `index` the way a click on its
// title does, puts the item texts the popup shows into *shown ("-" for a
// separator) and closes it again. FALSE when no popup came up on the screen.
BOOL OpenMenuBarPopupForTest(HWND frame, int index, std::vector<std::string>* shown);

// What a top-level window asks of the window manager: the window it stays
// above (0: none) and the parts of its frame.
struct FrameLook {
    HWND keptAbove = 0;
    bool title = false, close = false, minimize = false, maximize = false, resizable = false;
};
FrameLook GetFrameLook(HWND hwnd);

} // namespace plat
