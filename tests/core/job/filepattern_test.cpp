#include "core/job/filepattern.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(FilePattern, MatchesNamesLikeTheFileList) {
    const struct {
        const char* pattern;
        const char* name;
        bool listed;
    } cases[] = {
        {"*.jp*g;*.gif;*.png", "bild.jpg", true},
        {"*.jp*g;*.gif;*.png", "bild.jpeg", true},
        {"*.jp*g;*.gif;*.png", "BILD.JPG", true},
        {"*.jp*g;*.gif;*.png", "bild.jpxg", true},
        {"*.jp*g;*.gif;*.png", "bild.gif", true},
        {"*.jp*g;*.gif;*.png", "Bild.PnG", true},
        {"*.jp*g;*.gif;*.png", "bild.jp", false},
        {"*.jp*g;*.gif;*.png", "bild.png.txt", false},
        {"*.jp*g;*.gif;*.png", "bild.jpgx", false},
        {"*.jp*g;*.gif;*.png", "jpg", false},
        {"*.jp*g;*.gif;*.png", "a.b.jpeg", true},
        {"*.gif", "bild.png", false},
        {"?.jpg", "a.jpg", true},
        {"?.jpg", "ab.jpg", false},
        {"?.jpg", ".jpg", false},
        {"bild??.*", "bild01.png", true},
        {"bild??.*", "bild1.png", false},
        {"ÄRGER*", "ärger.txt", true},
        {"*", "ohne-endung", true},
        {"*.*", "ohne-endung", true},
        {"", "alles.xyz", true},
        {" ; ;", "alles.xyz", true},
        {" *.gif ; *.png ", "x.png", true},
        {"*.gif;", "x.png", false},
        {"[ab].jpg", "[ab].jpg", true},
        {"[ab].jpg", "a.jpg", false},
        {"*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FilePattern(QString::fromUtf8(c.pattern)).matches(QString::fromUtf8(c.name)),
                  c.listed)
            << c.pattern << " / " << c.name;
    }
}

TEST(FilePattern, ListsMatchingFilesSortedWithoutFoldersOrHiddenFiles) {
    TempFolder tmp;
    for (const char* name : {"b.jpg", "A.png", "a.jpg", "img10.gif", "img2.gif", "Äpfel.jpg",
                             "zebra.JPEG", ".versteckt.jpg", "notiz.txt"})
        tmp.write(QString::fromUtf8(name), "x");
    QDir(tmp.path()).mkdir("ordner.jpg");
    QFile::link(tmp.file("fehlt.jpg"), tmp.file("kaputt.jpg"));
    QFile::link(tmp.file("b.jpg"), tmp.file("verweis.jpg"));

    const QStringList listed = listMatchingFiles(tmp.path(), FilePattern("*.jp*g;*.gif;*.png"));
    EXPECT_EQ(listed, QStringList({"a.jpg", "A.png", "Äpfel.jpg", "b.jpg", "img2.gif", "img10.gif",
                                   "verweis.jpg", "zebra.JPEG"}));

    EXPECT_EQ(listMatchingFiles(tmp.path(), FilePattern("*.gif")),
              QStringList({"img2.gif", "img10.gif"}));
    EXPECT_TRUE(listMatchingFiles(tmp.path(), FilePattern("*.bmp")).isEmpty());
    EXPECT_TRUE(listMatchingFiles(tmp.file("gibt-es-nicht"), FilePattern()).isEmpty());
}
