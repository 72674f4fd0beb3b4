// Makes the reader's benchmark files (if needed) and prints their paths, one a
// line, for compare_reader.sh.
#include "readerfiles.h"

#include <cstdio>

int main() {
    for (const int blocks : {10, 10000})
        std::printf("%s\n", qPrintable(ReaderBenchFile(blocks)));
    return 0;
}
