#pragma once
// The windows keep the composed picture as the 32-bit "tester.bmp" in the
// program folder. Writing an 8 MB bitmap for each of many pictures would cost
// about a quarter of a run, so the run hands its pictures over in row order and
// the keeper writes the newest one off the run's threads, at most twice a
// second while the run goes on, and the last row's picture at the end (when the
// last row has no picture, the newest one taken stays).

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>

class cDIBSection;

// Writes `composed` to "tester.bmp" in the writable program folder; false with
// a German reason on one line.
bool WriteTesterBitmap(const cDIBSection& composed, QString* error);

class TesterBitmapKeeper final : public QObject {
    Q_OBJECT
public:
    TesterBitmapKeeper();
    ~TesterBitmapKeeper() override; // waits for a write under way

    // The composed picture of job-list row `row`, on the keeper's thread, in
    // any order: a picture of an earlier row than one offered before is dropped,
    // so the last row's picture is the one left.
    void offer(int row, QImage picture);
    // No more pictures come: the last one offered is written. idle() follows
    // once nothing is left to write (queued, also when nothing was to write).
    void finish();
    // Whether a picture is wanted now: the run's threads copy their composed
    // picture only then (and for the last row), the copy costing a share of a
    // picture's time. Safe to read from any thread.
    std::shared_ptr<const std::atomic<bool>> wanted() const { return wanted_; }
    // German reason of the first failed write; empty when every write succeeded.
    QString error() const { return error_; }

signals:
    void idle();

private:
    void writeNext();
    void written();

    QThreadPool pool_;
    QFutureWatcher<QString> watcher_;
    std::optional<QImage> pending_;
    int newestRow_ = 0;
    QElapsedTimer sinceWrite_;
    std::shared_ptr<std::atomic<bool>> wanted_ = std::make_shared<std::atomic<bool>>(true);
    bool writing_ = false;
    bool finishing_ = false;
    QString error_;
};
