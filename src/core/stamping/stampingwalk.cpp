#include "core/stamping/stampingwalk.h"

#include "core/stamping/runstamping.h"

#include <algorithm>

StampingWalk::StampingWalk(StampingInputs& inputs, StampingProgress& progress, StampRequest common,
                           int ahead)
    : inputs_(inputs), progress_(progress), common_(std::move(common)), ahead_(std::max(ahead, 1)) {
    cleaner_.clean(common_.outputFolder);
}

bool StampingWalk::touchesFileInHand(const InHand& file) const {
    return std::any_of(inHand_.begin(), inHand_.end(), [&](const InHand& other) {
        return other.handedOut && !other.outcome &&
               std::any_of(file.touched.begin(), file.touched.end(),
                           [&](const QString& path) { return other.touched.contains(path); });
    });
}

std::vector<StampingWalk::File> StampingWalk::filesToStart() {
    std::vector<File> files;
    for (;;) {
        // a file that shares a path with one in hand waits for it, and the rows behind it too
        if (!inHand_.empty() && !inHand_.back().handedOut) {
            if (touchesFileInHand(inHand_.back()))
                break;
            inHand_.back().handedOut = true;
            files.push_back({inHand_.back().row, inHand_.back().request});
            continue;
        }
        if (report_.stopped || static_cast<int>(inHand_.size()) >= ahead_ ||
            nextRead_ >= inputs_.rowCount())
            break;
        if (!progress_.yield()) {
            report_.stopped = true;
            break;
        }
        const int row = nextRead_++;
        if (row == nextCurrent_ && inHand_.empty())
            makeCurrent(row); // its turn has come: made current before it is read
        const QString path = inputs_.rowPath(row);
        if (inputs_.rowRemoved(row))
            continue;
        if (!started_) {
            progress_.processingStarted();
            started_ = true;
        }
        InHand file{row, common_, {}, false, std::nullopt, 0};
        file.request.source = path;
        file.request.notice = inputs_.notice();
        placeRowOutput(inputs_, row, file.request, cleaner_);
        cleaner_.cleanFor(file.request);
        file.touched = pathsTouchedBy(file.request);
        inHand_.push_back(std::move(file));
    }
    showReadyResults();
    return files;
}

void StampingWalk::finished(int row, const FileOutcome& outcome, int stepsDone) {
    for (InHand& file : inHand_) {
        if (file.row == row) {
            file.outcome = outcome;
            file.stepsDone = stepsDone;
            break;
        }
    }
    showReadyResults();
}

bool StampingWalk::done() {
    return inHand_.empty() && nextCurrent_ == nextRead_ &&
           (report_.stopped || nextRead_ >= inputs_.rowCount());
}

void StampingWalk::makeCurrent(int row) {
    progress_.rowStarted(row);
    nextCurrent_ = row + 1;
}

// Results in row order: the oldest file in hand is shown once it is done and
// current; rows read before it that were removed are made current on the way.
void StampingWalk::showReadyResults() {
    for (;;) {
        if (!inHand_.empty() && inHand_.front().row < nextCurrent_) {
            InHand& file = inHand_.front();
            if (!file.outcome)
                return;
            const int rows = inputs_.rowCount();
            progress_.fileCounters(file.outcome->source, rows - 1 - file.row, file.row);
            for (int step = 1; step <= file.stepsDone; ++step)
                progress_.fileStep(step, 3);
            progress_.fileFinished(*file.outcome);
            report_.files.push_back(std::move(*file.outcome));
            inHand_.pop_front();
            continue;
        }
        if (nextCurrent_ < nextRead_) {
            makeCurrent(nextCurrent_);
            continue;
        }
        return;
    }
}
