#include "support/ui_support.h"
#include "uikit/bar_button.h"
#include "uikit/button_bar.h"
#include "uikit/panel.h"
#include "uikit/status_line.h"
#include "uikit/uikit.h"
#include "plat/commctl.h"
#include "plat/msg.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <string>

using namespace plat;

namespace {

struct ButtonFixture : testing::Test {
    SpyParent parent;
    CBarButton button;
    void SetUp() override
    {
        ASSERT_TRUE(button.Create(&parent, 77, RECT{10, 10, 60, 32}, "Go", "Press", 5));
        settle();
    }
    void down(int x, int y) { SimulateMouseDown(button, Button::Left, x, y); settle(); }
    void up(int x, int y) { SimulateMouseUp(button, Button::Left, x, y); settle(); }
    void move(int x, int y, WPARAM held) { SimulateMouseMove(button, x, y, held); settle(); }
    void click() { down(10, 10); up(10, 10); }
    size_t posts() const { return parent.of(WM_BUTTON_PRESSED).size(); }
};

} // namespace

TEST_F(ButtonFixture, PushPostsItsCommandOnRelease)
{
    down(10, 10);
    EXPECT_EQ(button.GetState(), CBarButton::DOWN);
    EXPECT_EQ(posts(), 0u);
    up(10, 10);
    EXPECT_EQ(button.GetState(), CBarButton::UP);
    EXPECT_EQ(parent.of(WM_BUTTON_PRESSED),
              (std::vector<Recorded>{{WM_BUTTON_PRESSED, 77, static_cast<LPARAM>(button.m_hWnd)}}));
}

TEST_F(ButtonFixture, PressDraggedOutPostsNothing)
{
    down(10, 10);
    move(12, 12, MK_LBUTTON);
    move(-30, 40, MK_LBUTTON);
    EXPECT_EQ(button.GetState(), CBarButton::UP);
    up(-30, 40);
    EXPECT_EQ(posts(), 0u);
    EXPECT_EQ(button.GetState(), CBarButton::UP);
}

TEST_F(ButtonFixture, ToggleFlipsAndPostsOnEveryClick)
{
    button.SetKind(CBarButton::TOGGLE);
    click();
    EXPECT_TRUE(button.IsDown());
    click();
    EXPECT_FALSE(button.IsDown());
    click();
    EXPECT_TRUE(button.IsDown());
    EXPECT_EQ(posts(), 3u);
}

TEST_F(ButtonFixture, RadioThatIsDownIgnoresClicks)
{
    button.SetKind(CBarButton::TOGGLE, TRUE);
    click();
    EXPECT_TRUE(button.IsDown());
    click();
    EXPECT_TRUE(button.IsDown());
    EXPECT_EQ(posts(), 1u);
}

TEST_F(ButtonFixture, DisabledGetsNoInputUntilEnabledAgain)
{
    button.SetState(CBarButton::DISABLED);
    EXPECT_FALSE(button.IsWindowEnabled());
    EXPECT_FALSE(button.IsDown());
    click();
    EXPECT_EQ(posts(), 0u);
    button.SetState(CBarButton::UP);
    EXPECT_TRUE(button.IsWindowEnabled());
    click();
    EXPECT_EQ(posts(), 1u);
}

TEST_F(ButtonFixture, HoverTipHidesOnPressUntilTheMouseLeaves)
{
    move(10, 10, 0);
    EXPECT_EQ(button.GetHoverTip(), nullptr); // no tip text yet
    button.SetTipText("Orders");
    move(11, 10, 0);
    ASSERT_NE(button.GetHoverTip(), nullptr);
    EXPECT_EQ(GetDlgCtrlID(button.GetHoverTip()->m_hWnd), CButtonTip::TIP_ID);
    RECT tr{};
    GetWindowRect(button.GetHoverTip()->m_hWnd, &tr);
    EXPECT_EQ(tr.right - tr.left, 6 * 6 + 8);
    click();
    EXPECT_EQ(button.GetHoverTip(), nullptr);
    move(12, 10, 0);
    EXPECT_EQ(button.GetHoverTip(), nullptr);
    // Without capture a move outside never reaches the button; leaving is
    // seen under capture, as a shown tip holds it.
    move(-5, -5, 0);
    EXPECT_EQ(button.GetHoverTip(), nullptr);
    SetCapture(button);
    move(-5, -5, 0);
    ReleaseCapture();
    move(12, 10, 0);
    EXPECT_NE(button.GetHoverTip(), nullptr);
    button.HideHoverTip();
    EXPECT_EQ(button.GetHoverTip(), nullptr);
}

TEST_F(ButtonFixture, FacesAndBevel)
{
    button.Resize(70, 22, TRUE);
    button.SetBitmap(IDB_FACE_ORDERS);
    button.SetFramed(FALSE);
    button.Invalidate();
    button.UpdateWindow();
    settle();
    // Raised: white top-left ring, grey bottom-right ring.
    EXPECT_EQ(pixel(button, 0, 10), 0xFFFFFFu);
    EXPECT_EQ(pixel(button, 69, 10), 0x808080u);
    // The 64 x 16 face sits centred at ((70 - 64) / 2, (22 - 16) / 2) =
    // (3, 3); its sheet's top outline is row 3 of the face.
    EXPECT_EQ(pixel(button, 3 + 3, 3 + 3), 0x000000u);
    EXPECT_EQ(pixel(button, 3 + 3, 3 + 6), 0xFFFFFFu);
    button.SetState(CBarButton::DOWN);
    settle();
    // Sunken: grey on top and left; the face moves by the bevel width.
    EXPECT_EQ(pixel(button, 0, 10), 0x808080u);
    EXPECT_EQ(pixel(button, 69, 10), 0xC0C0C0u);
    EXPECT_EQ(pixel(button, 5 + 3, 5 + 3), 0x000000u);
}

