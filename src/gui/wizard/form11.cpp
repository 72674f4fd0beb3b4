#include "gui/wizard/form11.h"

#include "core/base/filename.h"
#include "core/base/plaintooltip.h"
#include "core/job/filepattern.h"
#include "core/job/folderlist.h"
#include "core/job/savedoptions.h"
#include "gui/framework/messageseam.h"
#include "gui/framework/navigation.h"
#include "gui/framework/pagedescription.h"
#include "gui/framework/picturelabel.h"
#include "gui/framework/url.h"
#include "gui/pages/pagecatalogue.h"
#include "gui/wizard/filedropfilter.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "gui/wizard/pageoptions.h"
#include "gui/wizard/sizecolumndelegate.h"
#include "gui/wizard/wizardpages.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QTreeView>
#include <algorithm>

namespace {
constexpr int kFolderPathRole = Qt::UserRole + 1;
// the file list's name when it differs from the text shown
constexpr int kFileNameRole = Qt::UserRole + 2;
constexpr int kGridRowHeightPixels = 16; // the grid's classic row height, 240 twips
constexpr int kMostNamesInMessage = 15;

// Files that vanished or became unreadable between listing and adding.
QString skippedFilesMessage(const QStringList& skipped) {
    QString text = skipped.size() == 1
                       ? QStringLiteral("Diese Datei ist nicht mehr vorhanden oder nicht "
                                        "lesbar und wurde nicht hinzugefügt:\n\n")
                       : QStringLiteral("Diese Dateien sind nicht mehr vorhanden oder nicht "
                                        "lesbar und wurden nicht hinzugefügt:\n\n");
    text += skipped.mid(0, kMostNamesInMessage).join(QLatin1Char('\n'));
    if (skipped.size() > kMostNamesInMessage)
        text += QStringLiteral("\n... und %1 weitere").arg(skipped.size() - kMostNamesInMessage);
    return text;
}
} // namespace

Form11::Form11()
    : Page(form11Description()), Label3(bind<QLabel>("Label3")), Label4(bind<QLabel>("Label4")),
      Drive1(bind<QComboBox>("Drive1")), Dir1(bind<QTreeView>("Dir1")),
      File1(bind<QListWidget>("File1")), Label5(bind<QLabel>("Label5")),
      Text1(bind<QLineEdit>("Text1")), Command1(bind<QPushButton>("Command1")),
      Command2(bind<QPushButton>("Command2")), Command3(bind<QPushButton>("Command3")),
      Command4(bind<QPushButton>("Command4")), Image5(bind<PictureLabel>("Image5")),
      Flex(bind<QTableView>("Flex")), Command6(bind<QPushButton>("Command6")),
      Command5(bind<QPushButton>("Command5")), Image1(bind<PictureLabel>("Image1")),
      Image2(bind<PictureLabel>("Image2")), I2(bind<QLabel>("I2")),
      folders_(new QStandardItemModel(this)) {
    drives_ = listDrives();
    for (const Drive& drive : drives_)
        Drive1->addItem(drive.displayText, drive.rootPath);
    Drive1->setCurrentIndex(-1);

    Dir1->setModel(folders_);
    Dir1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Dir1->setItemsExpandable(false); // the tree always shows the chain to the current folder
    Dir1->setRootIsDecorated(false);
    Dir1->setIndentation(12);
    // no expand marks: the tree is always open along the way to the current folder
    Dir1->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
    Dir1->setUniformRowHeights(true);

    File1->setUniformItemSizes(true);

    connect(Drive1, &QComboBox::currentIndexChanged, this, &Form11::Drive1_Change);
    // like the classic folder list: a double-click or Enter opens a folder
    connect(Dir1, &QTreeView::activated, this, [this](const QModelIndex& index) {
        setCurrentFolder(index.data(kFolderPathRole).toString());
    });
    connect(Text1, &QLineEdit::textChanged, this, &Form11::Text1_Change);
    connect(File1, &QListWidget::itemDoubleClicked, this, &Form11::File1_DblClick);
    connect(Command1, &QPushButton::clicked, this, &Form11::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form11::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form11::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form11::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form11::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form11::Command6_Click);
    connect(Image5, &PictureLabel::clicked, this, &Form11::Image5_Click);
    Image5->setCursor(Qt::PointingHandCursor); // the banner is a link

    auto* drops = new FileDropFilter(Flex->viewport());
    Flex->setAcceptDrops(true);
    connect(drops, &FileDropFilter::dropped, this, &Form11::addDroppedPaths);
}

