// Start-up and configuration: desktop size, dpi, profile folder, program
// folder, GUI set-up.
#pragma once
#include "plat/types.h"
#include <string>

namespace plat {

inline constexpr int SCREEN_DPI = 96;

// SetDesktopSize, else PLAT_DESKTOP=WxH, else the primary screen when a GUI
// exists, else 1024x768.
SIZE DesktopSize();
// (0, 0) goes back to the environment or the screen.
void SetDesktopSize(int width, int height);

// $XDG_CONFIG_HOME/vorn (default ~/.config/vorn), created on demand. No
// trailing slash.
std::string ProfileDir();
// $VORN_DATA_DIR, else the executable's folder. No trailing slash.
std::string ProgramDataDir();
// The executable's folder, whatever VORN_DATA_DIR says.
std::string ExecutableDir();

// Idempotent. Creates the QApplication when none exists, puts every locale
// back to C, installs the GUI host unless one was set explicitly, checks the
// substitution fonts.
void InitGui(int& argc, char** argv);
void InitGui();
bool GuiAvailable();

} // namespace plat
