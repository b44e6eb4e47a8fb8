// The main frame's side of the tutorial player: the commands the player
// hands over (open a session, walk a menu, close the current dialog, step a
// combo box), the timer that walks, and the view's commands that start the
// player.
#pragma once
#include "app/tutor_link.h"
#include "appgui/vorn_gui.h"
#include <cstdint>
#include <string>

// The view's commands that start the player (Run tutorial is
// ID_RUN_TUTORIAL).
inline constexpr int ID_DECISIONS_CENTER = 32815;
inline constexpr int ID_GUIDED_RUNS = 32821;

// The frame's timer that steps a walk, and the key press each step posts.
inline constexpr plat::UINT_PTR TUTOR_TIMER = 1;
inline constexpr plat::UINT TUTOR_STEP_MS = 300;
inline constexpr plat::LPARAM TUTOR_KEY_DATA = 0x01500001;

enum TutorWalkState : int32_t { TUTOR_WALK_IDLE = 0, TUTOR_WALK_MENU = 1, TUTOR_WALK_COMBO = 2 };

// One walk at a time: they share the timer and these fields.
struct TutorWalk {
    uint32_t handle = 0;   // the popup menu or the combo box
    int32_t counter = 0;   // steps done
    int32_t target = 0;    // menu: the item number; combo: the entry index
    int32_t state = TUTOR_WALK_IDLE;
    uint32_t command = 0;  // menu: the item's command id
};
const TutorWalk& tutor_walk();

// WM_TUTOR_REQUEST at the frame. The record is read from the hand-off file
// in the working folder.
plat::LRESULT OnTutorRequest(CMainFrame& frame, plat::WPARAM wParam);
// A command or hand-over reaching the frame while the dialog a
// CloseCurrentWindow ended has not returned yet: true when it was kept
// back, to be posted again, in order, once that dialog is gone.
bool TutorHoldsMessage(CMainFrame& frame, plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam);
// A dialog left the view's stack (its loop has returned).
void TutorDialogGone(plat::HWND dialog);
// Timer 1 of the frame: one step of the walk.
void OnTutorTimer(CMainFrame& frame);
// The application's idle work, after the view's: a session start asked for
// by the player that had to wait (a tick or a dialog was open) has run by
// now; the player is told. True while the start still waits.
bool TutorIdle(CVornWindow& window);
// The frame closes: the player ends.
void TutorFrameClosing(CMainFrame& frame);

// The session menu offers "Guided runs ..." only when the data folder holds
// the first guided run ("guide1.cmd", whatever the case of its name).
bool guided_runs_available(const std::string& data_folder);
void TutorSessionMenu(CVornWindow& window, plat::HMENU menu);

// The view's commands Run tutorial, Decisions centre and Guided runs;
// true for those three.
bool handle_tutor_command(CVornWindow& window, int id);
bool RunTutorial(CVornWindow& window);
void OnDecisionsCenter(CVornWindow& window);
// The Guided Runs dialog over the data folder, then the player with the
// chosen command file.
void OnGuidedRuns(CVornWindow& window);
