// Memory-DC canvases for drawing tests, read back as character grids, and a
// small PNG writer for images a person checks by eye.
#pragma once
#include "plat/config.h"
#include "plat/gdi.h"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace gditest {

using namespace plat;

inline constexpr COLORREF WHITE = RGB(255, 255, 255);
inline constexpr COLORREF BLACK = RGB(0, 0, 0);
inline constexpr COLORREF RED = RGB(255, 0, 0);
inline constexpr COLORREF GREEN = RGB(0, 255, 0);
inline constexpr COLORREF BLUE = RGB(0, 0, 255);
inline constexpr COLORREF YELLOW = RGB(255, 255, 0);

// '.' white, '#' black, 'r' red, 'g' green, 'b' blue, 'y' yellow, '?' other.
inline char CharOf(COLORREF c)
{
    static const std::map<COLORREF, char> legend = {
        {WHITE, '.'}, {BLACK, '#'}, {RED, 'r'}, {GREEN, 'g'}, {BLUE, 'b'}, {YELLOW, 'y'}};
    auto it = legend.find(c);
    return it == legend.end() ? '?' : it->second;
}

// A memory DC holding a colour bitmap of w x h, cleared to white.
class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h)
    {
        InitGui();
        dc = CreateCompatibleDC(0);
        // Compatible with a DC that holds no bitmap yet would be monochrome;
        // a 32-bit bitmap is what every window surface is.
        bmp = CreateBitmap(w, h, 1, 32, nullptr);
        old_ = SelectObject(dc, bmp);
        Clear(WHITE);
    }
    ~Canvas()
    {
        SelectObject(dc, old_);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void Clear(COLORREF c)
    {
        const int saved = Plain();
        HBRUSH b = CreateSolidBrush(c);
        RECT r{0, 0, w_, h_};
        FillRect(dc, &r, b);
        DeleteObject(b);
        RestoreDC(dc, saved);
    }

    std::vector<std::string> Grid() const { return Grid(0, 0, w_, h_); }
    std::vector<std::string> Grid(int x, int y, int w, int h) const
    {
        const auto px = Pixels();
        std::vector<std::string> rows;
        for (int yy = y; yy < y + h; ++yy) {
            std::string row;
            for (int xx = x; xx < x + w; ++xx)
                row.push_back(CharOf(px[static_cast<size_t>(yy * w_ + xx)]));
            rows.push_back(row);
        }
        return rows;
    }

    // Every pixel, row by row, read with a plain DC state so the caller's
    // mapping or clip cannot change what is read.
    std::vector<COLORREF> Pixels() const
    {
        const int saved = Plain();
        std::vector<COLORREF> px;
        for (int yy = 0; yy < h_; ++yy)
            for (int xx = 0; xx < w_; ++xx)
                px.push_back(GetPixel(dc, xx, yy));
        RestoreDC(dc, saved);
        return px;
    }

    // Bounding box of pixels that differ from `bg`, half-open; empty if none.
    RECT Ink(COLORREF bg = WHITE) const
    {
        const auto px = Pixels();
        RECT r{w_, h_, 0, 0};
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (px[static_cast<size_t>(y * w_ + x)] != bg) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        if (r.left >= r.right)
            r = RECT{};
        return r;
    }

    int Count(COLORREF c) const
    {
        const auto px = Pixels();
        return static_cast<int>(std::count(px.begin(), px.end(), c));
    }

    bool SavePng(const std::string& path) const;

    int width() const { return w_; }
    int height() const { return h_; }

    HDC dc = 0;
    HBITMAP bmp = 0;

private:
    // Saves the DC and leaves it without clip or mapping; returns the level.
    int Plain() const
    {
        const int saved = SaveDC(dc);
        SelectClipRgn(dc, 0);
        SetMapMode(dc, MM_TEXT);
        SetWindowOrgEx(dc, 0, 0, nullptr);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        return saved;
    }

    int w_, h_;
    HGDIOBJ old_ = 0;
};

inline std::string Joined(const std::vector<std::string>& rows)
{
    std::string s;
    for (const auto& r : rows)
        s += r + "\n";
    return s;
}

#define EXPECT_GRID(canvas, ...)                                                                  \
    EXPECT_EQ(::gditest::Joined((canvas)), ::gditest::Joined(std::vector<std::string> __VA_ARGS__))

// ---- PNG (stored deflate blocks: big but simple) ----------------------------

inline uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline bool Canvas::SavePng(const std::string& path) const
{
    const auto all = Pixels();
    std::vector<uint8_t> raw;
    for (int y = 0; y < h_; ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < w_; ++x) {
            const COLORREF c = all[static_cast<size_t>(y * w_ + x)];
            raw.push_back(GetRValue(c));
            raw.push_back(GetGValue(c));
            raw.push_back(GetBValue(c));
        }
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t off = 0; off < raw.size() || off == 0;) {
        const size_t n = std::min<size_t>(65535, raw.size() - off);
        const bool last = off + n >= raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n & 0xFF));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n & 0xFF));
        z.push_back(static_cast<uint8_t>((~n >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + static_cast<long>(off), raw.begin() + static_cast<long>(off + n));
        off += n;
        if (last)
            break;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    const uint32_t adler = (b << 16) | a;
    for (int i = 3; i >= 0; --i)
        z.push_back(static_cast<uint8_t>(adler >> (8 * i)));

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    auto be32 = [](std::vector<uint8_t>& v, uint32_t x) {
        for (int i = 3; i >= 0; --i)
            v.push_back(static_cast<uint8_t>(x >> (8 * i)));
    };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        be32(out, static_cast<uint32_t>(data.size()));
        std::vector<uint8_t> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        out.insert(out.end(), body.begin(), body.end());
        be32(out, Crc32(body.data(), body.size()));
    };
    std::vector<uint8_t> ihdr;
    be32(ihdr, static_cast<uint32_t>(w_));
    be32(ihdr, static_cast<uint32_t>(h_));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    chunk("IHDR", ihdr);
    chunk("IDAT", z);
    chunk("IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace gditest
