// Makes the reader's benchmark files (if needed) and prints their paths, one a
// line, for compare_reader.sh; with SIZE_MIB BLOCKS, makes that one file (for
// compare.sh).
#include "readerfiles.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc == 3) {
        const long mib = std::strtol(argv[1], nullptr, 10);
        const long blocks = std::strtol(argv[2], nullptr, 10);
        if (mib < 1 || mib > 65536 || blocks < 1 || blocks > 1000000) {
            std::fprintf(stderr, "usage: make_reader_files [SIZE_MIB BLOCKS]\n");
            return 2;
        }
        std::printf("%s\n", qPrintable(readerBenchFile(int(blocks), qint64(mib) << 20)));
        return 0;
    }
    for (const int blocks : {10, 10000})
        std::printf("%s\n", qPrintable(readerBenchFile(blocks)));
    return 0;
}
