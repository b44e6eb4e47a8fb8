// libFuzzer entry for the link's frame decoder.
#include "support/link_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_link_frames(data, size);
    return 0;
}
