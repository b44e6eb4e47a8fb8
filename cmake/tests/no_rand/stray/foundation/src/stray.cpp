#include "plat/crt.h"
int draw() { return plat::crt_rand(); }
