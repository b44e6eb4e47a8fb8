// The route diagrams over the sample plant: what the plant draws for a
// product and for a work order in progress, and the windows that show them.
#include "dialog_support.h"
#include "plat/msg.h"
#include <algorithm>

using namespace plat;
using namespace dialog_support;

namespace {

// Records what the plant draws, in design coordinates.
struct Recorder : Painter {
    struct Text {
        int x, y;
        std::string s;
    };
    struct Rect {
        int x, y, w, h;
        int32_t fill;
    };
    std::vector<Text> texts;
    std::vector<Rect> rects;
    int lines = 0;
    // Where the drawing also goes (the window's painter), if anywhere.
    Painter* also = nullptr;
    void rect(int x, int y, int w, int h, int32_t fill, bool frame) override
    {
        rects.push_back({x, y, w, h, fill});
        if (also)
            also->rect(x, y, w, h, fill, frame);
    }
    void line(int x1, int y1, int x2, int y2) override
    {
        ++lines;
        if (also)
            also->line(x1, y1, x2, y2);
    }
    void text(int x, int y, std::string_view s, uint32_t colour) override
    {
        texts.push_back({x, y, std::string(s)});
        if (also)
            also->text(x, y, s, colour);
    }
    int text_width(std::string_view s) override { return also ? also->text_width(s) : 6 * static_cast<int>(s.size()); }
    bool has_text(const std::string& s) const
    {
        return std::any_of(texts.begin(), texts.end(), [&](const Text& t) { return t.s == s; });
    }
    bool has_text_at(const std::string& s, int x, int y) const
    {
        return std::any_of(texts.begin(), texts.end(), [&](const Text& t) { return t.s == s && t.x == x && t.y == y; });
    }
};

std::vector<RouteInfo> route_of(CProductionWnd& plant, int product, const RWork_Order* wo = nullptr)
{
    std::vector<RouteInfo> list;
    plant.collect_route_info({KIND_PRODUCT, static_cast<uint8_t>(product), 1}, list, 0, wo != nullptr ? 25 : 0, false, wo);
    return list;
}

} // namespace

TEST_F(ProductionDialogs, RouteDrawingShowsEachBoxItsGridAndBufferLimits)
{
    Sim sim;
    Recorder rec;
    sim.ui.paint = &rec;
    const std::vector<RouteInfo> list = route_of(sim.prod, 0);
    ASSERT_FALSE(list.empty());
    sim.prod.draw_route(list, true, 0);
    // Nine column bars and seven level bars, one pixel wide, grey.
    int bars = 0;
    for (const auto& r : rec.rects)
        if (r.fill == 0x808080 && (r.w == 1 || r.h == 1))
            ++bars;
    EXPECT_EQ(bars, 16);
    for (char c = 'a'; c <= 'i'; ++c)
        EXPECT_TRUE(rec.has_text_at(std::string(1, c), (c - 'a') * 55 + 41, 9)) << c;
    EXPECT_TRUE(rec.has_text_at("6", 6, 49));
    EXPECT_TRUE(rec.has_text_at("1", 6, 5 * 55 + 49));
    // Every job of A1's route is drawn, with one link per box that feeds another.
    for (const RouteInfo& r : list) {
        if (r.item.kind == KIND_JOB) {
            EXPECT_TRUE(rec.has_text(sim.prod.job(r.item.index)->name));
        }
    }
    const auto fed = std::count_if(list.begin(), list.end(), [](const RouteInfo& r) {
        return r.item.kind == KIND_PRODUCT ? r.parent_x > 0 : r.parent_x >= 0;
    });
    EXPECT_GT(rec.lines, 0);
    EXPECT_GE(rec.lines, static_cast<int>(fed));

    // A buffer-limited machine's limit beside each of its job boxes; with the
    // two-figure label, the content above it.
    RMachine& m2 = *sim.prod.Machines[1];
    m2.buffer_capacity = 77;
    m2.buffer_count = 123;
    rec = Recorder{};
    sim.prod.draw_route(list, false, 0);
    EXPECT_TRUE(rec.has_text("77"));
    EXPECT_FALSE(rec.has_text("123"));
    sim.prod.selection[2] = 1;
    rec = Recorder{};
    sim.prod.draw_route(list, false, 0);
    EXPECT_TRUE(rec.has_text("77"));
    EXPECT_TRUE(rec.has_text("123"));
    sim.ui.paint = nullptr;
}

