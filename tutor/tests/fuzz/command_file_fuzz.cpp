// libFuzzer entry for the command-file reader.
#include "support/tutor_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_command_file(data, size);
    return 0;
}
