#include "core/stamping/copyrightblock.h"

#include "core/base/filebytes.h"
#include "core/base/fileerror.h"
#include "core/base/filename.h"
#include "core/base/littleendian.h"
#include "core/stamping/entrycollector.h"
#include "core/stamping/markersearch.h"
#include "core/stamping/windows1252.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The marker must not overlap itself: then the markers a split finds in the text
// behind a marker are exactly the file's markers that start in that text.
constexpr bool markerCannotOverlapItself() {
    for (std::size_t shift = 1; shift < kBlockMarkerLength; ++shift) {
        bool overlaps = true;
        for (std::size_t i = shift; i < kBlockMarkerLength && overlaps; ++i)
            overlaps = kBlockMarker[i] == kBlockMarker[i - shift];
        if (overlaps)
            return false;
    }
    return true;
}
static_assert(markerCannotOverlapItself());
static_assert(sizeof(kBlockMarker) == kBlockMarkerLength + 1);

// The string-field type tag and the marker length, both 16-bit little-endian.
constexpr std::uint16_t kStringTag = 8;

// Takes the context of each marker from the bytes at hand. Remembers how far it
// has looked for CR LF, so every byte is looked at once however many markers
// ask (the markers come in ascending order).
class ContextTaker {
public:
    explicit ContextTaker(std::size_t fileSize) : fileSize_(fileSize) {}

    // `window` holds the file's bytes from offset `base`; the bytes up to
    // marker + 18 are in it unless the window reaches the end of the file.
    MarkerContext take(QByteArrayView window, std::size_t base, std::size_t marker) {
        MarkerContext context;
        const std::size_t from = marker + kBlockMarkerLength;
        const std::size_t end = std::min(from + context.after.size(), fileSize_);
        for (std::size_t i = from; i < end; ++i)
            context.after[i - from] = window[static_cast<qsizetype>(i - base)];
        context.crlfFrom12 = firstCrlf(window, base, from);
        context.crlfFrom16 = firstCrlf(window, base, from + 4);
        return context;
    }

private:
    std::size_t firstCrlf(QByteArrayView window, std::size_t base, std::size_t q) {
        if (q >= fileSize_)
            return fileSize_;
        if (found_ != MarkerContext::kUnknown && from_ <= q && q <= found_)
            return found_;
        // no pair starts in [from_, searchedTo_ - 1): go on from there
        std::size_t start = q;
        if (found_ == MarkerContext::kUnknown && from_ <= q && q + 1 < searchedTo_)
            start = searchedTo_ - 1;
        const std::size_t windowEnd = base + static_cast<std::size_t>(window.size());
        from_ = q;
        if (start >= windowEnd) {
            found_ = MarkerContext::kUnknown;
            return found_;
        }
        const char* begin = window.data() + (start - base);
        const void* hit = ::memmem(begin, windowEnd - start, "\r\n", 2);
        if (hit != nullptr) {
            found_ = start + static_cast<std::size_t>(static_cast<const char*>(hit) - begin);
            searchedTo_ = found_ + 2;
        } else {
            found_ = windowEnd == fileSize_ ? fileSize_ : MarkerContext::kUnknown;
            searchedTo_ = windowEnd;
        }
        return found_;
    }

    std::size_t fileSize_;
    std::size_t from_ = 0;
    std::size_t searchedTo_ = 0;
    std::size_t found_ = MarkerContext::kUnknown;
};

std::size_t firstLineLengthInMemory(QByteArrayView bytes, std::size_t begin, std::size_t end) {
    const char* start = bytes.data() + begin;
    const void* found = ::memmem(start, end - begin, "\r\n", 2);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - start) : end - begin;
}

// The same through the file, a piece at a time; a read that fails or comes
// short ends the line there.
// Pieces start small and grow: most first lines end within a few hundred bytes.
std::size_t firstLineLengthInFile(const FileBytes& file, std::size_t begin, std::size_t end) {
    constexpr std::size_t kLargestPiece = kFirstLinePieceBytes;
    thread_local std::vector<char> buffer(kLargestPiece + 1);
    std::size_t piece = 512;
    bool carriedCr = false; // the previous piece ended with CR
    for (std::size_t at = begin; at < end; piece = std::min(piece * 4, kLargestPiece)) {
        const qint64 got = file.readAt(static_cast<qint64>(at), buffer.data() + 1,
                                       static_cast<qint64>(std::min(piece, end - at)));
        if (got <= 0)
            return at - begin;
        buffer[0] = carriedCr ? '\r' : '\0';
        const char* from = buffer.data() + (carriedCr ? 0 : 1);
        const std::size_t length = static_cast<std::size_t>(got) + (carriedCr ? 1 : 0);
        if (const void* hit = ::memmem(from, length, "\r\n", 2))
            return at - begin + static_cast<std::size_t>(static_cast<const char*>(hit) - from) -
                   (carriedCr ? 1 : 0);
        carriedCr = buffer[static_cast<std::size_t>(got)] == '\r';
        at += static_cast<std::size_t>(got);
    }
    return end - begin;
}

