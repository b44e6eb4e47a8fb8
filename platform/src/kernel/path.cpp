// Names as the programs write them, mapped onto this file system; the file
// operations that take such names.
#include "plat/path.h"
#include "plat/text.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace plat {

namespace {

bool equal_ignoring_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of dir equal to name ignoring case; the byte-wise smallest when
// several are (the file system's order is no order).
bool find_ignoring_case(const std::string& dir, std::string_view name, std::string& found)
{
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return false;
    bool any = false;
    while (const dirent* e = ::readdir(d)) {
        std::string_view entry(e->d_name);
        if (!equal_ignoring_case(entry, name))
            continue;
        if (!any || entry < std::string_view(found)) {
            found.assign(entry);
            any = true;
        }
    }
    ::closedir(d);
    return any;
}

} // namespace

bool ResolvePath(const char* name, std::string& out)
{
    out.clear();
    if (!name || !*name) {
        errno = ENOENT;
        return false;
    }
    if (((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')) && name[1] == ':') {
        errno = ENOENT;
        return false;
    }
    std::string utf8 = AnsiToUtf8(name);
    for (char& c : utf8)
        if (c == '\\')
            c = '/';

    std::vector<std::string_view> parts;
    std::string_view rest(utf8);
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        if (!part.empty())
            parts.push_back(part);
        if (slash == std::string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }

    std::string path = utf8[0] == '/' ? "/" : "";
    bool missing = false;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            path.push_back('/');
        const std::string_view part = parts[i];
        const size_t dirLen = path.size();
        path.append(part);
        if (missing || part == "." || part == ".." || exists(path))
            continue;
        std::string found;
        if (find_ignoring_case(path.substr(0, dirLen), part, found)) {
            path.resize(dirLen);
            path.append(found);
        } else {
            missing = true; // the rest keeps its names: a new file, or a failure to come
        }
    }
    if (path.empty())
        path = ".";
    out = std::move(path);
    return true;
}

std::string ResolvePath(const char* name)
{
    std::string out;
    ResolvePath(name, out);
    return out;
}

namespace {

bool copy_contents(int in, int out)
{
    char buf[65536];
    for (;;) {
        const ssize_t got = ::read(in, buf, sizeof buf);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buf + done, static_cast<size_t>(got - done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            done += put;
        }
    }
}

// Copies into a temporary beside the target, then renames over it, so a
// failed copy never leaves half a file under the target's name.
bool copy_file(const std::string& from, const std::string& to, bool failIfExists)
{
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        errno = EACCES;
        return false;
    }
    if (failIfExists && exists(to)) {
        ::close(in);
        errno = EEXIST;
        return false;
    }
    std::string tmp = to + ".XXXXXX";
    const int out = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = copy_contents(in, out);
    ok = ::fchmod(out, st.st_mode & 0777) == 0 && ok;
    // On the disk before it takes the target's name.
    ok = ok && ::fsync(out) == 0;
    const int saved = errno;
    ok = ::close(out) == 0 && ok;
    ::close(in);
    if (ok && failIfExists) {
        // link() refuses an existing target, unlike rename().
        ok = ::link(tmp.c_str(), to.c_str()) == 0;
        const int e = errno;
        ::unlink(tmp.c_str());
        errno = e;
        return ok;
    }
    if (ok && ::rename(tmp.c_str(), to.c_str()) == 0)
        return true;
    const int e = ok ? errno : saved;
    ::unlink(tmp.c_str());
    errno = e;
    return false;
}

} // namespace

BOOL CopyFile(const char* from, const char* to, BOOL failIfExists)
{
    std::string src, dst;
    if (!ResolvePath(from, src) || !ResolvePath(to, dst))
        return FALSE;
    return copy_file(src, dst, failIfExists != FALSE) ? TRUE : FALSE;
}

BOOL DeleteFile(const char* name)
{
    std::string path;
    if (!ResolvePath(name, path))
        return FALSE;
    return ::unlink(path.c_str()) == 0 ? TRUE : FALSE;
}

BOOL MoveFile(const char* from, const char* to)
{
    std::string src, dst;
    if (!ResolvePath(from, src) || !ResolvePath(to, dst))
        return FALSE;
    if (::rename(src.c_str(), dst.c_str()) == 0)
        return TRUE;
    if (errno != EXDEV)
        return FALSE;
    if (!copy_file(src, dst, false))
        return FALSE;
    return ::unlink(src.c_str()) == 0 ? TRUE : FALSE;
}

DWORD GetCurrentDirectory(DWORD size, char* buf)
{
    std::vector<char> cwd(4096);
    while (!::getcwd(cwd.data(), cwd.size())) {
        if (errno != ERANGE)
            return 0;
        cwd.resize(cwd.size() * 2);
    }
    const std::string ansi = Utf8ToAnsi(cwd.data());
    if (!buf || size <= ansi.size())
        return static_cast<DWORD>(ansi.size() + 1);
    std::memcpy(buf, ansi.c_str(), ansi.size() + 1);
    return static_cast<DWORD>(ansi.size());
}

BOOL SetCurrentDirectory(const char* name)
{
    std::string path;
    if (!ResolvePath(name, path))
        return FALSE;
    return ::chdir(path.c_str()) == 0 ? TRUE : FALSE;
}

} // namespace plat
