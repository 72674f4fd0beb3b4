#include "gui/viewer/form22.h"

#include "core/base/filebytes.h"
#include "core/stamping/copyrightblock.h"
#include "gui/framework/dialogseam.h"
#include "gui/framework/linewidget.h"
#include "gui/framework/messageseam.h"
#include "gui/framework/navigation.h"
#include "gui/framework/pagedirectory.h"
#include "gui/framework/picturelabel.h"
#include "gui/framework/programend.h"
#include "gui/pages/pagecatalogue.h"
#include "gui/viewer/copyrightlistmodel.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
// The open-file dialog `Dlg`.
const QString kDialogTitle = QStringLiteral("Datei wählen");
const QString kDialogFilter =
    QStringLiteral("*.gif;*.png;*.jp*g (*.gif *.png *.jp*g);;Alle Dateien (*)");
} // namespace

Form22& form22() {
    return pageNamed<Form22>("Form22");
}

Form22::Form22()
    : Page(form22Description()), Label3(bind<QLabel>("Label3")), Text1(bind<QLineEdit>("Text1")),
      Command1(bind<QPushButton>("Command1")), Command2(bind<QPushButton>("Command2")),
      Line4(bind<LineWidget>("Line4")), Label4(bind<QLabel>("Label4")),
      List1(bind<QListView>("List1")), Line2(bind<LineWidget>("Line2")),
      Text3(bind<QPlainTextEdit>("Text3")), Command4(bind<QPushButton>("Command4")),
      Command3(bind<QPushButton>("Command3")), Image1(bind<PictureLabel>("Image1")),
      entries_(new CopyrightListModel(this)) {
    List1->setModel(entries_);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(Command1, &QPushButton::clicked, this, &Form22::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form22::Command2_Click);
    connect(List1, &QListView::clicked, this,
            [this](const QModelIndex& index) { List1_Click(index.row()); });
    connect(List1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid())
                    List1_Click(index.row());
            });
    connect(Command3, &QPushButton::clicked, this, &Form22::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form22::Command4_Click);
}

void Form22::Command1_Click() {
    const QString chosen =
        dialogSeam().getOpenFileName(this, kDialogTitle, Text1->text(), kDialogFilter);
    if (!chosen.isEmpty()) // a cancelled dialog keeps the name
        Text1->setText(chosen);
}

void Form22::Command2_Click() {
    entries_->setScan({});
    Text3->clear();
    CopyrightScan scan = ReadCopyrightBlocks(Text1->text());
    if (!scan.ok()) {
        showMessage(scan.error(), MessageIcon::Warning); // names the file and the reason
        return;
    }
    // the file is read once: the entries are kept in memory as read, whatever
    // happens to the file afterwards; texts too long to keep are not shown
    if (!scan.readIntoMemory(kMaxBytesKeptInMemory)) {
        showMessage(QStringLiteral("Die Copyright-Texte der Datei „%1“ sind zu lang, um sie "
                                   "anzuzeigen (höchstens %2 MiB zusammen).")
                        .arg(Text1->text())
                        .arg(kMaxBytesKeptInMemory >> 20),
                    MessageIcon::Warning);
        return;
    }
    if (!scan.ok()) { // the file changed while it was read
        showMessage(scan.error(), MessageIcon::Warning);
        return;
    }
    const bool truncated = scan.truncated();
    entries_->setScan(std::move(scan));
    if (truncated)
        showMessage(QStringLiteral("Die Datei enthält mehr als %1 Copyrights; angezeigt werden "
                                   "nur die ersten %1.")
                        .arg(kMaxCopyrightEntries),
                    MessageIcon::Information);
}

void Form22::List1_Click(int row) {
    Text3->setPlainText(entries_->wholeText(row));
}

void Form22::Command3_Click() {
    endProgram();
}

void Form22::Command4_Click() {
    hideThenShow(*this, pageNamed("Form1"));
}
