#include "core/job/drives.h"
#include "support/testsupport.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(Drives, JoinsFolderAndNameWithOneSeparator) {
    EXPECT_EQ(joinFolderAndName("/", "bild.jpg"), "/bild.jpg");
    EXPECT_EQ(joinFolderAndName("/home/ich", "bild.jpg"), "/home/ich/bild.jpg");
    EXPECT_EQ(joinFolderAndName("/home/ich/", "bild.jpg"), "/home/ich/bild.jpg");
}

TEST(Drives, LeavesOutPseudoAndSystemMounts) {
    const struct {
        const char* root;
        const char* type;
        bool listed;
    } cases[] = {
        {"/", "ext4", true},
        {"/", "overlay", true},
        {"/home", "btrfs", true},
        {"/media/ich/USB", "vfat", true},
        {"/run/media/ich/USB", "exfat", true},
        {"/tmp", "tmpfs", true},
        {"/proc", "proc", false},
        {"/sys/fs/cgroup", "cgroup2", false},
        {"/dev/pts", "devpts", false},
        {"/dev/shm", "tmpfs", false},
        {"/run", "tmpfs", false},
        {"/run/user/1000", "tmpfs", false},
        {"/snap/core/1", "squashfs", false},
        {"/proc/sys/fs/binfmt_misc", "binfmt_misc", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isUserVolume(c.root, c.type), c.listed) << c.root << " " << c.type;
}

TEST(Drives, RootComesFirstAndEveryDriveCanBeFound) {
    const QList<Drive> drives = listDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first().rootPath, "/");
    for (int i = 2; i < drives.size(); ++i)
        EXPECT_LT(drives[i - 1].rootPath, drives[i].rootPath);
    for (const Drive& drive : drives)
        EXPECT_TRUE(drive.displayText.startsWith(drive.rootPath));
    EXPECT_EQ(driveOfFolder(drives, QDir::currentPath()).has_value(), true);
}

TEST(Drives, FolderBelongsToTheDeepestDrive) {
    const QList<Drive> drives = {{"/", "/"}, {"/home", "/home"}, {"/home/ich/usb", "USB"}};
    EXPECT_EQ(driveOfFolder(drives, "/home/ich/usb/fotos")->rootPath, "/home/ich/usb");
    EXPECT_EQ(driveOfFolder(drives, "/home/ich/usb2")->rootPath, "/home");
    EXPECT_EQ(driveOfFolder(drives, "/etc")->rootPath, "/");
    EXPECT_FALSE(driveOfFolder({{"/home", "/home"}}, "/etc").has_value());
}

TEST(Drives, DriveThatCannotBeOpenedGivesNothing) {
    TempFolder tmp;
    EXPECT_EQ(openDrive(tmp.path()), QDir::cleanPath(tmp.path()));
    EXPECT_EQ(openDrive("/"), "/");
    EXPECT_FALSE(openDrive(tmp.file("ausgehaengt")).has_value());
    EXPECT_FALSE(openDrive(tmp.write("datei", "x")).has_value());
}
