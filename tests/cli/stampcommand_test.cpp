// stampora-cli stamp, run as its own process without a display.
#include "core/job/copyrightoptions.h"
#include "core/job/savedoptions.h"
#include "core/stamping/copyrightblock.h"
#include "core/stamping/windows1252.h"
#include "support/testsupport.h"

#include "support/clirunner.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <QProcess>
#include <gtest/gtest.h>

namespace {

// the command as its own process, without a display
using CliResult = CliRun;

CliResult runStamp(const QStringList& arguments, const QString& workingFolder) {
    return runCliStamp(arguments, workingFolder);
}

QByteArray stamped(const QByteArray& source, const QByteArray& text) {
    return source + copyrightBlockBytes(text);
}

QStringList entriesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST(StampCommand, JsonReportIsExactAndFailuresGiveExitCodeOne) {
    TempFolder temp;
    temp.write("src/a.jpg", "AAA");
    temp.write("src/\xC3\xA4 \"q\".gif", "GGG");
    const CliResult result = runStamp({"--output", "out", "--text", "Zeile 1\nZeile 2", "--json",
                                       "src/a.jpg", "src/\xC3\xA4 \"q\".gif", "src/fehlt.jpg"},
                                      temp.path());
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_EQ(
        result.out,
        "[{\"source\":\"src/a.jpg\",\"output\":\"out/a.jpg\",\"ok\":true,\"error\":null,"
        "\"path\":null},"
        "{\"source\":\"src/\xC3\xA4 \\\"q\\\".gif\",\"output\":\"out/\xC3\xA4 \\\"q\\\".gif\","
        "\"ok\":true,\"error\":null,\"path\":null},"
        "{\"source\":\"src/fehlt.jpg\",\"output\":\"out/fehlt.jpg\",\"ok\":false,"
        "\"error\":\"Nicht lesbar: Die Datei existiert nicht.\",\"path\":null}]\n");
    // a typed line break becomes CR LF, as in the windows
    EXPECT_EQ(readAll(temp.file("out/a.jpg")), stamped("AAA", "Zeile 1\r\nZeile 2"));
    EXPECT_EQ(readAll(temp.file("src/a.jpg")), "AAA");
}

// A picture cut short fails as one that does not decode: its copy keeps its
// block, the report says why, the exit code is 1. A stamped output, its
// block after the picture's end, stamps again.
TEST(StampCommand, DamagedPictureFailsWithItsCopyKept) {
    TempFolder temp;
    const QByteArray photo = encodedPicture(detailedPicture(160, 120), "JPEG");
    const QByteArray half = photo.left(photo.size() / 2);
    temp.write("src/halb.jpg", half);
    temp.write("src/ganz.jpg", photo);
    const auto sources = hashFiles(temp.file("src"));
    const CliResult result = runStamp({"--output", "out", "--text", "T", "--notice", "N", "--json",
                                       "src/halb.jpg", "src/ganz.jpg"},
                                      temp.path());
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_EQ(result.out.toStdString(),
              "[{\"source\":\"src/halb.jpg\",\"output\":\"out/halb.jpg\",\"ok\":false,"
              "\"error\":\"Der sichtbare Hinweis fehlt: Das Bild ist beschädigt oder "
              "unvollständig: halb.jpg.\",\"path\":null},"
              "{\"source\":\"src/ganz.jpg\",\"output\":\"out/ganz.jpg\",\"ok\":true,"
              "\"error\":null,\"path\":\"quality-100\"}]\n");
    EXPECT_EQ(readAll(temp.file("out/halb.jpg")), stamped(half, "T"));
    EXPECT_EQ(hashFiles(temp.file("src")), sources);

    const CliResult again = runStamp(
        {"--output", "again", "--text", "T2", "--notice", "N", "out/ganz.jpg"}, temp.path());
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(checkStamped(temp.file("again/ganz.jpg"), "T2", true), QString());
}

// The size limit is the source picture's, the same for every format: the 20
// rows of the strip never count, and what is too large is refused from its header.
TEST(StampCommand, SizeLimitIsThePicturesOwnInEveryFormat) {
    TempFolder temp;
    const QImage narrow = detailedPicture(1, 29981);
    const QStringList sources{temp.write("src/schmal.png", encodedPicture(narrow, "PNG")),
                              temp.write("src/schmal.bmp", encodedPicture(narrow, "BMP")),
                              temp.write("src/schmal.jpg", encodedPicture(narrow, "JPEG"))};
    temp.write("src/hoch.png", encodedPicture(detailedPicture(1, 30001), "PNG"));
    const auto before = hashFiles(temp.file("src"));
    const CliResult result =
        runStamp({"--output", "out", "--text", "T", "--notice", "N", "src/schmal.png",
                  "src/schmal.bmp", "src/schmal.jpg", "src/hoch.png"},
                 temp.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.toStdString(),
              "stampora-cli: src/hoch.png: Der sichtbare Hinweis fehlt: Das Bild ist zu groß (1 × "
              "30001 Pixel): hoch.png. Höchstens 30000 Pixel je Seite und 200 Megapixel sind "
              "möglich.\n");
    for (const char* name : {"out/schmal.png", "out/schmal.bmp", "out/schmal.jpg"}) {
        EXPECT_EQ(checkStamped(temp.file(name), "T", true), QString()) << name;
        EXPECT_EQ(QImageReader(temp.file(name)).size(), QSize(1, 30001)) << name;
    }
    EXPECT_EQ(hashFiles(temp.file("src")), before);
}

// A file of /proc gives a size of 0 and has contents all the same: it is no
// picture, and no empty file either.
TEST(StampCommand, FileThatGivesNoSizeIsNotCalledEmpty) {
    TempFolder temp;
    const CliResult result =
        runStamp({"--output", "out", "--text", "T", "--notice", "N", "--json", "/proc/self/status"},
                 temp.path());
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("\"ok\":false,\"error\":\"Der sichtbare Hinweis fehlt: Das "
                                    "Bild konnte nicht gelesen werden: status. Es ist kein Bild "
                                    "im Format BMP, GIF, JPEG oder PNG.\""))
        << result.out.toStdString();
}

