#include "core/stamping/markersearch.h"

#include <QByteArray>
#include <gtest/gtest.h>

// The search looks at many positions at a time: a marker must be found at every
// offset, also across the end of the wide steps, in the tail and at the very end.
TEST(MarkerSearch, FindsTheMarkerAtEveryOffset) {
    // Near-misses around it: first and last byte right, the middle wrong.
    const QByteArray noise = QByteArray("1xxxxxxxxxx5") + "15" + "10a1020z04y" + "0a1020z04y5";
    for (int size = 12; size <= 100; ++size) {
        for (int at = 0; at + 12 <= size; ++at) {
            QByteArray bytes;
            while (bytes.size() < size)
                bytes += noise;
            bytes.truncate(size);
            bytes.replace(at, 12, "10a1020z04y5");
            const std::size_t first = bytes.indexOf("10a1020z04y5");
            ASSERT_EQ(findBlockMarker(bytes.constData(), bytes.size(), 0), first)
                << "size " << size << " at " << at;
            ASSERT_EQ(findBlockMarker(bytes.constData(), bytes.size(), first + 1),
                      std::size_t(bytes.indexOf("10a1020z04y5", first + 1) < 0
                                      ? size
                                      : bytes.indexOf("10a1020z04y5", first + 1)));
        }
    }
}

TEST(MarkerSearch, NothingFoundGivesTheSize) {
    const QByteArray bytes(300, '1');
    EXPECT_EQ(findBlockMarker(bytes.constData(), bytes.size(), 0), 300u);
    EXPECT_EQ(findBlockMarker(bytes.constData(), bytes.size(), 299), 300u);
    EXPECT_EQ(findBlockMarker(bytes.constData(), bytes.size(), 300), 300u);
    EXPECT_EQ(findBlockMarker("10A1020z04y5", 12, 0), 12u);
}
