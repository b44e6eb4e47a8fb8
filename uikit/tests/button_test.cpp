#include "support/ui_support.h"
#include "uikit/bar_button.h"
#include "uikit/button_bar.h"
#include "uikit/status_line.h"
#include "uikit/uikit.h"
#include "plat/msg.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>

using namespace plat;

TEST(BarButton, Builds)
{
    SpyParent parent;
    CBarButton b;
    ASSERT_TRUE(b.Create(&parent, 77, RECT{10, 10, 60, 32}, "Go", "Press", 5));
    settle();
}