void searchInMemory(QByteArrayView bytes, EntryCollector& collector) {
    const char* data = bytes.data();
    const auto size = static_cast<std::size_t>(bytes.size());
    ContextTaker contexts(size);
    // markers cannot overlap, so the search goes on behind each one
    for (std::size_t at = findBlockMarker(data, size, 0); at < size;
         at = findBlockMarker(data, size, at + kBlockMarkerLength)) {
        if (!collector.addMarker(at, contexts.take(bytes, 0, at)))
            return;
    }
}

// The same search through a small buffer refilled from the file (a buffer that
// stays in the cache is cheaper than walking a large mapping page by page). A
// marker is taken once the 18 bytes from its start are in the buffer; the last
// 17 bytes of each piece stay for the next round. Returns 0, errno when the file
// could not be read to its end, or kShrank.
constexpr std::size_t kHeadBytes = 160;
constexpr int kShrank = -1; // the file ended before the size it had when opened
using TextHeads = std::vector<std::pair<std::size_t, QByteArray>>;

int searchByReading(const FileBytes& file, EntryCollector& collector, TextHeads& heads) {
    constexpr auto kPiece = static_cast<qint64>(kReaderPieceBytes);
    constexpr qint64 kAhead = kBlockMarkerLength + 6;
    constexpr qint64 kKeep = kAhead - 1;
    const qint64 size = file.size;
    ContextTaker contexts(static_cast<std::size_t>(size));
    std::vector<char> buffer(static_cast<std::size_t>(kPiece + kKeep));
    qint64 base = 0;       // file offset of buffer[0]
    qint64 held = 0;       // bytes in the buffer
    qint64 searchFrom = 0; // file offset where the next marker may start
    while (base + held < size) {
        const qint64 got =
            file.readAt(base + held, buffer.data() + held, std::min(kPiece, size - base - held));
        if (got < 0)
            return errno;
        if (got == 0)
            return kShrank;
        held += got;
        const bool atEnd = base + held == size;
        const QByteArrayView window(buffer.data(), held);
        const auto limit =
            static_cast<std::size_t>(atEnd ? held : held - (kAhead - kBlockMarkerLength));
        for (std::size_t at =
                 findBlockMarker(buffer.data(), limit, static_cast<std::size_t>(searchFrom - base));
             at < limit; at = findBlockMarker(buffer.data(), limit, at + kBlockMarkerLength)) {
            const auto marker = static_cast<std::size_t>(base) + at;
            const std::size_t textAt = at + 16; // in the buffer
            if (textAt < static_cast<std::size_t>(held) && heads.size() < kMaxCopyrightEntries)
                heads.emplace_back(
                    marker + 16,
                    QByteArray(buffer.data() + textAt,
                               static_cast<qsizetype>(std::min<std::size_t>(
                                   kHeadBytes, static_cast<std::size_t>(held) - textAt))));
            if (!collector.addMarker(marker,
                                     contexts.take(window, static_cast<std::size_t>(base), marker)))
                return 0;
            searchFrom = base + static_cast<qint64>(at + kBlockMarkerLength);
        }
        if (atEnd)
            break;
        const qint64 keep = std::min(kKeep, held);
        std::memmove(buffer.data(), buffer.data() + held - keep, static_cast<std::size_t>(keep));
        base += held - keep;
        held = keep;
        searchFrom = std::max(searchFrom, base);
    }
    return 0;
}

} // namespace

QByteArray copyrightBlockBytes(QByteArrayView text) {
    QByteArray block;
    block.reserve(23 + text.size());
    block.append("\x1A\x0A\x0D", 3);
    appendLittleEndian16(block, kStringTag);
    appendLittleEndian16(block, static_cast<std::uint16_t>(kBlockMarkerLength));
    block.append(kBlockMarker, kBlockMarkerLength);
    appendLittleEndian16(block, kStringTag);
    // The length field has 16 bits. A longer text is still written whole and its
    // field holds 65535; the reader never uses the field, it reads to the next
    // marker or the end of the file.
    const auto length = static_cast<std::size_t>(text.size());
    appendLittleEndian16(block, static_cast<std::uint16_t>(std::min<std::size_t>(length, 0xFFFF)));
    block.append(text.data(), text.size());
    return block;
}

