// The windows' run: the loop on this thread, files on a pool, results in row
// order; and the walk that orders them, fed outcomes out of order.
#include "core/stamping/stampingrun.h"

#include "core/base/programfolder.h"
#include "core/imaging/dibsection.h"
#include "core/stamping/copyrightblock.h"
#include "core/stamping/runstamping.h"
#include "core/stamping/stampingmessage.h"
#include "core/stamping/stampingwalk.h"
#include "core/stamping/testerbitmap.h"
#include "core/stamping/windows1252.h"
#include "support/fakeinputs.h"
#include "support/testsupport.h"

#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QByteArray kJpeg("\xFF\xD8\xFF\xE0 picture \xFF\xD9", 14);

// What the run shows, in the order it shows it.
class EventRecorder final : public StampingProgress {
public:
    QStringList events;
    int yieldsLeft = -1;
    bool yield() override { return yieldsLeft < 0 || yieldsLeft-- > 0; }
    void processingStarted() override { events << "started"; }
    void rowStarted(int row) override { events << QString("row %1").arg(row); }
    void fileCounters(const QString& source, int left, int done) override {
        events << QString("%1 %2/%3").arg(QFileInfo(source).fileName()).arg(left).arg(done);
    }
    void fileStep(int value, int) override { events << QString("step %1").arg(value); }
};

StampRequest common(const QString& folder) {
    StampRequest request;
    request.outputFolder = folder + "/";
    request.text = "(C) Test";
    return request;
}

// Starts the run and turns the event loop until it ends (start() returns at once).
void waitFor(StampingRun& run) {
    QEventLoop loop;
    QObject::connect(&run, &StampingRun::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    run.start();
    EXPECT_TRUE(run.isRunning());
    loop.exec();
    EXPECT_FALSE(run.isRunning());
}

} // namespace

TEST(StampingWalk, ResultsComeInRowOrderWhateverOrderTheFilesFinishIn) {
    TempFolder temp;
    QDir().mkpath(temp.file("out"));
    FakeInputs inputs;
    inputs.rows = {{temp.write("1.jpg", kJpeg)},
                   {temp.write("2.jpg", kJpeg), true},
                   {temp.write("3.jpg", kJpeg)},
                   {temp.write("4.jpg", kJpeg)}};
    EventRecorder progress;
    StampingWalk walk(inputs, progress, common(temp.file("out")), 2);
    auto files = walk.filesToStart();
    ASSERT_EQ(files.size(), 2u); // two in hand: rows 1 and 3, the removed row read between
    EXPECT_EQ(files[0].row, 1);
    EXPECT_EQ(files[1].row, 3);
    EXPECT_EQ(progress.events, (QStringList{"row 1", "started"}));

    walk.finished(3, {files[1].request.source, {}, true, {}}, 3); // the later one first
    EXPECT_EQ(progress.events.size(), 2) << "row 3 waits for row 1";
    EXPECT_TRUE(walk.filesToStart().empty()) << "row 3 is still in hand until shown";
    walk.finished(1, {files[0].request.source, {}, false, "kaputt"}, 0); // failed before step 1
    EXPECT_EQ(progress.events, (QStringList{"row 1", "started", "1.jpg 3/1", "row 2", "row 3",
                                            "3.jpg 1/3", "step 1", "step 2", "step 3"}));
    files = walk.filesToStart();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].row, 4);
    EXPECT_FALSE(walk.done());
    walk.finished(4, {files[0].request.source, {}, true, {}}, 3);
    EXPECT_TRUE(walk.filesToStart().empty());
    EXPECT_TRUE(walk.done());
    ASSERT_EQ(walk.report().files.size(), 3u);
    EXPECT_EQ(walk.report().failedCount(), 1);
}

TEST(StampingWalk, SameOutputNameWaitsForTheEarlierFileAndStopKeepsTheFilesInHand) {
    TempFolder temp;
    QDir().mkpath(temp.file("out"));
    FakeInputs inputs;
    inputs.rows = {{temp.write("a/x.jpg", kJpeg)},
                   {temp.write("b/x.jpg", kJpeg)},
                   {temp.write("c.jpg", kJpeg)}};
    EventRecorder progress;
    StampingWalk walk(inputs, progress, common(temp.file("out")), 3);
    auto files = walk.filesToStart();
    ASSERT_EQ(files.size(), 1u) << "b/x.jpg has the same output and waits; c.jpg behind it";
    walk.finished(1, {files[0].request.source, {}, true, {}}, 3);
    files = walk.filesToStart();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].row, 2);
    EXPECT_EQ(files[1].row, 3);

    // stopping: nothing more is read, the files in hand are still shown
    FakeInputs more = inputs;
    EventRecorder stopping;
    stopping.yieldsLeft = 1;
    StampingWalk stopped(more, stopping, common(temp.file("out")), 3);
    files = stopped.filesToStart();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(stopped.report().stopped);
    EXPECT_FALSE(stopped.done());
    stopped.finished(1, {files[0].request.source, {}, true, {}}, 3);
    EXPECT_TRUE(stopped.done());
    EXPECT_EQ(stopped.report().files.size(), 1u);
}

