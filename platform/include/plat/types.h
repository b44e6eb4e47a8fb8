// Base types of the layer: Win32-shaped names with fixed widths for 64-bit Linux.
#pragma once
#include <cstddef>
#include <cstdint>

namespace plat {

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using INT = int32_t;
using BOOL = int32_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using CHAR = char;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using ATOM = uint16_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// Every handle is a 32-bit table id; 0 is "none".
using HANDLE = uint32_t;
using HWND = uint32_t;
using HDC = uint32_t;
using HGDIOBJ = uint32_t;
using HPEN = uint32_t;
using HBRUSH = uint32_t;
using HFONT = uint32_t;
using HBITMAP = uint32_t;
using HRGN = uint32_t;
using HPALETTE = uint32_t;
using HMENU = uint32_t;
using HACCEL = uint32_t;
using HCURSOR = uint32_t;
using HICON = uint32_t;
using HGLOBAL = uint32_t;
using HINSTANCE = uint32_t;
using HMODULE = uint32_t;
using HTREEITEM = uint32_t;
using HIMAGELIST = uint32_t;

// 0x00BBGGRR
using COLORREF = uint32_t;
constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

struct POINT { LONG x = 0, y = 0; };
struct SIZE { LONG cx = 0, cy = 0; };
// Half-open: right and bottom are outside.
struct RECT { LONG left = 0, top = 0, right = 0, bottom = 0; };

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(uintptr_t v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(uintptr_t v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr WPARAM MAKEWPARAM(int lo, int hi)
{
    return static_cast<WPARAM>((static_cast<uint32_t>(lo) & 0xFFFF) | ((static_cast<uint32_t>(hi) & 0xFFFF) << 16));
}
constexpr LPARAM MAKELPARAM(int lo, int hi)
{
    return static_cast<LPARAM>(static_cast<int32_t>((static_cast<uint32_t>(lo) & 0xFFFF) | ((static_cast<uint32_t>(hi) & 0xFFFF) << 16)));
}
constexpr LONG MAKELONG(int lo, int hi) { return static_cast<LONG>(MAKELPARAM(lo, hi)); }
// Signed client coordinates packed in an lParam.
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<int16_t>(lp & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<int16_t>((lp >> 16) & 0xFFFF); }

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = intptr_t (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, uintptr_t, DWORD);

} // namespace plat