void Form11::Form_Load() {
    // steps 2 and 3 exist before their controls are filled
    form2();
    form3();
    showOptionsOnPages(loadOptions(startOptions()));
    if (currentFolder_.isEmpty()) // a start folder that could not be opened
        setCurrentFolder(QDir::rootPath());
    setUpJobList();
}

void Form11::setUpJobList() {
    Flex->setModel(&jobList_);
    Flex->setSelectionBehavior(QAbstractItemView::SelectRows);
    Flex->setSelectionMode(QAbstractItemView::SingleSelection);
    Flex->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Flex->setWordWrap(false);
    Flex->setTextElideMode(Qt::ElideMiddle); // keeps the file name of a long path in view
    Flex->setCornerButtonEnabled(false);
    Flex->verticalHeader()->hide(); // no fixed column
    Flex->verticalHeader()->setMinimumSectionSize(0);
    Flex->verticalHeader()->setDefaultSectionSize(kGridRowHeightPixels);
    Flex->horizontalHeader()->setHighlightSections(false);
    Flex->horizontalHeader()->setSectionsClickable(false);
    Flex->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Flex->horizontalHeader()->setFixedHeight(kGridRowHeightPixels + 2);
    // the columns keep their widths: the user cannot drag their borders
    Flex->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Flex->setItemDelegateForColumn(JobList::SizeColumn, new SizeColumnDelegate(Flex));
    Flex->setColumnWidth(JobList::SizeColumn, twipsToPixels(JobList::kSizeColumnWidthTwips));
    fitPathColumn();
    Flex->viewport()->installEventFilter(this); // the scroll bar narrows the viewport

    // the grid's current row and the list's current row follow each other
    connect(Flex->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    jobList_.setCurrentRow(current.row());
            });
    connect(&jobList_, &JobList::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        Flex->selectRow(row);
        Flex->scrollTo(jobList_.index(row, JobList::PathColumn));
    });
    connect(&jobList_, &JobList::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                hideRemovedRows(topLeft.row(), bottomRight.row());
            });
}

// The path column takes the grid's width less 712 twips, but never so much that
// the size column slips under the grid's frame or its vertical scroll bar.
void Form11::fitPathColumn() {
    const int gridWidthTwips = Flex->width() * kTwipsPerPixel;
    const int designed = twipsToPixels(JobList::pathColumnWidthTwips(gridWidthTwips));
    const int room = Flex->viewport()->width() - Flex->columnWidth(JobList::SizeColumn);
    Flex->setColumnWidth(JobList::PathColumn, std::min(designed, room));
}

bool Form11::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Flex->viewport() && event->type() == QEvent::Resize)
        fitPathColumn();
    return Page::eventFilter(watched, event);
}

void Form11::hideRemovedRows(int first, int last) {
    for (int row = first; row <= last; ++row)
        Flex->setRowHidden(row, jobList_.isRemoved(row));
}

bool Form11::setCurrentFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!isFolderName(folder))
        return false;
    currentFolder_ = QDir::cleanPath(info.absoluteFilePath());
    lastFolderOfDrive_.insert(driveRootOf(currentFolder_), currentFolder_);
    fillFolderTree();
    showDriveOf(currentFolder_);
    Dir1_Change();
    return true;
}

QString Form11::driveRootOf(const QString& folder) const {
    const std::optional<Drive> drive = driveOfFolder(drives_, folder);
    return drive ? drive->rootPath : QDir::rootPath();
}

