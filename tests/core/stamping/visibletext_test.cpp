#include "core/stamping/visibletext.h"

#include <gtest/gtest.h>

TEST(VisibleText, ControlCharactersBecomeTheSamePicturesInTextsAndLines) {
    struct Case {
        QString in;
        QString text; // whole text: CR LF, CR and LF are line breaks
        QString line; // one line: CR and LF shown too
    } cases[] = {
        {"a\r\nb", "a\nb", QString::fromUtf16(u"a\u240D\u240Ab")},
        {"a\rb\nc", "a\nb\nc", QString::fromUtf16(u"a\u240Db\u240Ac")},
        {QString::fromLatin1("A\x1A\x0A\x0D\x08\x00\x0C\x00", 8),
         QString::fromUtf16(u"A\u241A\n\n\u2408\u2400\u240C\u2400"),
         QString::fromUtf16(u"A\u241A\u240A\u240D\u2408\u2400\u240C\u2400")},
        // the unassigned Windows-1252 bytes (0x81, 0x9D) decode to C1 controls
        {QString::fromUtf16(u"\t\x1F\x7F\u0081\u009D"),
         QString::fromUtf16(u"\u2409\u241F\u2421\uFFFD\uFFFD"),
         QString::fromUtf16(u"\u2409\u241F\u2421\uFFFD\uFFFD")},
        {QString::fromUtf16(u"© Äß € \u00A0 x"), QString::fromUtf16(u"© Äß € \u00A0 x"),
         QString::fromUtf16(u"© Äß € \u00A0 x")},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(visibleText(c.in), c.text) << c.in.toStdString();
        EXPECT_EQ(visibleLine(c.in), c.line) << c.in.toStdString();
    }
}
