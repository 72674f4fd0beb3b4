#pragma once
// Viewer: read the copyright texts embedded in a chosen file back.

#include "gui/framework/page.h"

class CopyrightListModel;
class LineWidget;
class PictureLabel;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;

class Form22 final : public Page {
    Q_OBJECT
public:
    Form22();

    QLabel* Label3;
    QLineEdit* Text1;      // the file to read
    QPushButton* Command1; // "Wählen..."
    QPushButton* Command2; // "Copyrights einlesen"
    LineWidget* Line4;
    QLabel* Label4;
    QListView* List1; // first line of each copyright found
    LineWidget* Line2;
    QPlainTextEdit* Text3; // whole text of the chosen entry
    QPushButton* Command4; // "<< Zurück"
    QPushButton* Command3; // "Programm beenden"
    PictureLabel* Image1;

    void Command1_Click(); // choose the file through the open-file dialog
    void Command2_Click(); // read the file's copyrights into the list
    void Command3_Click();
    void Command4_Click();
    void List1_Click(int row); // show the whole text of the entry

    const CopyrightListModel& entries() const { return *entries_; }

private:
    CopyrightListModel* entries_;
};

Form22& form22();
