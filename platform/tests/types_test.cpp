// Packing helpers used by every message that carries two 16-bit values.
#include "plat/types.h"
#include <gtest/gtest.h>

using namespace plat;

TEST(Types, PackedCoordinatesAreSigned)
{
    const LPARAM lp = MAKELPARAM(-5, 300);
    EXPECT_EQ(GET_X_LPARAM(lp), -5);
    EXPECT_EQ(GET_Y_LPARAM(lp), 300);
    EXPECT_EQ(HIWORD(MAKEWPARAM(7, 0x300)), 0x300);
    EXPECT_EQ(LOWORD(MAKEWPARAM(7, 0x300)), 7);
}

TEST(Types, ColourIsBlueGreenRed)
{
    const COLORREF c = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x00563412u);
    EXPECT_EQ(GetRValue(c), 0x12);
    EXPECT_EQ(GetBValue(c), 0x56);
}
