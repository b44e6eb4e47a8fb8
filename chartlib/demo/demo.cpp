// The sample graphs in a window: axes, ticks, grid, titles, a legend of
// labels, several sets, the scroller, the tracer with its value box, a label,
// a reference and a bookmark. Writes <out>/chart-*.png.
#include "qxi32/qxi32.h"
#include "plat/config.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include "plat/msg.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <cstdio>
#include <string>

using namespace plat;

namespace {

LRESULT caller_proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); }

HWND make_window(const char* title, int w, int h)
{
    return CreateWindowEx(0, "QxiDemoWnd", title, WS_POPUP | WS_VISIBLE, 0, 0, w, h, 0, 0, 0, nullptr);
}

void legend(QXGRAPH g, const char* id, const char* text, COLORREF c, int y)
{
    QXIAddLabel(g, id, text, 0, 0, 660, y, 0, 0, c, 0);
}

// Any picture not written fails the demo: its test checks that the pictures are there.
bool all_written = true;

void save(HWND w, const std::string& out, const char* name)
{
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    PumpEvents(20);
    std::string path = out + "/" + name;
    if (!SaveWindowPng(w, path.c_str())) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        all_written = false;
    } else
        std::printf("%s\n", path.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    std::string out = argc > 1 ? argv[1] : ".";
    InitGui(argc, argv);
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = caller_proc;
    wc.hCursor = LoadCursor(0, IDC_ARROW);
    wc.lpszClassName = "QxiDemoWnd";
    RegisterClass(&wc);

    // One: three sample waves, wider than the view, so the scroller is needed.
    HWND w = make_window("samples", 800, 500);
    QXGRAPH g = QXICreateGraph(0, w);
    QXISetMainTitle(g, "Sample graphs", 0);
    QXISetXTitle(g, "Day", 0);
    QXISetYTitle(g, "Units", 0);
    QXISetGraphDisplaySpace(g, 70, 45, 150, 90, 0);
    QXISetViewXMin(g, 0, 0);
    QXISetViewXMax(g, 100, 0);
    QXISetViewYMin(g, 0, 0);
    QXISetViewYMax(g, 100, 0);
    QXISetXValAutoFormatting(g, 1, 0);
    QXISetYValFormat(g, "0,0,0", 0);
    const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 120, 0), RGB(0, 0, 220)};
    const char* names[] = {"damped cosine", "sine", "square"};
    for (int i = 0; i < 3; ++i) {
        QXIAddEmptyGraphSet(g, i);
        QXISetSampleGraph(g, i, i + 1, 0);
        QXISetGraphSetColor(g, i, colours[i], 0);
        QXISetGraphSetName(g, i, names[i], 0);
        legend(g, ("leg" + std::to_string(i)).c_str(), names[i], colours[i], 60 + 18 * i);
    }
    QXISetGraphSetPointStyle(g, 1, 2, 0);
    QXISetGraphSetPointSize(g, 1, 4, 0);
    // Points beyond the view: the scroller comes into play.
    QXIAddEmptyGraphSet(g, 9);
    QXISetGraphSetColor(g, 9, RGB(160, 0, 160), 0);
    for (int i = 0; i <= 160; i += 4) {
        double x = i, y = 20 + (i % 40);
        QXIAddPoint(g, 9, &x, &y);
    }
    legend(g, "leg9", "added points", RGB(160, 0, 160), 60 + 18 * 3);
    QXIAddRef(g, "target", 1, 1, 1, 0, 75, 0, 0, RGB(255, 128, 0), 0);
    QXIAddLabel(g, "peak", "peak", 0, 2, 12, 70, 0, 0, RGB(0, 0, 0), 0);
    QXIAddBookmark(g, 1, 30, nullptr, 0, 0);
    QXIAddBookmark(g, 2, 62, nullptr, 0, 0);
    QXIAddBookmark(g, 2, 62, nullptr, 0, 0);
    QXISetTracerLineVisible(g, 1);
    QXISetTracerLineActive(g, 2);
    QXISetTracerLineType(g, 2);
    QXISetTracerLineColor(g, RGB(128, 128, 128));
    QXISetTracerValVisible(g, 1);
    QXISetTracerValActive(g, 2);
    QXISetTracerValType(g, 2);
    SimulateMouseMove(w, 360, 220);
    PumpEvents(20);
    save(w, out, "chart-samples.png");
    SendMessage(w, WM_HSCROLL, SB_PAGERIGHT, 0);
    save(w, out, "chart-samples-scrolled.png");

    // Two: three slots with their own views, a month axis.
    HWND w2 = make_window("slots", 800, 500);
    QXGRAPH g2 = QXICreateGraph(0, w2);
    QXISetMainTitle(g2, "Three slots", 0);
    QXISetGraphSlots(g2, 3, 0);
    QXISetViewXMax(g2, 260, 0);
    int months[] = {0, 22, 42, 64, 85, 107, 128, 150, 172, 193, 215, 237};
    QXISetXValType(g2, 1, 0);
    QXISetXValMonths(g2, months, 12, 0);
    QXISetXTickScale(g2, 1, 0);
    QXISetXTickEach(g2, 20, 0);
    for (int i = 0; i < 3; ++i) {
        QXIAddEmptyGraphSet(g2, 10 + i);
        QXISetGraphSetSlot(g2, 10 + i, i, 0);
        QXISetGraphSetColor(g2, 10 + i, colours[i], 0);
        for (int d = 0; d < 260; ++d) {
            double x = d, y = 5 + (i + 1) * ((d * 7 + i * 13) % 37) / 4.0;
            QXIAddPoint(g2, 10 + i, &x, &y);
        }
        QXISetSlotViewYMin(g2, i, 0, 0);
        QXISetSlotViewYMax(g2, i, 40, 0);
        QXISetSlotYTickEach(g2, i, 10, 0);
    }
    save(w2, out, "chart-slots.png");

    QXIDestroyGraph(g);
    QXIDestroyGraph(g2);
    DestroyWindow(w);
    DestroyWindow(w2);
    return all_written ? 0 : 1;
}
