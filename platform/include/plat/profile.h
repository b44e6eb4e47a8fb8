// Private profiles (.ini files) and WIN.INI, kept under the profile folder.
#pragma once
#include "plat/types.h"

namespace plat {

// file: a bare name lives in the profile folder, a name with a folder goes
// through ResolvePath. Section and key names ignore case. The value is the
// rest of the line, trimmed, one pair of surrounding quotes removed.
// Copies at most size-1 bytes and a NUL; returns the bytes copied.
DWORD GetPrivateProfileString(const char* section, const char* key, const char* def,
                              char* buf, DWORD size, const char* file);
// The leading decimal number of the value (0 if none); def when missing.
UINT GetPrivateProfileInt(const char* section, const char* key, int def, const char* file);
// value NULL removes the key, key NULL the whole section. Other lines are
// kept; lines end in CR LF; the file is replaced safely. FALSE on failure.
BOOL WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file);

// The same on <profile folder>/win.ini.
DWORD GetProfileString(const char* section, const char* key, const char* def, char* buf,
                       DWORD size);
UINT GetProfileInt(const char* section, const char* key, int def);
BOOL WriteProfileString(const char* section, const char* key, const char* value);

} // namespace plat
