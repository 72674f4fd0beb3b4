#include "viewer/form22.h"

#include "app/form1.h"
#include "app/linewidget.h"
#include "app/navigation.h"
#include "app/pageregistry.h"
#include "app/pages/pagecatalogue.h"
#include "app/picturelabel.h"
#include "app/programend.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>

Form22::Form22()
    : Page(form22Description()), Label3(bind<QLabel>("Label3")), Text1(bind<QLineEdit>("Text1")),
      Command1(bind<QPushButton>("Command1")), Command2(bind<QPushButton>("Command2")),
      Line4(bind<LineWidget>("Line4")), Label4(bind<QLabel>("Label4")),
      List1(bind<QListView>("List1")), Line2(bind<LineWidget>("Line2")),
      Text3(bind<QPlainTextEdit>("Text3")), Command4(bind<QPushButton>("Command4")),
      Command3(bind<QPushButton>("Command3")), Image1(bind<PictureLabel>("Image1")) {
    connect(Command3, &QPushButton::clicked, this, &Form22::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form22::Command4_Click);
}

void Form22::Command3_Click() {
    EndProgram();
}

void Form22::Command4_Click() {
    hideThenShow(*this, form1());
}
