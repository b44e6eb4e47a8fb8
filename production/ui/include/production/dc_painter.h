// The plant's drawing primitives on a device context, and the same scaled
// from the design grid to a window.
#pragma once
#include "plat/types.h"
#include "shopfloor/host.h"

class DcPainter : public Painter {
public:
    explicit DcPainter(plat::HDC dc);
    ~DcPainter() override;
    DcPainter(const DcPainter&) = delete;
    DcPainter& operator=(const DcPainter&) = delete;

    void rect(int x, int y, int w, int h, int32_t fill, bool frame) override;
    void line(int x1, int y1, int x2, int y2) override;
    void text(int x, int y, std::string_view s, uint32_t colour) override;
    int text_width(std::string_view s) override;

private:
    plat::HDC dc_;
    plat::HGDIOBJ old_font_ = 0;
};

// Positions and sizes scaled; texts keep their font, their widths read back
// in design units.
class ScaledPainter : public Painter {
public:
    ScaledPainter(Painter& to, float scale_x, float scale_y, int dx = 0, int dy = 0)
        : to_(to), sx_(scale_x), sy_(scale_y), dx_(dx), dy_(dy)
    {
    }
    void rect(int x, int y, int w, int h, int32_t fill, bool frame) override;
    void line(int x1, int y1, int x2, int y2) override;
    void text(int x, int y, std::string_view s, uint32_t colour) override;
    int text_width(std::string_view s) override;

private:
    Painter& to_;
    float sx_, sy_;
    int dx_, dy_;
    int X(int x) const { return dx_ + static_cast<int>(static_cast<float>(x) * sx_); }
    int Y(int y) const { return dy_ + static_cast<int>(static_cast<float>(y) * sy_); }
};
