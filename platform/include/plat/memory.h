// Global memory blocks: one process-wide table, so a block allocated by one
// module can be locked and freed by another.
#pragma once
#include "plat/types.h"
#include <cstddef>

namespace plat {

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_NOCOMPACT = 0x0010;
inline constexpr UINT GMEM_NODISCARD = 0x0020;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GMEM_MODIFY = 0x0080;
inline constexpr UINT GMEM_DISCARDABLE = 0x0100;
inline constexpr UINT GMEM_SHARE = 0x2000;
inline constexpr UINT GMEM_DDESHARE = 0x2000;
inline constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
inline constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// 0 on failure.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
// NULL for a freed or unknown handle. Locks nest.
void* GlobalLock(HGLOBAL mem);
// TRUE while still locked, FALSE once the count reaches 0 (or bad handle).
BOOL GlobalUnlock(HGLOBAL mem);
// Keeps the content, zero-fills growth; the handle stays the same. 0 on
// failure (the block is then unchanged).
HGLOBAL GlobalReAlloc(HGLOBAL mem, size_t bytes, UINT flags);
// 0 for a bad handle.
size_t GlobalSize(HGLOBAL mem);
// 0 on success, the handle itself on failure.
HGLOBAL GlobalFree(HGLOBAL mem);
// The handle of a block from a pointer GlobalLock returned; 0 if none.
HGLOBAL GlobalHandle(const void* ptr);

} // namespace plat
