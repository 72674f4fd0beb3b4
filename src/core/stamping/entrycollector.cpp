#include "core/stamping/entrycollector.h"

#include <algorithm>
#include <cstring>

namespace {
// The text field's first byte lies this far behind the first marker byte.
constexpr std::size_t kTextOffset = kBlockMarkerLength + 4;
} // namespace

EntryCollector::EntryCollector(std::size_t fileSize, FirstLineMeasure measure,
                               std::size_t maxEntries)
    : fileSize_(fileSize), measure_(std::move(measure)), maxEntries_(maxEntries),
      // Marker 0 lists every yielding segment but at most its first two; once this
      // many are known, marker 0 and marker 1 alone exceed the limit.
      segmentLimit_(maxEntries + 3) {}

bool EntryCollector::yields(const Marker& marker, std::size_t begin, std::size_t end) const {
    if (begin == end)
        return true; // an empty part has an empty first line
    const std::size_t offset = begin - marker.position - kBlockMarkerLength;
    const char c = marker.context.after[offset];
    if (c == '\x08')
        return false;
    if (c == '\r') // skipped unless the CR opens a CR LF (then the first line is empty)
        return end - begin >= 2 && marker.context.after[offset + 1] == '\n';
    return true;
}

CopyrightEntry EntryCollector::entry(const Marker& marker, std::size_t begin,
                                     std::size_t end) const {
    CopyrightEntry e;
    e.textBegin = begin;
    e.textLength = end - begin;
    const std::size_t crlf = begin == marker.position + kBlockMarkerLength
                                 ? marker.context.crlfFrom12
                                 : marker.context.crlfFrom16;
    if (crlf != MarkerContext::kUnknown) {
        e.firstLineLength = crlf + 2 <= end ? crlf - begin : e.textLength;
        return e;
    }
    e.firstLineLength = measure_(begin, end);
    return e;
}

bool EntryCollector::addMarker(std::size_t position, const MarkerContext& context) {
    if (pendingCount_ > 0)
        closeSegment(pending_[pendingCount_ - 1], position);
    pending_[pendingCount_++] = Marker{position, context, 0};
    if (pendingCount_ == pending_.size()) {
        settle(pending_[0], &pending_[1], &pending_[2]);
        pending_[0] = pending_[1];
        pending_[1] = pending_[2];
        pendingCount_ = 2;
    }
    stopped_ = segments_.size() >= segmentLimit_;
    return !stopped_;
}

void EntryCollector::finish() {
    if (!stopped_ && pendingCount_ > 0) {
        closeSegment(pending_[pendingCount_ - 1], fileSize_);
        if (pendingCount_ == 2)
            settle(pending_[0], &pending_[1], nullptr);
        settle(pending_[pendingCount_ - 1], nullptr, nullptr);
    }
    pendingCount_ = 0;
    build();
}

void EntryCollector::closeSegment(Marker& marker, std::size_t end) {
    const std::size_t begin = marker.position + kBlockMarkerLength;
    if (yields(marker, begin, end)) {
        ++yielding_;
        if (segments_.size() < segmentLimit_)
            segments_.push_back(entry(marker, begin, end));
        // every settled marker lists this segment among its later entries
        guaranteed_ += settledMarkers_;
    }
    marker.yieldingThroughOwn = yielding_;
}

void EntryCollector::settle(const Marker& marker, const Marker* next, const Marker* afterNext) {
    const std::size_t size = fileSize_;
    const std::size_t begin = marker.position + kTextOffset;
    if (begin >= size || !storingGroups_)
        return; // nothing collected behind this marker, or the limit is already passed
    std::size_t end = size;
    std::size_t firstSegment = marker.yieldingThroughOwn;
    if (next != nullptr && next->position >= begin) {
        end = next->position;
    } else if (next != nullptr) {
        // the next marker starts inside this one's length fields: the split does
        // not see it, so the first part runs on to the marker after it
        end = afterNext != nullptr ? afterNext->position : size;
        firstSegment = next->yieldingThroughOwn;
    }
    const bool firstYields = yields(marker, begin, end);
    if (!firstYields && !groups_.empty() && !groups_.back().hasFirstPart &&
        groups_.back().firstSegment == firstSegment) {
        ++groups_.back().count;
    } else {
        Group g;
        g.hasFirstPart = firstYields;
        if (firstYields)
            g.firstPart = entry(marker, begin, end);
        g.firstSegment = firstSegment;
        groups_.push_back(g);
    }
    ++settledMarkers_;
    guaranteed_ += (firstYields ? 1 : 0) + (yielding_ - firstSegment);
    if (guaranteed_ > maxEntries_)
        storingGroups_ = false; // later markers' entries all lie beyond the limit
}

bool EntryCollector::push(const CopyrightEntry& e) {
    if (entries_.size() >= maxEntries_) {
        truncated_ = true;
        return false;
    }
    entries_.push_back(e);
    return true;
}

void EntryCollector::build() {
    for (const Group& g : groups_) {
        const std::size_t from = std::min(g.firstSegment, segments_.size());
        if (!g.hasFirstPart && from == segments_.size())
            continue; // these markers yield nothing
        for (std::size_t n = 0; n < g.count; ++n) {
            if (g.hasFirstPart && !push(g.firstPart))
                return;
            for (std::size_t s = from; s < segments_.size(); ++s)
                if (!push(segments_[s]))
                    return;
        }
    }
}
