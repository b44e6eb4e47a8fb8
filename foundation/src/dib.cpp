// Device-independent bitmaps: blocks, .BMP files read and written field by
// field, conversions through the layer's DIB calls, captures and painting.
#include "foundation/datavec.h"
#include "host_p.h"
#include "plat/memory.h"
#include "plat/window.h"
#include <cstring>
#include <sys/stat.h>
#include <vector>

using namespace plat;

namespace {

constexpr uint32_t kInfoSize = 40;
constexpr uint32_t kCoreSize = 12;

uint16_t le16(const BYTE* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const BYTE* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
void put16(BYTE* p, uint32_t v)
{
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}
void put32(BYTE* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<BYTE>(v >> (8 * i));
}

// The header fields of a DIB block (info or core header).
struct Header {
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    int bits = 0;
    uint32_t compression = 0;
    uint32_t image_size = 0;
    uint32_t colors_used = 0;
};

Header header_of(const void* dib)
{
    const BYTE* p = static_cast<const BYTE*>(dib);
    Header h;
    h.size = le32(p);
    if (h.size == kCoreSize) {
        h.width = le16(p + 4);
        h.height = le16(p + 6);
        h.bits = le16(p + 10);
        return h;
    }
    h.width = static_cast<int32_t>(le32(p + 4));
    h.height = static_cast<int32_t>(le32(p + 8));
    h.bits = le16(p + 14);
    h.compression = le32(p + 16);
    h.image_size = le32(p + 20);
    h.colors_used = le32(p + 32);
    return h;
}

uint32_t row_bytes(int width, int bits) { return static_cast<uint32_t>(((int64_t{width} * bits + 31) / 32) * 4); }

int normalised_bits(int bits)
{
    if (bits < 2)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    if (bits <= 24)
        return 24;
    return 4;
}

int table_colors(int bits) { return bits <= 8 ? 1 << bits : 0; }

void write_info_header(BYTE* p, int width, int height, int bits, uint32_t compression, uint32_t image_size,
                       uint32_t colors)
{
    std::memset(p, 0, kInfoSize);
    put32(p, kInfoSize);
    put32(p + 4, static_cast<uint32_t>(width));
    put32(p + 8, static_cast<uint32_t>(height));
    put16(p + 12, 1);
    put16(p + 14, static_cast<uint32_t>(bits));
    put32(p + 16, compression);
    put32(p + 20, image_size);
    put32(p + 32, colors);
}

uint32_t block_size(const void* dib)
{
    const Header h = header_of(dib);
    const int abs_h = h.height < 0 ? -h.height : h.height;
    const uint32_t image = h.compression == BI_RGB ? row_bytes(h.width, h.bits) * static_cast<uint32_t>(abs_h)
                                                   : h.image_size;
    return h.size + static_cast<uint32_t>(dib_palette_size(dib)) + image;
}

} // namespace

HGLOBAL dib_create(int width, int height, int bits_per_pixel)
{
    if (width <= 0 || height <= 0 || width > DIB_MAX_SIDE || height > DIB_MAX_SIDE)
        return 0;
    const int bits = normalised_bits(bits_per_pixel);
    const int colors = table_colors(bits);
    const uint32_t image = row_bytes(width, bits) * static_cast<uint32_t>(height);
    const HGLOBAL block = GlobalAlloc(GHND, kInfoSize + static_cast<size_t>(colors) * 4 + image);
    BYTE* p = static_cast<BYTE*>(GlobalLock(block));
    if (p == nullptr) {
        if (block != 0)
            GlobalFree(block);
        return 0;
    }
    write_info_header(p, width, height, bits, BI_RGB, image, static_cast<uint32_t>(colors));
    GlobalUnlock(block);
    return block;
}

BYTE* dib_bits(void* dib)
{
    return static_cast<BYTE*>(dib) + header_of(dib).size + dib_palette_size(dib);
}

int dib_width(const void* dib) { return header_of(dib).width; }

int dib_height(const void* dib)
{
    const int h = header_of(dib).height;
    return h < 0 ? -h : h;
}

int dib_bit_count(const void* dib) { return header_of(dib).bits; }

int dib_num_colors(const void* dib)
{
    const Header h = header_of(dib);
    if (h.size != kCoreSize && h.colors_used != 0)
        return static_cast<int>(h.colors_used);
    switch (h.bits) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

int dib_palette_size(const void* dib)
{
    return dib_num_colors(dib) * (header_of(dib).size == kCoreSize ? 3 : 4);
}

bool read_big(std::FILE* file, void* buffer, uint32_t n)
{
    BYTE* p = static_cast<BYTE*>(buffer);
    while (n > 0) {
        const uint32_t chunk = n > 32767 ? 32767 : n;
        if (std::fread(p, 1, chunk, file) != chunk)
            return false;
        p += chunk;
        n -= chunk;
    }
    return true;
}

bool write_big(std::FILE* file, const void* buffer, uint32_t n)
{
    const BYTE* p = static_cast<const BYTE*>(buffer);
    while (n > 0) {
        const uint32_t chunk = n > 32767 ? 32767 : n;
        if (std::fwrite(p, 1, chunk, file) != chunk)
            return false;
        p += chunk;
        n -= chunk;
    }
    return true;
}

HGLOBAL dib_read_file(std::FILE* file)
{
    if (file == nullptr)
        return 0;
    struct stat st {};
    const long start = std::ftell(file);
    if (start < 0 || ::fstat(fileno(file), &st) != 0 || st.st_size < start)
        return 0;
    const int64_t file_size = st.st_size - start;
    BYTE fh[14];
    BYTE ih[kInfoSize];
    if (!read_big(file, fh, sizeof fh) || fh[0] != 'B' || fh[1] != 'M')
        return 0;
    const uint32_t offset = le32(fh + 10);
    if (!read_big(file, ih, 4) || le32(ih) != kInfoSize || !read_big(file, ih + 4, kInfoSize - 4))
        return 0;
    const int32_t width = static_cast<int32_t>(le32(ih + 4));
    const int32_t raw_height = static_cast<int32_t>(le32(ih + 8));
    const int bits = le16(ih + 14);
    const uint32_t compression = le32(ih + 16);
    uint32_t image_size = le32(ih + 20);
    uint32_t colors = le32(ih + 32);
    const int64_t height = raw_height < 0 ? -int64_t{raw_height} : raw_height;
    if (width <= 0 || height <= 0 || width > DIB_MAX_SIDE || height > DIB_MAX_SIDE)
        return 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return 0;
    const bool fits = compression == BI_RGB || (compression == BI_RLE8 && bits == 8 && raw_height > 0) ||
                      (compression == BI_RLE4 && bits == 4 && raw_height > 0);
    if (!fits)
        return 0;
    const uint32_t max_colors = static_cast<uint32_t>(table_colors(bits));
    if (colors > max_colors || (bits == 24 && colors != 0))
        return 0;
    if (colors == 0)
        colors = max_colors;
    const int64_t rows = int64_t{row_bytes(width, bits)} * height;
    if (compression == BI_RGB)
        image_size = static_cast<uint32_t>(rows);
    else if (image_size == 0 || image_size > rows)
        return 0;
    const int64_t table = int64_t{colors} * 4;
    const int64_t bits_at = offset != 0 ? offset : 14 + int64_t{kInfoSize} + table;
    if (bits_at < 14 + int64_t{kInfoSize} + table || bits_at + image_size > file_size)
        return 0;

    const HGLOBAL dib = GlobalAlloc(GHND, kInfoSize + static_cast<size_t>(table) + image_size);
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    if (p == nullptr) {
        if (dib != 0)
            GlobalFree(dib);
        return 0;
    }
    write_info_header(p, width, raw_height, bits, compression, image_size, colors);
    std::memcpy(p + 24, ih + 24, 8);  // resolution, kept as the file gave it
    std::memcpy(p + 36, ih + 36, 4);  // important colours
    bool ok = read_big(file, p + kInfoSize, static_cast<uint32_t>(table));
    ok = ok && std::fseek(file, start + static_cast<long>(bits_at), SEEK_SET) == 0;
    ok = ok && read_big(file, p + kInfoSize + table, image_size);
    GlobalUnlock(dib);
    if (!ok) {
        GlobalFree(dib);
        return 0;
    }
    return dib;
}

HGLOBAL dib_load_file(const char* path)
{
    std::FILE* f = fhost::open_file(path, "rb");
    if (f == nullptr)
        return 0;
    const HCURSOR old = SetCursor(LoadCursor(0, IDC_WAIT));
    const HGLOBAL dib = dib_read_file(f);
    SetCursor(old);
    std::fclose(f);
    return dib;
}

bool dib_save_file(HGLOBAL dib, const char* path)
{
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    if (p == nullptr)
        return false;
    const std::string target = fhost::resolve(path);
    const uint32_t size = block_size(p);
    const uint32_t offset = 14 + header_of(p).size + static_cast<uint32_t>(dib_palette_size(p));
    bool ok = !target.empty() && size <= GlobalSize(dib) && header_of(p).size == kInfoSize;
    const std::string temp = target + ".tmp";
    std::FILE* f = ok ? std::fopen(temp.c_str(), "wb") : nullptr;
    if (f != nullptr) {
        BYTE fh[14] = {'B', 'M'};
        put32(fh + 2, 14 + size);
        put32(fh + 10, offset);
        ok = write_big(f, fh, sizeof fh) && write_big(f, p, size);
        if (std::fclose(f) != 0)
            ok = false;
        if (ok && std::rename(temp.c_str(), target.c_str()) != 0)
            ok = false;
        if (!ok)
            std::remove(temp.c_str());
    } else {
        ok = false;
    }
    GlobalUnlock(dib);
    return ok;
}

void dib_free(HGLOBAL dib)
{
    if (dib != 0)
        GlobalFree(dib);
}

