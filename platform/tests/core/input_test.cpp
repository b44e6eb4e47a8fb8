// Qt input turned into messages: mouse, double clicks, capture, keys, focus.
#include "core_fixture.h"

using namespace coretest;

namespace {

class Input : public CoreTest {
protected:
    void SetUp() override
    {
        parent_ = top(100, 100, 300, 200);
        win_ = child(parent_, 1, 10, 20, 100, 80);
        PumpEvents(10);
        tracer_.Ignore({WM_ACTIVATE, WM_PAINT, WM_ERASEBKGND, WM_GETTEXT});
        tracer_.Watch(win_);
    }
    HWND parent_ = 0, win_ = 0;
    MessageTracer tracer_;
};

TEST_F(Input, MouseButtonsAndMoves)
{
    SimulateMouseMove(win_, 5, 7);
    SimulateMouseDown(win_, Button::Left, 5, 7, MK_SHIFT);
    SimulateMouseMove(win_, 6, 8, MK_LBUTTON);
    SimulateMouseUp(win_, Button::Left, 6, 8);
    SimulateMouseDown(win_, Button::Right, 1, 2, MK_CONTROL);
    SimulateMouseUp(win_, Button::Right, 1, 2);
    const std::vector<TraceEntry> want = {
        {win_, WM_SETCURSOR, win_, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)},
        {win_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 7)},
        {win_, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 7)},
        {win_, WM_SETCURSOR, win_, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)},
        {win_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 8)},
        {win_, WM_LBUTTONUP, 0, MAKELPARAM(6, 8)},
        {win_, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(1, 2)},
        {win_, WM_RBUTTONUP, 0, MAKELPARAM(1, 2)},
    };
    EXPECT_EQ(tracer_.entries(), want);
}

TEST_F(Input, DoubleClickOnlyForClassesThatAskForIt)
{
    const HWND dbl = child(parent_, 2, 120, 20, 50, 50, WS_VISIBLE, 0, kDblClass);
    tracer_.Watch(dbl);
    for (HWND h : {win_, dbl}) {
        SimulateMouseDown(h, Button::Left, 3, 4);
        SimulateMouseUp(h, Button::Left, 3, 4);
        SimulateMouseDoubleClick(h, Button::Left, 3, 4);
        SimulateMouseUp(h, Button::Left, 3, 4);
    }
    EXPECT_EQ(tracer_.messages(win_),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(tracer_.messages(dbl),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(Input, OutsideTheClientAreaOnlyUnderCapture)
{
    // Qt's implicit grab keeps delivering to the pressed widget; without
    // capture those events are not the window's.
    SimulateMouseDown(win_, Button::Left, 5, 5);
    SimulateMouseMove(win_, -5, 3, MK_LBUTTON);
    SimulateMouseUp(win_, Button::Left, 150, 3);
    EXPECT_EQ(tracer_.messages(), (std::vector<UINT>{WM_LBUTTONDOWN}));

    tracer_.clear();
    EXPECT_EQ(SetCapture(win_), 0u);
    EXPECT_EQ(GetCapture(), win_);
    SimulateMouseMove(win_, -5, 3, MK_LBUTTON);
    SimulateMouseUp(win_, Button::Left, 150, 3);
    const std::vector<TraceEntry> want = {
        {win_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 3)}, // no WM_SETCURSOR under capture
        {win_, WM_LBUTTONUP, 0, MAKELPARAM(150, 3)},
    };
    EXPECT_EQ(tracer_.entries(), want);
    EXPECT_EQ(GET_X_LPARAM(want[0].lParam), -5);
}

TEST_F(Input, CaptureTakesEventsMeantForOtherWindows)
{
    const HWND other = child(parent_, 2, 200, 20, 50, 50);
    tracer_.Watch(other);
    SetCapture(win_);
    // (1, 1) in the other window is (191, 1) in the capturing one.
    SimulateMouseMove(other, 1, 1);
    SimulateMouseDown(other, Button::Left, 1, 1);
    EXPECT_EQ(tracer_.entries(), (std::vector<TraceEntry>{{win_, WM_MOUSEMOVE, 0, MAKELPARAM(191, 1)},
                                                         {win_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(191, 1)}}));
    tracer_.clear();
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), 0u);
    EXPECT_EQ(tracer_.entries(), (std::vector<TraceEntry>{{win_, WM_CAPTURECHANGED, 0, 0}}));
    tracer_.clear();
    SimulateMouseDown(other, Button::Left, 1, 1);
    EXPECT_EQ(tracer_.messages(other), (std::vector<UINT>{WM_LBUTTONDOWN}));
}

TEST_F(Input, DisabledWindowsHearNothing)
{
    EnableWindow(win_, FALSE);
    tracer_.clear();
    SimulateMouseDown(win_, Button::Left, 5, 5);
    SimulateMouseMove(win_, 6, 5);
    SimulateKeyDown(win_, 'A', "a");
    EXPECT_TRUE(tracer_.entries().empty());
}

