#include "stamping/stampingrun.h"

#include "imaging/dibsection.h"
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
    optionsStored_.waitForFinished();
}

void StampingRun::start() {
    running_ = true;
    // Step 1: the options as typed, taken now and written on the pool
    storingOptions_ = inputs_.saveAsDefault();
    if (storingOptions_)
        optionsStored_.setFuture(
            QtConcurrent::run(QThreadPool::globalInstance(), inputs_.currentOptionsWriter()));
    StampRequest common;
    if (!StartStamping(inputs_, report_, &common, false)) {
        finishWhenStored();
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
        std::shared_ptr<const std::atomic<bool>> wanted;
        if (tester_)
            wanted = tester_->wanted();
        const bool lastRow = row == inputs_.rowCount() - 1;
        watcher->setFuture(QtConcurrent::run(&pool_, [request = std::move(file.request), wanted,
                                                      lastRow]() mutable {
            FileResult result;
            if (wanted) // the picture taken along when wanted; the keeper writes it
                request.writeComposedPicture = [&result, &wanted,
                                                lastRow](const cDIBSection& composed, QString*) {
                    if (lastRow || *wanted)
                        result.composed = composed.ToPicture();
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
        connect(tester_.get(), &TesterBitmapKeeper::idle, this, &StampingRun::finishWhenStored,
                Qt::UniqueConnection);
        tester_->finish();
    } else {
        finishWhenStored();
    }
}

void StampingRun::finishWhenStored() {
    if (storingOptions_ && !optionsStored_.isFinished()) {
        connect(&optionsStored_, &QFutureWatcher<bool>::finished, this, &StampingRun::finish,
                Qt::UniqueConnection);
        return;
    }
    QTimer::singleShot(0, this, &StampingRun::finish);
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
    if (storingOptions_ && !optionsStored_.result())
        report_.optionsNotSaved = true;
    running_ = false;
    emit finished();
}
