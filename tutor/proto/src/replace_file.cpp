#include "replace_file.h"
#include "plat/path.h"
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace tutorproto {

bool replace_file(const std::string& path, const void* data, size_t size)
{
    std::string target;
    if (!plat::ResolvePath(path.c_str(), target))
        return false;
    // A temp name of its own: two programs (or two test processes) writing
    // the same file at once each rename a whole file of their own.
    std::string temp = target + ".tmpXXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
        ::close(fd);
        std::remove(temp.c_str());
        return false;
    }
    bool ok = std::fwrite(data, 1, size, f) == size;
    ok = std::fflush(f) == 0 && ok;
    ok = ::fsync(::fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    // mkstemp makes the file private; the file keeps the usual mode.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ok = ok && ::chmod(temp.c_str(), 0666 & ~mask) == 0;
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0)
        ok = false;
    if (!ok)
        std::remove(temp.c_str());
    return ok;
}

} // namespace tutorproto
