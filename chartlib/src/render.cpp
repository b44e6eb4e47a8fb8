// Fonts and text measurement over the drawing layer, and the layout entry
// points that use them.
#include "core.h"
#include "plat/gdi.h"
#include "plat/window.h"
#include <cstring>

using namespace plat;

namespace qxi {

HFONT make_font(const FontSpec& f)
{
    LOGFONT lf{};
    lf.lfHeight = f.height;
    lf.lfWidth = f.width;
    lf.lfEscapement = f.escapement;
    lf.lfOrientation = f.orientation;
    // The thin weight of the default font shows as a normal one.
    lf.lfWeight = f.weight < FW_NORMAL ? FW_NORMAL : f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strike_out;
    lf.lfCharSet = f.char_set;
    lf.lfOutPrecision = f.out_precision;
    lf.lfClipPrecision = f.clip_precision;
    lf.lfQuality = f.quality;
    lf.lfPitchAndFamily = f.pitch_and_family;
    std::memcpy(lf.lfFaceName, f.face, 31);
    lf.lfFaceName[31] = 0;
    return CreateFontIndirect(&lf);
}

FontSpec font_from_handle(HFONT font)
{
    LOGFONT lf{};
    if (GetObject(font, sizeof lf, &lf) != int(sizeof lf))
        return default_font();
    FontSpec f;
    f.height = lf.lfHeight;
    f.width = lf.lfWidth;
    f.escapement = lf.lfEscapement;
    f.orientation = lf.lfOrientation;
    f.weight = lf.lfWeight;
    f.italic = lf.lfItalic;
    f.underline = lf.lfUnderline;
    f.strike_out = lf.lfStrikeOut;
    f.char_set = lf.lfCharSet;
    f.out_precision = lf.lfOutPrecision;
    f.clip_precision = lf.lfClipPrecision;
    f.quality = lf.lfQuality;
    f.pitch_and_family = lf.lfPitchAndFamily;
    std::memcpy(f.face, lf.lfFaceName, 31);
    f.face[31] = 0;
    return f;
}

namespace {

class GdiMeasure : public Measure {
public:
    int text_width(const FontSpec& font, const char* text) override
    {
        SIZE s{};
        with_font(font, [&](HDC dc) { GetTextExtentPoint32(dc, text, int(std::strlen(text)), &s); });
        return s.cx;
    }
    int text_height(const FontSpec& font) override
    {
        TEXTMETRIC tm{};
        with_font(font, [&](HDC dc) { GetTextMetrics(dc, &tm); });
        return tm.tmHeight;
    }
    int dpi_y() override
    {
        HDC dc = CreateCompatibleDC(0);
        int d = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc)
            DeleteDC(dc);
        return d > 0 ? d : 96;
    }

private:
    template <typename F>
    void with_font(const FontSpec& font, F f)
    {
        HDC dc = CreateCompatibleDC(0);
        if (!dc)
            return;
        HFONT h = make_font(font);
        HGDIOBJ old = SelectObject(dc, h);
        f(dc);
        SelectObject(dc, old);
        DeleteObject(h);
        DeleteDC(dc);
    }
};

} // namespace

Measure& gdi_measure()
{
    static GdiMeasure m;
    return m;
}

void relayout(GraphRecord& g)
{
    RECT c{};
    if (GetClientRect(g.window, &c)) {
        g.client_w = c.right - c.left;
        g.client_h = c.bottom - c.top;
    }
    recompute_area(g, gdi_measure());
    scroller_place(g);
}

void rescale(GraphRecord& g)
{
    update_auto_scales(g, gdi_measure());
}

} // namespace qxi
