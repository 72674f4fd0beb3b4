#include "stamping/visibletext.h"

#include <gtest/gtest.h>

TEST(VisibleText, ControlCharactersBecomePictures) {
    struct Case {
        QString in;
        QString text; // whole text: CR and LF stay
        QString line; // list line: CR and LF shown too
    } cases[] = {
        {"Anna\r\nB", "Anna\r\nB", QString::fromUtf16(u"Anna\u240D\u240AB")},
        {QString::fromLatin1("A\x1A\x0A\x0D\x08\x00\x0C\x00", 8),
         QString::fromUtf16(u"A\u241A\n\r\u2408\u2400\u240C\u2400"),
         QString::fromUtf16(u"A\u241A\u240A\u240D\u2408\u2400\u240C\u2400")},
        {QString::fromUtf16(u"\t\x1F\x7F\u0081\u009D"),
         QString::fromUtf16(u"\u2409\u241F\u2421\uFFFD\uFFFD"),
         QString::fromUtf16(u"\u2409\u241F\u2421\uFFFD\uFFFD")},
        {QString::fromUtf16(u"© Äß € \u00A0 x"), QString::fromUtf16(u"© Äß € \u00A0 x"),
         QString::fromUtf16(u"© Äß € \u00A0 x")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VisibleText(c.in), c.text) << c.in.toStdString();
        EXPECT_EQ(VisibleLine(c.in), c.line) << c.in.toStdString();
    }
}
