#pragma once
// The run's progress on the step-3 page: current file, rows left, row number
// and the three-step bar; the start button disabled from the first processed
// file; the step-1 grid's current row moved along. Safe to use from a worker
// thread: the controls are changed on the thread of the windows.

#include "stamping/stampingprogress.h"

class Form3;

class PageProgress final : public StampingProgress {
public:
    explicit PageProgress(Form3& page) : page_(page) {}

    // Lets the windows handle their input; false once the program is ending.
    bool yield() override;
    void processingStarted() override;
    void rowStarted(int row) override;
    void fileCounters(const QString& source, int rowsLeft, int rowsDone) override;
    void fileStep(int value, int maximum) override;

private:
    Form3& page_;
};
