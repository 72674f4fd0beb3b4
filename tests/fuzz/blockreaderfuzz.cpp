#include "core/stamping/copyrightblock.h"
#include "fuzzfolder.h"
#include "fuzztargets.h"
#include "support/literalblockreader.h"

#include <QFile>
#include <algorithm>

namespace {

// The literal reading is quadratic; beyond this size only the fast readers run.
constexpr std::size_t kLiteralLimit = 8192;

bool samePrefix(const std::vector<BlockEntry>& fast, const std::vector<BlockEntry>& literal) {
    if (fast.size() > literal.size())
        return false;
    return std::equal(fast.begin(), fast.end(), literal.begin());
}

} // namespace

int fuzzBlockReader(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const CopyrightScan scan = scanCopyrightBytes(bytes);
    fuzzCheck(scan.ok(), "a scan in memory cannot fail");
    fuzzCheck(scan.size() <= kMaxCopyrightEntries, "entry limit");
    const std::vector<BlockEntry> fast = blockEntriesOf(scan);
    for (std::size_t i = 0; i < scan.size(); ++i) {
        fuzzCheck(scan.textLength(i) == std::size_t(fast[i].text.size()), "text length");
        fuzzCheck(scan.firstLineLength(i) == std::size_t(fast[i].firstLine.size()),
                  "first line length");
    }
    if (size <= kLiteralLimit) {
        const std::vector<BlockEntry> literal = literalReadBlocks(bytes);
        if (scan.truncated())
            fuzzCheck(fast.size() == kMaxCopyrightEntries && samePrefix(fast, literal),
                      "a cut scan is the front of the literal reading");
        else
            fuzzCheck(fast == literal, "scan equals the literal reading");
    }

    // the file reader reads in pieces and fetches entries on demand: same entries
    const QString path = fuzzFile("block.bin");
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(bytes) == bytes.size(),
              "writing the input file");
    file.close();
    const CopyrightScan fromFile = ReadCopyrightBlocks(path);
    fuzzCheck(fromFile.ok(), "reading a readable file");
    fuzzCheck(fromFile.truncated() == scan.truncated(), "file and memory cut alike");
    fuzzCheck(blockEntriesOf(fromFile) == fast, "file and memory give the same entries");
    return 0;
}
