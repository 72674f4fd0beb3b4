#include "core/stamping/stampingrun.h"

#include "core/base/resourcelimits.h"
#include "core/imaging/dibsection.h"
#include "core/stamping/picturememory.h"
#include "core/stamping/runstamping.h"
#include "core/stamping/testerbitmap.h"

#include <QThread>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

StampingRun::StampingRun(StampingInputs& inputs, StampingProgress& progress, int filesAtOnce,
                         bool keepComposedPictures)
    : inputs_(inputs), progress_(progress),
      // no more files in flight than open files allow
      filesAtOnce_(filesAtOnceWithinOpenFileLimit(
          filesAtOnce > 0 ? filesAtOnce : std::max(QThread::idealThreadCount(), 1),
          kDescriptorsPerStampedFile)) {
    pool_.setMaxThreadCount(filesAtOnce_);
    if (keepComposedPictures) {
        tester_ = std::make_unique<TesterBitmapKeeper>(filesAtOnce_);
        connect(tester_.get(), &TesterBitmapKeeper::room, this, &StampingRun::startFiles);
    }
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
    if (!startStamping(inputs_, report_, &common, false)) {
        finishWhenStored();
        return;
    }
    common.memory = pictureMemoryGate(filesAtOnce_);
    walk_.emplace(inputs_, progress_, std::move(common), filesAtOnce_);
    startFiles();
}

void StampingRun::startFiles() {
    if (!walk_ || finishing_)
        return;
    // while the pictures for "tester.bmp" wait for their writer, no further file
    if (tester_ && tester_->full())
        return;
    for (StampingWalk::File& file : walk_->filesToStart()) {
        auto* watcher = new QFutureWatcher<FileResult>(this);
        const int row = file.row;
        connect(watcher, &QFutureWatcher<FileResult>::finished, this,
                [this, row, watcher] { fileDone(row, watcher); });
        if (tester_)
            tester_->expect(row);
        watcher->setFuture(QtConcurrent::run(&pool_, [request = std::move(file.request),
                                                      keep = bool(tester_)]() mutable {
            FileResult result;
            if (keep) // the buffer is handed over once the picture is encoded; the keeper writes it
                request.writeComposedPicture = [&result](cDIBSection& composed, QString*) {
                    result.composed = std::make_shared<cDIBSection>(std::move(composed));
                    return true;
                };
            result.outcome = stampFile(request, [&result](int step) { result.stepsDone = step; });
            return result;
        }));
    }
    finishWhenIdle();
}

void StampingRun::fileDone(int row, QFutureWatcher<FileResult>* watcher) {
    // taken out of the future, so the composed picture is released by its writer
    // as soon as it is written, not later on this thread with the watcher
    FileResult result = watcher->future().takeResult();
    watcher->deleteLater();
    if (tester_)
        tester_->offer(row, std::move(result.composed));
    walk_->finished(row, result.outcome, result.stepsDone);
    startFiles();
}

void StampingRun::finishWhenIdle() {
    if (!walk_->done())
        return;
    finishing_ = true;
    if (tester_) {
        connect(tester_.get(), &TesterBitmapKeeper::idle, this, &StampingRun::finishWhenStored);
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
