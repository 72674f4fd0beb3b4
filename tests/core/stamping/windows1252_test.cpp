#include "core/stamping/windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(encodeWindows1252(decodeWindows1252(all)), all);
}

TEST(Windows1252, DecodesTheHighRangeAndUnassignedBytes) {
    const QString text = decodeWindows1252("\x80\x81\x8D\x8F\x90\x9D\x9F\xE4\xDF");
    EXPECT_EQ(text, QString::fromUtf16(u"€\u0081\u008D\u008F\u0090\u009DŸäß"));
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(encodeWindows1252(QString::fromUtf16(u"Ä€Ω😀x")), QByteArray("\xC4\x80??x"));
}
