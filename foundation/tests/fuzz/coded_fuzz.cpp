// libFuzzer entry for the coded reader.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_coded(data, size);
    return 0;
}
