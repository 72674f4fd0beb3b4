#pragma once
// Step 1: choose the image files into the job list.

#include "core/job/drives.h"
#include "core/job/joblist.h"
#include "gui/framework/page.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class PictureLabel;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTreeView;

class Form11 final : public Page {
    Q_OBJECT
public:
    Form11();
    // Runs once when the wizard is first entered: creates steps 2 and 3 hidden,
    // fills the controls of steps 1, 2 and 3 from the stored settings, then
    // sets up the empty job list.
    void Form_Load() override;

    // The job list that Flex shows; the run reads it.
    JobList& jobList() { return jobList_; }
    const JobList& jobList() const { return jobList_; }
    // The folder Dir1 shows (its path, stored as curpath).
    QString currentFolder() const { return currentFolder_; }
    // Moves Dir1 to folder and the file list with it; false (nothing moves)
    // when folder is not an existing folder.
    bool setCurrentFolder(const QString& folder);
    // Adds dropped files as "+" adds them, and the matching files of dropped
    // folders, in the order dropped.
    void addDroppedPaths(const QStringList& paths);

    QLabel* Label3;
    QLabel* Label4;
    QComboBox* Drive1;
    QTreeView* Dir1;
    QListWidget* File1;
    QLabel* Label5;
    QLineEdit* Text1;      // file pattern of File1
    QPushButton* Command1; // "+"
    QPushButton* Command2; // "++"
    QPushButton* Command3; // "-"
    QPushButton* Command4; // "--"
    PictureLabel* Image5;  // the maker's banner
    QTableView* Flex;      // the job list
    QPushButton* Command6; // "Hilfe"
    QPushButton* Command5; // ">> Schritt 2"
    PictureLabel* Image1;  // corner glyph
    PictureLabel* Image2;  // hidden work surface of the visible notice
    QLabel* I2;            // hidden drawing surface of the visible notice

    void Drive1_Change();
    void Dir1_Change();
    void Text1_Change();
    void File1_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Image5_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpJobList();
    void fitPathColumn();
    void fillFolderTree();
    void showDriveOf(const QString& folder);
    QString driveRootOf(const QString& folder) const;
    QStringList listedPaths(bool selectedOnly) const;
    void addToJobList(const QStringList& paths);
    void hideRemovedRows(int first, int last);

    JobList jobList_;
    QStandardItemModel* folders_;
    QList<Drive> drives_;
    QString currentFolder_;
    QHash<QString, QString> lastFolderOfDrive_; // drive root -> folder last shown there
};