void Form11::fillFolderTree() {
    folders_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QStandardItem* parent = folders_->invisibleRootItem();
    QStandardItem* current = nullptr;
    const QStringList chain = folderChain(driveRootOf(currentFolder_), currentFolder_);
    for (const QString& path : chain) {
        const QString name = current ? QFileInfo(path).fileName() : path; // the root by its path
        current = new QStandardItem(open, displayFileName(name));
        current->setData(path, kFolderPathRole);
        current->setToolTip(plainToolTip(displayFileName(path)));
        parent->appendRow(current);
        parent = current;
    }
    for (const QString& path : listSubfolders(currentFolder_)) {
        auto* item = new QStandardItem(closed, displayFileName(QFileInfo(path).fileName()));
        item->setData(path, kFolderPathRole);
        item->setToolTip(plainToolTip(displayFileName(path)));
        parent->appendRow(item);
    }
    Dir1->expandAll();
    const QModelIndex index = current->index();
    Dir1->setCurrentIndex(index);
    Dir1->scrollTo(index, QAbstractItemView::PositionAtTop);
}

void Form11::showDriveOf(const QString& folder) {
    const int index = Drive1->findData(driveRootOf(folder));
    if (index >= 0 && index != Drive1->currentIndex()) {
        const QSignalBlocker quiet(Drive1); // showing the drive is no drive change
        Drive1->setCurrentIndex(index);
    }
}

void Form11::Drive1_Change() {
    const QString root = Drive1->currentData().toString();
    if (root.isEmpty())
        return;
    // the drive's current folder: the one last browsed there, else its root
    const QString last = lastFolderOfDrive_.value(root);
    if (!last.isEmpty() && isFolderName(last) && setCurrentFolder(last))
        return;
    // a drive that cannot be opened is ignored: the tree stays where it was
    if (const std::optional<QString> opened = openDrive(root))
        setCurrentFolder(*opened);
}

void Form11::Dir1_Change() {
    Text1_Change();
}

void Form11::Text1_Change() {
    File1->clear();
    if (currentFolder_.isEmpty())
        return;
    const QStringList names = listMatchingFiles(currentFolder_, FilePattern(Text1->text()));
    File1->addItems(names);
    // a name that is no UTF-8 is shown readable and keeps its own bytes aside
    for (int row = 0; row < names.size(); ++row) {
        if (const QString shown = displayFileName(names[row]); shown != names[row]) {
            File1->item(row)->setText(shown);
            File1->item(row)->setData(kFileNameRole, names[row]);
        }
    }
}

QStringList Form11::listedPaths(bool selectedOnly) const {
    QStringList paths;
    for (int row = 0; row < File1->count(); ++row) {
        const QListWidgetItem* item = File1->item(row);
        if (!selectedOnly || item->isSelected())
            paths.append(
                joinFolderAndName(currentFolder_, item->data(kFileNameRole).isValid()
                                                      ? item->data(kFileNameRole).toString()
                                                      : item->text()));
    }
    return paths;
}

void Form11::addToJobList(const QStringList& paths) {
    const QStringList skipped = jobList_.add(paths);
    if (!skipped.isEmpty())
        showMessage(skippedFilesMessage(skipped), MessageIcon::Warning);
}

void Form11::addDroppedPaths(const QStringList& paths) {
    const FilePattern pattern(Text1->text());
    QStringList files;
    for (const QString& path : paths) {
        if (isFolderName(path)) {
            for (const QString& name : listMatchingFiles(path, pattern))
                files.append(joinFolderAndName(path, name));
        } else {
            files.append(path);
        }
    }
    addToJobList(files);
}

void Form11::File1_DblClick() {
    Command1_Click();
}

void Form11::Command1_Click() {
    addToJobList(listedPaths(true));
}

void Form11::Command2_Click() {
    addToJobList(listedPaths(false));
}

void Form11::Command3_Click() {
    jobList_.removeCurrent();
}

void Form11::Command4_Click() {
    jobList_.removeAll();
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
