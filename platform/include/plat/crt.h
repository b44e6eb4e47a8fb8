// The C runtime as the programs know it: its random generator reproduced
// exactly, text-mode files, share-deny opens, time.
#pragma once
#include "plat/types.h"
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace plat {

inline constexpr int CRT_RAND_MAX = 0x7FFF;

// The process-wide generator; start state 1.
void crt_srand(unsigned int seed);
int crt_rand();

// A private stream of the same generator.
class Lcg {
public:
    explicit Lcg(uint32_t seed = 1) : state_(seed) {}
    void seed(uint32_t s) { state_ = s; }
    int next()
    {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    uint32_t state() const { return state_; }

private:
    uint32_t state_;
};

// Modes r w a, +, t or b; text is the default. Text: CR LF -> LF on read
// (a lone CR stays), LF -> CR LF on write, Ctrl-Z ends reading; ftell and
// fseek use raw file offsets. The name goes through ResolvePath. Close with
// fclose. Counts as a deny-none open for crt_sopen.
FILE* crt_fopen(const char* path, const char* mode);

inline constexpr int _O_RDONLY = 0x0000;
inline constexpr int _O_WRONLY = 0x0001;
inline constexpr int _O_RDWR = 0x0002;
inline constexpr int _O_APPEND = 0x0008;
inline constexpr int _O_CREAT = 0x0100;
inline constexpr int _O_TRUNC = 0x0200;
inline constexpr int _O_EXCL = 0x0400;
inline constexpr int _O_TEXT = 0x4000;
inline constexpr int _O_BINARY = 0x8000;

inline constexpr int _SH_DENYRW = 0x10;
inline constexpr int _SH_DENYWR = 0x20;
inline constexpr int _SH_DENYRD = 0x30;
inline constexpr int _SH_DENYNO = 0x40;

inline constexpr int _S_IREAD = 0x0100;
inline constexpr int _S_IWRITE = 0x0080;

// A descriptor, or -1 with errno (EACCES when another open in this process
// denies the access asked, or this one denies an access already held).
// Text mode unless _O_BINARY: crt_read turns CR LF into LF and stops at
// Ctrl-Z, crt_write writes LF as CR LF; crt_lseek uses raw offsets.
int crt_sopen(const char* path, int oflag, int shflag, int pmode = _S_IREAD | _S_IWRITE);
int crt_close(int fd);
int crt_read(int fd, void* buf, unsigned int count);
int crt_write(int fd, const void* buf, unsigned int count);
long crt_lseek(int fd, long offset, int origin);

// Seconds since 1970 (the fake clock's, when one is set).
int64_t crt_time(int64_t* out = nullptr);
// Local time (TZ) of t; false when t is out of range.
bool crt_localtime(int64_t t, std::tm* out);

} // namespace plat
