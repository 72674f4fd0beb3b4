#pragma once
// Turns the block markers of a file, found in ascending order, into the
// reader's copyright entries in one pass and with bounded memory.

#include "core/stamping/copyrightblock.h"

#include <QByteArrayView>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// What the collector needs of the bytes behind a marker, taken while they are
// at hand, so that a mapped file is touched only where entries are shown.
struct MarkerContext {
    static constexpr std::size_t kUnknown = SIZE_MAX;
    std::array<char, 6> after{}; // the bytes at marker + 12 .. + 17, as far as the file goes
    // First CR LF at or after marker + 12 and + 16 (file offsets); the file's
    // size when there is none; kUnknown when it was not found in the bytes at hand.
    std::size_t crlfFrom12 = kUnknown;
    std::size_t crlfFrom16 = kUnknown;
};

// What the reader yields: for a marker at p, the text from p + 16 to the end of
// the file is split at every later marker that starts at or after p + 16; each
// part yields an entry unless its first line (up to the first CR LF) starts with
// 0x08 or 0x0D. A part is therefore either the marker's own "first part" (from
// p + 16 to the next marker at or after p + 16) or the "segment" behind a later
// marker (from its end to the marker after it). Segments are judged once and
// shared by every marker in front of them.
class EntryCollector {
public:
    // Length of the first line of the part [begin, end): up to its first CR LF.
    // Asked only where the markers' contexts did not tell.
    using FirstLineMeasure = std::function<std::size_t(std::size_t begin, std::size_t end)>;

    EntryCollector(std::size_t fileSize, FirstLineMeasure measure, std::size_t maxEntries);

    // Feeds the next marker position. Returns false once no later marker can
    // change the result; the caller may then stop searching.
    bool addMarker(std::size_t position, const MarkerContext& context);
    // Call once after the last marker.
    void finish();

    std::vector<CopyrightEntry> takeEntries() { return std::move(entries_); }
    bool truncated() const { return truncated_; }

private:
    struct Marker {
        std::size_t position = 0;
        MarkerContext context;
        std::size_t yieldingThroughOwn = 0; // yielding segments up to this marker's own one
    };
    // Consecutive markers that yield the same entries share one group.
    struct Group {
        std::size_t count = 1;
        bool hasFirstPart = false;
        CopyrightEntry firstPart;
        std::size_t firstSegment = 0; // index into segments_ of the first later entry
    };

    // Both for the part from `begin` (marker + 12 or + 16) to `end`.
    bool yields(const Marker& marker, std::size_t begin, std::size_t end) const;
    CopyrightEntry entry(const Marker& marker, std::size_t begin, std::size_t end) const;
    void closeSegment(Marker& marker, std::size_t end);
    void settle(const Marker& marker, const Marker* next, const Marker* afterNext);
    void build();
    bool push(const CopyrightEntry& e);

    std::size_t fileSize_;
    FirstLineMeasure measure_;
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
