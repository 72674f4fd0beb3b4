#include "app/form1.h"
#include "gui/framework/pagedirectory.h"

#include "core/base/programfolder.h"
#include "gui/framework/navigation.h"
#include "gui/framework/picturelabel.h"
#include "gui/framework/programend.h"
#include "gui/pages/pagecatalogue.h"
#include "gui/viewer/form22.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/wizardpages.h"

#include <QLineEdit>
#include <QPushButton>

Form1& form1() {
    return pageNamed<Form1>("Form1");
}

Form1::Form1()
    : Page(form1Description()), Command1(bind<QPushButton>("Command1")),
      Command2(bind<QPushButton>("Command2")), Command3(bind<QPushButton>("Command3")),
      Image1(bind<PictureLabel>("Image1")) {
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
}

void Form1::Form_Load() {
    form22().Text1->setText(programFolder() + QLatin1Char('/'));
}

void Form1::Command1_Click() {
    showThenHide(*this, form11());
}

void Form1::Command2_Click() {
    showThenHide(*this, form22());
}

void Form1::Command3_Click() {
    endProgram();
}
