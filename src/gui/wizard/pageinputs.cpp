#include "gui/wizard/pageinputs.h"

#include "core/job/savedoptions.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "gui/wizard/pageoptions.h"
#include "gui/wizard/wizardpages.h"

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
    return form3().Check1->isChecked();
}

bool PageInputs::saveCurrentOptions() {
    return SaveCurrentOptions(currentOptionsFromPages());
}

std::function<bool()> PageInputs::currentOptionsWriter() {
    return [options = currentOptionsFromPages()] { return SaveCurrentOptions(options); };
}

QString PageInputs::outputFolder() {
    return form3().Text1->text();
}

void PageInputs::setOutputFolder(const QString& folder) {
    form3().Text1->setText(folder);
}

bool PageInputs::useTypedText() {
    return form2().Option1->isChecked();
}

QString PageInputs::typedText() {
    return form2().copyrightText();
}

QString PageInputs::textFilePath() {
    return form2().Text3->text();
}

int PageInputs::rowCount() {
    return form11().jobList().Rows();
}

QString PageInputs::rowPath(int row) {
    return hasDataRow(row) ? form11().jobList().path(row - 1) : QString();
}

bool PageInputs::rowRemoved(int row) {
    return !hasDataRow(row) || form11().jobList().isRemoved(row - 1);
}

NoticeChoice PageInputs::notice() {
    const Form2& step2 = form2();
    return NoticeChoice{step2.Check1->isChecked(), step2.Text4->text(), step2.Option3->isChecked(),
                        step2.Option5->isChecked()};
}

bool PageInputs::copyrightInMetadata() {
    return currentOptionsFromPages().copyrightInMetadata;
}

bool PageInputs::keepQuality() {
    return currentOptionsFromPages().keepQuality;
}
