#include "core/stamping/stampingmessage.h"

#include <gtest/gtest.h>

TEST(StampingMessage, LongFailureListsAreCutAndUnsavedOptionsAreMentioned) {
    StampingReport report;
    for (int i = 0; i < 25; ++i)
        report.files.push_back({QString("/src/f%1.jpg").arg(i), QString("/out/f%1.jpg").arg(i),
                                i == 0, i == 0 ? QString() : QString("Grund %1").arg(i)});
    MessageBoxRequest message = stampingMessage(report);
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_TRUE(message.text.contains("1 von 25"));
    EXPECT_TRUE(message.text.contains("/src/f20.jpg: Grund 20"));
    EXPECT_FALSE(message.text.contains("/src/f21.jpg"));
    EXPECT_TRUE(message.text.endsWith("... und 4 weitere"));

    report.files.resize(1); // the one that succeeded
    report.optionsNotSaved = true;
    message = stampingMessage(report);
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_TRUE(
        message.text.startsWith("Das Copyright wurde den Dateien erfolgreich hinzugefügt!"));
    EXPECT_TRUE(message.text.contains("nicht als Standard gespeichert"));
}

TEST(StampingMessage, CountsTakeTheNounInTheRightNumber) {
    struct Case {
        int files, failed;
        const char* counted;
        const char* failures;
    };
    const Case cases[] = {
        {1, 1, "Das Copyright wurde 0 von 1 Datei fehlerfrei hinzugefügt.\n",
         "Bei dieser Datei trat ein Fehler auf:\n"},
        {2, 1, "Das Copyright wurde 1 von 2 Dateien fehlerfrei hinzugefügt.\n",
         "Bei dieser Datei trat ein Fehler auf:\n"},
        {2, 2, "Das Copyright wurde 0 von 2 Dateien fehlerfrei hinzugefügt.\n",
         "Bei diesen Dateien trat ein Fehler auf:\n"},
    };
    for (const Case& c : cases) {
        StampingReport report;
        for (int i = 0; i < c.files; ++i)
            report.files.push_back({QString("/src/f%1.jpg").arg(i), QString("/out/f%1.jpg").arg(i),
                                    i >= c.failed, i >= c.failed ? QString() : QString("Grund")});
        const QString text = stampingMessage(report).text;
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(c.counted) + QString::fromUtf8(c.failures)))
            << text.toStdString();
    }
}
