#include "stamping/pageinputs.h"

#include "app/guithreadcall.h"
#include "app/pageregistry.h"
#include "job/form11.h"
#include "job/form2.h"
#include "job/pageoptions.h"
#include "job/savedoptions.h"
#include "stamping/form3.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Grid row of the run (row 0 is the header) to a row of the job list model;
// rows the list no longer has (cleared during the run) read as removed.
bool hasDataRow(int row) {
    return row >= 1 && row - 1 < form11().jobList().count();
}

} // namespace

bool PageInputs::saveAsDefault() {
    return onGuiThread([] { return form3().Check1->isChecked(); });
}

// The controls are read on the thread of the windows; the store is written
// where the run is, so a slow disk does not freeze the windows.
bool PageInputs::saveCurrentOptions() {
    return SaveCurrentOptions(onGuiThread([] { return CurrentOptionsFromPages(); }));
}

QString PageInputs::outputFolder() {
    return onGuiThread([] { return form3().Text1->text(); });
}

void PageInputs::setOutputFolder(const QString& folder) {
    onGuiThread([&folder] { form3().Text1->setText(folder); });
}

bool PageInputs::useTypedText() {
    return onGuiThread([] { return form2().Option1->isChecked(); });
}

QString PageInputs::typedText() {
    return onGuiThread([] { return form2().copyrightText(); });
}

QString PageInputs::textFilePath() {
    return onGuiThread([] { return form2().Text3->text(); });
}

int PageInputs::rowCount() {
    return onGuiThread([] { return form11().jobList().Rows(); });
}

QString PageInputs::rowPath(int row) {
    return onGuiThread(
        [row] { return hasDataRow(row) ? form11().jobList().path(row - 1) : QString(); });
}

bool PageInputs::rowRemoved(int row) {
    return onGuiThread([row] { return !hasDataRow(row) || form11().jobList().isRemoved(row - 1); });
}

NoticeChoice PageInputs::notice() {
    return onGuiThread([] {
        const Form2& step2 = form2();
        return NoticeChoice{step2.Check1->isChecked(), step2.Text4->text(),
                            step2.Option3->isChecked(), step2.Option5->isChecked()};
    });
}
