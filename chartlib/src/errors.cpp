// The library's string table and the error model: codes, texts, boxes.
#include "core.h"
#include "plat/module.h"
#include "plat/uihost.h"
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>

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
