// A picture with every kind of primitive, written to <build>/gdi_demo.png for
// a person to look at.
#include "gdi_fixture.h"
#include <cmath>
#include <cstring>

using namespace gditest;

namespace {

void text(HDC dc, int x, int y, const char* s) { TextOut(dc, x, y, s, static_cast<int>(std::strlen(s))); }

TEST(GdiDemo, RendersAPictureToPng)
{
    Canvas cv(360, 240);
    HDC dc = cv.dc;
    RECT all{0, 0, 360, 240};
    FillRect(dc, &all, static_cast<HBRUSH>(COLOR_BTNFACE + 1));

    // A sunken panel with a caption.
    RECT panel{8, 8, 352, 40};
    FillRect(dc, &panel, static_cast<HBRUSH>(COLOR_WINDOW + 1));
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldPen = SelectObject(dc, shadow);
    MoveToEx(dc, 7, 40, nullptr);
    LineTo(dc, 7, 7);
    LineTo(dc, 353, 7);
    SelectObject(dc, GetStockObject(WHITE_PEN));
    LineTo(dc, 353, 41);
    LineTo(dc, 6, 41);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    text(dc, 14, 12, "Shop floor - day 12, 08:30");
    HFONT bold = CreateFont(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    SelectObject(dc, bold);
    SetTextColor(dc, RGB(0, 0, 128));
    text(dc, 14, 24, "Orders late: 3");
    SetTextColor(dc, BLACK);

    // Shapes.
    HBRUSH red = CreateSolidBrush(RGB(192, 0, 0));
    HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 160));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, red);
    Rectangle(dc, 12, 52, 72, 92);
    SelectObject(dc, green);
    Ellipse(dc, 82, 52, 142, 92);
    SelectObject(dc, hatch);
    SetBkMode(dc, OPAQUE);
    RoundRect(dc, 152, 52, 212, 92, 12, 12);
    SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
    const POINT tri[] = {{222, 92}, {252, 52}, {282, 92}};
    Polygon(dc, tri, 3);
    HPEN thick = CreatePen(PS_SOLID, 3, RGB(0, 0, 192));
    SelectObject(dc, thick);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 292, 52, 348, 92);

    // A graph: styled grid lines and a curve of many points.
    RECT plot{12, 104, 348, 200};
    FillRect(dc, &plot, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HPEN dotted = CreatePen(PS_DOT, 1, RGB(128, 128, 128));
    SelectObject(dc, dotted);
    SetBkMode(dc, TRANSPARENT);
    for (int y = 116; y < 200; y += 16) {
        MoveToEx(dc, 12, y, nullptr);
        LineTo(dc, 348, y);
    }
    HPEN curve = CreatePen(PS_SOLID, 1, RGB(192, 0, 0));
    SelectObject(dc, curve);
    std::vector<POINT> pts;
    for (int x = 12; x < 348; ++x)
        pts.push_back(POINT{x, 152 - static_cast<LONG>(std::lround(36 * std::sin((x - 12) / 24.0)))});
    Polyline(dc, pts.data(), static_cast<int>(pts.size()));
    FrameRect(dc, &plot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    // A rubber band drawn with XOR across everything.
    SelectObject(dc, GetStockObject(WHITE_PEN));
    SetROP2(dc, R2_XORPEN);
    MoveToEx(dc, 4, 236, nullptr);
    LineTo(dc, 356, 44);
    SetROP2(dc, R2_COPYPEN);

    // Turned and opaque text.
    HFONT up = CreateFont(-11, 0, 900, 900, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SelectObject(dc, up);
    SetBkMode(dc, TRANSPARENT);
    text(dc, 350, 198, "Units");
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 255, 225));
    RECT tip{12, 208, 348, 232};
    DrawText(dc, "Tip: &Purchasing orders arrive after the lead time", -1, &tip,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    const std::string path = std::string(VORN_BINARY_DIR) + "/gdi_demo.png";
    ASSERT_TRUE(cv.SavePng(path)) << path;
    EXPECT_GT(cv.Count(RGB(192, 0, 0)), 100);
    EXPECT_GT(cv.Count(RGB(0, 160, 0)), 100);

    SelectObject(dc, oldPen);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(shadow), static_cast<HGDIOBJ>(bold), static_cast<HGDIOBJ>(red),
                      static_cast<HGDIOBJ>(green), static_cast<HGDIOBJ>(hatch), static_cast<HGDIOBJ>(thick),
                      static_cast<HGDIOBJ>(dotted), static_cast<HGDIOBJ>(curve), static_cast<HGDIOBJ>(up)})
        EXPECT_TRUE(DeleteObject(o));
}

} // namespace
