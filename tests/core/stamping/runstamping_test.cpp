#include "core/stamping/runstamping.h"

#include "core/base/temporaryoutput.h"
#include "core/stamping/copyrightblock.h"
#include "core/stamping/stampingmessage.h"
#include "core/stamping/windows1252.h"
#include "support/fakeinputs.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QByteArray kJpeg("\xFF\xD8\xFF\xE0 picture one \xFF\xD9", 18);
const QByteArray kGif("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14);

QByteArray stamped(const QByteArray& source, const QString& text) {
    return source + copyrightBlockBytes(encodeWindows1252(text));
}

QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(RunStamping, EmptyOrAllRemovedJobProcessesNothingAndStillSucceeds) {
    TempFolder temp;
    for (const bool withRemovedRows : {false, true}) {
        FakeInputs inputs;
        inputs.folder = temp.file("out");
        if (withRemovedRows)
            inputs.rows = {{temp.write("a.jpg", kJpeg), true}, {temp.write("b.jpg", kJpeg), true}};
        ProgressRecorder progress;
        const StampingReport report = RunStamping(inputs, progress);
        EXPECT_TRUE(report.started());
        EXPECT_TRUE(report.files.empty());
        EXPECT_EQ(progress.started, 0);
        EXPECT_TRUE(namesIn(temp.file("out")).isEmpty());
        const MessageBoxRequest message = stampingMessage(report);
        EXPECT_EQ(message.text, "Das Copyright wurde den Dateien erfolgreich hinzugefügt!");
        EXPECT_EQ(message.title, "Copyright Info");
        EXPECT_EQ(message.icon, MessageIcon::Information);
    }
}

TEST(RunStamping, SeparatorIsAppendedVisiblyAfterTheOptionsAreSavedAsTyped) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.save = true;
    inputs.folder = temp.file("out");
    inputs.rows = {{temp.write("a.jpg", kJpeg)}};
    ProgressRecorder progress;
    RunStamping(inputs, progress);
    EXPECT_EQ(inputs.saveCalls, 1);
    EXPECT_EQ(inputs.folderWhenSaved, temp.file("out"));
    EXPECT_EQ(inputs.folder, temp.file("out") + "/");
    EXPECT_EQ(readAll(temp.file("out/a.jpg")), stamped(kJpeg, inputs.text));

    inputs.saveSucceeds = false; // a store that cannot be written is reported, the run goes on
    EXPECT_TRUE(RunStamping(inputs, progress).optionsNotSaved);
    EXPECT_EQ(inputs.saveCalls, 2);

    inputs.save = false; // unticked: nothing stored; a folder with its separator stays as it is
    EXPECT_FALSE(RunStamping(inputs, progress).optionsNotSaved);
    EXPECT_EQ(inputs.saveCalls, 2);
    EXPECT_EQ(inputs.folder, temp.file("out") + "/");
}

TEST(RunStamping, EveryFileGetsExactlyOneBlockAlsoWhenRunTwice) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.folder = temp.file("out/deeper"); // missing folders are created
    inputs.text = "Zeile 1 ©\r\nZeile 2\r\n";
    inputs.rows = {{temp.write("src/a.jpg", kJpeg)}, {temp.write("src/b.gif", kGif)}};
    for (int run = 0; run < 2; ++run) {
        ProgressRecorder progress;
        const StampingReport report = RunStamping(inputs, progress);
        ASSERT_EQ(report.files.size(), 2u);
        EXPECT_EQ(report.failedCount(), 0);
        EXPECT_EQ(progress.started, 1);
        EXPECT_EQ(progress.steps, (std::vector<int>{1, 2, 3, 1, 2, 3}));
    }
    EXPECT_EQ(readAll(temp.file("out/deeper/a.jpg")), stamped(kJpeg, inputs.text));
    EXPECT_EQ(readAll(temp.file("out/deeper/b.gif")), stamped(kGif, inputs.text));
    EXPECT_EQ(readAll(temp.file("src/a.jpg")), kJpeg);
    EXPECT_EQ(namesIn(temp.file("out/deeper")), (QStringList{"a.jpg", "b.gif"}));
}

