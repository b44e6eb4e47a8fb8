#include "plat/crt.h"
int seeded() { plat::crt_srand(1); return plat::crt_rand(); }
