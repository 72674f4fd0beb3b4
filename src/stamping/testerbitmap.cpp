#include "stamping/testerbitmap.h"

#include "base/coreerror.h"
#include "base/programfolder.h"
#include "imaging/bitmapfile.h"
#include "imaging/dibsection.h"

#include <QDir>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr qint64 kRefreshMilliseconds = 500;

bool writeTesterPicture(const QImage& composed, QString* error) {
    const QString path = QDir(writableProgramFolder()).filePath(QStringLiteral("tester.bmp"));
    CoreError failure;
    if (WriteBitmapFile(composed, 32, path, nullptr, &failure) > 0)
        return true;
    if (error) // one line, for the run's summary
        *error = failure.detail.isEmpty()
                     ? QStringLiteral("„%1“ konnte nicht geschrieben werden.").arg(path)
                     : failure.detail;
    return false;
}

} // namespace

bool WriteTesterBitmap(const cDIBSection& composed, QString* error) {
    return writeTesterPicture(composed.ToPicture(), error);
}

TesterBitmapKeeper::TesterBitmapKeeper() {
    pool_.setMaxThreadCount(1);
    connect(&watcher_, &QFutureWatcher<QString>::finished, this, &TesterBitmapKeeper::written);
}

TesterBitmapKeeper::~TesterBitmapKeeper() {
    pool_.waitForDone();
}

void TesterBitmapKeeper::offer(int row, QImage picture) {
    if (row < newestRow_)
        return;
    newestRow_ = row;
    pending_ = std::move(picture);
    if (!writing_ && (!sinceWrite_.isValid() || sinceWrite_.elapsed() >= kRefreshMilliseconds))
        writeNext();
}

void TesterBitmapKeeper::finish() {
    finishing_ = true;
    if (writing_)
        return; // written() goes on
    if (pending_)
        writeNext();
    else
        QTimer::singleShot(0, this, &TesterBitmapKeeper::idle);
}

void TesterBitmapKeeper::writeNext() {
    writing_ = true;
    *wanted_ = false;
    sinceWrite_.start();
    QImage picture = std::move(*pending_);
    pending_.reset();
    watcher_.setFuture(QtConcurrent::run(&pool_, [picture = std::move(picture)] {
        QString error;
        return writeTesterPicture(picture, &error) ? QString() : error;
    }));
}

void TesterBitmapKeeper::written() {
    writing_ = false;
    if (const QString error = watcher_.result(); !error.isEmpty() && error_.isEmpty())
        error_ = error;
    if (finishing_ && pending_)
        writeNext();
    else if (finishing_)
        emit idle();
    else // the next picture is wanted once the interval is over
        QTimer::singleShot(std::max<qint64>(kRefreshMilliseconds - sinceWrite_.elapsed(), 0), this,
                           [this] {
                               *wanted_ = true;
                               if (pending_ && !writing_)
                                   writeNext();
                           });
}
