#pragma once
// The windows keep every composed picture as the 32-bit "tester.bmp" in the
// program folder. The run's threads hand their image buffers over once the
// picture is encoded (no copy), and one writer thread writes them one after the
// other in row order, so the file ends as the last stamped picture's while the
// run's threads go on with the next files.

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <deque>
#include <map>
#include <memory>
#include <optional>

class cDIBSection;

// Writes `composed` to "tester.bmp" in the writable program folder; false with
// a German reason on one line.
bool writeTesterBitmap(const cDIBSection& composed, QString* error);

class TesterBitmapKeeper final : public QObject {
    Q_OBJECT
public:
    // `mostWaiting`: pictures that may wait for the writer before full() says so.
    explicit TesterBitmapKeeper(int mostWaiting);
    ~TesterBitmapKeeper() override; // the pictures handed over are written first

    // Job-list row `row` is being stamped: its picture, or none, follows through
    // offer(). Rows are expected in increasing order.
    void expect(int row);
    // The composed picture of an expected row (null: it has none), on the
    // keeper's thread, in any order; pictures are written in row order.
    void offer(int row, std::shared_ptr<cDIBSection> picture);
    // As many pictures wait as may: the run hands out no further file until
    // room() follows.
    bool full() const;
    // No more rows come: idle() follows once every picture is written (queued,
    // also when nothing was to write).
    void finish();
    // German reason of the first failed write; empty when every write succeeded.
    QString error() const { return error_; }

signals:
    void room();
    void idle();

private:
    void queueReadyPictures();
    void writeNext();
    void written();
    int waiting() const;

    const int mostWaiting_;
    QThreadPool pool_; // the one writer thread
    QFutureWatcher<QString> watcher_;
    // the rows expected, in row order, with their picture once offered
    std::map<int, std::optional<std::shared_ptr<cDIBSection>>> expected_;
    std::deque<std::shared_ptr<cDIBSection>> queue_; // row order, ready to write
    bool writing_ = false;
    bool finishing_ = false;
    QString error_;
};
