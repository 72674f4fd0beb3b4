#include "core/base/replacingfile.h"

#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

bool replace(const QString& target, const QByteArray& bytes) {
    ReplacingFile file(target);
    return file.open() && file.write(bytes.constData(), bytes.size()) && file.commit();
}

QStringList entries(const TempFolder& folder) {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(ReplacingFile, ReplacesTheTargetKeepingItsPermissions) {
    TempFolder folder;
    const QString target = folder.write("picture.jpg", QByteArray(1000, 'o'));
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(target, permissions));
    EXPECT_TRUE(replace(target, "new"));
    EXPECT_EQ(readAll(target), "new");
    EXPECT_EQ(QFile::permissions(target) & 0x7077, permissions); // owner, group, others
    EXPECT_EQ(entries(folder), QStringList{"picture.jpg"});
}

TEST(ReplacingFile, UnfinishedFileLeavesTheTargetAndNoTrace) {
    TempFolder folder;
    const QString target = folder.write("picture.jpg", "old");
    {
        ReplacingFile file(target);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("half", 4));
    } // dropped without commit
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(entries(folder), QStringList{"picture.jpg"});
}

TEST(ReplacingFile, FollowsALinkAndCopesWithTheLongestName) {
    TempFolder folder;
    const QString real = folder.write("real.jpg", "old");
    ASSERT_TRUE(QFile::link(real, folder.file("link.jpg")));
    EXPECT_TRUE(replace(folder.file("link.jpg"), "new"));
    EXPECT_EQ(readAll(real), "new");
    EXPECT_TRUE(QFileInfo(folder.file("link.jpg")).isSymLink());

    const QString longest = folder.file(QString(251, 'n') + ".jpg"); // 255 bytes
    EXPECT_TRUE(replace(longest, "long"));
    EXPECT_EQ(readAll(longest), "long");
}
