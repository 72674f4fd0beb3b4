#include "gui/wizard/pageoptions.h"

#include "core/job/savedoptions.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "gui/wizard/wizardpages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {
// The options as read when the wizard was entered: the source of those on no control.
CopyrightOptions& optionsAsLoaded() {
    static CopyrightOptions loaded;
    return loaded;
}
} // namespace

CopyrightOptions currentOptionsFromPages() {
    const Form11& step1 = form11();
    const Form2& step2 = form2();
    const Form3& step3 = form3();
    CopyrightOptions options;
    options.outputFolder = step3.Text1->text();
    options.useText = step2.Option1->isChecked();
    options.copyrightText = step2.copyrightText();
    options.copyrightFile = step2.Text3->text();
    options.noticeText = step2.Text4->text();
    options.noticeOn = step2.Check1->isChecked();
    options.enlarge = step2.Option3->isChecked();
    options.copNaming = step2.Option5->isChecked();
    options.filter = step1.Text1->text();
    options.currentFolder = step1.currentFolder();
    for (const StoredOnlyKey& stored : kStoredOnlyKeys)
        options.*stored.option = optionsAsLoaded().*stored.option;
    return options;
}

void showOptionsOnPages(const CopyrightOptions& options) {
    optionsAsLoaded() = options;
    Form3& step3 = form3();
    Form2& step2 = form2();
    step3.Text1->setText(options.outputFolder);
    // in each group, checking one button clears its partner
    (options.useText ? step2.Option1 : step2.Option2)->setChecked(true);
    step2.setCopyrightText(options.copyrightText);
    step2.Text3->setText(options.copyrightFile);
    step2.Text4->setText(options.noticeText);
    step2.Check1->setChecked(options.noticeOn);
    (options.enlarge ? step2.Option3 : step2.Option4)->setChecked(true);
    (options.copNaming ? step2.Option5 : step2.Option6)->setChecked(true);
    Form11& step1 = form11();
    step1.Text1->setText(options.filter);
    step1.setCurrentFolder(options.currentFolder);
}
