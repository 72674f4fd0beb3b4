#pragma once
// Step 3: the output folder, the save-as-default box, the progress display and the run.

#include "gui/framework/page.h"
#include "gui/wizard/pageinputs.h"
#include "gui/wizard/pageprogress.h"

#include <memory>

class LineWidget;
class StampingRun;
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
    ~Form3() override; // a run under way ends its files in hand first

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
    void Command5_Click(); // starts the stamping run; returns at once
    void Command6_Click();

    // A run is under way (until its message has been closed).
    bool isRunning() const { return running_; }

signals:
    void runFinished(); // the message closed and Command5 enabled again

private:
    void runEnded();

    bool running_ = false; // the window stays usable during a run: no second start
    PageInputs inputs_;
    PageProgress progress_{*this};
    std::unique_ptr<StampingRun> run_;
};
