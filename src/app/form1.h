#pragma once
// Main menu: enter the wizard, open the viewer, or end the program.

#include "gui/framework/page.h"

class PictureLabel;
class QPushButton;

class Form1 final : public Page {
    Q_OBJECT
public:
    Form1();
    // Creates the viewer hidden and puts the program folder and "/" into its file name.
    void Form_Load() override;

    QPushButton* Command1; // "Dateien mit einem Copyright versetzen"
    QPushButton* Command2; // "Copyright von Dateien anzeigen"
    QPushButton* Command3; // "Das Programm beenden"
    PictureLabel* Image1;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
};

Form1& form1();
