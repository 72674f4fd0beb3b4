#include "gui/wizard/form3.h"

#include "core/stamping/stampingmessage.h"
#include "core/stamping/stampingrun.h"
#include "gui/framework/linewidget.h"
#include "gui/framework/messageseam.h"
#include "gui/framework/navigation.h"
#include "gui/framework/picturelabel.h"
#include "gui/framework/programend.h"
#include "gui/framework/rectanglewidget.h"
#include "gui/framework/url.h"
#include "gui/pages/pagecatalogue.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/wizardpages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

Form3::Form3()
    : Page(form3Description()), Label3(bind<QLabel>("Label3")), Label4(bind<QLabel>("Label4")),
      Frame1(bind<QWidget>("Frame1")), Shape2(bind<RectangleWidget>("Shape2")),
      Image2(bind<PictureLabel>("Image2")), Label5(bind<QLabel>("Label5")),
      Text1(bind<QLineEdit>("Text1")), Check1(bind<QCheckBox>("Check1")),
      Frame2(bind<QWidget>("Frame2")), Shape4(bind<RectangleWidget>("Shape4")),
      Label6(bind<QLabel>("Label6")), Label7(bind<QLabel>("Label7")),
      Label13(bind<QLabel>("Label13")), Label8(bind<QLabel>("Label8")),
      Label11(bind<QLabel>("Label11")), Label9(bind<QLabel>("Label9")),
      Label12(bind<QLabel>("Label12")), Image3(bind<PictureLabel>("Image3")),
      Line2(bind<LineWidget>("Line2")), Line3(bind<LineWidget>("Line3")),
      Line4(bind<LineWidget>("Line4")), Image4(bind<PictureLabel>("Image4")),
      Stat(bind<QProgressBar>("Stat")), Label10(bind<QLabel>("Label10")),
      Command6(bind<QPushButton>("Command6")), Command1(bind<QPushButton>("Command1")),
      Command5(bind<QPushButton>("Command5")), Image1(bind<PictureLabel>("Image1")) {
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command5, &QPushButton::clicked, this, &Form3::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form3::Command6_Click);
}

Form3::~Form3() = default;

void Form3::Command1_Click() {
    moveToPageInPlace(*this, form2());
}

// The run's loop stays here, reading rows and options live from the pages as
// the event loop turns; each file's work on a worker thread, one file per core,
// so the windows keep answering. A closed page ends the run after the files in
// hand, without a message.
void Form3::Command5_Click() {
    if (running_)
        return;
    running_ = true;
    run_ = std::make_unique<StampingRun>(inputs_, progress_, 0, true);
    connect(run_.get(), &StampingRun::finished, this, &Form3::runEnded);
    run_->start();
}

void Form3::runEnded() {
    const StampingReport& report = run_->report();
    if (!report.stopped && !programEnding())
        messageSeam().show(stampingMessage(report));
    running_ = false;
    Command5->setEnabled(true);
    emit runFinished();
}

// Users expect help here as on steps 1 and 2.
void Form3::Command6_Click() {
    ShellOpen(helpPagePath());
}