TEST(StampingRun, StampsOnThePoolWithTheResultsOfARunOfOneFileAfterTheOther) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    inputs.noticeChoice = {true, "(C) Hinweis", true, false};
    inputs.rows.push_back({temp.write("src/broken.jpg", "not a picture")});
    for (int i = 1; i <= 6; ++i) {
        QImage picture(40 + i, 30, QImage::Format_RGB32);
        picture.fill(QColor(20 * i, 90, 160));
        const QString path = temp.file(QString("src/%1.png").arg(i));
        QDir().mkpath(temp.file("src"));
        ASSERT_TRUE(picture.save(path));
        inputs.rows.push_back({path, i == 4});
    }

    ProgressRecorder serial;
    const StampingReport expected = RunStamping(inputs, serial);
    const QByteArray firstOutput = readAll(temp.file("out/3.png"));

    setProgramFolder(temp.file("program"));
    QDir().mkpath(temp.file("program"));
    ProgressRecorder pooled;
    StampingRun run(inputs, pooled, 3, true);
    waitFor(run);
    EXPECT_EQ(pooled.counters, serial.counters);
    EXPECT_EQ(pooled.sources, serial.sources);
    EXPECT_EQ(pooled.steps, serial.steps);
    ASSERT_EQ(run.report().files.size(), expected.files.size());
    for (std::size_t i = 0; i < expected.files.size(); ++i) {
        EXPECT_EQ(run.report().files[i].source, expected.files[i].source);
        EXPECT_EQ(run.report().files[i].ok, expected.files[i].ok);
    }
    EXPECT_EQ(readAll(temp.file("out/3.png")), firstOutput); // the same bytes
    // "tester.bmp" holds the last row's picture: 6.png, 46 × (30 + 20)
    EXPECT_EQ(QImage(temp.file("program/tester.bmp")).size(), QSize(46, 50));
    EXPECT_TRUE(run.report().composedPictureError.isEmpty());
    setProgramFolder({});
}

TEST(StampingRun, UnwritableTesterBitmapIsReportedOnceAndTheFilesAreStamped) {
    TempFolder temp;
    setProgramFolder(temp.file("program"));
    QDir().mkpath(temp.file("program/tester.bmp")); // a folder: the bitmap cannot replace it
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    inputs.noticeChoice = {true, "(C) Hinweis", true, false};
    for (const char* name : {"a.png", "b.png"}) {
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString path = temp.file(name);
        ASSERT_TRUE(picture.save(path));
        inputs.rows.push_back({path});
    }
    ProgressRecorder progress;
    StampingRun run(inputs, progress, 2, true);
    waitFor(run);
    EXPECT_EQ(run.report().failedCount(), 0);
    EXPECT_EQ(QImage(temp.file("out/b.png"), "JPEG").size(), QSize(20, 30));
    const MessageBoxRequest message = stampingMessage(run.report());
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_TRUE(message.text.startsWith("Das Copyright wurde den Dateien erfolgreich"));
    EXPECT_EQ(message.text.count("Zwischenbild"), 1) << message.text.toStdString();
    EXPECT_TRUE(message.text.contains("tester.bmp"));
    setProgramFolder({});
}

TEST(StampingRun, StartErrorFinishesThroughTheEventLoopWithNothingWritten) {
    TempFolder temp;
    FakeInputs inputs; // no output folder
    inputs.rows = {{temp.write("a.jpg", kJpeg)}};
    ProgressRecorder progress;
    StampingRun run(inputs, progress, 0, false);
    waitFor(run);
    EXPECT_FALSE(run.report().started());
    EXPECT_EQ(progress.started, 0);
}

TEST(TesterBitmapKeeper, WritesEveryPictureInRowOrderAndHoldsBackWhenFull) {
    TempFolder temp;
    setProgramFolder(temp.file("program"));
    QDir().mkpath(temp.file("program"));
    const auto picture = [](int width) {
        auto buffer = std::make_shared<cDIBSection>();
        EXPECT_TRUE(buffer->Create(width, 2));
        return buffer;
    };
    TesterBitmapKeeper keeper(2);
    QEventLoop loop;
    int rooms = 0;
    QObject::connect(&keeper, &TesterBitmapKeeper::room, [&] {
        if (rooms++ == 0)
            keeper.finish(); // no more rows
    });
    QObject::connect(&keeper, &TesterBitmapKeeper::idle, &loop, &QEventLoop::quit);
    for (int row = 1; row <= 4; ++row)
        keeper.expect(row);
    keeper.offer(3, picture(3)); // waits for rows 1 and 2
    keeper.offer(4, picture(4));
    EXPECT_TRUE(keeper.full()) << "two pictures wait";
    keeper.offer(2, nullptr); // a row without a picture
    keeper.offer(1, picture(1));
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(rooms, 1);
    EXPECT_FALSE(keeper.full());
    // the last row's picture is the one left, whatever order the rows came in
    EXPECT_EQ(QImage(temp.file("program/tester.bmp")).size(), QSize(4, 2));
    EXPECT_TRUE(keeper.error().isEmpty());
    setProgramFolder({});
}
