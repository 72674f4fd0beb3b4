#include "core/imaging/jpegarraydestination.h"

#include <algorithm>

namespace {

constexpr qsizetype kLeastRoom = qsizetype(1) << 16;

void startArray(j_compress_ptr info) {
    auto* dest = reinterpret_cast<JpegArrayDestination*>(info->dest);
    if (dest->out->size() < kLeastRoom)
        dest->out->resize(kLeastRoom);
    dest->manager.next_output_byte = reinterpret_cast<JOCTET*>(dest->out->data());
    dest->manager.free_in_buffer = size_t(dest->out->size());
}

boolean growArray(j_compress_ptr info) {
    auto* dest = reinterpret_cast<JpegArrayDestination*>(info->dest);
    const qsizetype used = dest->out->size();
    dest->out->resize(used + std::max(used / 2, kLeastRoom));
    dest->manager.next_output_byte = reinterpret_cast<JOCTET*>(dest->out->data()) + used;
    dest->manager.free_in_buffer = size_t(dest->out->size() - used);
    return TRUE;
}

void endArray(j_compress_ptr info) {
    auto* dest = reinterpret_cast<JpegArrayDestination*>(info->dest);
    dest->out->truncate(dest->out->size() - qsizetype(dest->manager.free_in_buffer));
}

} // namespace

void useJpegArrayDestination(jpeg_compress_struct* info, JpegArrayDestination* destination,
                             QByteArray* out) {
    destination->manager.init_destination = startArray;
    destination->manager.empty_output_buffer = growArray;
    destination->manager.term_destination = endArray;
    destination->out = out;
    info->dest = &destination->manager;
}
