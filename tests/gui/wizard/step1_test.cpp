#include "core/base/filename.h"
#include "core/job/copyrightoptions.h"
#include "core/job/savedoptions.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "gui/wizard/pageoptions.h"
#include "gui/wizard/sizecolumndelegate.h"
#include "support/wizardfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTextDocument>
#include <QToolTip>
#include <QTreeView>
#include <QUrl>

namespace {
// Step 1 entered with its folder on a temporary folder of pictures.
class Step1 : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        store("curpath", pictures.path());
    }

    QStringList fileList() const {
        QStringList names;
        for (int row = 0; row < form11().File1->count(); ++row)
            names << form11().File1->item(row)->text();
        return names;
    }
    QStringList jobPaths() const {
        QStringList paths;
        const JobList& list = form11().jobList();
        for (int row = 0; row < list.count(); ++row)
            paths << list.path(row);
        return paths;
    }
    QString picture(const char* name) const { return pictures.file(QString::fromLatin1(name)); }
    // Ctrl-clicks the file list entries, the user's extended selection.
    static void ctrlClick(const QStringList& names) {
        QListWidget* list = form11().File1;
        for (const QString& name : names) {
            const auto found = list->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualItemRect(found.first()).center());
        }
    }

    TempFolder pictures;
    QString a = pictures.write("a.jpg", QByteArray(1234567, 'a'));
    QString b = pictures.write("b.gif", "GIF89a");
    QString c = pictures.write("c.png", "png");
    QString d = pictures.write("d.jpeg", "jpeg");
    QString notes = pictures.write("notes.txt", "text");
    QString hidden = pictures.write(".hidden.jpg", "jpg");
    QString sub = pictures.write("sub/inner.jpg", "inner");
};
} // namespace

TEST_F(Step1, FirstRunPutsEveryStartValueOnTheControlsAndWritesNothing) {
    QFile::remove(iniPath()); // nothing stored at all
    const Form11& step1 = enterWizard();
    const Form2& step2 = form2();
    EXPECT_EQ(form3().Text1->text(), writableProgramFolder() + "/img");
    EXPECT_TRUE(step2.Option1->isChecked());
    EXPECT_FALSE(step2.Option2->isChecked());
    EXPECT_EQ(step2.copyrightText(), kDefaultCopyrightText);
    EXPECT_EQ(step2.copyrightText().size(), 268);
    // the editor shows five lines and an empty sixth, with no CR of their own
    EXPECT_EQ(step2.Text1->document()->blockCount(), 6);
    EXPECT_FALSE(step2.Text1->toPlainText().contains(QLatin1Char('\r')));
    EXPECT_EQ(step2.Text3->text(), programDir.file("copyright.txt"));
    EXPECT_EQ(step2.Text4->text(), "Copyright (C) 2002 <Ihr Name>");
    EXPECT_FALSE(step2.Check1->isChecked());
    EXPECT_TRUE(step2.Option3->isChecked());
    EXPECT_FALSE(step2.Option4->isChecked());
    EXPECT_FALSE(step2.Option5->isChecked());
    EXPECT_TRUE(step2.Option6->isChecked());
    EXPECT_EQ(step1.Text1->text(), "*.jp*g;*.gif;*.png");
    EXPECT_EQ(step1.currentFolder(), QDir::currentPath());
    EXPECT_EQ(currentOptionsFromPages(), startOptions());
    EXPECT_FALSE(QFile::exists(iniPath()));

    // the empty job list: header only, 700 twips for the size, the rest less 712 for the path
    EXPECT_EQ(step1.Flex->model(), &step1.jobList());
    EXPECT_EQ(step1.jobList().Rows(), 1);
    EXPECT_EQ(step1.Flex->model()->headerData(0, Qt::Horizontal).toString(), "Dateiname & Pfad");
    EXPECT_EQ(step1.Flex->model()->headerData(1, Qt::Horizontal).toString(), "Größe");
    EXPECT_EQ(step1.Flex->columnWidth(1), 47); // 700 / 15
    // the grid's width less 712 twips (434 pixels), less what its frame takes
    EXPECT_EQ(step1.Flex->columnWidth(0), step1.Flex->viewport()->width() - 47);
    EXPECT_LE(step1.Flex->columnWidth(0), 434);
}

