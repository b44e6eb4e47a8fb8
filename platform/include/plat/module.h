// Modules (the programs and shared libraries), their string tables, and
// starting other programs.
#pragma once
#include "plat/types.h"
#include <cstddef>
#include <string>

namespace plat {

using FARPROC = void (*)();

struct StringEntry {
    UINT id;
    const char* text; // Windows-1252
};

// A module ("VORN.EXE", "QXI32.DLL") and its real path; registering the same
// name again returns the same handle (the path is updated when given).
HINSTANCE RegisterModule(const char* name, const char* path);
// Adds (or replaces) string entries of a module; the texts are copied.
void RegisterStringTable(HINSTANCE module, const StringEntry* entries, size_t count);

// NULL: the executable. Otherwise a registered module or a loaded shared
// object whose file name matches, ignoring case ("QXI32.DLL" finds
// libqxi32.so). 0 if none.
HMODULE GetModuleHandle(const char* name);
// Copies the module's path, NUL-terminated; returns its length, or size when
// it was cut to size-1 bytes; 0 for an unknown module.
DWORD GetModuleFileName(HMODULE module, char* buf, DWORD size);
// Copies the string (size-1 bytes at most) and returns its length; 0 when
// the module or id is unknown.
int LoadString(HINSTANCE module, UINT id, char* buf, int size);

// "X.DLL" -> libx.so in the caller's folder, then the library path. A value
// below 32 is a failure (2: not found).
HINSTANCE LoadLibrary(const char* name);
// Exact name first, then ignoring case.
FARPROC GetProcAddress(HMODULE module, const char* name);
BOOL FreeLibrary(HINSTANCE module);

// Windows program names to file names: "QXI32.DLL" -> "libqxi32.so",
// "Steplay32.EXE" -> "steplay32".
std::string ModuleFileNameFor(const char* name);

// The first token names the program ("Steplay32.EXE" -> steplay32, ignoring
// case, looked up in the program's folder, then PATH); everything after the
// first space is one argument. 33 on success, 2 when not found.
UINT WinExec(const char* cmdline, UINT show);

DWORD GetCurrentThreadId();
DWORD GetVersion();

} // namespace plat