TEST_F(Input, KeysBecomeKeyAndCharMessages)
{
    struct Case {
        UINT vk;
        const char* text;
        std::vector<TraceEntry> want;
        const char* why;
    };
    const HWND w = win_;
    const Case cases[] = {
        {'A', "a", {{w, WM_KEYDOWN, 'A', 0x001E0001}, {w, WM_CHAR, 'a', 0x001E0001}}, "letter"},
        {VK_RETURN, "\r", {{w, WM_KEYDOWN, VK_RETURN, 0x001C0001}, {w, WM_CHAR, 0x0D, 0x001C0001}}, "enter"},
        {VK_LEFT, "", {{w, WM_KEYDOWN, VK_LEFT, 0x014B0001}}, "arrow: extended, no character"},
        {VK_DELETE, "\x7f", {{w, WM_KEYDOWN, VK_DELETE, 0x01530001}}, "delete types nothing"},
        {VK_F5, "", {{w, WM_KEYDOWN, VK_F5, 0x003F0001}}, "function key"},
        {'7', "7", {{w, WM_KEYDOWN, '7', 0x00080001}, {w, WM_CHAR, '7', 0x00080001}}, "digit row"},
        {VK_NUMPAD7, "7", {{w, WM_KEYDOWN, VK_NUMPAD7, 0x00470001}, {w, WM_CHAR, '7', 0x00470001}}, "keypad"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        tracer_.clear();
        SimulateKeyDown(w, c.vk, c.text);
        EXPECT_EQ(tracer_.entries(), c.want);
    }
    tracer_.clear();
    SimulateKeyUp(w, 'A');
    ASSERT_EQ(tracer_.entries().size(), 1u);
    EXPECT_EQ(tracer_.entries()[0].msg, WM_KEYUP);
    EXPECT_EQ(static_cast<uint32_t>(tracer_.entries()[0].lParam), 0xC01E0001u);
}

TEST_F(Input, CharactersArriveAsWindows1252Bytes)
{
    struct Case {
        const char* utf8;
        WPARAM byte;
    } cases[] = {{"\xC3\xA9", 0xE9}, {"\xE2\x82\xAC", 0x80}, {"\xC3\x9F", 0xDF}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.byte);
        tracer_.clear();
        // The key itself is unknown to the table; only the character counts.
        SimulateKeyDown(win_, 0, c.utf8);
        ASSERT_FALSE(tracer_.entries().empty());
        EXPECT_EQ(tracer_.entries().back().msg, WM_CHAR);
        EXPECT_EQ(tracer_.entries().back().wParam, c.byte);
    }
    tracer_.clear();
    SimulateKeyDown(win_, 0, "\xE4\xB8\xAD"); // not in 1252: no character at all
    EXPECT_TRUE(tracer_.entries().empty());
}

TEST_F(Input, AltKeysAreSystemKeys)
{
    SimulateKeyDown(win_, 'F', "f", 0, true);
    EXPECT_EQ(tracer_.entries(), (std::vector<TraceEntry>{{win_, WM_SYSKEYDOWN, 'F', 0x20210001},
                                                         {win_, WM_SYSCHAR, 'f', 0x20210001}}));
}

TEST_F(Input, FocusMovesWithKillThenSet)
{
    const HWND other = child(parent_, 2, 200, 20, 50, 50);
    tracer_.Watch(other);
    SetFocus(0); // activation may have given the parent the keyboard
    tracer_.clear();
    EXPECT_EQ(SetFocus(win_), 0u);
    EXPECT_EQ(GetFocus(), win_);
    EXPECT_EQ(SetFocus(other), win_);
    EXPECT_EQ(SetFocus(other), other) << "no change, no messages";
    const std::vector<TraceEntry> want = {
        {win_, WM_SETFOCUS, 0, 0},
        {win_, WM_KILLFOCUS, other, 0},
        {other, WM_SETFOCUS, win_, 0},
    };
    EXPECT_EQ(tracer_.entries(), want);
    EXPECT_EQ(GetFocus(), other);

    // Keys follow the focus; destroying the focus window leaves none.
    tracer_.clear();
    DestroyWindow(other);
    EXPECT_EQ(GetFocus(), 0u);
}

TEST_F(Input, CloseRequestGoesThroughTheProcedure)
{
    MessageTracer t;
    t.Watch(parent_);
    bool allow = false;
    g_handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_CLOSE && !allow)
            return 0;
        return std::nullopt;
    };
    SimulateClose(parent_);
    EXPECT_TRUE(IsWindow(parent_)) << "the handler said no";
    allow = true;
    SimulateClose(parent_);
    EXPECT_FALSE(IsWindow(parent_)) << "the default procedure destroys";
}

TEST_F(Input, SetCursorSetsTheClassCursorUnlessTheParentAnswers)
{
    const HCURSOR cross = LoadCursor(0, IDC_CROSS);
    ASSERT_NE(cross, 0u);
    EXPECT_EQ(LoadCursor(0, IDC_CROSS), cross) << "loaded once";
    SetClassLongPtr(win_, GCLP_HCURSOR, cross);
    SimulateMouseMove(win_, 5, 5);
    EXPECT_EQ(GetCursor(), cross);

    const HCURSOR wait = LoadCursor(0, IDC_WAIT);
    g_handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_SETCURSOR && h == parent_) {
            SetCursor(wait);
            return TRUE;
        }
        return std::nullopt;
    };
    SimulateMouseMove(win_, 6, 5);
    EXPECT_EQ(GetCursor(), wait);
    g_handler = nullptr;
    SetCursor(LoadCursor(0, IDC_ARROW));
}

} // namespace
