// Exports: printing a graph on one page of the default printer.
#include "api_p.h"
#include "plat/gdi.h"
#include "plat/profile.h"
#include "plat/window.h"
#include "plat/print.h"
#include <algorithm>
#include <string>
#include <vector>

using namespace plat;
using namespace qxi;

namespace {

// Every item colour and every set colour, to be put back after a black and
// white page whatever happened on the way.
class SavedColours {
public:
    explicit SavedColours(GraphRecord& g) : g_(g)
    {
        for (COLORREF* c : items())
            saved_.push_back(*c);
        for (auto& s : g.sets)
            saved_.push_back(s->colour);
    }
    void black_and_white()
    {
        for (COLORREF* c : items())
            *c = 0;
        g_.window_bg = g_.area_bg = 0xFFFFFF;
        for (auto& s : g_.sets)
            s->colour = 0;
    }
    ~SavedColours()
    {
        size_t i = 0;
        for (COLORREF* c : items())
            *c = saved_[i++];
        for (auto& s : g_.sets)
            if (i < saved_.size())
                s->colour = saved_[i++];
    }

private:
    std::vector<COLORREF*> items()
    {
        return {&g_.window_bg, &g_.area_bg, &g_.frame_colour, &g_.main_colour, &g_.ax[0].title_colour,
                &g_.ax[1].title_colour, &g_.border_colour, &g_.ax[0].grid_colour, &g_.ax[1].grid_colour,
                &g_.ax[0].colour, &g_.ax[1].colour, &g_.ax[0].tick_colour, &g_.ax[1].tick_colour,
                &g_.ax[0].val_colour, &g_.ax[1].val_colour};
    }
    GraphRecord& g_;
    std::vector<COLORREF> saved_;
};

bool print_graph(GraphRecord& g)
{
    char device[81] = {};
    GetProfileString("Windows", "device", ",,,", device, sizeof device);
    std::string d = device, fields[3];
    for (int i = 0, start = 0; i < 3; ++i) {
        size_t c = d.find(',', size_t(start));
        fields[i] = d.substr(size_t(start), c == std::string::npos ? std::string::npos : c - size_t(start));
        start = c == std::string::npos ? int(d.size()) : int(c) + 1;
    }
    if (fields[0].empty() || fields[1].empty() || fields[2].empty())
        return false;
    HDC dc = CreateDC(fields[1].c_str(), fields[0].c_str(), fields[2].c_str(), nullptr);
    if (!dc)
        return false;
    int pw = GetDeviceCaps(dc, HORZRES), ph = GetDeviceCaps(dc, VERTRES);
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = std::max(1, GetSystemMetrics(SM_CYSCREEN));
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, sw, sh, nullptr);
    SetViewportExtEx(dc, pw, int(int64_t(pw) * sh / std::max(1, sw)), nullptr);
    bool ok = false;
    DOCINFO doc{};
    doc.lpszDocName = "QXGraph";
    if (StartDoc(dc, &doc) > 0) {
        if (StartPage(dc) > 0) {
            RECT r{0, 0, std::max(pw, 800), std::max(ph, 600)};
            paint_layers(g, dc, r, g.layer_mask, true);
            ok = EndPage(dc) > 0;
        }
        // The job is always closed: ended when the page went out, else abandoned.
        if (ok)
            ok = EndDoc(dc) > 0;
        else
            AbortDoc(dc);
    }
    DeletePrinterDC(dc);
    return ok;
}

} // namespace

extern "C" {

int QXIPrint(QXGRAPH graph)
{
    QXI_GRAPH(graph);
    bool ok;
    {
        SavedColours saved(g);
        if (g.print_style == 0)
            saved.black_and_white();
        ok = print_graph(g);
    }
    return ok ? 1 : report_error(g, code_of(1));
}

int QXISetPrintStyle(QXGRAPH graph, int style)
{
    QXI_GRAPH(graph);
    g.print_style = style;
    return 0;
}

} // extern "C"
