// The version the layer reports to programs that ask.
#include "plat/module.h"

namespace plat {

DWORD GetVersion()
{
    // Windows 95 shape: 4.0, never NT.
    return 0x80000004u;
}

} // namespace plat
