// libFuzzer front end of the chart data file readers; which reader is chosen
// at build time (FUZZ_READER 0 VEC, 1 raw samples, 2 text vectors).
#include "chartfiles.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::span<const uint8_t> bytes(data, size);
    qxi::Series x, y;
    std::vector<double> v;
#if FUZZ_READER == 0
    qxi::parse_vec(bytes, x, y);
#elif FUZZ_READER == 1
    int type = size ? data[0] % 7 : 0;
    int64_t offset = size > 1 ? data[1] : 0;
    qxi::parse_bin_samples(bytes, offset, type, size > 2 ? int64_t(data[2]) - 2 : -1, y);
    qxi::parse_bin_vector(bytes, offset, type % 4, -1, v);
#else
    qxi::parse_text_vector(bytes, size ? data[0] % 3 : 0, -1, v);
#endif
    return 0;
}
