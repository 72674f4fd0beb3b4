#pragma once
// The reading algorithm of copyright blocks transcribed literally, position by
// position, slow on purpose: the reference the fast reader must match entry for
// entry (in the block tests and in the differential fuzz target).

#include "core/stamping/copyrightblock.h"

#include <QByteArray>
#include <QList>
#include <ostream>
#include <vector>

struct BlockEntry {
    QByteArray firstLine;
    QByteArray text;
    bool operator==(const BlockEntry&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const BlockEntry& e) {
    return os << "{" << e.firstLine.toPercentEncoding().constData() << " | "
              << e.text.toPercentEncoding().constData() << "}";
}

// The entries of a fast scan as bytes, for comparing with the literal reading.
inline std::vector<BlockEntry> blockEntriesOf(const CopyrightScan& scan) {
    std::vector<BlockEntry> out;
    for (std::size_t i = 0; i < scan.size(); ++i)
        out.push_back({scan.firstLineBytes(i), scan.textBytes(i)});
    return out;
}

inline std::vector<BlockEntry> literalReadBlocks(const QByteArray& file) {
    const QByteArray marker(kBlockMarker, kBlockMarkerLength);
    std::vector<BlockEntry> out;
    const qsizetype length = file.size();
    for (qsizetype p = 0; p + 12 <= length; ++p) {
        if (file.mid(p, 12) != marker)
            continue;
        const QByteArray collected = p + 16 <= length - 1 ? file.mid(p + 16) : QByteArray();
        if (collected.isEmpty())
            continue;
        QList<QByteArray> parts;
        qsizetype from = 0;
        for (qsizetype at = collected.indexOf(marker, from); at >= 0;
             at = collected.indexOf(marker, from)) {
            parts.append(collected.mid(from, at - from));
            from = at + marker.size();
        }
        parts.append(collected.mid(from));
        for (const QByteArray& part : parts) {
            const qsizetype crlf = part.indexOf("\r\n");
            const QByteArray firstLine = crlf >= 0 ? part.left(crlf) : part;
            if (!firstLine.isEmpty() && (firstLine[0] == '\x08' || firstLine[0] == '\x0D'))
                continue;
            out.push_back({firstLine, part});
        }
    }
    return out;
}
