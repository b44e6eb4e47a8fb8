// Shared toolkit state: resource module, dialog font, display depth, log.
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "plat/fw/app.h"
#include "plat/gdi.h"
#include "plat/res.h"
#include <cstdarg>
#include <cstdio>

using namespace plat;

namespace {
HINSTANCE g_module = 0;
int g_bits_override = 0;
int g_refusals = 0;
} // namespace

void uikit_register_resources(HINSTANCE module)
{
    RegisterImageResources(module, uikit_images());
    g_module = module;
}

HINSTANCE uikit_resource_module()
{
    return g_module != 0 ? g_module : AfxGetResourceHandle();
}

const char* uikit_dialog_face()
{
    return lang_font("Ms Sans Serif");
}

HFONT uikit_make_dialog_font()
{
    return make_font(uikit_dialog_face(), 8, false, false, false, false, false);
}

int uikit_display_bits()
{
    if (g_bits_override != 0)
        return g_bits_override;
    const HDC screen = GetDC(0);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(0, screen);
    return bits;
}

void uikit_set_display_bits_for_test(int bits)
{
    g_bits_override = bits;
}

void uikit_debug_log(const char* format, ...)
{
    ++g_refusals;
#ifndef NDEBUG
    std::va_list args;
    va_start(args, format);
    std::fputs("uikit: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
#else
    (void)format;
#endif
}

int uikit_refusal_count()
{
    return g_refusals;
}