TEST(RunStamping, TextFileLinesAreJoinedIntoTheBlock) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    inputs.typed = false;
    inputs.textFile =
        temp.write("copyright.txt", "\xEF\xBB\xBF(C) J\xC3\xBCrgen\nAlle Rechte\r\nvorbehalten\r");
    inputs.rows = {{temp.write("a.jpg", kJpeg)}};
    ProgressRecorder progress;
    RunStamping(inputs, progress);
    EXPECT_EQ(readAll(temp.file("out/a.jpg")),
              kJpeg + copyrightBlockBytes("(C) J\xFCrgenAlle Rechtevorbehalten"));
}

TEST(RunStamping, RemovedRowIsSkippedButCounted) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    inputs.rows = {{temp.write("1.jpg", kJpeg)},
                   {temp.write("2.jpg", kJpeg), true},
                   {temp.write("3.jpg", kJpeg)}};
    ProgressRecorder progress;
    const StampingReport report = RunStamping(inputs, progress);
    EXPECT_EQ(progress.counters, (std::vector<std::pair<int, int>>{{2, 1}, {0, 3}}));
    EXPECT_EQ(progress.sources, (QStringList{inputs.rows[0].path, inputs.rows[2].path}));
    EXPECT_EQ(report.files.size(), 2u);
    EXPECT_FALSE(QFile::exists(temp.file("out/2.jpg")));
}

TEST(RunStamping, LaterEntryWithTheSameNameWins) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    inputs.rows = {{temp.write("a/x.jpg", kJpeg)}, {temp.write("b/x.jpg", kGif)}};
    for (const int threads : {1, 2}) {
        ProgressRecorder progress;
        const StampingReport report = RunStamping(inputs, progress, {threads, {}});
        EXPECT_EQ(report.failedCount(), 0);
        EXPECT_EQ(readAll(temp.file("out/x.jpg")), stamped(kGif, inputs.text)) << threads;
    }
}

TEST(RunStamping, StartErrorsStopBeforeAnythingIsWritten) {
    TempFolder temp;
    const QString blocker = temp.write("blocker", "a file, not a folder");
    const struct {
        const char* name;
        QString folder;
        bool typed;
        QString textFile;
        const char* expected;
    } cases[] = {
        {"empty folder field", "", true, {}, "Ausgabeordner an"},
        {"blank folder field", "  ", true, {}, "besteht nur aus Leerzeichen"},
        {"folder below a file", blocker + "/out", true, {}, "nicht angelegt werden: Ein Teil"},
        {"folder that is a file", blocker, true, {}, "ist eine Datei, kein Ordner"},
        {"missing text file", temp.file("out"), false, temp.file("nope.txt"), "nope.txt"},
        // folders made for the run are taken away again
        {"missing text file, new folders", temp.file("neu/ordner"), false, temp.file("nope.txt"),
         "nope.txt"},
    };
    for (const auto& c : cases) {
        FakeInputs inputs;
        inputs.folder = c.folder;
        inputs.typed = c.typed;
        inputs.textFile = c.textFile;
        inputs.rows = {{temp.write("src/a.jpg", kJpeg)}};
        ProgressRecorder progress;
        const StampingReport report = RunStamping(inputs, progress);
        EXPECT_FALSE(report.started()) << c.name;
        EXPECT_TRUE(report.startError.contains(c.expected)) << report.startError.toStdString();
        EXPECT_EQ(progress.started, 0) << c.name;
        EXPECT_TRUE(namesIn(temp.file("out")).isEmpty()) << c.name;
        EXPECT_EQ(stampingMessage(report).text, report.startError);
    }
    EXPECT_FALSE(QFileInfo::exists(temp.file("neu")));
    EXPECT_TRUE(QFileInfo(temp.file("src")).isDir()) << "a folder that was there stays";
}

