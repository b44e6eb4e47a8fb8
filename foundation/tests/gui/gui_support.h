// A headless window to draw into, for the foundation's drawing tests.
#pragma once
#include "plat/types.h"
#include <string>

// A visible top-level window of the given client size, white, destroyed
// with the object.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    plat::HWND hwnd() const { return hwnd_; }
    plat::COLORREF pixel(int x, int y) const;
    // A row of the surface as characters: '#' for the colour, '.' otherwise.
    std::string row(int y, int x0, int x1, plat::COLORREF color) const;
    void save_png(const std::string& name) const;

private:
    plat::HWND hwnd_ = 0;
};
