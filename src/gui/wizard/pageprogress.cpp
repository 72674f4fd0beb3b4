#include "gui/wizard/pageprogress.h"

#include "core/base/filename.h"
#include "gui/framework/programend.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form3.h"
#include "gui/wizard/wizardpages.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

// The run's loop is driven by the event loop itself: nothing to yield to.
bool PageProgress::yield() {
    return !programEnding();
}

void PageProgress::processingStarted() {
    page_.Command5->setEnabled(false);
}

void PageProgress::rowStarted(int row) {
    form11().jobList().setCurrentRow(row - 1);
}

void PageProgress::fileCounters(const QString& source, int rowsLeft, int rowsDone) {
    page_.Label13->setText(displayFileName(source));
    page_.Label11->setText(QString::number(rowsLeft));
    page_.Label12->setText(QString::number(rowsDone));
}

void PageProgress::fileStep(int value, int maximum) {
    page_.Stat->setMaximum(maximum);
    page_.Stat->setValue(value);
}
