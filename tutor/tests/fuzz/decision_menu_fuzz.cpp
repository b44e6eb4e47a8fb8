// libFuzzer entry for the decision-menu file reader.
#include "support/tutor_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_decision_menu(data, size);
    return 0;
}
