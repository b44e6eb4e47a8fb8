// The simulator's side of the link with the tutorial player: starting it,
// remembering its window, the messages both ways and the hand-off file
// through which it passes one command at a time.
#pragma once
#include "tutorproto/decision_menu.h"
#include "tutorproto/protocol.h"
#include <string>
#include "plat/types.h"
#include <cstdint>
#include <functional>

// The running player's window, 0 when none; a player whose window has gone
// (ended, or its link lost) is forgotten.
plat::HWND GetTutorWindow();
// The player's closing notice has come: true when a player was started and
// not closed since, even one whose window is already gone; it is forgotten.
bool TakeTutorClosingNotice();
void SetTutorWindow(plat::HWND player);
// The code of the command being carried out for the player (0: none).
void SetTutorPendingCode(int16_t code);
int16_t GetTutorPendingCode();
// Tells a running player that the pending command is done (nothing when the
// code is 0); the pending code is cleared either way.
void ResumeTutorial();
// Ends a running player (WM_QUIT) and forgets it.
void CloseTutorial();
// The record now in the hand-off file: exactly 1044 bytes, else the box
// "Unable to read command binary file" and false.
bool ReadStepFile(CommandRecord& out);
// Starts the player with the command file (none: the decision browser),
// gives its window the title and hands it the main window. The player's
// window, or 0 when it did not start or its window is not there.
plat::HWND StartTutorial(plat::HWND mainWindow, const char* title, const char* commandFile);

// How the player's program is started: the layer's WinExec unless a test
// puts something else in. Returns the one it replaced.
using TutorLauncher = std::function<plat::UINT(const char* commandLine, plat::UINT show)>;
TutorLauncher set_tutor_launcher(TutorLauncher launcher);

class CVornView;
// The decision browser's menu: the department names and the Actions and
// Policies entries of Marketing, Production and Purchasing as the
// scenario's menu sections narrow them (ids 401.., 501..), translated.
DecisionMenu decision_menu_of(const CVornView& view);
// Written safely at every session start. On failure the old file is
// removed (its entries would name other decisions) and a box says so.
bool WriteDecisionMenu(const CVornView& view, const std::string& path = DECISION_MENU_FILE);
