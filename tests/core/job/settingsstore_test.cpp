#include "core/job/settingsstore.h"
#include "support/testsupport.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
const QString app = QStringLiteral("Vendrake");
const QString section = QStringLiteral("Stampora");
} // namespace

TEST(SettingsStore, UserStoreLivesInTheConfigFolder) {
    const SettingsStore store;
    EXPECT_EQ(store.filePath(app), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Vendrake.ini");
}

TEST(SettingsStore, ValuesRoundTripExactlyThroughTheFile) {
    const struct {
        const char* name;
        QString value;
    } cases[] = {
        {"multi-line with CR LF", QStringLiteral("erste Zeile \r\n \r\nletzte\r\n")},
        {"bare LF and CR", QStringLiteral("a\nb\rc")},
        {"empty", QString("")},
        {"blanks around", QStringLiteral("  innen  ")},
        {"umlauts", QStringLiteral("Größe äöü ÄÖÜ ß €")},
        {"INI specials", QStringLiteral(R"(a;b=c#d"e"\f\\g 'h' [i])")},
        {"commas", QStringLiteral("*.jpg, *.png,")},
        {"leading at sign", QStringLiteral("@Variant(x)")},
        {"tab", QStringLiteral("\tTab")},
        {"Windows path", QStringLiteral(R"(C:\Bilder\img\)")},
    };
    TempFolder tmp;
    SettingsStore writer(tmp.path());
    for (const auto& c : cases)
        ASSERT_TRUE(writer.SaveSetting(app, section, QString::fromLatin1(c.name), c.value));
    // a fresh store reads the file anew
    const SettingsStore reader(tmp.path());
    for (const auto& c : cases) {
        const QString back =
            reader.GetSetting(app, section, QString::fromLatin1(c.name), QStringLiteral("default"));
        EXPECT_EQ(back, c.value) << c.name;
    }
    const QString file = QString::fromUtf8(readAll(writer.filePath(app)));
    EXPECT_TRUE(file.contains(QStringLiteral("[Stampora]"))) << file.toStdString();
    EXPECT_TRUE(file.contains(QStringLiteral("umlauts=Größe"))) << file.toStdString();
}

TEST(SettingsStore, MissingKeyGivesTheDefaultAndReadingWritesNothing) {
    TempFolder tmp;
    const SettingsStore store(tmp.path());
    EXPECT_EQ(store.GetSetting(app, section, "ctext", "vorher"), "vorher");
    EXPECT_FALSE(QFileInfo::exists(store.filePath(app)));

    SettingsStore(tmp.path()).SaveSetting(app, section, "outdir", "/x");
    const QByteArray before = readAll(store.filePath(app));
    EXPECT_EQ(store.GetSetting(app, section, "ctext", "vorher"), "vorher");
    EXPECT_EQ(store.GetSetting(app, "Andere", "outdir", "d"), "d");
    EXPECT_EQ(readAll(store.filePath(app)), before);
}

TEST(SettingsStore, HandEditedListValueReadsAsText) {
    TempFolder tmp;
    tmp.write("Vendrake.ini", "[Stampora]\nfilter=*.jpg, *.png\n");
    EXPECT_EQ(SettingsStore(tmp.path()).GetSetting(app, section, "filter", ""), "*.jpg, *.png");
}

TEST(SettingsStore, UnwritableStoreReportsFailure) {
    TempFolder tmp;
    tmp.write("blocker", "a file where the folder should be");
    SettingsStore store(tmp.file("blocker/config"));
    EXPECT_FALSE(store.SaveSetting(app, section, "outdir", "/x"));
}
