#include "core/base/programfolder.h"
#include "core/job/savedoptions.h"
#include "core/job/settingscodec.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

namespace {
// A store in its own temporary folder, and start values built from a temporary
// program folder.
class SavedOptions : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(programDir.path());
        start = startOptions();
    }
    void TearDown() override { setProgramFolder({}); }

    // Writes the INI file by hand, as a user or an older version might have.
    void writeIni(const QByteArray& body) const {
        configDir.write("Vendrake.ini", "[Stampora]\n" + body);
    }
    CopyrightOptions load() const { return loadOptions(start, store()); }
    SettingsStore store() const { return SettingsStore(configDir.path()); }
    QString iniPath() const { return store().filePath("Vendrake"); }

    TempFolder programDir;
    TempFolder configDir;
    CopyrightOptions start;
};
} // namespace

TEST(DefaultCopyrightText, HasItsLengthAndLineBreaks) {
    EXPECT_EQ(kDefaultCopyrightText.size(), 268);
    const QStringList lines = kDefaultCopyrightText.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(
        lines[0],
        QStringLiteral("Diese Datei ist urheberrechtlich durch [Ihr_Name, E-Mail, falls gewünscht "
                       "Anschrift] "));
    EXPECT_EQ(lines[1],
              QStringLiteral("geschützt, jegliche widerrechtliche Nutzung ist nicht gestattet. "));
    EXPECT_EQ(lines[2], QStringLiteral(" "));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("Besitzer und ")));
    EXPECT_EQ(lines[4], QStringLiteral("erwerben Sie eine Lizenz."));
    EXPECT_EQ(lines[5], QString());
    // no stray CR or LF outside the pairs
    EXPECT_EQ(kDefaultCopyrightText.count(QLatin1Char('\n')), 5);
    EXPECT_EQ(kDefaultCopyrightText.count(QLatin1Char('\r')), 5);
}

TEST_F(SavedOptions, FirstRunShowsTheStartValuesAndWritesNothing) {
    const CopyrightOptions options = load();
    EXPECT_EQ(options, start);
    EXPECT_EQ(options.outputFolder, programDir.path() + "/img");
    EXPECT_EQ(options.copyrightFile, programDir.path() + "/copyright.txt");
    EXPECT_TRUE(options.useText);
    EXPECT_EQ(options.copyrightText, kDefaultCopyrightText);
    EXPECT_EQ(options.noticeText, "Copyright (C) 2002 <Ihr Name>");
    EXPECT_FALSE(options.noticeOn);
    EXPECT_TRUE(options.enlarge);
    EXPECT_FALSE(options.copNaming);
    EXPECT_EQ(options.filter, "*.jp*g;*.gif;*.png");
    EXPECT_EQ(options.currentFolder, QDir::currentPath());
    EXPECT_FALSE(QFileInfo::exists(iniPath()));
}

