// Open and save file prompts.
#pragma once
#include "plat/types.h"

namespace plat {

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr DWORD OFN_CREATEPROMPT = 0x00002000;

struct OPENFILENAME {
    DWORD lStructSize = sizeof(OPENFILENAME);
    HWND hwndOwner = 0;
    // "Description\0pattern;pattern\0...\0\0", as Win32 spells it.
    const char* lpstrFilter = nullptr;
    DWORD nFilterIndex = 1;   // 1-based, in and out
    char* lpstrFile = nullptr; // initial name in, chosen path out
    DWORD nMaxFile = 0;
    char* lpstrFileTitle = nullptr; // name without folder, out (optional)
    DWORD nMaxFileTitle = 0;
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;    // out: where the name starts in lpstrFile
    WORD nFileExtension = 0; // out: where the extension starts (0: none)
    const char* lpstrDefExt = nullptr; // added when the name has no '.'
};

// TRUE when a name was chosen and fits nMaxFile; FALSE on cancel or when the
// buffer is too small (the name is not copied then).
BOOL GetOpenFileName(OPENFILENAME* ofn);
BOOL GetSaveFileName(OPENFILENAME* ofn);

} // namespace plat
