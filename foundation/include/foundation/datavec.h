// Typed data vectors and device-independent bitmaps in global-memory blocks.
#pragma once
#include "plat/dib.h"
#include "plat/gdi.h"
#include "plat/types.h"
#include <cstdint>
#include <cstdio>

inline constexpr int32_t DV_LONG = 0;
inline constexpr int32_t DV_FLOAT = 1;
inline constexpr int32_t DV_DOUBLE = 2;

// The header block of a vector (its handle is the vector's handle).
struct DataVector {
    int32_t type;
    plat::HGLOBAL data;
    int32_t count;
    int32_t* long_data;    // valid while locked and the type is DV_LONG
    float* float_data;     // ... DV_FLOAT
    double* double_data;   // ... DV_DOUBLE
};

// 0 for another type, a count below 1 or more than INT32_MAX bytes.
plat::HGLOBAL data_vector_create(int32_t type, int32_t count, int zero_fill);
void data_vector_free(plat::HGLOBAL vector);
DataVector* data_vector_lock(plat::HGLOBAL vector);
void data_vector_unlock(plat::HGLOBAL vector);
// 1 done (growth zero-filled), 0 failed.
int data_vector_resize(plat::HGLOBAL vector, int32_t new_count);
// Converts every element by value: to long toward zero, clamped, NaN 0.
int data_vector_convert(plat::HGLOBAL vector, int32_t new_type);
int32_t data_vector_bytes(int32_t type, int32_t count);
int32_t data_vector_count(plat::HGLOBAL vector);
int32_t data_vector_type(plat::HGLOBAL vector);

// A DIB block: 40-byte header, colour table, rows padded to 4 bytes.
inline constexpr int DIB_MAX_SIDE = 16384;
plat::HGLOBAL dib_create(int width, int height, int bits_per_pixel);
// On a locked DIB (or a core-header DIB for sizes and colours):
plat::BYTE* dib_bits(void* dib);
int dib_width(const void* dib);
int dib_height(const void* dib);
int dib_bit_count(const void* dib);
int dib_palette_size(const void* dib);
int dib_num_colors(const void* dib);
plat::HBITMAP dib_to_bitmap(plat::HGLOBAL dib, plat::HPALETTE palette);
plat::HGLOBAL bitmap_to_dib(plat::HBITMAP bitmap, plat::HPALETTE palette);
plat::HGLOBAL dib_from_bitmap(plat::HBITMAP bitmap, int bits_per_pixel, plat::DWORD compression);
// Copy in another format (0 keeps the depth); rows uncompressed only.
plat::HGLOBAL dib_change_format(plat::HGLOBAL dib, int bits_per_pixel, plat::DWORD compression);
int device_palette_size(plat::HDC dc);
plat::HPALETTE system_palette();
plat::HGLOBAL dib_load_file(const char* path);
// Every header field is checked against the file before anything is read:
// "BM", a 40-byte header, 1/4/8/24 bits, 0 < width, height <= 16384, colours
// within the depth, compression fitting the depth, offset and rows inside
// the file. Anything else gives 0.
plat::HGLOBAL dib_read_file(std::FILE* file);
bool dib_save_file(plat::HGLOBAL dib, const char* path);
void dib_free(plat::HGLOBAL dib);
// Chunks of at most 32767 bytes; false on a short read or write.
bool read_big(std::FILE* file, void* buffer, uint32_t n);
bool write_big(std::FILE* file, const void* buffer, uint32_t n);
plat::HGLOBAL capture_window_dib(plat::HWND window, bool whole);
plat::HBITMAP capture_window_bitmap(plat::HWND window, bool whole);
plat::HGLOBAL capture_rect_dib(const plat::RECT& rect);
plat::HBITMAP capture_rect_bitmap(const plat::RECT& rect);
void dib_paint(plat::HDC dc, const plat::RECT& dest, plat::HGLOBAL dib, const plat::RECT& source,
               plat::HPALETTE palette);

// A picture loaded from a .BMP file, and a strip of equal cells of one.
struct BitmapImage {
    plat::HGLOBAL dib = 0;
    plat::HBITMAP bitmap = 0;
};
bool image_load(BitmapImage& image, const char* path);
void image_draw(const BitmapImage& image, plat::HDC dc, int x, int y);
plat::SIZE image_size(const BitmapImage& image);
void image_free(BitmapImage& image);

struct ImageStrip {
    BitmapImage image;
    int cell_width = 0;
    int cell_height = 0;
};
bool strip_load(ImageStrip& strip, const char* path, int cell_width, int cell_height);
void strip_draw_cell(const ImageStrip& strip, plat::HDC dc, int index, int x, int y);
