#pragma once
// Step 3: the output folder, the save-as-default box, the progress display and the run.

#include "app/page.h"

class LineWidget;
class PictureLabel;
class RectangleWidget;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class Form3 final : public Page {
    Q_OBJECT
public:
    Form3();

    QLabel* Label3;
    QLabel* Label4;
    QWidget* Frame1; // output-folder box
    RectangleWidget* Shape2;
    PictureLabel* Image2; // warning sign
    QLabel* Label5;
    QLineEdit* Text1;  // output folder
    QCheckBox* Check1; // "Aktuelle Optionen als Standard speichern"
    QWidget* Frame2;   // status box
    RectangleWidget* Shape4;
    QLabel* Label6; // "Status des Vorgangs"
    QLabel* Label7;
    QLabel* Label13; // current file
    QLabel* Label8;
    QLabel* Label11; // files left
    QLabel* Label9;
    QLabel* Label12; // files done
    PictureLabel* Image3;
    LineWidget* Line2;
    LineWidget* Line3;
    LineWidget* Line4;
    PictureLabel* Image4;
    QProgressBar* Stat; // progress of the run
    QLabel* Label10;
    QPushButton* Command6; // "Hilfe"
    QPushButton* Command1; // "<< Schritt 2"
    QPushButton* Command5; // "Copyright setzen"
    PictureLabel* Image1;

    void Command1_Click();
    void Command5_Click(); // the stamping run
    void Command6_Click();

private:
    bool running_ = false; // the window stays usable during a run: no second start
};
