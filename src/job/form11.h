#pragma once
// Step 1: choose the image files into the job list.

#include "app/page.h"

class PictureLabel;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QTreeView;

class Form11 final : public Page {
    Q_OBJECT
public:
    Form11();
    // Runs once when the wizard is first entered: creates steps 2 and 3 hidden,
    // then fills the controls of steps 1, 2 and 3 from the stored settings.
    void Form_Load() override;

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

    void Command5_Click();
    void Command6_Click();
    void Image5_Click();
};
