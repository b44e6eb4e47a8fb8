// libFuzzer entry for the bitmap reader.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_bitmap(data, size);
    return 0;
}
