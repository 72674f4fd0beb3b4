#include "core/job/folderlist.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

TEST(FolderList, ChainRunsFromTheDriveRootToTheFolder) {
    const struct {
        const char* root;
        const char* folder;
        QStringList chain;
    } cases[] = {
        {"/", "/", {"/"}},
        {"/", "/home/ich", {"/", "/home", "/home/ich"}},
        {"/", "/home/ich/", {"/", "/home", "/home/ich"}},
        {"/media/usb", "/media/usb/bilder", {"/media/usb", "/media/usb/bilder"}},
        {"/media/usb", "/media/usb", {"/media/usb"}},
        // not on that drive, or a root that only shares a prefix: from "/"
        {"/media/usb", "/home", {"/", "/home"}},
        {"/media/usb", "/media/usb2/x", {"/", "/media", "/media/usb2", "/media/usb2/x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folderChain(c.root, c.folder), c.chain) << c.root << " " << c.folder;
}

TEST(FolderList, SubfoldersAreSortedWithoutHiddenOnesOrFiles) {
    TempFolder folder;
    folder.write("b10/x", "");
    folder.write("B2/x", "");
    folder.write("a/x", "");
    folder.write(".hidden/x", "");
    folder.write("file.jpg", "");
    EXPECT_EQ(listSubfolders(folder.path()),
              QStringList({folder.file("a"), folder.file("B2"), folder.file("b10")}));
    EXPECT_TRUE(listSubfolders(folder.file("missing")).isEmpty());
}
