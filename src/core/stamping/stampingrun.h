#pragma once
// The run of the windows: its loop stays on the thread that starts it and is
// driven by that thread's event loop, reading the inputs and showing the
// progress there, in row order; only each file's work (stampFile) runs on a
// pool of worker threads, one file per core in flight. Nothing blocks the
// starting thread and no event loop is entered: every step follows an event.

#include "core/stamping/stampfile.h"
#include "core/stamping/stampinginputs.h"
#include "core/stamping/stampingprogress.h"
#include "core/stamping/stampingreport.h"
#include "core/stamping/stampingwalk.h"

#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <memory>
#include <optional>

class TesterBitmapKeeper;
class cDIBSection;

class StampingRun final : public QObject {
    Q_OBJECT
public:
    struct FileResult {
        FileOutcome outcome;
        int stepsDone = 0;
        std::shared_ptr<cDIBSection> composed; // the composed picture, when the run keeps them
    };

    // `inputs` and `progress` are used on this thread only and outlive the run.
    // `filesAtOnce`: the files in flight at most (0: one per core).
    // `keepComposedPictures`: every composed picture goes to "tester.bmp", in row order.
    StampingRun(StampingInputs& inputs, StampingProgress& progress, int filesAtOnce,
                bool keepComposedPictures);
    ~StampingRun() override; // waits for the files in hand: no half file

    // Steps 1 to 3 at once, then the files. finished() follows through the event
    // loop once the last file in hand is done (at once for a start error).
    void start();
    bool isRunning() const { return running_; }
    const StampingReport& report() const { return report_; }

signals:
    void finished();

private:
    void startFiles();
    void fileDone(int row, QFutureWatcher<FileResult>* watcher);
    void finishWhenIdle();
    void finishWhenStored();
    void finish();

    StampingInputs& inputs_;
    StampingProgress& progress_;
    const int filesAtOnce_;
    QThreadPool pool_;
    std::optional<StampingWalk> walk_;
    std::unique_ptr<TesterBitmapKeeper> tester_;
    QFutureWatcher<bool> optionsStored_; // step 1, off this thread
    bool storingOptions_ = false;
    StampingReport report_;
    bool running_ = false;
    bool finishing_ = false; // every file is done; what is left is written
};
