// libFuzzer entry for the Purchasing state-file reader.
#include "support/fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_prc_state(data, size);
    return 0;
}
