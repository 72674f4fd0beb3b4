#include "readerfiles.h"

#include "core/stamping/copyrightblock.h"

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

QString readerBenchFile(int blocks, qint64 size) {
    const QString folder = QStringLiteral(STAMPORA_BENCH_WORK);
    QDir().mkpath(folder);
    QString path = QStringLiteral("%1/reader-%2-blocks.bin").arg(folder).arg(blocks);
    if (size != kReaderFileSize)
        path = QStringLiteral("%1/reader-%2-mib-%3-blocks.bin")
                   .arg(folder)
                   .arg(size >> 20)
                   .arg(blocks);
    if (QFileInfo(path).size() == size)
        return path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    std::uint64_t state = 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(blocks);
    // Both files are written in the same 1 MiB writes, so the page cache holds
    // them alike and the two measurements differ only in the blocks.
    constexpr qsizetype kWrite = 1 << 20;
    QByteArray staged;
    auto stage = [&](const QByteArray& bytes) {
        staged += bytes;
        while (staged.size() >= kWrite) {
            file.write(staged.constData(), kWrite);
            staged.remove(0, kWrite);
        }
    };
    qint64 written = 0;
    for (int b = 0; b < blocks; ++b) {
        const QByteArray block = copyrightBlockBytes(
            QStringLiteral("(c) 2026 Anna Beispiel, Bild %1\r\nAlle Rechte vorbehalten.")
                .arg(b + 1)
                .toLatin1());
        // the noise in front of this block ends where an even share of the file ends
        const qint64 end = size * (b + 1) / blocks - block.size();
        for (qint64 at = written; at < end; at += kWrite) {
            QByteArray noise(std::min<qint64>(kWrite, end - at), Qt::Uninitialized);
            fillNoise(noise, state);
            stage(noise);
        }
        stage(block);
        written = end + block.size();
    }
    file.write(staged);
    file.close();
    return path;
}
