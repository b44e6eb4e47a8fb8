// Boxes, beeps and the program's end go through the layer's UI host, so the
// scripted host of the tests sees them and a headless run prints them.
#include "host_p.h"
#include <cstdlib>
#ifndef FOUNDATION_STANDALONE_HOST
#include "plat/crt.h"
#include "plat/path.h"
#include "plat/uihost.h"
#endif

namespace fhost {

#ifndef FOUNDATION_STANDALONE_HOST

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

int rand15() { return plat::crt_rand(); }

std::string resolve(const char* name)
{
    std::string out;
    if (name == nullptr || !plat::ResolvePath(name, out))
        return {};
    return out;
}

#else

std::vector<RecordedBox>& recorded_boxes()
{
    static std::vector<RecordedBox> boxes;
    return boxes;
}

int& recorded_beeps()
{
    static int beeps = 0;
    return beeps;
}

int message_box(plat::HWND, const char* text, const char* caption, plat::UINT)
{
    recorded_boxes().push_back({caption != nullptr ? caption : "Error", text != nullptr ? text : ""});
    std::fprintf(stderr, "[%s] %s\n", caption != nullptr ? caption : "Error", text != nullptr ? text : "");
    return 1;
}

void fatal_exit(const char* text, const char* caption, int code, bool now)
{
    message_box(0, text, caption, BOX_ICONSTOP);
    std::fflush(nullptr);
    if (now)
        std::_Exit(code);
    std::exit(code);
}

void beep() { ++recorded_beeps(); }

static uint32_t g_state = 1;
int rand15()
{
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}

std::string resolve(const char* name)
{
    std::string out = name != nullptr ? name : "";
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

#endif

void local_now(std::tm& out)
{
#ifndef FOUNDATION_STANDALONE_HOST
    if (!plat::crt_localtime(plat::crt_time(), &out))
        out = std::tm{};
#else
    const std::time_t t = std::time(nullptr);
    localtime_r(&t, &out);
#endif
}

std::FILE* open_file(const char* name, const char* mode)
{
    const std::string path = resolve(name);
    if (path.empty())
        return nullptr;
    return std::fopen(path.c_str(), mode);
}

} // namespace fhost
