// Fixed system colours and metrics: the classic grey scheme, whatever the
// desktop's theme, so every run draws the same pixels.
#include "gdi/gdi_p.h"
#include "plat/config.h"
#include <array>

namespace plat {

DWORD GetSysColor(int index)
{
    static constexpr std::array<COLORREF, 31> colors = {
        RGB(192, 192, 192), // SCROLLBAR
        RGB(0, 128, 128),   // BACKGROUND
        RGB(0, 0, 128),     // ACTIVECAPTION
        RGB(128, 128, 128), // INACTIVECAPTION
        RGB(192, 192, 192), // MENU
        RGB(255, 255, 255), // WINDOW
        RGB(0, 0, 0),       // WINDOWFRAME
        RGB(0, 0, 0),       // MENUTEXT
        RGB(0, 0, 0),       // WINDOWTEXT
        RGB(255, 255, 255), // CAPTIONTEXT
        RGB(192, 192, 192), // ACTIVEBORDER
        RGB(192, 192, 192), // INACTIVEBORDER
        RGB(128, 128, 128), // APPWORKSPACE
        RGB(0, 0, 128),     // HIGHLIGHT
        RGB(255, 255, 255), // HIGHLIGHTTEXT
        RGB(192, 192, 192), // BTNFACE
        RGB(128, 128, 128), // BTNSHADOW
        RGB(128, 128, 128), // GRAYTEXT
        RGB(0, 0, 0),       // BTNTEXT
        RGB(192, 192, 192), // INACTIVECAPTIONTEXT
        RGB(255, 255, 255), // BTNHIGHLIGHT
        RGB(0, 0, 0),       // 3DDKSHADOW
        RGB(223, 223, 223), // 3DLIGHT
        RGB(0, 0, 0),       // INFOTEXT
        RGB(255, 255, 225), // INFOBK
        RGB(192, 192, 192), // (unused)
        RGB(0, 0, 255),     // HOTLIGHT
        RGB(16, 132, 208),  // GRADIENTACTIVECAPTION
        RGB(181, 181, 181), // GRADIENTINACTIVECAPTION
        RGB(0, 0, 128),     // MENUHILIGHT
        RGB(192, 192, 192), // MENUBAR
    };
    if (index < 0 || index >= static_cast<int>(colors.size()))
        return 0;
    return colors[static_cast<size_t>(index)];
}

int GetSystemMetrics(int index)
{
    const SIZE d = DesktopSize();
    switch (index) {
    case SM_CXSCREEN: return d.cx;
    case SM_CYSCREEN: return d.cy;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return d.cx;
    case SM_CYFULLSCREEN: return d.cy - 19;
    case SM_MOUSEPRESENT: return 1;
    case SM_SWAPBUTTON: return 0;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXMAXIMIZED: return d.cx + 8;
    case SM_CYMAXIMIZED: return d.cy + 8;
    default: return 0;
    }
}

} // namespace plat
