// vorncode code|uncode FILE: codes or uncodes a text file in place.
#include "foundation/coder.h"
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "code") != 0 && std::strcmp(argv[1], "uncode") != 0)) {
        std::fprintf(stderr, "usage: vorncode code|uncode FILE\n");
        return 2;
    }
    const bool code = std::strcmp(argv[1], "code") == 0;
    if (!code_file_quiet(argv[2], code)) {
        std::fprintf(stderr, "vorncode: cannot %s %s; the file is unchanged\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
