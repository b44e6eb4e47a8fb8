// The library's string table and the error model: codes, texts, boxes.
#include "core.h"
#include "plat/module.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace qxi {

namespace {

const plat::StringEntry strings[] = {
    {1, "QX Interface API"},
    {1000, "Success."},
    {1001, "General failure."},
    {1002, "User cancel."},
    {1003, "No connect defined for this set."},
    {1004, "Fail to retrieve data."},
    {1005, "Specified Set ID not defined."},
    {1006, "Connection failed."},
    {1007, "Fail to find adminstrator DLL."},
    {1008, "Invalid graph handle."},
    {1009, "Fail to open file."},
    {1010, "Unknown file format."},
    {1011, "Fail to read file."},
    {1012, "Fail to write file."},
    {1013, "Memory allocation failure."},
    {1014, "Mismatch X data types.\nMay cause to data losses."},
    {1015, "Mismatch Y data types.\nMay cause to data losses."},
    {1016, "Invalid parameter."},
    {1017, "Unable to load connectivity DLL."},
    {1018, "Unable to find function in DLL."},
    {1019, "Reference ID already exist"},
    {1020, "Reference ID does not exist"},
    {1021, "Label ID already exist"},
    {1022, "Label ID does not exist"},
};

plat::HINSTANCE instance = 0;

// The bookmark glyph, bitmap 103: a flag in the top 9 rows of a 12 x 20
// picture; magenta is the key, so the bookmark's text shows under the flag.
const char* const glyph_rows[] = {
    "..XX........", "..XRRRRRR...", "..XRRRRRRR..", "..XRRRRRRRR.", "..XRRRRRRR..",
    "..XRRRRRR...", "..X.........", "..X.........", ".XXX........",
};

std::vector<unsigned char> glyph_bmp()
{
    constexpr int W = 12, H = 20, STRIDE = W * 3, BITS = STRIDE * H;
    std::vector<unsigned char> b;
    auto u16 = [&](unsigned v) { b.push_back((unsigned char)(v)); b.push_back((unsigned char)(v >> 8)); };
    auto u32 = [&](unsigned v) { u16(v & 0xFFFF); u16(v >> 16); };
    b.push_back('B');
    b.push_back('M');
    u32(14 + 40 + BITS);
    u32(0);
    u32(14 + 40);
    u32(40);
    u32(W);
    u32(H);
    u16(1);
    u16(24);
    u32(0);
    u32(BITS);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int row = H - 1; row >= 0; --row)
        for (int x = 0; x < W; ++x) {
            char k = row < 9 ? glyph_rows[row][x] : '.';
            // Blue, green, red.
            unsigned char bgr[3] = {0xFF, 0x00, 0xFF};
            if (k == 'X')
                bgr[0] = bgr[1] = bgr[2] = 0;
            else if (k == 'R')
                bgr[0] = 0, bgr[1] = 0, bgr[2] = 0xFF;
            b.insert(b.end(), bgr, bgr + 3);
        }
    return b;
}

const char* module_file(int module)
{
    switch (module) {
    case 0:
    case 1: return "QXI32.DLL";
    case 2: return "QXDATA32.DLL";
    case 101: return "QXDVEC32.DLL";
    case 102: return "QXDBIN32.DLL";
    case 103: return "QXDAXM32.DLL";
    default: return nullptr;
    }
}

void copy_text(char* dest, size_t size, const std::string& text)
{
    std::snprintf(dest, size, "%s", text.c_str());
}

} // namespace

void register_library_module()
{
    if (instance)
        return;
    Dl_info info{};
    const char* path = nullptr;
    if (dladdr(reinterpret_cast<void*>(&register_library_module), &info) && info.dli_fname)
        path = info.dli_fname;
    instance = plat::RegisterModule("QXI32.DLL", path);
    plat::RegisterStringTable(instance, strings, sizeof strings / sizeof strings[0]);
    static const std::vector<unsigned char> glyph = glyph_bmp();
    static const plat::ImageResource images[] = {
        {plat::ImageKind::Bitmap, GLYPH_BITMAP_ID, glyph.data(), glyph.size(), 0, 0}};
    plat::RegisterImageResources(instance, images);
}

plat::HINSTANCE library_instance()
{
    register_library_module();
    return instance;
}

int32_t report_error(GraphRecord& g, int32_t code)
{
    register_library_module();
    int module = int16_t(uint32_t(code) & 0xFFFF);
    int index = int(uint32_t(code) >> 16);
    const char* file = module_file(module);
    plat::HMODULE mod = file ? (module <= 1 ? instance : plat::GetModuleHandle(file)) : 0;
    std::string caption;
    if (mod) {
        char word[81] = {};
        if (plat::LoadString(mod, 1, word, sizeof word) <= 0)
            std::strcpy(word, "QX Error");
        caption = std::string(word) + " Error ";
        char text[201] = {};
        if (plat::LoadString(mod, plat::UINT(1000 + index), text, sizeof text) <= 0)
            std::strcpy(text, "No description for this error!");
        copy_text(g.last_error_text, sizeof g.last_error_text, "Error " + std::to_string(index) + ": " + text);
    } else {
        caption = "QX Error";
        copy_text(g.last_error_text, sizeof g.last_error_text, "Unknown error");
    }
    // The code is stored whether or not its module is loaded.
    g.last_error = code;
    if (g.run_mode == 1)
        plat::MessageBox(g.window, g.last_error_text, caption.c_str(), plat::MB_ICONINFORMATION);
    return code;
}

} // namespace qxi
