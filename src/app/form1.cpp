#include "app/form1.h"

#include "app/navigation.h"
#include "app/pageregistry.h"
#include "app/pages/pagecatalogue.h"
#include "app/picturelabel.h"
#include "app/programend.h"
#include "base/programfolder.h"
#include "job/form11.h"
#include "viewer/form22.h"

#include <QLineEdit>
#include <QPushButton>

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
    EndProgram();
}