QByteArray CopyrightScan::slice(std::size_t begin, std::size_t length) const {
    if (!readAt_) {
        const auto from = static_cast<qsizetype>(begin - bytesOffset_);
        if (begin < bytesOffset_ || from >= bytes_.size())
            return {};
        return bytes_.sliced(from, std::min(static_cast<qsizetype>(length), bytes_.size() - from))
            .toByteArray();
    }
    const auto head = std::lower_bound(
        heads_.begin(), heads_.end(), begin,
        [](const std::pair<std::size_t, QByteArray>& h, std::size_t at) { return h.first < at; });
    if (head != heads_.end() && head->first == begin &&
        length <= static_cast<std::size_t>(head->second.size()))
        return head->second.left(static_cast<qsizetype>(length));
    QByteArray out(static_cast<qsizetype>(length), Qt::Uninitialized);
    qint64 done = 0;
    while (done < out.size()) {
        const qint64 got =
            readAt_(static_cast<qint64>(begin) + done, out.data() + done, out.size() - done);
        if (got <= 0) {
            shortRead_ = true; // the entries lie within the size the scan saw
            break;
        }
        done += got;
    }
    out.truncate(done);
    return out;
}

void CopyrightScan::failAsChanged() {
    error_ = QStringLiteral("Die Datei „%1“ hat sich beim Lesen geändert; ihre Einträge werden "
                            "nicht gezeigt.")
                 .arg(path_);
    entries_.clear();
    heads_.clear();
    truncated_ = false;
}

bool CopyrightScan::checkUnchanged() {
    if (ok() && (shortRead_ || (unchanged_ && !unchanged_())))
        failAsChanged();
    return ok();
}

bool CopyrightScan::readIntoMemory(std::size_t maxBytes) {
    if (!readAt_)
        return true; // in memory already
    std::size_t first = std::numeric_limits<std::size_t>::max();
    std::size_t end = 0;
    for (const CopyrightEntry& e : entries_) {
        first = std::min(first, e.textBegin);
        end = std::max(end, e.textBegin + e.textLength);
    }
    if (entries_.empty())
        first = end = 0;
    if (end - first > maxBytes)
        return false;
    std::shared_ptr<QByteArray> buffer;
    try {
        buffer = std::make_shared<QByteArray>(slice(first, end - first));
    } catch (const std::bad_alloc&) {
        return false; // then the entries are read from the file when shown
    }
    if (!checkUnchanged())
        return true;
    bytes_ = QByteArrayView(*buffer);
    bytesOffset_ = first;
    storage_ = std::move(buffer);
    readAt_ = {}; // the file is closed with it
    heads_.clear();
    return true;
}

QByteArray CopyrightScan::firstLineBytes(std::size_t i) const {
    const CopyrightEntry& e = entries_.at(i);
    return slice(e.textBegin, e.firstLineLength);
}

QByteArray CopyrightScan::textBytes(std::size_t i) const {
    const CopyrightEntry& e = entries_.at(i);
    return slice(e.textBegin, e.textLength);
}

QByteArray CopyrightScan::textBytes(std::size_t i, std::size_t offset, std::size_t length) const {
    const CopyrightEntry& e = entries_.at(i);
    offset = std::min(offset, e.textLength);
    return slice(e.textBegin + offset, std::min(length, e.textLength - offset));
}

QString CopyrightScan::firstLine(std::size_t i) const {
    return decodeWindows1252(firstLineBytes(i));
}

QString CopyrightScan::text(std::size_t i) const {
    return decodeWindows1252(textBytes(i));
}

CopyrightScan scanCopyrightBytes(QByteArrayView bytes) {
    CopyrightScan scan;
    scan.bytes_ = bytes;
    EntryCollector collector(
        static_cast<std::size_t>(bytes.size()),
        [bytes](std::size_t begin, std::size_t end) {
            return firstLineLengthInMemory(bytes, begin, end);
        },
        kMaxCopyrightEntries);
    searchInMemory(bytes, collector);
    collector.finish();
    scan.entries_ = collector.takeEntries();
    scan.truncated_ = collector.truncated();
    return scan;
}

CopyrightScan ReadCopyrightBlocks(const QString& path) {
    FileBytes file = loadFileBytes(path);
    if (!file.error.isEmpty()) {
        CopyrightScan failed;
        failed.error_ = file.error;
        return failed;
    }
    if (!file.readAt) {
        CopyrightScan scan = scanCopyrightBytes(file.bytes);
        scan.storage_ = std::move(file.storage);
        return scan;
    }
    CopyrightScan scan;
    scan.path_ = path;
    EntryCollector collector(
        static_cast<std::size_t>(file.size),
        [&file](std::size_t begin, std::size_t end) {
            return firstLineLengthInFile(file, begin, end);
        },
        kMaxCopyrightEntries);
    if (const int err = searchByReading(file, collector, scan.heads_); err == kShrank) {
        scan.failAsChanged();
        return scan;
    } else if (err != 0) {
        scan.error_ = fileReadError(path, describeFileError(err));
        return scan;
    }
    collector.finish();
    scan.entries_ = collector.takeEntries();
    scan.truncated_ = collector.truncated();
    scan.readAt_ = std::move(file.readAt);
    scan.unchanged_ = std::move(file.unchanged);
    // a file that grew, shrank or was written while it was searched
    scan.checkUnchanged();
    return scan;
}
