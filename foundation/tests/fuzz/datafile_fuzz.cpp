// libFuzzer entry for the datafile reader.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_datafile(data, size);
    return 0;
}