TEST_F(SavedOptions, SavedOptionsComeBackUnchanged) {
    TempFolder browsed;
    CopyrightOptions saved;
    saved.outputFolder = "/srv/ausgabe";
    saved.useText = false;
    saved.copyrightText = "Zeile 1 \r\n\r\n  Zeile 3; a=b # c \"q\" \\ ä\r\n";
    saved.copyrightFile = "/home/ich/mein copyright.txt";
    saved.noticeText = "  (C) Jürgen  ";
    saved.noticeOn = true;
    saved.enlarge = false;
    saved.copNaming = true;
    saved.filter = "*.gif";
    saved.currentFolder = browsed.path();
    ASSERT_TRUE(SaveCurrentOptions(saved, store()));
    EXPECT_EQ(load(), saved);

    // the encodings as they stand in the file
    const QSettings ini(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Stampora/typ").toString(), "False");
    EXPECT_EQ(ini.value("Stampora/vtype2").toString(), "True");
    EXPECT_EQ(ini.value("Stampora/dojpg").toString(), "1");
}

TEST_F(SavedOptions, EmptyTextsStayEmpty) {
    CopyrightOptions saved = start;
    saved.copyrightText.clear();
    saved.noticeText.clear();
    saved.filter.clear();
    saved.copyrightFile.clear();
    ASSERT_TRUE(SaveCurrentOptions(saved, store()));
    const CopyrightOptions back = load();
    EXPECT_EQ(back.copyrightText, QString());
    EXPECT_EQ(back.noticeText, QString());
    EXPECT_EQ(back.filter, QString());
    EXPECT_EQ(back.copyrightFile, QString());
}

TEST_F(SavedOptions, SavesAllTenKeysInOrder) {
    QStringList keys;
    for (const auto& [key, value] : optionsAsSettings(start))
        keys << key;
    EXPECT_EQ(keys, QStringList({"outdir", "typ", "ctext", "cfile", "cjpeg", "dojpg", "vtype",
                                 "vtype2", "filter", "curpath"}));

    ASSERT_TRUE(SaveCurrentOptions(start, store()));
    QSettings ini(iniPath(), QSettings::IniFormat);
    ini.beginGroup("Stampora");
    QStringList stored = ini.childKeys();
    stored.sort();
    keys.sort();
    EXPECT_EQ(stored, keys);
}

TEST(SettingsCodec, ReadsBooleansAndCheckStates) {
    const struct {
        const char* text;
        std::optional<bool> boolean;
        std::optional<bool> check;
    } cases[] = {
        {"True", true, std::nullopt},
        {"False", false, std::nullopt},
        {"TRUE", true, std::nullopt},
        {"fAlSe", false, std::nullopt},
        {" true ", true, std::nullopt},
        {"1", true, true},
        {"0", false, false},
        {" 1 ", true, true},
        {"-1", true, std::nullopt},
        {"2", true, std::nullopt},
        {"0.0", false, std::nullopt},
        {"0.5", true, std::nullopt},
        {"000", false, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"ja", std::nullopt, std::nullopt},
        {"1x", std::nullopt, std::nullopt},
        {"Truee", std::nullopt, std::nullopt},
        {"1e3", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeBoolean(QString::fromLatin1(c.text)), c.boolean) << c.text;
        EXPECT_EQ(decodeCheckState(QString::fromLatin1(c.text)), c.check) << c.text;
    }
    for (const bool b : {false, true}) {
        EXPECT_EQ(decodeBoolean(encodeBoolean(b)), b);
        EXPECT_EQ(decodeCheckState(encodeCheckState(b)), b);
    }
}

TEST_F(SavedOptions, StoredWordsAndNumbersAreReadUnusableValuesAreMissing) {
    writeIni("typ=TRUE\nvtype=0\nvtype2=1\ndojpg=1\n");
    CopyrightOptions options = load();
    EXPECT_TRUE(options.useText);
    EXPECT_FALSE(options.enlarge);
    EXPECT_TRUE(options.copNaming);
    EXPECT_TRUE(options.noticeOn);

    // the start values here differ from the defaults, so "missing" shows
    start.useText = false;
    start.enlarge = false;
    start.copNaming = true;
    start.noticeOn = true;
    writeIni("typ=vielleicht\nvtype=\nvtype2=yes\ndojpg=2\n");
    options = load();
    EXPECT_FALSE(options.useText);
    EXPECT_FALSE(options.enlarge);
    EXPECT_TRUE(options.copNaming);
    EXPECT_TRUE(options.noticeOn);
}

TEST_F(SavedOptions, StoredOutputFolderAndCopyrightFileWin) {
    writeIni("outdir=/srv/fotos/ausgabe\ncfile=/home/ich/text.txt\n");
    const CopyrightOptions options = load();
    EXPECT_EQ(options.outputFolder, "/srv/fotos/ausgabe");
    EXPECT_EQ(options.copyrightFile, "/home/ich/text.txt");

    // an empty output folder would mean the file-system root
    writeIni("outdir=\n");
    EXPECT_EQ(load().outputFolder, start.outputFolder);
}

TEST_F(SavedOptions, CurrentFolderMustStillExist) {
    TempFolder browsed;
    writeIni("curpath=" + browsed.path().toUtf8() + "\n");
    EXPECT_EQ(load().currentFolder, browsed.path());

    const QString gone = browsed.path() + "/weg";
    for (const QString& stale :
         {gone, QStringLiteral("relativ"), QString(), programDir.write("datei.txt", "x")}) {
        writeIni("curpath=" + stale.toUtf8() + "\n");
        EXPECT_EQ(load().currentFolder, start.currentFolder) << stale.toStdString();
    }
}
