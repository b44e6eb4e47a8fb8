// The C runtime shim: the generator, text-mode streams, share-deny opens.
#include "plat/crt.h"
#include "plat/path.h"
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace plat {

// ---- generator ------------------------------------------------------------

namespace {
Lcg g_rand(1);
} // namespace

void crt_srand(unsigned int seed) { g_rand.seed(seed); }
int crt_rand() { return g_rand.next(); }

// ---- share table ----------------------------------------------------------

namespace {

struct FileKey {
    dev_t dev;
    ino_t ino;
    bool operator<(const FileKey& o) const { return dev != o.dev ? dev < o.dev : ino < o.ino; }
};

struct Access {
    bool read = false, write = false;
    bool denyRead = false, denyWrite = false;
};

struct ShareEntry {
    int id;
    Access access;
};

std::mutex g_shareMutex;
std::map<FileKey, std::vector<ShareEntry>> g_shares;
struct FdEntry {
    FileKey key;
    int shareId;
    bool text;
};
std::map<int, FdEntry> g_fdShares;
int g_nextShareId = 1;

bool conflicts(const Access& a, const Access& b)
{
    return (a.read && b.denyRead) || (a.write && b.denyWrite) || (b.read && a.denyRead)
        || (b.write && a.denyWrite);
}

bool conflicts_locked(const FileKey& key, const Access& a)
{
    auto it = g_shares.find(key);
    if (it == g_shares.end())
        return false;
    for (const ShareEntry& e : it->second)
        if (conflicts(a, e.access))
            return true;
    return false;
}

// False (errno EACCES) when an open already in the table is in the way.
bool may_open(const std::string& path, const Access& a)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return true;
    std::lock_guard lock(g_shareMutex);
    if (conflicts_locked({st.st_dev, st.st_ino}, a)) {
        errno = EACCES;
        return false;
    }
    return true;
}

// Registers an open descriptor; 0 (errno EACCES) on a conflict.
int register_open(int fd, const Access& a, FileKey& key)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return 0;
    key = {st.st_dev, st.st_ino};
    std::lock_guard lock(g_shareMutex);
    if (conflicts_locked(key, a)) {
        errno = EACCES;
        return 0;
    }
    const int id = g_nextShareId++;
    g_shares[key].push_back({id, a});
    return id;
}

void unregister_open(const FileKey& key, int id)
{
    std::lock_guard lock(g_shareMutex);
    auto it = g_shares.find(key);
    if (it == g_shares.end())
        return;
    auto& v = it->second;
    for (auto e = v.begin(); e != v.end(); ++e)
        if (e->id == id) {
            v.erase(e);
            break;
        }
    if (v.empty())
        g_shares.erase(it);
}

// ---- streams --------------------------------------------------------------

struct Cookie {
    int fd = -1;
    bool text = false;
    bool append = false;
    off_t pos = 0; // raw offset of the next byte
    FileKey key{};
    int shareId = 0;
};

bool write_all(int fd, const char* p, size_t n, off_t at)
{
    while (n > 0) {
        const ssize_t put = ::pwrite(fd, p, n, at);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += put;
        n -= static_cast<size_t>(put);
        at += put;
    }
    return true;
}

