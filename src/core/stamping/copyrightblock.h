#pragma once
// The embedded copyright block: the bytes of one block, which a stamping run
// writes behind a file's contents, and the reader that finds every block again.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// The marker that every block carries, compared byte for byte.
inline constexpr char kBlockMarker[] = "10a1020z04y5";
inline constexpr std::size_t kBlockMarkerLength = 12;
// A crafted file can yield entries with the square of its markers: a read stops here.
inline constexpr std::size_t kMaxCopyrightEntries = 100000;
// A file is searched in pieces of this many bytes, read one after the other.
inline constexpr std::size_t kReaderPieceBytes = std::size_t(1) << 17;
// A first line that runs past its piece is measured in reads of at most this many bytes.
inline constexpr std::size_t kFirstLinePieceBytes = std::size_t(1) << 16;

// The bytes of one block carrying `text` (already encoded, one byte per character).
QByteArray copyrightBlockBytes(QByteArrayView text);

// One entry found by the reader: slices of the file's bytes, decoded only when shown.
struct CopyrightEntry {
    std::size_t textBegin = 0;  // offset of the whole text in the file
    std::size_t textLength = 0; // length of the whole text
    std::size_t firstLineLength = 0;
};

// The result of one read: the entries as slices of the file. Their bytes are
// kept in memory (readIntoMemory, and always for files read whole and bytes
// scanned in memory); only the command line, for texts too long to keep, reads
// them from the open file as it shows them.
class CopyrightScan {
public:
    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; } // German reason when the file could not be read
    bool truncated() const { return truncated_; }
    std::size_t size() const { return entries_.size(); }
    std::size_t firstLineLength(std::size_t i) const { return entries_.at(i).firstLineLength; }
    std::size_t textLength(std::size_t i) const { return entries_.at(i).textLength; }
    // The bytes of an entry, fetched when asked for: a file's entries are read
    // from the file then (short when the file has shrunk since the scan), so
    // showing a few entries of a huge file touches only their bytes.
    QByteArray firstLineBytes(std::size_t i) const;
    QByteArray textBytes(std::size_t i) const;
    // A piece of the whole text, for showing a huge text piece by piece.
    QByteArray textBytes(std::size_t i, std::size_t offset, std::size_t length) const;
    QString firstLine(std::size_t i) const; // decoded from Windows-1252
    QString text(std::size_t i) const;      // decoded from Windows-1252

    // Reads the bytes the entries cover into memory and lets the file go, so the
    // entries stay as they were read whatever happens to the file afterwards.
    // False, reading from the file as before, when they would take more than
    // `maxBytes` or that memory cannot be had (the viewer then shows nothing).
    // A file that has changed since it was scanned is an error (see ok()), its
    // entries are dropped.
    bool readIntoMemory(std::size_t maxBytes);
    // After entries were shown from the file: false, with error() set, when a
    // read of their bytes came out short or the file changed since its scan.
    bool checkUnchanged();

private:
    friend CopyrightScan ReadCopyrightBlocks(const QString& path);
    friend CopyrightScan scanCopyrightBytes(QByteArrayView bytes);
    QByteArray slice(std::size_t begin, std::size_t length) const;
    void failAsChanged();

    std::shared_ptr<const void> storage_; // keeps a buffer read whole alive
    QByteArrayView bytes_;
    std::size_t bytesOffset_ = 0;                         // the file offset of bytes_[0]
    std::function<qint64(qint64, char*, qint64)> readAt_; // reads from the file when set
    std::function<bool()> unchanged_;                     // the file is as it was scanned
    mutable bool shortRead_ = false; // a read from the file gave less than the scan saw
    QString path_;
    // The first bytes behind each marker's text start, kept while the file was
    // searched, so listing first lines needs no read per entry (ascending offsets).
    std::vector<std::pair<std::size_t, QByteArray>> heads_;
    std::vector<CopyrightEntry> entries_;
    QString error_;
    bool truncated_ = false;
};

// Reads every copyright entry of the file at `path`, in file order.
CopyrightScan ReadCopyrightBlocks(const QString& path);
// The same on bytes in memory (the bytes must outlive the result).
CopyrightScan scanCopyrightBytes(QByteArrayView bytes);
