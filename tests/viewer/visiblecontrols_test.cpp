#include "viewer/visiblecontrols.h"

#include <gtest/gtest.h>

TEST(VisibleControls, ControlCharactersBecomeTheirPicturesAndLineBreaksStay) {
    const struct {
        QString raw, text, line;
    } cases[] = {
        {"a\r\nb", "a\nb", "a\u240D\u240Ab"},
        {"a\rb\nc", "a\nb\nc", "a\u240Db\u240Ac"},
        {QString("\x1A\x0A\x0D\x08") + QChar(0) + "\x0C", "\u241A\n\n\u2408\u2400\u240C",
         "\u241A\u240A\u240D\u2408\u2400\u240C"},
        {"tab\there\x7F", "tab\u2409here\u2421", "tab\u2409here\u2421"},
        {"Grüße © 2002", "Grüße © 2002", "Grüße © 2002"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textWithVisibleControls(c.raw), c.text) << c.raw.toStdString();
        EXPECT_EQ(lineWithVisibleControls(c.raw), c.line) << c.raw.toStdString();
    }
}
