// The hooks through which the core and the kernel reach the link.
#include "ipc/ipc_p.h"
#include "plat/window.h"

namespace plat::ipc {

namespace {
const RemoteOps* g_ops = nullptr;
LoopStartHook g_loopStart = nullptr;
LaunchHook g_launch = nullptr;
} // namespace

void SetRemoteOps(const RemoteOps* ops) { g_ops = ops; }

const RemoteOps* RemoteFor(HWND hwnd)
{
    if (!g_ops || hwnd == 0 || HIWORD(hwnd) == GetProcessTag())
        return nullptr;
    return g_ops;
}

void SetLoopStartHook(LoopStartHook hook) { g_loopStart = hook; }

void RunLoopStartHook()
{
    if (g_loopStart)
        g_loopStart();
}

void SetLaunchHook(LaunchHook hook) { g_launch = hook; }
LaunchHook GetLaunchHook() { return g_launch; }

} // namespace plat::ipc
