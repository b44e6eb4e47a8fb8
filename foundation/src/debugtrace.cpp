// The desktop trace draws on the screen's DC (the layer's overlay).
#include "foundation/debugtrace.h"
#include "foundation/utils.h"
#include "plat/gdi.h"
#include "plat/module.h"
#include "plat/window.h"
#include <cstring>
#include <string>

using namespace plat;

void DebugShowText(int row, const char* name, const char* value)
{
    const HDC dc = GetDC(0);
    if (dc == 0)
        return;
    const HBRUSH brush = CreateSolidBrush(0xFFFFFF);
    const HPEN pen = CreatePen(PS_SOLID, 1, 0x000000);
    const HGDIOBJ old_brush = SelectObject(dc, brush);
    const HGDIOBJ old_pen = SelectObject(dc, pen);
    Rectangle(dc, 0, row * 20, 220, row * 20 + 20);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
    const std::string line = std::string(name != nullptr ? name : "") + "=" + (value != nullptr ? value : "");
    SetTextColor(dc, 0x000000);
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 5, row * 20 + 3, line.c_str(), static_cast<int>(line.size()));
    ReleaseDC(0, dc);
}

void DebugShowInt(int row, const char* name, int32_t value)
{
    DebugShowText(row, name, std::to_string(value).c_str());
}

void DebugShowFloat(int row, const char* name, double value)
{
    DebugShowText(row, name, format_fixed(value, 5).c_str());
}

void DebugShowThreadId(int row) { DebugShowInt(row, "ThreadID", static_cast<int32_t>(GetCurrentThreadId())); }

void DebugDelay(int32_t n)
{
    volatile double sink = 0.0;
    for (int32_t i = 0; i < n; ++i)
        sink = 3.5 * 44.1 + 111.22;
    (void)sink;
}
