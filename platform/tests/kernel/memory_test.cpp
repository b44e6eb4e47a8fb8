// Global memory blocks: locks, resizing, bad handles, failures.
#include "plat/memory.h"
#include "plat/testing.h"
#include <cstring>
#include <gtest/gtest.h>

using namespace plat;

TEST(GlobalMemory, LocksNestAndContentSurvivesResizing)
{
    const HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, 4);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(GlobalSize(h), 4u);
    auto* p = static_cast<char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    std::memcpy(p, "abcd", 4);
    EXPECT_EQ(GlobalLock(h), p);
    EXPECT_EQ(GlobalHandle(p), h);
    EXPECT_EQ(GlobalUnlock(h), TRUE) << "still locked once";
    EXPECT_EQ(GlobalUnlock(h), FALSE) << "count reached 0";
    EXPECT_EQ(GlobalUnlock(h), FALSE) << "not locked at all";

    EXPECT_EQ(GlobalReAlloc(h, 4096, GMEM_MOVEABLE), h);
    EXPECT_EQ(GlobalSize(h), 4096u);
    p = static_cast<char*>(GlobalLock(h));
    EXPECT_EQ(std::memcmp(p, "abcd", 4), 0);
    for (size_t i = 4; i < 4096; ++i)
        ASSERT_EQ(p[i], 0) << "growth is zero-filled at " << i;
    EXPECT_EQ(GlobalHandle(p), h);
    GlobalUnlock(h);

    EXPECT_EQ(GlobalReAlloc(h, 2, GMEM_MOVEABLE), h);
    EXPECT_EQ(GlobalSize(h), 2u);
    EXPECT_EQ(GlobalReAlloc(h, 6, 0), h);
    p = static_cast<char*>(GlobalLock(h));
    EXPECT_EQ(std::memcmp(p, "ab\0\0\0\0", 6), 0) << "shrunk, then grown with zeros";
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), 0u);
}

TEST(GlobalMemory, ZeroInit)
{
    const HGLOBAL h = GlobalAlloc(GHND, 1000);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(p[i], 0);
    GlobalUnlock(h);
    GlobalFree(h);
}

TEST(GlobalMemory, FreedAndUnknownHandles)
{
    const HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 16);
    void* p = GlobalLock(h);
    EXPECT_EQ(GlobalFree(h), 0u);
    for (HGLOBAL bad : {h, HGLOBAL{0}, HGLOBAL{0x12345678}}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(GlobalLock(bad), nullptr);
        EXPECT_EQ(GlobalUnlock(bad), FALSE);
        EXPECT_EQ(GlobalSize(bad), 0u);
        EXPECT_EQ(GlobalReAlloc(bad, 32, GMEM_MOVEABLE), 0u);
        EXPECT_EQ(GlobalFree(bad), bad) << "failure returns the handle";
    }
    EXPECT_EQ(GlobalHandle(p), 0u);
    const HGLOBAL next = GlobalAlloc(GMEM_MOVEABLE, 16);
    EXPECT_NE(next, h) << "a freed handle is not handed out again";
    GlobalFree(next);
}

TEST(GlobalMemory, FailureHook)
{
    FailGlobalAllocAfter(2);
    const HGLOBAL a = GlobalAlloc(GMEM_MOVEABLE, 8);
    EXPECT_NE(a, 0u);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 8), 0u) << "the second allocation fails";
    const HGLOBAL c = GlobalAlloc(GMEM_MOVEABLE, 8);
    EXPECT_NE(c, 0u) << "only that one";

    std::memcpy(GlobalLock(a), "12345678", 8);
    GlobalUnlock(a);
    FailGlobalAllocAfter(1);
    EXPECT_EQ(GlobalReAlloc(a, 64, GMEM_MOVEABLE), 0u) << "growing allocates";
    EXPECT_EQ(GlobalSize(a), 8u);
    EXPECT_EQ(std::memcmp(GlobalLock(a), "12345678", 8), 0) << "a failed resize leaves the block";
    GlobalUnlock(a);
    FailGlobalAllocAfter(0);
    GlobalFree(a);
    GlobalFree(c);
}
