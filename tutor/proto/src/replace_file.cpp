#include "replace_file.h"
#include "plat/path.h"
#include <cstdio>
#include <unistd.h>

namespace tutorproto {

bool replace_file(const std::string& path, const void* data, size_t size)
{
    std::string target;
    if (!plat::ResolvePath(path.c_str(), target))
        return false;
    const std::string temp = target + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr)
        return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    ok = std::fflush(f) == 0 && ok;
    ok = ::fsync(::fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0)
        ok = false;
    if (!ok)
        std::remove(temp.c_str());
    return ok;
}

} // namespace tutorproto
