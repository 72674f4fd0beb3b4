#include "gui/wizard/form2.h"

#include "gui/framework/linewidget.h"
#include "gui/framework/navigation.h"
#include "gui/framework/picturelabel.h"
#include "gui/framework/url.h"
#include "gui/pages/pagecatalogue.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form3.h"
#include "gui/wizard/wizardpages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

Form2::Form2()
    : Page(form2Description()), Label3(bind<QLabel>("Label3")), Label4(bind<QLabel>("Label4")),
      Option1(bind<QRadioButton>("Option1")), Text1(bind<QPlainTextEdit>("Text1")),
      Line2(bind<LineWidget>("Line2")), Option2(bind<QRadioButton>("Option2")),
      Text3(bind<QLineEdit>("Text3")), Line3(bind<LineWidget>("Line3")),
      Check1(bind<QCheckBox>("Check1")), Text4(bind<QLineEdit>("Text4")),
      Frame1(bind<QWidget>("Frame1")), Option3(bind<QRadioButton>("Option3")),
      Option4(bind<QRadioButton>("Option4")), Frame2(bind<QWidget>("Frame2")),
      Option5(bind<QRadioButton>("Option5")), Option6(bind<QRadioButton>("Option6")),
      Command6(bind<QPushButton>("Command6")), Command1(bind<QPushButton>("Command1")),
      Command5(bind<QPushButton>("Command5")), Image1(bind<PictureLabel>("Image1")) {
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command5, &QPushButton::clicked, this, &Form2::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form2::Command6_Click);
}

// The editor keeps each line as a paragraph of its own; a stored CR LF is one
// paragraph break, and a paragraph or line break (Shift+Enter) reads back as
// CR LF. A lone CR or LF in a stored text becomes CR LF.
QString Form2::copyrightText() const {
    QString text = Text1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void Form2::setCopyrightText(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(lines);
}

void Form2::Command1_Click() {
    moveToPageInPlace(*this, form11());
}

void Form2::Command5_Click() {
    moveToPageInPlace(*this, form3());
}

void Form2::Command6_Click() {
    ShellOpen(helpPagePath());
}
