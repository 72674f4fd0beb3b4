#include "core/stamping/copyrighttextfile.h"
#include "support/testsupport.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(CopyrightTextFile, LinesAreJoinedWithoutSeparators) {
    const struct {
        const char* name;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"LF", "eins\nzwei\ndrei\n", "einszweidrei"},
        {"CR LF", "eins\r\nzwei\r\ndrei", "einszweidrei"},
        {"CR", "eins\rzwei\rdrei\r", "einszweidrei"},
        {"mixed, empty lines", "eins\r\n\nzwei\r\r\ndrei", "einszweidrei"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF\xC2\xA9 J\xC3\xBCrgen\r\nM\xC3\xBCnchen\n",
         QString::fromUtf8("© JürgenMünchen")},
        {"Windows-1252", "\xA9 J\xFCrgen\r\n\x80 5\r\n", QString::fromUtf8("© Jürgen€ 5")},
        {"UTF-8 cut off at the end", "Gr\xC3\xBC\xC3", QString::fromUtf8("GrÃ¼Ã")},
        {"empty", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeCopyrightTextFile(c.bytes), c.text) << c.name;
}

TEST(CopyrightTextFile, Utf16WithByteOrderMarkIsDecodedAsUtf16) {
    // as an editor saves "Unicode": the mark, then two bytes per character
    const QString lines = QString::fromUtf8("\u00A9 2002 J\u00FCrgen\r\nM\u00FCnchen \u20AC\r\n");
    const auto utf16 = [&](bool little) {
        QByteArray bytes = little ? "\xFF\xFE" : "\xFE\xFF";
        for (const QChar c : lines) {
            const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
            bytes.append(little ? low : high).append(little ? high : low);
        }
        return bytes;
    };
    TempFolder folder;
    for (const bool little : {true, false}) {
        const QString path = folder.write(little ? "le.txt" : "be.txt", utf16(little));
        QString text;
        QString error;
        ASSERT_TRUE(readCopyrightTextFile(path, &text, &error)) << error.toStdString();
        EXPECT_EQ(text, QString::fromUtf8("\u00A9 2002 J\u00FCrgenM\u00FCnchen \u20AC")) << little;
    }
    // an odd byte at the end is no character of its own
    EXPECT_EQ(decodeCopyrightTextFile(QByteArray("\xFF\xFE"
                                                 "A\0B",
                                                 5)),
              QString::fromUtf8("A\uFFFD"));
}

TEST(CopyrightTextFile, UnreadableFilesGiveAGermanReason) {
    TempFolder folder;
    QString text;
    QString error;
    EXPECT_FALSE(readCopyrightTextFile(folder.file("fehlt.txt"), &text, &error));
    EXPECT_TRUE(error.contains("fehlt.txt")) << error.toStdString();
    EXPECT_TRUE(error.contains("existiert nicht")) << error.toStdString();
    EXPECT_FALSE(readCopyrightTextFile(folder.path(), &text, &error)); // a folder
    EXPECT_FALSE(readCopyrightTextFile(QString(), &text, &error));
    // one byte over the 16 MiB a text file may have
    EXPECT_FALSE(readCopyrightTextFile(folder.write("gross.txt", QByteArray((16 << 20) + 1, 'a')),
                                       &text, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("zu groß"))) << error.toStdString();

    ASSERT_TRUE(readCopyrightTextFile(folder.write("c.txt", "a\r\nb\n"), &text, &error));
    EXPECT_EQ(text, "ab");
}
