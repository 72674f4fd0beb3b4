// How long the window's event loop stands still while a picture is stamped:
// runs the stamping run on the GUI thread, as the step-3 page does, with a 5 ms
// timer that notes the longest pause between two of its turns.
//   stampora_event_gaps PICTURE OUTPUT_FOLDER   prints the longest pause in ms
#include "stamping/runstamping.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

class OnePicture final : public StampingInputs {
public:
    OnePicture(QString picture, QString output)
        : picture_(std::move(picture)), output_(std::move(output)) {}
    bool saveAsDefault() override { return false; }
    bool saveCurrentOptions() override { return true; }
    QString outputFolder() override { return output_; }
    void setOutputFolder(const QString& folder) override { output_ = folder; }
    bool useTypedText() override { return true; }
    QString typedText() override { return QStringLiteral("(c) 2026 Anna Beispiel"); }
    QString textFilePath() override { return {}; }
    int rowCount() override { return 2; }
    QString rowPath(int) override { return picture_; }
    bool rowRemoved(int) override { return false; }
    NoticeChoice notice() override {
        return {true, QStringLiteral("(c) 2026 Anna Beispiel - Alle Rechte vorbehalten"), true,
                false};
    }

private:
    QString picture_;
    QString output_;
};

// The page's progress: it lets the event loop run at every row.
class EventsAtEveryRow final : public StampingProgress {
public:
    bool yield() override {
        QCoreApplication::processEvents();
        return true;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: stampora_event_gaps PICTURE OUTPUT_FOLDER\n");
        return 2;
    }
    OnePicture inputs(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    EventsAtEveryRow progress;

    QElapsedTimer clock;
    qint64 last = -1;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            longest = std::max(longest, now - last);
        last = now;
    });
    bool ok = false;
    QTimer::singleShot(50, [&] {
        const StampingReport report = RunStamping(inputs, progress, {1, {}});
        ok = report.started() && report.failedCount() == 0;
        // a few more turns, so a pause at the very end is counted too
        QTimer::singleShot(50, &app, &QCoreApplication::quit);
    });
    clock.start();
    ticker.start();
    app.exec();
    if (!ok) {
        std::fprintf(stderr, "stamping failed\n");
        return 1;
    }
    std::printf("%.0f\n", longest / 1e6);
    return 0;
}
