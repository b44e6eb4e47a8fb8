// libFuzzer entry of one session file, named by SESSION_FILE at build time ("MGR", "PRD").
#include "session/state_fuzz.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    fuzz_session_file(SESSION_FILE, data, size);
    return 0;
}