ssize_t pread_some(int fd, char* p, size_t n, off_t at)
{
    for (;;) {
        const ssize_t got = ::pread(fd, p, n, at);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

ssize_t cookie_read(void* c, char* buf, size_t size)
{
    auto* k = static_cast<Cookie*>(c);
    if (size == 0)
        return 0;
    if (!k->text) {
        const ssize_t got = pread_some(k->fd, buf, size, k->pos);
        if (got > 0)
            k->pos += got;
        return got;
    }
    // One byte more than asked, to see what follows a CR.
    const size_t want = size < 4096 ? size : 4096;
    char raw[4097];
    const ssize_t got = pread_some(k->fd, raw, want + 1, k->pos);
    if (got < 0)
        return -1;
    const size_t n = static_cast<size_t>(got);
    size_t i = 0, out = 0;
    while (i < n && out < want) {
        const char ch = raw[i];
        if (ch == 0x1A)
            break; // Ctrl-Z: the end of the text, whatever follows
        if (ch == '\r') {
            if (i + 1 < n) {
                if (raw[i + 1] == '\n') {
                    buf[out++] = '\n';
                    i += 2;
                    continue;
                }
            } else if (n == want + 1) {
                break; // its partner is not read yet: next call
            }
        }
        buf[out++] = ch;
        ++i;
    }
    k->pos += static_cast<off_t>(i);
    return static_cast<ssize_t>(out);
}

ssize_t cookie_write(void* c, const char* buf, size_t size)
{
    auto* k = static_cast<Cookie*>(c);
    if (k->append) {
        struct stat st;
        if (::fstat(k->fd, &st) != 0)
            return -1;
        k->pos = st.st_size;
    }
    if (!k->text) {
        if (!write_all(k->fd, buf, size, k->pos))
            return -1;
        k->pos += static_cast<off_t>(size);
        return static_cast<ssize_t>(size);
    }
    std::vector<char> raw;
    raw.reserve(size + size / 8 + 1);
    for (size_t i = 0; i < size; ++i) {
        if (buf[i] == '\n')
            raw.push_back('\r');
        raw.push_back(buf[i]);
    }
    if (!write_all(k->fd, raw.data(), raw.size(), k->pos))
        return -1;
    k->pos += static_cast<off_t>(raw.size());
    return static_cast<ssize_t>(size);
}

int cookie_seek(void* c, off64_t* offset, int whence)
{
    auto* k = static_cast<Cookie*>(c);
    off64_t base = 0;
    if (whence == SEEK_CUR) {
        base = k->pos;
    } else if (whence == SEEK_END) {
        struct stat st;
        if (::fstat(k->fd, &st) != 0)
            return -1;
        base = st.st_size;
    } else if (whence != SEEK_SET) {
        errno = EINVAL;
        return -1;
    }
    const off64_t target = base + *offset;
    if (target < 0) {
        errno = EINVAL;
        return -1;
    }
    k->pos = target;
    *offset = target;
    return 0;
}

int cookie_close(void* c)
{
    auto* k = static_cast<Cookie*>(c);
    unregister_open(k->key, k->shareId);
    const int rc = ::close(k->fd);
    delete k;
    return rc;
}

} // namespace

FILE* crt_fopen(const char* name, const char* mode)
{
    if (!mode) {
        errno = EINVAL;
        return nullptr;
    }
    int flags = 0;
    bool append = false;
    Access access;
    switch (mode[0]) {
    case 'r': access.read = true; break;
    case 'w': access.write = true, flags = O_CREAT | O_TRUNC; break;
    case 'a': access.write = true, flags = O_CREAT, append = true; break;
    default: errno = EINVAL; return nullptr;
    }
    bool text = true;
    for (const char* m = mode + 1; *m; ++m) {
        switch (*m) {
        case '+': access.read = access.write = true; break;
        case 'b': text = false; break;
        case 't': text = true; break;
        case 'c': case 'n': break; // commit flags of the original runtime: nothing to do
        default: errno = EINVAL; return nullptr;
        }
    }
    flags |= access.read && access.write ? O_RDWR : access.write ? O_WRONLY : O_RDONLY;

    std::string path;
    if (!ResolvePath(name, path) || !may_open(path, access))
        return nullptr;
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    auto* k = new Cookie;
    k->fd = fd;
    k->text = text;
    k->append = append;
    k->shareId = register_open(fd, access, k->key);
    if (!k->shareId) {
        const int e = errno;
        ::close(fd);
        delete k;
        errno = e;
        return nullptr;
    }
    cookie_io_functions_t io{cookie_read, cookie_write, cookie_seek, cookie_close};
    // Appending is the cookie's business; stdio only learns the direction.
    const char* fmode = access.read && access.write ? "r+" : access.write ? "w" : "r";
    FILE* f = ::fopencookie(k, fmode, io);
    if (!f) {
        cookie_close(k);
        return nullptr;
    }
    // Unbuffered, so ftell is the cookie's raw offset and never one computed
    // from translated buffer contents.
    if (text)
        std::setvbuf(f, nullptr, _IONBF, 0);
    return f;
}

int crt_sopen(const char* name, int oflag, int shflag, int pmode)
{
    Access access;
    switch (oflag & 3) {
    case _O_RDONLY: access.read = true; break;
    case _O_WRONLY: access.write = true; break;
    case _O_RDWR: access.read = access.write = true; break;
    default: errno = EINVAL; return -1;
    }
    switch (shflag) {
    case _SH_DENYNO: break;
    case _SH_DENYRD: access.denyRead = true; break;
    case _SH_DENYWR: access.denyWrite = true; break;
    case _SH_DENYRW: access.denyRead = access.denyWrite = true; break;
    default: errno = EINVAL; return -1;
    }
    int flags = (oflag & 3) == _O_RDWR ? O_RDWR : (oflag & 3) == _O_WRONLY ? O_WRONLY : O_RDONLY;
    if (oflag & _O_APPEND)
        flags |= O_APPEND;
    if (oflag & _O_CREAT)
        flags |= O_CREAT;
    if (oflag & _O_TRUNC)
        flags |= O_TRUNC;
    if (oflag & _O_EXCL)
        flags |= O_EXCL;
    const mode_t perm = (pmode & _S_IWRITE) ? 0666 : 0444;

    std::string path;
    if (!ResolvePath(name, path) || !may_open(path, access))
        return -1;
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, perm);
    if (fd < 0)
        return -1;
    FileKey key{};
    const int id = register_open(fd, access, key);
    if (!id) {
        const int e = errno;
        ::close(fd);
        errno = e;
        return -1;
    }
    std::lock_guard lock(g_shareMutex);
    // As in the original runtime, text unless binary is asked for.
    g_fdShares[fd] = {key, id, (oflag & _O_BINARY) == 0};
    return fd;
}

