// The help viewer: "x.hlp" names the folder x.help/ beside it, holding
// contents.html and one <context id>.html per topic.
#pragma once
#include "plat/types.h"

namespace plat {

inline constexpr UINT HELP_CONTEXT = 0x0001;
inline constexpr UINT HELP_QUIT = 0x0002;
inline constexpr UINT HELP_CONTENTS = 0x0003;
inline constexpr UINT HELP_INDEX = 0x0003;
inline constexpr UINT HELP_HELPONHELP = 0x0004;
inline constexpr UINT HELP_FINDER = 0x000B;

// Opens (or reuses) the one viewer window of the process at the topic; an
// unknown id shows the contents; a missing help folder shows a box and
// returns FALSE. HELP_QUIT closes the viewer.
BOOL WinHelp(HWND hwnd, const char* file, UINT command, uintptr_t data);

// For tests: the file the viewer shows ("" when closed) and its rectangle,
// the window manager's frame included.
const char* HelpViewerPage();
BOOL GetHelpViewerRect(RECT* rect);
// A picture of the viewer window as PNG; FALSE when it is closed.
BOOL SaveHelpViewerPng(const char* path);

} // namespace plat