TEST(ButtonCaption, SmallDisplaysUseTheStockFont)
{
    // Only the font choice differs; both paint a caption.
    for (int bits : {32, 16}) {
        uikit_set_display_bits_for_test(bits);
        EXPECT_EQ(uikit_display_bits(), bits);
        SpyParent parent;
        CBarButton b;
        ASSERT_TRUE(b.Create(&parent, 1, RECT{0, 0, 80, 22}, "Legend", nullptr, 15));
        b.UpdateWindow();
        settle();
        int ink = 0;
        for (int x = 15; x < 78; ++x)
            for (int y = 2; y < 20; ++y)
                ink += pixel(b, x, y) == 0x000000u;
        EXPECT_GT(ink, 10) << bits;
    }
    uikit_set_display_bits_for_test(0);
}

TEST(ButtonBar, LaysOutButtonsAndForwardsPresses)
{
    SpyParent parent;
    CButtonBar bar;
    ASSERT_TRUE(bar.Create(&parent, 40));
    bar.MoveWindow(0, 0, 400, 28);
    bar.SetButtonSize(45, 22);
    CBarButton* a = bar.AddButton("A", "first", 32771, 0, 0, 0, 0, 20);
    CBarButton* b = bar.AddButton("B", "second", 32772, IDB_FACE_LEGEND, 0, 0, 15, 20);
    CBarButton* c = bar.AddButton("C", "third", 32773, 0, 0, 0, 0, 20);
    auto left = [&](CBarButton* btn) {
        RECT r{};
        btn->GetWindowRect(&r);
        POINT p{r.left, r.top};
        ScreenToClient(bar, &p);
        return p;
    };
    EXPECT_EQ(left(a).x, 10);
    EXPECT_EQ(left(b).x, 55);
    EXPECT_EQ(left(c).x, 115);
    EXPECT_EQ(left(c).y, 3);
    EXPECT_EQ(bar.FindButton(32772), b);
    EXPECT_EQ(bar.FindButton(1), nullptr);
    SimulateMouseDown(*b, Button::Left, 5, 5);
    SimulateMouseUp(*b, Button::Left, 5, 5);
    settle();
    EXPECT_EQ(parent.of(WM_BUTTON_PRESSED),
              (std::vector<Recorded>{{WM_BUTTON_PRESSED, 32772, static_cast<LPARAM>(b->m_hWnd)}}));
    CBarButton* at = bar.AddButtonAt(32774, 300, 2, 40, 20, "D", nullptr);
    EXPECT_EQ(left(at).x, 300);
}

TEST(StatusLine, FieldsLayOutAndCutLongTexts)
{
    SpyParent parent(640, 480);
    CStatusLine line;
    ASSERT_TRUE(line.Create(nullptr, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, &parent, 50));
    line.AddField(1, "Run", 50, 1, 0x0000FF);
    line.AddField(2, "12/03/1999", 80, 0, 0xC0C0C0);
    line.AddField(3, "08:00", 50, 1, 0x808000);
    line.Reposition();
    RECT r{};
    line.GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, 640 - 125);
    EXPECT_EQ(r.bottom - r.top, 24);
    const int lefts[3] = {1, 51, 131};
    for (int i = 0; i < 3; ++i) {
        line.GetFieldRect(i, &r);
        EXPECT_EQ(r.left, lefts[i]);
        EXPECT_EQ(r.top, 4);
        EXPECT_EQ(r.bottom, 24 - 3);
    }
    line.SetFieldText(3, "ignored", 0);
    EXPECT_EQ(line.GetFieldCount(), 3);
    line.SetFieldText(1, std::string(45, 'z').c_str(), 0xFFFFFF);
    EXPECT_EQ(std::string(line.GetField(1)->text), std::string(40, 'z'));
    line.SetFieldText(1, std::string(40, 'w').c_str(), 0xFFFFFF);
    EXPECT_EQ(std::string(line.GetField(1)->text), std::string(40, 'w'));
    line.UpdateWindow();
    settle();
    // Hold red and the Over colour as the fields' backgrounds.
    EXPECT_EQ(pixel(line, 5, 8), 0x0000FFu);
    EXPECT_EQ(pixel(line, 135, 8), 0x808000u);
    EXPECT_EQ(pixel(line, 300, 0), 0x808080u);
}

TEST(PanelWnd, TooltipAndBackground)
{
    SpyParent parent;
    CPanelWnd panel;
    ASSERT_TRUE(panel.Create(nullptr, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100}, &parent, 801));
    EXPECT_EQ(panel.tooltip(), 0u);
    panel.SetToolTip("Cash");
    ASSERT_NE(panel.tooltip(), 0u);
    char text[256] = {};
    SendMessage(panel.tooltip(), TTM_GETTIPTEXT_PLAT, static_cast<WPARAM>(panel.m_hWnd), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Cash");
    panel.Invalidate();
    panel.UpdateWindow();
    settle();
    EXPECT_EQ(pixel(panel, 50, 50), 0xC0C0C0u);
    const HWND tip = panel.tooltip();
    panel.DestroyWindow();
    EXPECT_FALSE(IsWindow(tip));
}
