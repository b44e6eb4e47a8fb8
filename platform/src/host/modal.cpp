// Modal depth and the flush hook.
#include "plat/modal.h"

namespace plat {

namespace {
int g_depth = 0;
FlushHandler g_flush = nullptr;
} // namespace

int ModalDepth() { return g_depth; }

ModalScope::ModalScope()
{
    FlushNow();
    ++g_depth;
}

ModalScope::~ModalScope() { --g_depth; }

FlushHandler SetFlushHandler(FlushHandler handler)
{
    FlushHandler old = g_flush;
    g_flush = handler;
    return old;
}

void FlushNow()
{
    if (g_flush)
        g_flush();
}

} // namespace plat
