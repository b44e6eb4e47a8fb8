// Shared set-up of the chart library tests: one GUI per process, a caller's
// window with a procedure that records what reaches it, and a scripted host.
#pragma once
#include "qxi32/qxi32.h"
#include "plat/config.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include "plat/msg.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace qxtest {

using namespace plat;

inline std::vector<UINT> g_seen;
inline std::vector<std::pair<double, double>> g_bookmark_clicks;

inline LRESULT caller_proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    g_seen.push_back(m);
    if (m == MSG_BOOKMARK_DBLCLK && l) {
        const double* d = reinterpret_cast<const double*>(l);
        g_bookmark_clicks.emplace_back(d[0], d[1]);
    }
    return DefWindowProc(h, m, w, l);
}

inline constexpr const char* kCallerClass = "QxiCallerWnd";

class GraphTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        static bool registered = false;
        if (registered)
            return;
        registered = true;
        WNDCLASS wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = caller_proc;
        wc.hCursor = LoadCursor(0, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kCallerClass;
        RegisterClass(&wc);
    }
    void SetUp() override
    {
        host.Answer(IDOK, "");
        g_seen.clear();
        g_bookmark_clicks.clear();
        window = CreateWindowEx(0, kCallerClass, "graph", WS_POPUP | WS_VISIBLE, 0, 0, width, height, 0, 0, 0, nullptr);
        ASSERT_NE(window, 0u);
        graph = QXICreateGraph(0, window);
        ASSERT_NE(graph, 0u);
    }
    void TearDown() override
    {
        if (graph)
            QXIDestroyGraph(graph);
        ResetWindowsForTest();
    }
    // Paints now and returns the pixel the window's surface holds.
    COLORREF pixel(int x, int y)
    {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        return GetSurfacePixel(window, x, y);
    }
    void paint_now()
    {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
    int width = 800, height = 400;
    ScriptedHost host;
    HWND window = 0;
    QXGRAPH graph = 0;
};

// Little-endian writer for the fixtures.
struct LeWriter {
    std::vector<uint8_t> bytes;
    LeWriter& raw(const char* s, size_t n)
    {
        bytes.insert(bytes.end(), s, s + n);
        return *this;
    }
    LeWriter& u8(uint8_t v)
    {
        bytes.push_back(v);
        return *this;
    }
    LeWriter& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    LeWriter& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    LeWriter& i16(int16_t v) { return u16(uint16_t(v)); }
    LeWriter& i32(int32_t v) { return u32(uint32_t(v)); }
    LeWriter& f32(float v)
    {
        uint32_t b;
        std::memcpy(&b, &v, 4);
        return u32(b);
    }
    LeWriter& f64(double v)
    {
        uint64_t b;
        std::memcpy(&b, &v, 8);
        return u32(uint32_t(b)).u32(uint32_t(b >> 32));
    }
    std::string save(const std::string& name) const
    {
        std::string path = std::string(VORN_BINARY_DIR) + "/test-home/chartlib-" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path;
    }
};

} // namespace qxtest
