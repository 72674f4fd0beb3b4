#include "core/stamping/testerbitmap.h"

#include "core/base/coreerror.h"
#include "core/base/programfolder.h"
#include "core/imaging/bitmapfile.h"
#include "core/imaging/dibsection.h"

#include <QDir>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

bool writeTesterBitmap(const cDIBSection& composed, QString* error) {
    const QString path = QDir(writableProgramFolder()).filePath(QStringLiteral("tester.bmp"));
    CoreError failure;
    if (WriteBitmapFile(composed, 32, path, &failure, BitmapWriteMode::InPlace) > 0)
        return true;
    if (error) // one line, for the run's summary
        *error = failure.detail.isEmpty()
                     ? QStringLiteral("„%1“ konnte nicht geschrieben werden.").arg(path)
                     : failure.detail;
    return false;
}

TesterBitmapKeeper::TesterBitmapKeeper(int mostWaiting) : mostWaiting_(std::max(mostWaiting, 1)) {
    pool_.setMaxThreadCount(1);
    connect(&watcher_, &QFutureWatcher<QString>::finished, this, &TesterBitmapKeeper::written);
}

TesterBitmapKeeper::~TesterBitmapKeeper() {
    pool_.waitForDone();
    for (const std::shared_ptr<cDIBSection>& picture : queue_)
        writeTesterBitmap(*picture, nullptr);
}

void TesterBitmapKeeper::expect(int row) {
    expected_.emplace(row, std::nullopt);
}

void TesterBitmapKeeper::offer(int row, std::shared_ptr<cDIBSection> picture) {
    const auto found = expected_.find(row);
    if (found == expected_.end())
        return;
    found->second = std::move(picture);
    queueReadyPictures();
}

// The oldest expected rows that are offered go to the writer's queue.
void TesterBitmapKeeper::queueReadyPictures() {
    while (!expected_.empty() && expected_.begin()->second) {
        if (std::shared_ptr<cDIBSection> picture = std::move(*expected_.begin()->second))
            queue_.push_back(std::move(picture));
        expected_.erase(expected_.begin());
    }
    if (!writing_ && !queue_.empty())
        writeNext();
}

int TesterBitmapKeeper::waiting() const {
    int pictures = int(queue_.size());
    for (const auto& [row, picture] : expected_)
        pictures += picture && *picture ? 1 : 0;
    return pictures;
}

bool TesterBitmapKeeper::full() const {
    return waiting() >= mostWaiting_;
}

void TesterBitmapKeeper::finish() {
    finishing_ = true;
    for (auto& [row, picture] : expected_) // a row not offered by now brings no picture
        if (picture && *picture)
            queue_.push_back(std::move(*picture));
    expected_.clear();
    if (!writing_ && queue_.empty())
        QTimer::singleShot(0, this, &TesterBitmapKeeper::idle);
    else if (!writing_)
        writeNext();
}

void TesterBitmapKeeper::writeNext() {
    writing_ = true;
    std::shared_ptr<cDIBSection> picture = std::move(queue_.front());
    queue_.pop_front();
    watcher_.setFuture(QtConcurrent::run(&pool_, [picture = std::move(picture)] {
        QString error;
        return writeTesterBitmap(*picture, &error) ? QString() : error;
    }));
}

void TesterBitmapKeeper::written() {
    writing_ = false;
    if (const QString error = watcher_.result(); !error.isEmpty() && error_.isEmpty())
        error_ = error;
    if (!queue_.empty())
        writeNext(); // one picture less waits
    else if (finishing_)
        emit idle();
    if (!finishing_ && !full())
        emit room();
}
