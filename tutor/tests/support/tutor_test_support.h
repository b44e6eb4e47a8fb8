// Small helpers of the tutorial player's tests: a private folder, whole
// files written and read as bytes.
#pragma once
#include <atomic>
#include <csignal>
#include <sys/resource.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace tutortest {

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        static std::atomic<int> serial{0};
        path = std::filesystem::temp_directory_path() /
               ("tutor-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

// While it lives, no file of this process may grow past `bytes`: writes
// beyond fail as on a full disk (whoever runs the test).
struct FileSizeLimit {
    struct rlimit previous {};
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous);
        struct rlimit limit = previous;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &previous); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
};

// The files of a folder whose names start with the prefix.
inline size_t count_files(const std::filesystem::path& dir, const std::string& prefix)
{
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        n += e.path().filename().string().rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

inline void write_bytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace tutortest
