// libFuzzer entry for the Production state file read by the engine.
#include "fuzz/plant_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_plant_file(data, size);
    return 0;
}
