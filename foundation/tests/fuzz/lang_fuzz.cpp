// libFuzzer entry for the lang reader.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_lang(data, size);
    return 0;
}
