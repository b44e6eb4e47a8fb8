// A stand-in for the connectivity library: answers every call with success.
#include <cstdint>

extern "C" {
__attribute__((visibility("default"))) int QXLConnect(int32_t, int32_t) { return 1; }
__attribute__((visibility("default"))) int QXLDisconnect(int32_t) { return 0; }
__attribute__((visibility("default"))) int QXLGetData(int32_t, const char*, uint32_t* x, uint32_t* y)
{
    *x = 0;
    *y = 0;
    return 0;
}
#ifndef FAKE_WITHOUT_SETDATA
__attribute__((visibility("default"))) int QXLSetData(int32_t, uint32_t, uint32_t) { return 0; }
#endif
}