TEST(RunStamping, ReadOnlyOutputFolderIsAStartError) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes everywhere";
    TempFolder temp;
    QDir().mkpath(temp.file("out"));
    QFile::setPermissions(temp.file("out"), QFile::ReadOwner | QFile::ExeOwner);
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    inputs.rows = {{temp.write("a.jpg", kJpeg)}};
    ProgressRecorder progress;
    EXPECT_TRUE(RunStamping(inputs, progress).startError.contains("nicht geschrieben"));
    QFile::setPermissions(temp.file("out"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(RunStamping, FailuresAreReportedAndTheOthersStamped) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.folder = temp.file("src");
    const QString inOutput = temp.write("src/inside.jpg", kJpeg);
    const QString elsewhere = temp.write("other/a.jpg", kJpeg);
    inputs.rows = {{inOutput}, {temp.file("other/vanished.jpg")}, {elsewhere}};
    ProgressRecorder progress;
    const StampingReport report = RunStamping(inputs, progress);
    ASSERT_EQ(report.files.size(), 3u);
    EXPECT_FALSE(report.files[0].ok);
    EXPECT_TRUE(report.files[0].error.contains("Ausgabeordner"));
    EXPECT_FALSE(report.files[1].ok);
    EXPECT_TRUE(report.files[1].error.contains("existiert nicht"));
    EXPECT_TRUE(report.files[2].ok);
    EXPECT_EQ(readAll(inOutput), kJpeg); // never replaced by its own output
    EXPECT_EQ(readAll(temp.file("src/a.jpg")), stamped(kJpeg, inputs.text));
    EXPECT_EQ(progress.counters.size(), 3u); // failed files still move the counters

    const MessageBoxRequest message = stampingMessage(report);
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_EQ(message.title, "Copyright Info");
    EXPECT_TRUE(message.text.contains("1 von 3"));
    EXPECT_TRUE(message.text.contains(inOutput + ": " + report.files[0].error));
    EXPECT_TRUE(message.text.contains(temp.file("other/vanished.jpg")));
    EXPECT_FALSE(message.text.contains(elsewhere));
}

TEST(RunStamping, StaleTemporariesAreRemovedOnlyWhenNoProcessHoldsThem) {
    TempFolder temp;
    const QString prefix = kTemporaryPrefix;
    const QString ended = prefix + "4194305-00000000000000aa";
    const QString ownPid = prefix + QString::number(::getpid()) + "-00000000000000bb";
    const QString unlocked = prefix + "1-00000000000000cc"; // its process id runs, elsewhere
    temp.write("out/" + ended, "left by an ended process");
    temp.write("out/" + ownPid, "left by an earlier run of this process");
    temp.write("out/" + unlocked, "left by a run in another PID namespace");
    temp.write("out/" + prefix + "junk", "the user's");
    temp.write("out/" + prefix + "4194305-0123", "the user's");
    ASSERT_TRUE(QFile::link(temp.file("out/" + prefix + "junk"),
                            temp.file("out/" + prefix + "4194305-00000000000000dd")));
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    ProgressRecorder progress;
    RunStamping(inputs, progress);
    EXPECT_EQ(namesIn(temp.file("out")), (QStringList{prefix + "4194305-00000000000000dd",
                                                      prefix + "4194305-0123", prefix + "junk"}));
}

TEST(RunStamping, StopsWhenTheProgressSaysSo) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    inputs.rows = {{temp.write("a.jpg", kJpeg)}, {temp.write("b.jpg", kJpeg)}};
    ProgressRecorder progress;
    progress.yieldsLeft = 1;
    const StampingReport report = RunStamping(inputs, progress);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.files.size(), 1u);
    EXPECT_EQ(namesIn(temp.file("out")), QStringList{"a.jpg"});
}

TEST(RunStamping, UndecodablePictureWithNoticeStillGetsItsBlockAndIsReported) {
    TempFolder temp;
    const QByteArray notAPicture = "just text, named like a picture";
    for (const bool copName : {false, true}) {
        FakeInputs inputs;
        inputs.folder = temp.file("out");
        inputs.noticeChoice = {true, "(C) Hinweis", true, copName};
        inputs.rows = {{temp.write("src/broken.jpg", notAPicture)}};
        ProgressRecorder progress;
        const StampingReport report = RunStamping(inputs, progress);
        ASSERT_EQ(report.files.size(), 1u);
        EXPECT_FALSE(report.files[0].ok);
        EXPECT_TRUE(report.files[0].error.contains("Hinweis fehlt"))
            << report.files[0].error.toStdString();
        EXPECT_EQ(readAll(temp.file("out/broken.jpg")), stamped(notAPicture, inputs.text));
        EXPECT_EQ(namesIn(temp.file("src")), QStringList{"broken.jpg"});
    }
}