TEST_F(ProductionDialogs, WoDiagramShowsProgressAndTheJobsInputsOnAPress)
{
    Floor f;
    ASSERT_TRUE(f.run_until_waiting(0, 1));
    ASSERT_FALSE(f.prod.Work_Orders.empty());
    RWork_Order* wo = f.prod.Work_Orders.front().get();
    std::vector<RouteInfo> list = route_of(f.prod, wo->product_position(), wo);
    Recorder rec;
    f.ui.paint = &rec;
    f.prod.draw_route_wo_status(list, wo);
    f.ui.paint = nullptr;
    // The request's quantity above each job box the work order waits at.
    const RouteInfo* waiting = nullptr;
    for (const RouteInfo& r : list)
        if (r.item.kind == KIND_JOB)
            for (const auto& q : f.prod.job(r.item.index)->requests)
                if (q->wo == wo && waiting == nullptr)
                    waiting = &r;
    ASSERT_NE(waiting, nullptr);
    EXPECT_TRUE(rec.has_text(std::to_string(wo->quantity)));
    std::string text;
    ASSERT_TRUE(f.prod.route_hit_test(list, wo, waiting->x + 10, waiting->y, 1.0f, 1.0f, text));
    EXPECT_EQ(text.rfind(std::string(f.prod.job(waiting->item.index)->name) + " Inputs:\n", 0), 0u) << text;
    EXPECT_FALSE(f.prod.route_hit_test(list, wo, 2, 2, 1.0f, 1.0f, text));

    // The window: titled, the work orders' numbers listed, a press on the box
    // shows its inputs until the button is released.
    ScriptedHost host;
    Recorder seen;
    PaintScope scope = [&](Painter& p, const std::function<void()>& draw) {
        seen.also = &p;
        f.ui.paint = &seen;
        draw();
        f.ui.paint = nullptr;
        seen.also = nullptr;
    };
    CRouteDiagramDlg dlg(f.prod, -1, 0, scope, nullptr);
    std::string caption, popup, after;
    std::vector<std::string> numbers;
    host.OnDialog(IDD_WO_DIAGRAM, [&](HWND d) {
        char t[64] = {};
        GetWindowText(d, t, sizeof t);
        caption = t;
        numbers = list_rows(d, CRouteDiagramDlg::WO_LIST, CB_GETCOUNT, CB_GETLBTEXT);
        EXPECT_TRUE(SaveWindowPng(d, png("wo_diagram.png").c_str()));
        RECT client{};
        GetClientRect(d, &client);
        float sx = 1, sy = 1;
        route_diagram_scale(client.right, client.bottom - 40, sx, sy);
        const int x = static_cast<int>((waiting->x + 10) * sx), y = static_cast<int>(waiting->y * sy);
        SendMessage(d, WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
        popup = dlg.popup_text();
        SendMessage(d, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        click(d, IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(caption, "WO Diagram");
    ASSERT_EQ(numbers.size(), f.prod.Work_Orders.size());
    EXPECT_EQ(numbers[0], std::to_string(wo->number));
    EXPECT_EQ(popup.rfind(std::string(f.prod.job(waiting->item.index)->name) + " Inputs:", 0), 0u) << popup;
    EXPECT_TRUE(seen.has_text(std::to_string(wo->quantity))) << "the window drew the work order's progress";
}

TEST_F(ProductionDialogs, RoutingWindowsDrawTheProductsRoutes)
{
    Sim sim;
    ScriptedHost host;
    Recorder one;
    PaintScope scope = [&](Painter& p, const std::function<void()>& draw) {
        one.also = &p;
        sim.ui.paint = &one;
        draw();
        sim.ui.paint = nullptr;
        one.also = nullptr;
    };
    CRouteDiagramDlg dlg(sim.prod, 0, -1, scope, nullptr);
    std::string caption;
    host.OnDialog(IDD_ROUTING_DIAGRAM, [&](HWND d) {
        char t[64] = {};
        GetWindowText(d, t, sizeof t);
        caption = t;
        InvalidateRect(d, nullptr, TRUE);
        UpdateWindow(d);
        EXPECT_TRUE(SaveWindowPng(d, png("routing_diagram.png").c_str()));
        click(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(caption, "Routing Diagram");
    ASSERT_FALSE(dlg.route().empty());
    for (const RouteInfo& r : dlg.route()) {
        if (r.item.kind == KIND_JOB) {
            EXPECT_TRUE(one.has_text(sim.prod.job(r.item.index)->name));
        }
    }

    // Every product's diagram; the sample's two are shorter than the area: no scroll bar.
    Recorder all;
    PaintScope into_all = [&](Painter& p, const std::function<void()>& draw) {
        all.also = &p;
        sim.ui.paint = &all;
        draw();
        sim.ui.paint = nullptr;
        all.also = nullptr;
    };
    CAllProductsRoutingDlg every(sim.prod, into_all, nullptr);
    bool bar_shown = true;
    host.OnDialog(IDD_ALL_PRODUCTS_ROUTING, [&](HWND d) {
        InvalidateRect(d, nullptr, TRUE);
        UpdateWindow(d);
        EXPECT_TRUE(SaveWindowPng(d, png("all_products_routing.png").c_str()));
        bar_shown = IsWindowVisible(GetDlgItem(d, CAllProductsRoutingDlg::SCROLL_BAR)) != 0;
        click(d, IDCANCEL);
    });
    every.DoModal();
    EXPECT_GT(every.total_height(), 0);
    EXPECT_EQ(every.scroll_range(), 0);
    EXPECT_FALSE(bar_shown);
    EXPECT_TRUE(all.has_text("U1"));
}

// More products than the window holds: the scroll bar shows, and scrolling to
// the bottom brings the last product's diagram into view whole, drawn as the
// same product's diagram is drawn when it stands at the top.
TEST_F(ProductionDialogs, AllProductsRoutingScrollsToTheLastProduct)
{
    Sim sim;
    // Copies of A1, then U1 again last: the last block is U1's diagram.
    for (int n = 0; n < 8; ++n) {
        auto copy = std::make_unique<RProduct>(*sim.prod.Products[n == 7 ? 1 : 0]);
        copy->position = static_cast<uint16_t>(sim.prod.Products.size());
        sim.prod.Products.push_back(std::move(copy));
    }
    const auto block_height = [&](int product) {
        int lowest = INT_MAX, highest = INT_MIN;
        for (const RouteInfo& r : route_of(sim.prod, product)) {
            lowest = std::min<int>(lowest, r.y);
            highest = std::max<int>(highest, r.y);
        }
        return highest - lowest + 40;
    };
    const int a1 = block_height(0), u1 = block_height(1);
    ASSERT_GT(a1, 40);

    ScriptedHost host;
    PaintScope into_window = [&](Painter& p, const std::function<void()>& draw) {
        sim.ui.paint = &p;
        draw();
        sim.ui.paint = nullptr;
    };
    CAllProductsRoutingDlg every(sim.prod, into_window, nullptr);
    bool bar_shown = false;
    int bar_pos = -1, area_height = 0, range = 0;
    std::vector<COLORREF> at_top, at_bottom;
    host.OnDialog(IDD_ALL_PRODUCTS_ROUTING, [&](HWND d) {
        InvalidateRect(d, nullptr, TRUE);
        UpdateWindow(d);
        bar_shown = IsWindowVisible(GetDlgItem(d, CAllProductsRoutingDlg::SCROLL_BAR)) != 0;
        range = every.scroll_range();
        RECT client{};
        GetClientRect(d, &client);
        area_height = client.bottom - 50;
        const int width = client.right - 30;
        const auto band = [&](int top) {
            std::vector<COLORREF> px;
            HDC dc = GetDC(d);
            for (int y = top; y < top + u1; y += 2)
                for (int x = 0; x < width; x += 2)
                    px.push_back(GetPixel(dc, x, y));
            ReleaseDC(d, dc);
            return px;
        };
        // U1 is the second block at the top.
        at_top = band(a1);
        EXPECT_TRUE(SaveWindowPng(d, png("all_products_routing_top.png").c_str()));
        SendMessage(d, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0),
                    static_cast<LPARAM>(GetDlgItem(d, CAllProductsRoutingDlg::SCROLL_BAR)));
        UpdateWindow(d);
        bar_pos = static_cast<int>(SendMessage(GetDlgItem(d, CAllProductsRoutingDlg::SCROLL_BAR), SBM_GETPOS, 0, 0));
        at_bottom = band(area_height - u1);
        EXPECT_TRUE(SaveWindowPng(d, png("all_products_routing_bottom.png").c_str()));
        // Further down stays at the end; back to the top returns to the start.
        SendMessage(d, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
        EXPECT_EQ(every.scroll_position(), range);
        SendMessage(d, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
        EXPECT_EQ(every.scroll_position(), 0);
        click(d, IDCANCEL);
    });
    every.DoModal();
    EXPECT_TRUE(bar_shown);
    EXPECT_EQ(every.total_height(), 8 * a1 + 2 * u1);
    ASSERT_GT(range, 0);
    EXPECT_EQ(range, every.total_height() - area_height);
    EXPECT_EQ(bar_pos, range);
    ASSERT_FALSE(at_top.empty());
    const COLORREF background = at_top.front();
    EXPECT_TRUE(std::any_of(at_top.begin(), at_top.end(), [&](COLORREF c) { return c != background; }));
    EXPECT_EQ(at_bottom, at_top);
}
