// Boxes, beeps and the program's end go through the layer's UI host, so the
// scripted host of the tests sees them and a headless run prints them.
#include "host_p.h"
#include "plat/crt.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <cstdlib>

namespace fhost {

int message_box(plat::HWND owner, const char* text, const char* caption, plat::UINT type)
{
    return plat::MessageBox(owner, text, caption, type);
}

void fatal_exit(const char* text, const char* caption, int code, bool now)
{
    std::fflush(nullptr);
    plat::GetUiHost()->Exit(code, now ? plat::ExitKind::Fatal : plat::ExitKind::Normal, text, caption);
    // A host must not come back; end anyway.
    std::_Exit(code);
}

void beep() { plat::MessageBeep(0); }

std::string resolve(const char* name)
{
    std::string out;
    if (name == nullptr || !plat::ResolvePath(name, out))
        return {};
    return out;
}


void local_now(std::tm& out)
{
    if (!plat::crt_localtime(plat::crt_time(), &out))
        out = std::tm{};
}

std::FILE* open_file(const char* name, const char* mode)
{
    const std::string path = resolve(name);
    if (path.empty())
        return nullptr;
    return std::fopen(path.c_str(), mode);
}

} // namespace fhost
