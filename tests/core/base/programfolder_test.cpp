#include "core/base/programfolder.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(ProgramFolder, WritableFolderIsUsedAsIs) {
    TempFolder tmp;
    setProgramFolder(tmp.path());
    EXPECT_EQ(writableProgramFolder(), QDir::cleanPath(tmp.path()));
    setProgramFolder({});
}

TEST(ProgramFolder, ReadOnlyFolderFallsBackToPerUserData) {
    TempFolder tmp;
    const QString ro = tmp.file("ro");
    QDir().mkpath(ro);
    QFile::setPermissions(ro, QFile::ReadOwner | QFile::ExeOwner);
    setProgramFolder(ro);
    const QString expected =
        QDir::cleanPath(qEnvironmentVariable("XDG_DATA_HOME") + "/Vendrake/Stampora");
    // root may write anywhere; the fallback is only needed where writing is refused
    if (QFileInfo(ro).isWritable())
        EXPECT_EQ(writableProgramFolder(), QDir::cleanPath(ro));
    else
        EXPECT_EQ(writableProgramFolder(), expected);
    EXPECT_TRUE(QFileInfo(writableProgramFolder()).isDir());
    setProgramFolder({});
}
