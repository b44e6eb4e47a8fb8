// Repainting a graph of 1,500 and of 100,000 points in an 800x400 window.
#include "qxi32/qxi32.h"
#include "dvec.h"
#include "plat/config.h"
#include "plat/msg.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <benchmark/benchmark.h>
#include <cmath>

using namespace plat;

namespace {

LRESULT caller_proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); }

struct Graph {
    HWND window = 0;
    QXGRAPH graph = 0;
    explicit Graph(int n)
    {
        static bool ready = false;
        if (!ready) {
            InitGui();
            WNDCLASS wc;
            wc.lpfnWndProc = caller_proc;
            wc.lpszClassName = "QxiBenchWnd";
            RegisterClass(&wc);
            ready = true;
        }
        window = CreateWindowEx(0, "QxiBenchWnd", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 800, 400, 0, 0, 0, nullptr);
        graph = QXICreateGraph(0, window);
        HGLOBAL x = qxi::vec_create(2, n), y = qxi::vec_create(2, n);
        {
            qxi::VecLock vx(x), vy(y);
            for (int i = 0; i < n; ++i) {
                vx.set(i, i);
                vy.set(i, 50 + 40 * std::sin(i * 0.01));
            }
        }
        QXIAddGraphSet(graph, 1, x, y, 0);
        QXISetViewXMax(graph, n - 1, 0);
        QXISetViewYMax(graph, 100, 0);
        QXISetMainTitle(graph, "Repaint", 0);
        QXISetXTitle(graph, "Day", 0);
        QXISetYTitle(graph, "Units per day", 0);
    }
    ~Graph()
    {
        QXIDestroyGraph(graph);
        DestroyWindow(window);
    }
};

void repaint(benchmark::State& state)
{
    Graph g(int(state.range(0)));
    for (auto _ : state) {
        InvalidateRect(g.window, nullptr, FALSE);
        UpdateWindow(g.window);
    }
}

} // namespace

BENCHMARK(repaint)->Arg(1500)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
