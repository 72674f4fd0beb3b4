#include "readerfiles.h"

#include "stamping/copyrightblock.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstring>

namespace {

// Fast reproducible noise, like compressed picture data.
void fillNoise(QByteArray& chunk, std::uint64_t& state) {
    char* at = chunk.data();
    const qsizetype words = chunk.size() / 8;
    for (qsizetype i = 0; i < words; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(at + i * 8, &state, 8);
    }
    for (qsizetype i = words * 8; i < chunk.size(); ++i)
        at[i] = static_cast<char>(i);
}

} // namespace

QString ReaderBenchFile(int blocks) {
    const QString folder = QStringLiteral(STAMPORA_BENCH_WORK);
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/reader-%2-blocks.bin").arg(folder).arg(blocks);
    if (QFileInfo(path).size() == kReaderFileSize)
        return path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    std::uint64_t state = 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(blocks);
    qint64 written = 0;
    for (int b = 0; b < blocks; ++b) {
        const QByteArray block = CopyrightBlockBytes(
            QStringLiteral("(c) 2026 Anna Beispiel, Bild %1\r\nAlle Rechte vorbehalten.")
                .arg(b + 1)
                .toLatin1());
        // the noise in front of this block ends where an even share of the file ends
        const qint64 end = kReaderFileSize * (b + 1) / blocks - block.size();
        QByteArray noise(end - written, Qt::Uninitialized);
        fillNoise(noise, state);
        file.write(noise);
        file.write(block);
        written = end + block.size();
    }
    file.close();
    return path;
}
