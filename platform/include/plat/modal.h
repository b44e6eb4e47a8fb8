// Modal depth: any modal loop (box, dialog, popup menu, prompt) raises it,
// and the idle pump does nothing while it is above 0.
#pragma once

namespace plat {

int ModalDepth();

// Depth +1 for its lifetime; pending drawing is flushed on entry.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

// The window layer registers the function that puts pending drawing on the
// screen; it is called at every flush point. Returns the previous one.
using FlushHandler = void (*)();
FlushHandler SetFlushHandler(FlushHandler handler);
void FlushNow();

} // namespace plat
