// File names as the programs write them ("\" or "/", any case) mapped onto
// this file system, and the file operations that take such names.
#pragma once
#include "plat/types.h"
#include <string>

namespace plat {

// Each component is taken as it stands when it exists, else the entry of
// its folder that equals it ignoring case (several: the byte-wise smallest).
// A missing last component keeps its name (a new file); past a missing
// folder the rest is kept as given. Names are Windows-1252, the result is a
// UTF-8 path for the file system. "X:" drive prefixes are refused: false,
// errno ENOENT.
bool ResolvePath(const char* name, std::string& out);
// Convenience: the resolved path, or "" when refused.
std::string ResolvePath(const char* name);

BOOL CopyFile(const char* from, const char* to, BOOL failIfExists);
BOOL DeleteFile(const char* name);
// Replaces an existing target.
BOOL MoveFile(const char* from, const char* to);
// Copies at most size-1 bytes and a NUL; returns the length, or the size
// needed (with NUL) when the buffer is too small.
DWORD GetCurrentDirectory(DWORD size, char* buf);
BOOL SetCurrentDirectory(const char* name);

} // namespace plat
