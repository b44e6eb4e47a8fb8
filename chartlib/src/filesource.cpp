// Chart data files are read whole, through the layer's file names.
#include "chartfiles.h"
#include "plat/crt.h"
#include <cstdio>

namespace qxi {

bool read_whole_file(const char* path, std::vector<uint8_t>& out)
{
    out.clear();
    if (!path)
        return false;
    std::FILE* f = plat::crt_fopen(path, "rb");
    if (!f)
        return false;
    bool ok = true;
    uint8_t buffer[65536];
    for (;;) {
        size_t got = std::fread(buffer, 1, sizeof buffer, f);
        out.insert(out.end(), buffer, buffer + got);
        if (got < sizeof buffer) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    return ok;
}

} // namespace qxi
