// Time: the real clocks, or the fake one a test sets.
#include "plat/clock.h"
#include "plat/crt.h"
#include "plat/modal.h"
#include "plat/testing.h"
#include <cerrno>
#include <ctime>

namespace plat {

namespace {

struct FakeState {
    bool on = false;
    DWORD tick = 0;
    int64_t unixMs = 0;
    DWORD step = 0;
};

FakeState g_fake;

void fake_advance(DWORD ms)
{
    g_fake.tick += ms;
    g_fake.unixMs += ms;
}

int64_t now_unix_ms()
{
    if (g_fake.on)
        return g_fake.unixMs;
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int64_t floor_div(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

void fill(SYSTEMTIME* out, const std::tm& tm, int ms)
{
    out->wYear = static_cast<WORD>(tm.tm_year + 1900);
    out->wMonth = static_cast<WORD>(tm.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    out->wDay = static_cast<WORD>(tm.tm_mday);
    out->wHour = static_cast<WORD>(tm.tm_hour);
    out->wMinute = static_cast<WORD>(tm.tm_min);
    out->wSecond = static_cast<WORD>(tm.tm_sec);
    out->wMilliseconds = static_cast<WORD>(ms);
}

void system_time(SYSTEMTIME* out, bool local)
{
    if (!out)
        return;
    const int64_t ms = now_unix_ms();
    const time_t secs = static_cast<time_t>(floor_div(ms, 1000));
    std::tm tm{};
    if (local)
        ::localtime_r(&secs, &tm);
    else
        ::gmtime_r(&secs, &tm);
    fill(out, tm, static_cast<int>(ms - static_cast<int64_t>(secs) * 1000));
}

} // namespace

DWORD GetTickCount()
{
    // A busy wait polls this: what was drawn before it must be visible.
    FlushNow();
    if (g_fake.on) {
        const DWORD v = g_fake.tick;
        if (g_fake.step)
            fake_advance(g_fake.step);
        return v;
    }
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);
}

void GetLocalTime(SYSTEMTIME* out) { system_time(out, true); }
void GetSystemTime(SYSTEMTIME* out) { system_time(out, false); }

void Sleep(DWORD ms)
{
    FlushNow();
    if (g_fake.on) {
        fake_advance(ms);
        return;
    }
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

int64_t crt_time(int64_t* out)
{
    const int64_t t = floor_div(now_unix_ms(), 1000);
    if (out)
        *out = t;
    return t;
}

bool crt_localtime(int64_t t, std::tm* out)
{
    if (!out)
        return false;
    const time_t tt = static_cast<time_t>(t);
    return ::localtime_r(&tt, out) != nullptr;
}

// ---- the fake clock -------------------------------------------------------

namespace {
FakeState g_saved;
} // namespace

FakeClock::FakeClock(int64_t unixMs, DWORD tick)
{
    g_saved = g_fake;
    g_fake = {true, tick, unixMs, 0};
}

FakeClock::~FakeClock() { g_fake = g_saved; }

void FakeClock::set_tick(DWORD tick) { g_fake.tick = tick; }
void FakeClock::set_time(int64_t unixMs) { g_fake.unixMs = unixMs; }
void FakeClock::advance(DWORD ms) { fake_advance(ms); }
void FakeClock::step_on_read(DWORD ms) { g_fake.step = ms; }
DWORD FakeClock::tick() const { return g_fake.tick; }
int64_t FakeClock::unix_ms() const { return g_fake.unixMs; }

} // namespace plat
