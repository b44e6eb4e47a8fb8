// libFuzzer entry for the state file's reader.
#include "fuzz/fuzz_finance.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_finance_state(data, size);
    return 0;
}
