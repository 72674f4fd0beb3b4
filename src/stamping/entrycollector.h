#pragma once
// Turns the block markers of a file, found in ascending order, into the
// reader's copyright entries in one pass and with bounded memory.

#include "stamping/copyrightblock.h"

#include <QByteArrayView>
#include <array>
#include <cstddef>
#include <vector>

// What the reader yields: for a marker at p, the text from p + 16 to the end of
// the file is split at every later marker that starts at or after p + 16; each
// part yields an entry unless its first line (up to the first CR LF) starts with
// 0x08 or 0x0D. A part is therefore either the marker's own "first part" (from
// p + 16 to the next marker at or after p + 16) or the "segment" behind a later
// marker (from its end to the marker after it). Segments are judged once and
// shared by every marker in front of them.
class EntryCollector {
public:
    EntryCollector(QByteArrayView bytes, std::size_t maxEntries);

    // Feeds the next marker position. Returns false once no later marker can
    // change the result; the caller may then stop searching.
    bool addMarker(std::size_t position);
    // Call once after the last marker.
    void finish();

    std::vector<CopyrightEntry> takeEntries() { return std::move(entries_); }
    bool truncated() const { return truncated_; }

private:
    struct Marker {
        std::size_t position = 0;
        std::size_t yieldingThroughOwn = 0; // yielding segments up to this marker's own one
    };
    // Consecutive markers that yield the same entries share one group.
    struct Group {
        std::size_t count = 1;
        bool hasFirstPart = false;
        CopyrightEntry firstPart;
        std::size_t firstSegment = 0; // index into segments_ of the first later entry
    };

    bool yields(std::size_t begin, std::size_t end) const;
    CopyrightEntry entry(std::size_t begin, std::size_t end) const;
    void closeSegment(Marker& marker, std::size_t end);
    void settle(const Marker& marker, const Marker* next, const Marker* afterNext);
    void build();
    bool push(const CopyrightEntry& e);

    QByteArrayView bytes_;
    std::size_t maxEntries_;
    std::size_t segmentLimit_;
    std::array<Marker, 3> pending_{}; // markers whose entries are not settled yet
    std::size_t pendingCount_ = 0;
    std::size_t yielding_ = 0;             // yielding segments seen so far
    std::vector<CopyrightEntry> segments_; // the first of them, in file order
    std::vector<Group> groups_;
    std::size_t settledMarkers_ = 0;
    std::size_t guaranteed_ = 0; // entries the settled markers yield at least
    bool storingGroups_ = true;
    bool stopped_ = false;
    std::vector<CopyrightEntry> entries_;
    bool truncated_ = false;
};
