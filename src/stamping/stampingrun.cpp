#include "stamping/stampingrun.h"

#include "stamping/runstamping.h"
#include "stamping/testerbitmap.h"

#include <QThread>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

StampingRun::StampingRun(StampingInputs& inputs, StampingProgress& progress, int filesAtOnce,
                         bool keepComposedPictures)
    : inputs_(inputs), progress_(progress),
      filesAtOnce_(filesAtOnce > 0 ? filesAtOnce : std::max(QThread::idealThreadCount(), 1)) {
    pool_.setMaxThreadCount(filesAtOnce_);
    if (keepComposedPictures)
        tester_ = std::make_unique<TesterBitmapKeeper>();
}

StampingRun::~StampingRun() {
    pool_.waitForDone();
}

void StampingRun::start() {
    running_ = true;
    StampRequest common;
    if (!StartStamping(inputs_, report_, &common)) {
        QTimer::singleShot(0, this, &StampingRun::finish);
        return;
    }
    walk_.emplace(inputs_, progress_, std::move(common), filesAtOnce_);
    startFiles();
}

void StampingRun::startFiles() {
    for (StampingWalk::File& file : walk_->filesToStart()) {
        auto* watcher = new QFutureWatcher<FileResult>(this);
        const int row = file.row;
        connect(watcher, &QFutureWatcher<FileResult>::finished, this,
                [this, row, watcher] { fileDone(row, watcher); });
        const bool keep = tester_ != nullptr;
        watcher->setFuture(QtConcurrent::run(&pool_, [request = std::move(file.request),
                                                      keep]() mutable {
            FileResult result;
            if (keep) // the picture is taken along; the keeper writes it off this thread
                request.writeComposedPicture = [&result](const QImage& composed, QString*) {
                    result.composed = composed;
                    return true;
                };
            result.outcome = StampFile(request, [&result](int step) { result.stepsDone = step; });
            return result;
        }));
    }
    finishWhenIdle();
}

void StampingRun::fileDone(int row, QFutureWatcher<FileResult>* watcher) {
    FileResult result = watcher->result();
    watcher->deleteLater();
    if (tester_ && !result.composed.isNull())
        tester_->offer(row, std::move(result.composed));
    walk_->finished(row, result.outcome, result.stepsDone);
    startFiles();
}

void StampingRun::finishWhenIdle() {
    if (!walk_->done())
        return;
    if (tester_) {
        connect(tester_.get(), &TesterBitmapKeeper::idle, this, &StampingRun::finish,
                Qt::UniqueConnection);
        tester_->finish();
    } else {
        QTimer::singleShot(0, this, &StampingRun::finish);
    }
}

void StampingRun::finish() {
    if (!running_)
        return;
    if (walk_) {
        StampingReport& walked = walk_->report();
        report_.files = std::move(walked.files);
        report_.stopped = walked.stopped;
    }
    if (tester_ && !tester_->error().isEmpty())
        report_.composedPictureError = tester_->error();
    running_ = false;
    emit finished();
}
