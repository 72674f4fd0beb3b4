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

// Notes follow the success text, which stays word for word, and the failures;
// they are listed as failures are, one line each, cut after twenty.
TEST(StampingMessage, NotesFollowTheSuccessTextAndTheFailures) {
    const QString success =
        QStringLiteral("Das Copyright wurde den Dateien erfolgreich hinzugefügt!");
    const QString xmp = QStringLiteral("Die XMP-Daten der Quelle sind beschädigt und fehlen in der "
                                       "Ausgabe.");
    StampingReport report;
    report.files.push_back({"/src/a.jpg", "/out/a.jpg", true, {}});
    report.files.push_back({"/src/b\nc.jpg", "/out/b\nc.jpg", true, {}, {xmp}});
    MessageBoxRequest message = stampingMessage(report);
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.text, success + "\n\nHinweis:\n/src/b␊c.jpg: " + xmp);

    report.files[0].notes = {"eins", "zwei"};
    report.optionsNotSaved = true;
    message = stampingMessage(report);
    EXPECT_EQ(message.icon, MessageIcon::Warning); // for the options, not for the notes
    EXPECT_TRUE(message.text.startsWith(success + "\n\nHinweise:\n/src/a.jpg: eins\n/src/a.jpg: "
                                                  "zwei\n"))
        << message.text.toStdString();
    EXPECT_TRUE(message.text.endsWith("nicht als Standard gespeichert werden."));

    report.optionsNotSaved = false;
    report.files[0] = {"/src/a.jpg", "/out/a.jpg", false, "Grund"};
    for (int i = 0; i < 25; ++i)
        report.files.push_back({QString("/src/n%1.jpg").arg(i), "", true, {}, {"Notiz"}});
    message = stampingMessage(report);
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_TRUE(message.text.contains("Bei dieser Datei trat ein Fehler auf:\n\n/src/a.jpg: "
                                      "Grund\n\nHinweise:\n/src/b␊c.jpg: "))
        << message.text.toStdString();
    EXPECT_TRUE(message.text.contains("/src/n18.jpg: Notiz"));
    EXPECT_FALSE(message.text.contains("/src/n19.jpg"));
    EXPECT_TRUE(message.text.endsWith("\n... und 6 weitere"));
}
