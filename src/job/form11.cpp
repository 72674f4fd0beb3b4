#include "job/form11.h"

#include "app/navigation.h"
#include "app/pageregistry.h"
#include "app/pages/pagecatalogue.h"
#include "app/picturelabel.h"
#include "app/url.h"
#include "job/form2.h"
#include "stamping/form3.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTreeView>

Form11::Form11()
    : Page(form11Description()), Label3(bind<QLabel>("Label3")), Label4(bind<QLabel>("Label4")),
      Drive1(bind<QComboBox>("Drive1")), Dir1(bind<QTreeView>("Dir1")),
      File1(bind<QListWidget>("File1")), Label5(bind<QLabel>("Label5")),
      Text1(bind<QLineEdit>("Text1")), Command1(bind<QPushButton>("Command1")),
      Command2(bind<QPushButton>("Command2")), Command3(bind<QPushButton>("Command3")),
      Command4(bind<QPushButton>("Command4")), Image5(bind<PictureLabel>("Image5")),
      Flex(bind<QTableView>("Flex")), Command6(bind<QPushButton>("Command6")),
      Command5(bind<QPushButton>("Command5")), Image1(bind<PictureLabel>("Image1")),
      Image2(bind<PictureLabel>("Image2")), I2(bind<QLabel>("I2")) {
    connect(Command5, &QPushButton::clicked, this, &Form11::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form11::Command6_Click);
    connect(Image5, &PictureLabel::clicked, this, &Form11::Image5_Click);
    Image5->setCursor(Qt::PointingHandCursor); // the banner is a link
}

void Form11::Form_Load() {
    form2();
    form3();
}

void Form11::Command5_Click() {
    moveToPageInPlace(*this, form2());
}

void Form11::Command6_Click() {
    ShellOpen(helpPagePath());
}

void Form11::Image5_Click() {
    ShellOpen(makerWebSite());
}
