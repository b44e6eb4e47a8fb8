// Device-independent bitmaps: the stored headers, checked parsing of .BMP
// images, and the calls that move pixels between DIBs and DCs.
#pragma once
#include "plat/types.h"
#include <cstddef>

namespace plat {

inline constexpr DWORD BI_RGB = 0;
inline constexpr DWORD BI_RLE8 = 1;
inline constexpr DWORD BI_RLE4 = 2;
inline constexpr UINT DIB_RGB_COLORS = 0;
inline constexpr UINT DIB_PAL_COLORS = 1;
inline constexpr DWORD CBM_INIT = 0x04;
inline constexpr WORD BMP_SIGNATURE = 0x4D42; // "BM"

#pragma pack(push, 1)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight; // negative: top-down rows
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
struct BITMAPCOREHEADER {
    DWORD bcSize;
    WORD bcWidth;
    WORD bcHeight;
    WORD bcPlanes;
    WORD bcBitCount;
};
struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
struct RGBTRIPLE {
    BYTE rgbtBlue;
    BYTE rgbtGreen;
    BYTE rgbtRed;
};
// A header followed by its colour table (as many entries as it has).
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(BITMAPCOREHEADER) == 12);
static_assert(sizeof(RGBQUAD) == 4);

// Field-by-field little-endian codecs of the stored headers. Readers return
// false when fewer bytes than the header's size are given.
bool ReadBitmapFileHeader(const BYTE* p, size_t n, BITMAPFILEHEADER* out);
void WriteBitmapFileHeader(const BITMAPFILEHEADER& h, BYTE out[14]);
bool ReadBitmapInfoHeader(const BYTE* p, size_t n, BITMAPINFOHEADER* out);
void WriteBitmapInfoHeader(const BITMAPINFOHEADER& h, BYTE out[40]);

// Bytes per stored row: width x bits rounded up to 4 bytes.
constexpr DWORD DibRowBytes(LONG width, WORD bitCount)
{
    return static_cast<DWORD>(((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4);
}

// What a checked DIB holds. Offsets count from the start of the given bytes.
struct DibLayout {
    int width = 0;
    int height = 0;        // always positive
    bool topDown = false;
    int bitCount = 0;      // 1, 4, 8 or 24
    bool core = false;     // 12-byte header, 3-byte colour entries
    size_t headerSize = 0;
    int colors = 0;        // colour table entries
    size_t colorOffset = 0;
    size_t bitsOffset = 0;
    size_t rowBytes = 0;
};

// A DIB (header, colour table, rows) in n bytes: sizes, depth, compression
// (BI_RGB only), colour count and the rows' extent all checked against n.
bool ParseDib(const void* data, size_t n, DibLayout* out);
// A whole .BMP image (file header first); the bits offset is checked too.
bool ParseBmpFile(const void* data, size_t n, DibLayout* out);
// The RGB of pixel (x, y) (y counted from the top) of a parsed DIB.
COLORREF DibPixel(const void* data, const DibLayout& layout, int x, int y);

// Win32 calls. The BITMAPINFO is followed by its colour table; bits point to
// rows of the header's format. Only BI_RGB at 1, 4, 8, 24 (and 32 for
// GetDIBits) bits is accepted; 0 or FALSE otherwise.
HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
// Fills info's header (when bits is NULL and biBitCount 0: only the sizes)
// and, given bits, copies rows start..start+lines of the bitmap (counted
// from the bottom for bottom-up). Returns the lines copied.
int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info,
              UINT usage);
int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc,
                      int ySrc, UINT startScan, UINT scanLines, const void* bits,
                      const BITMAPINFO* info, UINT usage);
int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info,
                  UINT usage, DWORD rop);

} // namespace plat