int crt_close(int fd)
{
    FdEntry share{};
    {
        std::lock_guard lock(g_shareMutex);
        auto it = g_fdShares.find(fd);
        if (it == g_fdShares.end()) {
            errno = EBADF;
            return -1;
        }
        share = it->second;
        g_fdShares.erase(it);
    }
    unregister_open(share.key, share.shareId);
    return ::close(fd) == 0 ? 0 : -1;
}

namespace {

bool fd_is_text(int fd)
{
    std::lock_guard lock(g_shareMutex);
    auto it = g_fdShares.find(fd);
    return it != g_fdShares.end() && it->second.text;
}

ssize_t read_some(int fd, char* p, size_t n)
{
    for (;;) {
        const ssize_t got = ::read(fd, p, n);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

} // namespace

int crt_read(int fd, void* buf, unsigned int count)
{
    char* const out = static_cast<char*>(buf);
    const ssize_t got = read_some(fd, out, count);
    if (got <= 0 || !fd_is_text(fd))
        return static_cast<int>(got);
    // Text: compress in place, as many raw bytes as were asked for.
    size_t w = 0;
    for (size_t r = 0; r < static_cast<size_t>(got); ++r) {
        const char c = out[r];
        if (c == 0x1A) {
            // The end of the text: stay on the Ctrl-Z, so later reads give 0.
            ::lseek(fd, static_cast<off_t>(r) - got, SEEK_CUR);
            break;
        }
        if (c == '\r') {
            if (r + 1 < static_cast<size_t>(got)) {
                if (out[r + 1] == '\n')
                    continue; // the LF that follows is kept
            } else {
                char next;
                if (read_some(fd, &next, 1) == 1) {
                    if (next == '\n') {
                        out[w++] = '\n';
                        continue;
                    }
                    ::lseek(fd, -1, SEEK_CUR);
                }
            }
        }
        out[w++] = c;
    }
    return static_cast<int>(w);
}

int crt_write(int fd, const void* buf, unsigned int count)
{
    const char* p = static_cast<const char*>(buf);
    std::vector<char> translated;
    size_t rawCount = count;
    if (fd_is_text(fd)) {
        translated.reserve(count + count / 8 + 1);
        for (unsigned int i = 0; i < count; ++i) {
            if (p[i] == '\n')
                translated.push_back('\r');
            translated.push_back(p[i]);
        }
        p = translated.data();
        rawCount = translated.size();
    }
    size_t done = 0;
    while (done < rawCount) {
        const ssize_t put = ::write(fd, p + done, rawCount - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return -1; // a short write is a failed write
        }
        done += static_cast<size_t>(put);
    }
    return static_cast<int>(count);
}

long crt_lseek(int fd, long offset, int origin)
{
    return static_cast<long>(::lseek(fd, offset, origin));
}

} // namespace plat