TEST_F(Step1, SizesStayInViewBesideTheScrollBar) {
    for (int i = 0; i < 12; ++i)
        pictures.write(QString("bild%1.jpg").arg(i), QByteArray(100000 + i, 'x'));
    Form11& step1 = enterWizard();
    click(step1.Command2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return step1.Flex->verticalScrollBar()->isVisible(); }));
    EXPECT_LE(step1.Flex->columnWidth(0) + step1.Flex->columnWidth(1),
              step1.Flex->viewport()->width());
    EXPECT_FALSE(step1.Flex->horizontalScrollBar()->isVisible());
    // the current row, the last added, is scrolled into view
    const QRect last = step1.Flex->visualRect(step1.jobList().index(15, 1));
    EXPECT_TRUE(step1.Flex->viewport()->rect().contains(last)) << last.y();
}

TEST_F(Step1, SizesOfUpToNineDigitsShowWholeLongerOnesLoseTheirLeadingDigits) {
    // camera-sized files and larger, as sparse files of the exact length
    const qint64 sizes[] = {5564214, 12345678, 999999999, 1000000000, 12345678901};
    TempFolder big;
    for (qint64 size : sizes) {
        QFile file(big.file(QString("f%1.jpg").arg(size)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
    }
    Form11& step1 = enterWizard();
    ASSERT_TRUE(step1.setCurrentFolder(big.path()));
    click(step1.Command2);
    ASSERT_EQ(step1.jobList().count(), 5);
    EXPECT_EQ(step1.Flex->columnWidth(JobList::SizeColumn), 47); // the designed 700 twips
    for (int row = 0; row < step1.jobList().count(); ++row) {
        const QModelIndex cell = step1.jobList().index(row, JobList::SizeColumn);
        const QString digits = cell.data().toString();
        const QString shown =
            SizeColumnDelegate::shownText(step1.Flex->font(), step1.Flex->visualRect(cell), digits);
        const QString tooltip = cell.data(Qt::ToolTipRole).toString();
        if (digits.size() <= 9) {
            EXPECT_EQ(shown, digits);
            EXPECT_TRUE(tooltip.isEmpty()) << tooltip.toStdString();
        } else {
            // cut at its left: the last digits stay, the whole value is the tooltip
            EXPECT_TRUE(shown.startsWith(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(digits.endsWith(shown.mid(1))) << shown.toStdString();
            EXPECT_EQ(tooltip, digits);
        }
    }
    // the digits keep the grid's height: narrowed, not made smaller
    const QRect room = SizeColumnDelegate::textRect(
        step1.Flex->visualRect(step1.jobList().index(0, JobList::SizeColumn)));
    const QFont digitFont = SizeColumnDelegate::digitFont(step1.Flex->font(), room.width());
    EXPECT_EQ(QFontMetrics(digitFont).height(), QFontMetrics(step1.Flex->font()).height());
}

// A long path is cut in the middle of its cell; hovering its row shows it
// whole, also a name the tooltip would otherwise take for markup.
TEST_F(Step1, HoveringAJobRowShowsItsWholePath) {
    const QString folder = pictures.file("Reise nach Island im Sommer 2024 mit der ganzen Familie/"
                                         "Tag 3 Wasserfälle und Gletscher am Nachmittag");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QStringList names = {"<b>fett.jpg", "ein ganz gewöhnliches Bild.jpg"};
    for (const QString& name : names)
        pictures.write(folder.mid(pictures.path().size() + 1) + "/" + name, "x");
    Form11& step1 = enterWizard();
    step1.show();
    ASSERT_TRUE(step1.setCurrentFolder(folder));
    click(step1.Command2);
    ASSERT_EQ(step1.jobList().count(), 2);
    for (int row = 0; row < 2; ++row) {
        const QString path = folder + "/" + names[row];
        SCOPED_TRACE(path.toStdString());
        const QRect cell = step1.Flex->visualRect(step1.jobList().index(row, JobList::PathColumn));
        EXPECT_GT(step1.Flex->fontMetrics().horizontalAdvance(path), cell.width()); // it is cut
        // what the toolkit sends when the mouse rests on the cell
        const QPoint at = cell.center();
        QHelpEvent hover(QEvent::ToolTip, at, step1.Flex->viewport()->mapToGlobal(at));
        QApplication::sendEvent(step1.Flex->viewport(), &hover);
        ASSERT_TRUE(QToolTip::isVisible());
        // the text as the tooltip shows it
        QTextDocument shown;
        if (Qt::mightBeRichText(QToolTip::text()))
            shown.setHtml(QToolTip::text());
        else
            shown.setPlainText(QToolTip::text());
        EXPECT_EQ(shown.toPlainText().toStdString(), path.toStdString());
        QToolTip::hideText();
    }
}

TEST_F(Step1, TheUserCannotDragTheGridsColumnBorders) {
    Form11& step1 = enterWizard();
    step1.show();
    QHeaderView* header = step1.Flex->horizontalHeader();
    const int widths[] = {step1.Flex->columnWidth(0), step1.Flex->columnWidth(1)};
    for (int column : {0, 1}) {
        EXPECT_EQ(header->sectionResizeMode(column), QHeaderView::Fixed);
        // press on the column's right border and drag it 30 pixels to the left
        const QPoint border(header->sectionViewportPosition(column) + header->sectionSize(column) -
                                1,
                            header->height() / 2);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, border);
        QTest::mouseMove(header->viewport(), border - QPoint(15, 0));
        QTest::mouseMove(header->viewport(), border - QPoint(30, 0));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, border - QPoint(30, 0));
        EXPECT_EQ(step1.Flex->columnWidth(0), widths[0]) << column;
        EXPECT_EQ(step1.Flex->columnWidth(1), widths[1]) << column;
    }
}

TEST_F(Step1, StoredValuesReachTheControlsAndComeBackUnchanged) {
    store("typ", "False");
    store("ctext", "Zeile eins\r\n\r\nZeile drei ");
    store("dojpg", "1");
    store("vtype", "0");
    store("vtype2", "TRUE");
    store("filter", "*.GIF");
    pictures.write("e.GIF", "GIF87a");
    enterWizard();
    const Form2& step2 = form2();
    EXPECT_TRUE(step2.Option2->isChecked());
    EXPECT_FALSE(step2.Option1->isChecked());
    EXPECT_EQ(step2.copyrightText(), "Zeile eins\r\n\r\nZeile drei ");
    EXPECT_TRUE(step2.Check1->isChecked());
    EXPECT_TRUE(step2.Option4->isChecked());
    EXPECT_FALSE(step2.Option3->isChecked());
    EXPECT_TRUE(step2.Option5->isChecked());
    EXPECT_FALSE(step2.Option6->isChecked());
    EXPECT_FALSE(step2.Frame2->isVisible()); // group C is never shown
    // the GIF-only pattern filters the file list before the page is seen
    EXPECT_EQ(form11().Text1->text(), "*.GIF");
    EXPECT_EQ(fileList(), QStringList({"b.gif", "e.GIF"}));
    EXPECT_EQ(form11().currentFolder(), pictures.path());

    // what the controls hold is what was stored: saving and loading it again changes nothing
    const CopyrightOptions shown = currentOptionsFromPages();
    ASSERT_TRUE(SaveCurrentOptions(shown));
    EXPECT_EQ(loadOptions(startOptions()), shown);
}

TEST_F(Step1, PlusMinusButtonsWorkOnTheJobList) {
    Form11& step1 = enterWizard();
    EXPECT_EQ(fileList(), QStringList({"a.jpg", "b.gif", "c.png", "d.jpeg"}));

    // "+" adds the selected files in file-list order, whatever order they were picked in
    ctrlClick({"d.jpeg", "a.jpg", "c.png"});
    click(step1.Command1);
    EXPECT_EQ(jobPaths(), QStringList({a, c, d}));
    EXPECT_EQ(step1.jobList().currentRow(), 2);
    EXPECT_EQ(step1.Flex->model()->index(0, 1).data().toString(), "1234567");
    // the selection stays: a second "+" adds the same files again
    click(step1.Command1);
    EXPECT_EQ(jobPaths(), QStringList({a, c, d, a, c, d}));

    // "-" hides the current row, the last added; pressed again it changes nothing more
    click(step1.Command3);
    EXPECT_TRUE(step1.jobList().isRemoved(5));
    EXPECT_TRUE(step1.Flex->isRowHidden(5));
    click(step1.Command3);
    EXPECT_EQ(step1.jobList().Rows(), 7);
    EXPECT_EQ(step1.jobList().currentRow(), 5);

    // a click on a row makes it current, and "-" acts on it
    const QModelIndex second = step1.Flex->model()->index(1, 0);
    QTest::mouseClick(step1.Flex->viewport(), Qt::LeftButton, {},
                      step1.Flex->visualRect(second).center());
    EXPECT_EQ(step1.jobList().currentRow(), 1);
    click(step1.Command3);
    EXPECT_TRUE(step1.Flex->isRowHidden(1));
    EXPECT_FALSE(step1.Flex->isRowHidden(0));
    EXPECT_FALSE(step1.Flex->isRowHidden(2));

    // "--" leaves the header only; new rows start again from the first and show
    click(step1.Command4);
    EXPECT_EQ(step1.jobList().Rows(), 1);
    click(step1.Command3); // "-" on the header alone does nothing
    click(step1.Command2);
    EXPECT_EQ(jobPaths(), QStringList({a, b, c, d}));
    EXPECT_EQ(step1.jobList().currentRow(), 3);
    for (int row = 0; row < 4; ++row)
        EXPECT_FALSE(step1.Flex->isRowHidden(row)) << row;
    EXPECT_TRUE(step1.Flex->horizontalHeader()->isVisible());

    // a double-click in the file list is "+"
    step1.File1->clearSelection();
    const QListWidgetItem* gif = step1.File1->item(1);
    doubleClick(step1.File1->viewport(), step1.File1->visualItemRect(gif).center());
    EXPECT_EQ(jobPaths().last(), b);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(Step1, NothingSelectedOrNothingMatchingAddsNothing) {
    Form11& step1 = enterWizard();
    click(step1.Command1);
    step1.Text1->setText("*.tif");
    click(step1.Command2);
    EXPECT_EQ(step1.jobList().Rows(), 1);
}

TEST_F(Step1, VanishedFilesAreSkippedWithAMessage) {
    Form11& step1 = enterWizard();
    QFile::remove(b);
    click(step1.Command2);
    EXPECT_EQ(jobPaths(), QStringList({a, c, d}));
    EXPECT_EQ(step1.jobList().currentRow(), 2);
    const auto shown = messages.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(b));
    EXPECT_TRUE(shown[0].text.startsWith("Diese Datei ist nicht mehr vorhanden"));
    EXPECT_EQ(shown[0].title, "Stampora");
}

TEST_F(Step1, EditingThePatternRefiltersAtEveryKeystrokeAndLeavesTheJobList) {
    Form11& step1 = enterWizard();
    click(step1.Command2);
    step1.Text1->clear(); // an empty pattern lists every file but hidden ones
    EXPECT_EQ(fileList(), QStringList({"a.jpg", "b.gif", "c.png", "d.jpeg", "notes.txt"}));
    const struct {
        char key;
        QStringList listed;
    } steps[] = {
        {'*', {"a.jpg", "b.gif", "c.png", "d.jpeg", "notes.txt"}},
        {'.', {}},
        {'j', {}},
        {'p', {}},
        {'*', {"a.jpg", "d.jpeg"}},
        {';', {"a.jpg", "d.jpeg"}},
        {'*', {"a.jpg", "b.gif", "c.png", "d.jpeg", "notes.txt"}},
        {'t', {"a.jpg", "d.jpeg", "notes.txt"}},
    };
    for (const auto& step : steps) {
        QTest::keyClick(step1.Text1, step.key);
        EXPECT_EQ(fileList(), step.listed) << step1.Text1->text().toStdString();
    }
    EXPECT_EQ(step1.Text1->text(), "*.jp*;*t");
    EXPECT_EQ(jobPaths(), QStringList({a, b, c, d}));
}

TEST_F(Step1, FolderTreeShowsTheWayDownAndOpensSubfolders) {
    Form11& step1 = enterWizard();
    // the drive of the folder is shown; "/" comes first
    EXPECT_EQ(step1.Drive1->itemData(0).toString(), "/");
    EXPECT_EQ(step1.Drive1->currentData().toString(),
              driveOfFolder(listDrives(), pictures.path())->rootPath);
    // the tree: the chain from the drive root down to the folder, then its subfolders
    const QModelIndex current = step1.Dir1->currentIndex();
    EXPECT_EQ(current.data(Qt::ToolTipRole).toString(), pictures.path());
    const QModelIndex inner = step1.Dir1->model()->index(0, 0, current);
    EXPECT_EQ(inner.data().toString(), "sub");
    EXPECT_EQ(step1.Dir1->model()->rowCount(current), 1);

    // opening the subfolder moves the file list there
    doubleClick(step1.Dir1->viewport(), step1.Dir1->visualRect(inner).center());
    EXPECT_EQ(step1.currentFolder(), pictures.file("sub"));
    EXPECT_EQ(fileList(), QStringList({"inner.jpg"}));
    click(step1.Command2);
    EXPECT_EQ(jobPaths(), QStringList({sub}));

    // and a parent in the chain moves back up
    const QModelIndex parent = step1.Dir1->currentIndex().parent();
    step1.Dir1->setCurrentIndex(parent);
    QTest::keyClick(step1.Dir1, Qt::Key_Return);
    EXPECT_EQ(step1.currentFolder(), pictures.path());
    EXPECT_EQ(fileList().size(), 4);
}

TEST_F(Step1, ADriveThatCannotBeOpenedIsIgnored) {
    Form11& step1 = enterWizard();
    step1.Drive1->addItem("/nicht/bereit", "/nicht/bereit");
    step1.Drive1->setCurrentIndex(step1.Drive1->count() - 1);
    EXPECT_EQ(step1.currentFolder(), pictures.path());
    EXPECT_EQ(fileList().size(), 4);
    EXPECT_EQ(step1.Drive1->currentText(), "/nicht/bereit");
    EXPECT_TRUE(messages.messages().empty());

    // back on a drive that opens, the tree goes to the folder last shown there
    step1.Drive1->setCurrentIndex(
        step1.Drive1->findData(driveOfFolder(listDrives(), pictures.path())->rootPath));
    EXPECT_EQ(step1.currentFolder(), pictures.path());
}

TEST_F(Step1, DroppedFilesAndFoldersAreAddedInDropOrder) {
    Form11& step1 = enterWizard();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(notes), QUrl::fromLocalFile(pictures.path()),
                  QUrl("https://example.org/bild.jpg")});
    QWidget* target = step1.Flex->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction); // never a move of the user's files
    // a dropped file is added whatever its name, a folder adds its matching files
    EXPECT_EQ(jobPaths(), QStringList({notes, a, b, c, d}));
    EXPECT_EQ(step1.jobList().currentRow(), 4);
    EXPECT_TRUE(QFile::exists(notes));

    // a drop that carries no local file is refused
    QMimeData web;
    web.setUrls({QUrl("https://example.org/bild.jpg")});
    QDragEnterEvent refused(at, Qt::CopyAction, &web, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(Step1, NamesThatAreNoUtf8AreListedAddedAndDropped) {
    // a Latin-1 name, as copied from an old disk, beside the others
    const QString cafe = pictures.write(fileNameFromBytes("caf\xE9.jpg"), "12345");
    ASSERT_EQ(readAll(cafe), "12345");
    Form11& step1 = enterWizard();
    EXPECT_EQ(fileList(), QStringList({"a.jpg", "b.gif", "c.png", "caf\uFFFD.jpg", "d.jpeg"}));
    ctrlClick({"caf\uFFFD.jpg"}); // "+" on it alone
    click(step1.Command1);
    EXPECT_EQ(jobPaths(), QStringList({cafe}));
    click(step1.Command4);
    click(step1.Command2);
    EXPECT_TRUE(messages.messages().empty());
    ASSERT_TRUE(jobPaths().contains(cafe));
    const int row = int(jobPaths().indexOf(cafe));
    EXPECT_EQ(step1.Flex->model()->index(row, 1).data().toString(), "5");
    EXPECT_EQ(step1.Flex->model()->index(row, 0).data().toString(),
              pictures.path() + QStringLiteral("/caf\uFFFD.jpg"));

    // dropped, its URL carries the byte percent-encoded
    click(step1.Command4);
    QMimeData data;
    data.setUrls(
        {QUrl::fromEncoded(QUrl::fromLocalFile(pictures.path()).toEncoded() + "/caf%E9.jpg")});
    QWidget* target = step1.Flex->viewport();
    QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_EQ(jobPaths(), QStringList({cafe}));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(Step1, StepTwoAndBackKeepsListFolderPatternAndOptions) {
    Form11& step1 = enterWizard();
    click(step1.Command2);
    click(step1.Command3);
    step1.Text1->setText("*.png;*.gif");
    click(step1.Command5);
    ASSERT_TRUE(form2().isVisible());
    click(form2().Option4);
    form2().Text4->setText("(C) Ich");
    click(form2().Command1);
    EXPECT_EQ(&form11(), &step1); // the same page, not a new one
    ASSERT_TRUE(step1.isVisible());
    EXPECT_EQ(jobPaths(), QStringList({a, b, c, d}));
    EXPECT_TRUE(step1.Flex->isRowHidden(3));
    EXPECT_EQ(step1.Text1->text(), "*.png;*.gif");
    EXPECT_EQ(fileList(), QStringList({"b.gif", "c.png"}));
    EXPECT_EQ(step1.currentFolder(), pictures.path());
    EXPECT_TRUE(form2().Option4->isChecked());
    EXPECT_EQ(currentOptionsFromPages().noticeText, "(C) Ich");
}