TEST(StampCommand, WithoutJsonEachFailureIsOneLineOnStandardError) {
    TempFolder temp;
    temp.write("src/a.jpg", "AAA");
    CliResult result = runStamp({"--output", "out", "src/fehlt.jpg", "src/a.jpg"}, temp.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(result.err,
              "stampora-cli: src/fehlt.jpg: Nicht lesbar: Die Datei existiert nicht.\n");

    result = runStamp({"--output", "out", "src/a.jpg"}, temp.path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
}

TEST(StampCommand, UsageAndStartErrorsGiveExitCodeTwoAndWriteNothing) {
    TempFolder temp;
    temp.write("src/a.jpg", "AAA");
    temp.write("blocker", "a file");
    const QStringList cases[] = {
        {"--output", "out"},
        {"--output", "out", "--bogus", "src/a.jpg"},
        {"--output", "out", "--jobs", "0", "src/a.jpg"},
        {"--output", "out", "--jobs", "many", "src/a.jpg"},
        {"--output", "out", "--mode", "sideways", "src/a.jpg"},
        {"--output", "out", "--text", "x", "--text-file", "c.txt", "src/a.jpg"},
        {"--output", "out", "--notice", "x", "--no-notice", "src/a.jpg"},
        {"--output", "out", "--cop-name", "--overwrite", "src/a.jpg"},
        {"--output", "out", "--output"},
        {"--output", "", "src/a.jpg"},
        {"--output", "blocker/out", "src/a.jpg"},
        {"--output", "out", "--text-file", "fehlt.txt", "src/a.jpg"},
    };
    for (const QStringList& arguments : cases) {
        const CliResult result = runStamp(arguments + QStringList{"--json"}, temp.path());
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_FALSE(result.err.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_TRUE(entriesIn(temp.file("out")).isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST(StampCommand, StoredOptionsAreTheDefaultsAndSaveDefaultsStoresWhatWasUsed) {
    TempFolder temp;
    temp.write("src/a.jpg", "AAA");
    CopyrightOptions stored = startOptions();
    stored.outputFolder = temp.file("stored-out");
    // a hand-edited text with a lone LF: CR LF, as the windows' text field gives it
    stored.copyrightText = "Gespeichert\n\xC2\xA9";
    ASSERT_TRUE(SaveCurrentOptions(stored));

    CliResult result = runStamp({"src/a.jpg"}, temp.path());
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(readAll(temp.file("stored-out/a.jpg")), stamped("AAA", "Gespeichert\r\n\xA9"));

    temp.write("c.txt", "eins\ntwo\n");
    result = runStamp(
        {"--output", "neu", "--text-file", temp.file("c.txt"), "--save-defaults", "src/a.jpg"},
        temp.path());
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(readAll(temp.file("neu/a.jpg")), stamped("AAA", "einstwo"));
    const CopyrightOptions saved = loadOptions(startOptions());
    EXPECT_EQ(saved.outputFolder, "neu"); // as typed, without the separator
    EXPECT_FALSE(saved.useText);
    EXPECT_EQ(saved.copyrightFile, temp.file("c.txt"));
    // the text kept, its line break as it was used: CR LF, as the save box stores it
    EXPECT_EQ(saved.copyrightText, QString::fromUtf8("Gespeichert\r\n\xC2\xA9"));
}

TEST(StampCommand, OneOrTwoJobsGiveTheSameBytesAndTheLaterSameNameWins) {
    TempFolder temp;
    QStringList files;
    for (int i = 0; i < 24; ++i)
        files.append(temp.write(QString("src%1/f%2.jpg").arg(i % 5).arg(i % 8),
                                QByteArray(5000 + i, char('a' + i))));
    std::vector<QStringList> listings;
    for (const QString jobs : {"1", "2"}) {
        const QString out = temp.file("out" + jobs);
        const CliResult result = runStamp(
            QStringList{"--output", out, "--jobs", jobs, "--text", "T"} + files, temp.path());
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        QStringList listing;
        for (const QString& name : entriesIn(out))
            listing.append(name + ":" + readAll(out + "/" + name).toHex());
        listings.push_back(listing);
    }
    EXPECT_EQ(listings[0], listings[1]);
    ASSERT_EQ(listings[0].size(), 8);
    // f0.jpg came last from entry 16
    EXPECT_EQ(readAll(temp.file("out2/f0.jpg")), stamped(QByteArray(5016, char('a' + 16)), "T"));
}

TEST(StampCommand, NoticeIsDrawnWithoutADisplayAndTheSameOnEveryThreadCount) {
    TempFolder temp;
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(qRgb(10, 80, 160));
    QDir().mkpath(temp.file("src"));
    ASSERT_TRUE(image.save(temp.file("src/p.png"), "PNG"));
    QByteArray first;
    for (const QString jobs : {"1", "2"}) {
        const CliResult result =
            runStamp({"--output", "out" + jobs, "--notice", "(C) Test", "--mode", "direct",
                      "--overwrite", "--text", "T", "--jobs", jobs, "src/p.png"},
                     temp.path());
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QByteArray bytes = readAll(temp.file("out" + jobs + "/p.png"));
        const QByteArray block = copyrightBlockBytes("T");
        ASSERT_TRUE(bytes.endsWith(block));
        EXPECT_EQ(QImage::fromData(bytes.left(bytes.size() - block.size()), "JPEG").size(),
                  QSize(120, 60));
        if (first.isEmpty())
            first = bytes;
        EXPECT_EQ(bytes, first);
    }
}

TEST(StampCommand, SaveDefaultsStoresOnlyOnceTheRunStartsAndReportsAFailedStore) {
    TempFolder temp;
    temp.write("src/a.jpg", "AAA");
    temp.write("blocker", "a file");
    SettingsStore store;
    CopyrightOptions stored = startOptions();
    stored.outputFolder = temp.file("stored-out");
    ASSERT_TRUE(SaveCurrentOptions(stored, store));
    // the step-1 pattern and folder the windows stored, a folder gone since
    const QString app = QString::fromLatin1(kSettingsApplication);
    const QString section = QString::fromLatin1(kSettingsSection);
    ASSERT_TRUE(store.SaveSetting(app, section, "filter", "*.tif"));
    ASSERT_TRUE(store.SaveSetting(app, section, "curpath", "/gibt/es/nicht/mehr"));
    const QString ini = store.filePath(app);
    const QByteArray before = readAll(ini);

    // a run that stops before the first file stores nothing
    CliResult result = runStamp(
        {"--output", "blocker/out", "--text", "Neu", "--save-defaults", "src/a.jpg"}, temp.path());
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(readAll(ini), before);

    // a run that starts stores its options, and the pattern and folder stay
    result =
        runStamp({"--output", "out", "--text", "Neu", "--save-defaults", "src/a.jpg"}, temp.path());
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(store.GetSetting(app, section, "outdir", {}), "out");
    EXPECT_EQ(store.GetSetting(app, section, "ctext", {}), "Neu");
    EXPECT_EQ(store.GetSetting(app, section, "filter", {}), "*.tif");
    EXPECT_EQ(store.GetSetting(app, section, "curpath", {}), "/gibt/es/nicht/mehr");

    // a store that cannot be written: the files are stamped, the run fails
    const QByteArray saved = readAll(ini);
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(QDir().mkpath(ini)); // a folder where the file belongs
    result = runStamp({"--output", "out2", "--text", "T", "--save-defaults", "--json", "src/a.jpg"},
                      temp.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, QStringLiteral("stampora-cli: Die Optionen konnten nicht als Standard in "
                                         "„%1“ gespeichert werden.\n")
                              .arg(ini)
                              .toUtf8());
    EXPECT_TRUE(result.out.contains("\"ok\":true"));
    EXPECT_EQ(readAll(temp.file("out2/a.jpg")), stamped("AAA", "T"));
    ASSERT_TRUE(QDir(ini).removeRecursively());
    QFile restored(ini);
    ASSERT_TRUE(restored.open(QIODevice::WriteOnly));
    restored.write(saved);
    EXPECT_EQ(readAll(temp.file("src/a.jpg")), "AAA");
}
