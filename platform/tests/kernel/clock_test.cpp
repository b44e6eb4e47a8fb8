// The clock programs read, real and fake.
#include "plat/clock.h"
#include "plat/crt.h"
#include "plat/modal.h"
#include "plat/testing.h"
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

using namespace plat;

namespace {
int g_flushes = 0;
void count_flush() { ++g_flushes; }
} // namespace

TEST(Clock, FakeTimeAsSystemTime)
{
    // 2000-01-02 03:04:05.678 UTC, a Sunday.
    FakeClock clock(946782245678, 1000);
    SYSTEMTIME st{};
    GetSystemTime(&st);
    EXPECT_EQ(st.wYear, 2000);
    EXPECT_EQ(st.wMonth, 1);
    EXPECT_EQ(st.wDay, 2);
    EXPECT_EQ(st.wDayOfWeek, 0);
    EXPECT_EQ(st.wHour, 3);
    EXPECT_EQ(st.wMinute, 4);
    EXPECT_EQ(st.wSecond, 5);
    EXPECT_EQ(st.wMilliseconds, 678);
    ::setenv("TZ", "UTC", 1); // the test environment's, made sure of
    ::tzset();
    SYSTEMTIME local{};
    GetLocalTime(&local);
    EXPECT_EQ(local.wHour, 3);
    ::setenv("TZ", "EST5", 1);
    ::tzset();
    GetLocalTime(&local);
    EXPECT_EQ(local.wHour, 22) << "five hours behind";
    EXPECT_EQ(local.wDay, 1);
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(crt_time(), 946782245);
    std::tm tm{};
    ASSERT_TRUE(crt_localtime(crt_time(), &tm));
    EXPECT_EQ(tm.tm_yday, 1);

    Sleep(400);
    GetSystemTime(&st);
    EXPECT_EQ(st.wSecond, 6);
    EXPECT_EQ(st.wMilliseconds, 78);
    EXPECT_EQ(GetTickCount(), 1400u);
}

TEST(Clock, BusyWaitEndsUnderASteppingClock)
{
    FakeClock clock(0, 0xFFFFFF00u); // wraps during the wait
    clock.step_on_read(10);
    const DWORD start = GetTickCount();
    int polls = 0;
    while (GetTickCount() - start < 1000)
        ++polls;
    EXPECT_EQ(polls, 99); // reads at +10 ... +990 are short of a second
    EXPECT_EQ(clock.tick(), 0xFFFFFF00u + 1010u);
}

TEST(Clock, FlushPoints)
{
    FakeClock clock;
    const FlushHandler old = SetFlushHandler(count_flush);
    g_flushes = 0;
    GetTickCount();
    Sleep(5);
    EXPECT_EQ(g_flushes, 2);
    SetFlushHandler(old);
}

TEST(Clock, RealClockMoves)
{
    const DWORD a = GetTickCount();
    Sleep(20);
    const DWORD b = GetTickCount();
    EXPECT_GE(b - a, 20u);
    EXPECT_LT(b - a, 5000u);
    const int64_t now = crt_time();
    EXPECT_GT(now, 1700000000); // after 2023
}
