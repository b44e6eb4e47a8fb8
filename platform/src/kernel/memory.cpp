// Global memory blocks.
#include "plat/memory.h"
#include "kernel/handles_p.h"
#include "plat/testing.h"
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace plat {

namespace {

struct Block {
    char* data;
    size_t size;
    int locks;
    UINT flags;
};

std::mutex g_mutex;
std::map<HGLOBAL, Block> g_blocks;
std::map<const void*, HGLOBAL> g_byPointer;
int g_failAfter = 0;

// True when the test hook says this allocation fails.
bool fail_now()
{
    return g_failAfter > 0 && --g_failAfter == 0;
}

} // namespace

void FailGlobalAllocAfter(int n)
{
    std::lock_guard lock(g_mutex);
    g_failAfter = n < 0 ? 0 : n;
}

HGLOBAL GlobalAlloc(UINT flags, size_t bytes)
{
    std::lock_guard lock(g_mutex);
    if (fail_now())
        return 0;
    // Never a zero-byte malloc: every block needs a distinct pointer.
    char* data = static_cast<char*>((flags & GMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1)
                                                             : std::malloc(bytes ? bytes : 1));
    if (!data)
        return 0;
    const HGLOBAL h = NextObjectHandle();
    g_blocks[h] = {data, bytes, 0, flags};
    g_byPointer[data] = h;
    return h;
}

void* GlobalLock(HGLOBAL mem)
{
    std::lock_guard lock(g_mutex);
    auto it = g_blocks.find(mem);
    if (it == g_blocks.end())
        return nullptr;
    ++it->second.locks;
    return it->second.data;
}

BOOL GlobalUnlock(HGLOBAL mem)
{
    std::lock_guard lock(g_mutex);
    auto it = g_blocks.find(mem);
    if (it == g_blocks.end() || it->second.locks == 0)
        return FALSE;
    return --it->second.locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalReAlloc(HGLOBAL mem, size_t bytes, UINT flags)
{
    std::lock_guard lock(g_mutex);
    auto it = g_blocks.find(mem);
    if (it == g_blocks.end())
        return 0;
    Block& b = it->second;
    if (flags & GMEM_MODIFY) {
        b.flags = (b.flags & ~GMEM_MOVEABLE) | (flags & GMEM_MOVEABLE);
        return mem;
    }
    if (bytes > b.size && fail_now())
        return 0;
    char* data = static_cast<char*>(std::realloc(b.data, bytes ? bytes : 1));
    if (!data)
        return 0;
    if (bytes > b.size)
        std::memset(data + b.size, 0, bytes - b.size);
    g_byPointer.erase(b.data);
    g_byPointer[data] = mem;
    b.data = data;
    b.size = bytes;
    return mem;
}

size_t GlobalSize(HGLOBAL mem)
{
    std::lock_guard lock(g_mutex);
    auto it = g_blocks.find(mem);
    return it == g_blocks.end() ? 0 : it->second.size;
}

HGLOBAL GlobalFree(HGLOBAL mem)
{
    std::lock_guard lock(g_mutex);
    auto it = g_blocks.find(mem);
    if (it == g_blocks.end())
        return mem;
    g_byPointer.erase(it->second.data);
    std::free(it->second.data);
    g_blocks.erase(it);
    return 0;
}

HGLOBAL GlobalHandle(const void* ptr)
{
    std::lock_guard lock(g_mutex);
    auto it = g_byPointer.find(ptr);
    return it == g_byPointer.end() ? 0 : it->second;
}

} // namespace plat
