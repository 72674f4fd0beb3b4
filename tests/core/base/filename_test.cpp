#include "core/base/filename.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct NameCase {
    const char* what;
    QByteArray bytes;
    QString expected; // the name as the program holds it
};

QString standIn(unsigned char byte) {
    return QString(QChar(char16_t(0xDC00 + byte)));
}

} // namespace

TEST(FileName, BytesBecomeNamesAndComeBackUnchanged) {
    const NameCase cases[] = {
        {"ASCII", "bild 01.jpg", QStringLiteral("bild 01.jpg")},
        {"UTF-8 umlauts", "Gr\xC3\xBC\xC3\x9F\x65.jpg", QStringLiteral("Grüße.jpg")},
        {"a character beyond 16 bits", "\xF0\x9F\x93\xB7.jpg", QStringLiteral("📷.jpg")},
        {"Latin-1 bytes", "Gr\xFC\xDF\x65.jpg",
         QStringLiteral("Gr") + standIn(0xFC) + standIn(0xDF) + QStringLiteral("e.jpg")},
        {"a sequence cut short", "a\xC3", QStringLiteral("a") + standIn(0xC3)},
        {"an overlong slash", "\xC0\xAF", standIn(0xC0) + standIn(0xAF)},
        {"an encoded surrogate", "\xED\xB3\xBC", standIn(0xED) + standIn(0xB3) + standIn(0xBC)},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80",
         standIn(0xF4) + standIn(0x90) + standIn(0x80) + standIn(0x80)},
        {"a lone continuation byte before valid text", "\x80\xC3\xA4",
         standIn(0x80) + QStringLiteral("ä")},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = fileNameFromBytes(c.bytes);
        EXPECT_EQ(name, c.expected);
        EXPECT_EQ(fileNameToBytes(name), c.bytes);
    }
    // a character above U+FFFF whose low half lies among the stand-ins stays text
    const QString pair = QString::fromUcs4(U"\U0001F4FC");
    ASSERT_EQ(pair.size(), 2);
    EXPECT_EQ(fileNameToBytes(pair), pair.toUtf8());
    EXPECT_EQ(displayFileName(fileNameFromBytes("Gr\xFC\x65")), QStringLiteral("Gr\uFFFDe"));
    EXPECT_EQ(displayFileName(pair), pair);
}

TEST(FileName, FilesWithNamesThatAreNoUtf8CanBeReachedAndCreated) {
    TempFolder temp;
    const QString folder = temp.path() + QStringLiteral("/") + fileNameFromBytes("Ordn\xE9r");
    const QString deeper = folder + QStringLiteral("/unter/");
    ASSERT_TRUE(makeFolderPath(deeper));
    EXPECT_TRUE(makeFolderPath(deeper)) << "an existing folder is fine";
    EXPECT_TRUE(isFolderName(folder));
    const QString path = deeper + fileNameFromBytes("caf\xE9.jpg");
    const int fd = openFileName(path, O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "abc", 3), 3);
    ::close(fd);
    // the bytes on disk are the Latin-1 ones
    EXPECT_EQ(::access((temp.path().toUtf8() + "/Ordn\xE9r/unter/caf\xE9.jpg").constData(), F_OK),
              0);
    EXPECT_TRUE(isRegularFileName(path));
    EXPECT_FALSE(isFolderName(path));
    QFile file;
    ASSERT_TRUE(openForReading(file, path));
    EXPECT_EQ(file.readAll(), "abc");
    EXPECT_EQ(
        canonicalFileName(deeper + QStringLiteral("../unter/") + fileNameFromBytes("caf\xE9.jpg")),
        canonicalFileName(temp.path()) + QStringLiteral("/") +
            fileNameFromBytes("Ordn\xE9r/unter/caf\xE9.jpg"));
    // a file where a folder should be
    EXPECT_FALSE(makeFolderPath(path + QStringLiteral("/x")));
}
