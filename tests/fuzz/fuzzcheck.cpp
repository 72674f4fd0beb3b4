#include "fuzztargets.h"

#include <cstdio>
#include <cstdlib>

void FuzzCheck(bool ok, const char* what) {
    if (ok)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
