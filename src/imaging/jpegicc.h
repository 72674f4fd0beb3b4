#pragma once
// Carries a colour profile in a JPEG stream: the profile split into APP2
// "ICC_PROFILE" marker segments placed after SOI and the APP0 headers.

#include <QByteArray>

// Profile bytes per APP2 segment: 65 535 less the length field (2), the
// "ICC_PROFILE\0" tag (12), the sequence number and the count (1 each).
inline constexpr qsizetype kIccChunkSize = 65519;

// Inserts `profile` into the JPEG stream `jpeg`. Returns false and leaves the
// stream as it was when it does not start with SOI, when its headers are cut
// short, or when the profile needs more than 255 segments.
bool InsertIccProfile(QByteArray* jpeg, const QByteArray& profile);
