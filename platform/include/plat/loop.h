// The outermost message loop with its idle pump, and nested modal loops.
#pragma once
#include "plat/types.h"
#include <functional>

namespace plat {

// Called in idle time by the outermost loop with the number of consecutive
// idle calls since the last dispatched message (0 first). Returning TRUE asks
// for another call; FALSE waits for the next message. Never called while an
// idle call is on the stack or a modal loop is open.
void SetIdleHandler(std::function<BOOL(LONG count)> handler);

// Runs the outermost loop until WM_QUIT; returns its exit code. Returns -1 if
// called while it already runs.
int RunMessageLoop();
BOOL IsMessageLoopRunning();

// A nested loop that runs until `done` is set (by a handler it dispatches) or
// WM_QUIT arrives, with the modal depth raised meanwhile: timers, posted
// messages, input and painting go on, idle calls do not. Returns FALSE if it
// ended for WM_QUIT (the quit stays pending for the outer loops).
BOOL RunModalLoop(bool& done);

// Repaints at once every window whose surface was drawn on outside a paint
// (the flush points call it).
void FlushSurfaces();

} // namespace plat
