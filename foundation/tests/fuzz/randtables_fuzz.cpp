// libFuzzer entry for the randtables reader.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_randtables(data, size);
    return 0;
}
