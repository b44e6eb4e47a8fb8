// The shared handle counter.
#include "kernel/handles_p.h"
#include <atomic>

namespace plat {

uint32_t NextObjectHandle()
{
    static std::atomic<uint32_t> next{0x10000};
    return next++;
}

} // namespace plat
