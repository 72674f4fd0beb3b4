#pragma once
// The run's progress on the step-3 page: current file, rows left, row number
// and the three-step bar; the start button disabled from the first processed
// file; the step-1 grid's current row moved along. Used on the thread of the
// windows only, where the run's loop is.

#include "core/stamping/stampingprogress.h"

class Form3;

class PageProgress final : public StampingProgress {
public:
    explicit PageProgress(Form3& page) : page_(page) {}

    // False once the program is ending: the run stops after the files in hand.
    bool yield() override;
    void processingStarted() override;
    void rowStarted(int row) override;
    void fileCounters(const QString& source, int rowsLeft, int rowsDone) override;
    void fileStep(int value, int maximum) override;

private:
    Form3& page_;
};
