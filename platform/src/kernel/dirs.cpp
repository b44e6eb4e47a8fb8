// The folders the layer keeps things in.
#include "plat/config.h"
#include <cerrno>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace plat {

namespace {

std::string without_trailing_slash(std::string s)
{
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

void make_dirs(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
                return;
        }
    }
}

} // namespace

std::string ProfileDir()
{
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    const std::string dir = without_trailing_slash(base) + "/vorn";
    make_dirs(dir);
    return dir;
}

std::string ExecutableDir()
{
    std::vector<char> buf(4096);
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return ".";
    std::string exe(buf.data(), static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : exe.substr(0, slash);
}

std::string ProgramDataDir()
{
    const char* env = std::getenv("VORN_DATA_DIR");
    if (env && *env)
        return without_trailing_slash(env);
    return ExecutableDir();
}

} // namespace plat
