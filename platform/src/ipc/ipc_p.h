// Private to platform/src: what the window table, the loop and WinExec ask
// of the link, as hooks the link installs when the program joins (the core
// and kernel do not depend on the link).
#pragma once
#include "plat/types.h"

namespace plat::ipc {

// Calls on a handle whose tag is another program's.
struct RemoteOps {
    HWND (*find)(const char* title);
    LRESULT (*send)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL (*post)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND (*child)(HWND hwnd, int id);
    LRESULT (*winop)(HWND hwnd, int op);
};
void SetRemoteOps(const RemoteOps* ops);
// Null when the program is not linked or the handle is its own.
const RemoteOps* RemoteFor(HWND hwnd);

// The outermost loop has started (once per program).
using LoopStartHook = void (*)();
void SetLoopStartHook(LoopStartHook hook);
void RunLoopStartHook();

// WinExec has started `programFile` (a file name, "steplay32") as `pid`.
using LaunchHook = void (*)(const char* programFile, int pid);
void SetLaunchHook(LaunchHook hook);
LaunchHook GetLaunchHook();

} // namespace plat::ipc
