// The plant's screen services in a session. While the window paints, the
// plant draws into its device context; between paints (the hooks' redraws)
// what it would draw only marks the machine boxes for the next paint, so a
// running plant repaints through the window. Headless there is no painter.
#pragma once
#include "app/view.h"
#include "production/production_dept.h"
#include "shopfloor/host.h"
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

class ProductionDepartment::SessionUi : public ProductionUi {
public:
    SessionUi(ProductionDepartment& dept, CVornView& view) : dept_(dept), view_(view), marks_(dept) {}
    bool shown() const override { return dept_.visible() != 0; }
    Painter* painter() override
    {
        if (painting != nullptr)
            return painting;
        return dept_.window_handle() != 0 ? &marks_ : nullptr;
    }
    void redraw_machine(int m) override { dept_.invalidate_machine(m); }
    int schedule_end(int machine) override;
    void message(std::string_view text, std::string_view caption, int icon) override;
    [[noreturn]] void fatal(std::string_view text) override;
    float scale_x() const override { return view_.scale_x; }
    float scale_y() const override { return view_.scale_y; }
    void notice(std::string_view text) override { dept_.draw_notice(text); }
    void show_link_buttons(int show, int kind) override { view_.ShowDepartmentLinkButtons(show, kind); }

    // The window's painter while a paint is on.
    Painter* painting = nullptr;

private:
    // Marks for repainting the box that holds what would be drawn.
    class Marks : public Painter {
    public:
        explicit Marks(ProductionDepartment& dept) : dept_(dept) {}
        void rect(int x, int y, int w, int h, int32_t, bool) override { dept_.invalidate_area(x, y, w, h); }
        void line(int x1, int y1, int x2, int y2) override
        {
            dept_.invalidate_area(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1);
        }
        void text(int x, int y, std::string_view s, uint32_t) override
        {
            dept_.invalidate_area(x, y, text_width(s), 16);
        }
        // Wide enough for the program's 8-point fonts.
        int text_width(std::string_view s) override { return 8 * static_cast<int>(s.size()) + 2; }

    private:
        ProductionDepartment& dept_;
    };

    ProductionDepartment& dept_;
    CVornView& view_;
    Marks marks_;
};
