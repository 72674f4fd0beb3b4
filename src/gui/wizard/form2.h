#pragma once
// Step 2: copyright text or text file, and the visible-notice options.

#include "gui/framework/page.h"

class PictureLabel;
class LineWidget;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class Form2 final : public Page {
    Q_OBJECT
public:
    Form2();

    // The copyright text of Text1 with CR LF line breaks, as the run and the
    // store take it; setCopyrightText takes such a text.
    QString copyrightText() const;
    void setCopyrightText(const QString& text);

    QLabel* Label3;
    QLabel* Label4;
    QRadioButton* Option1; // "Copyright Text"
    QPlainTextEdit* Text1; // the copyright text
    LineWidget* Line2;
    QRadioButton* Option2; // "Copyright Datei (normale Text-Datei):"
    QLineEdit* Text3;      // copyright file path
    LineWidget* Line3;
    QCheckBox* Check1; // visible notice on
    QLineEdit* Text4;  // the visible notice
    QWidget* Frame1;
    QRadioButton* Option3; // "Bilder (unten) vergrößern"
    QRadioButton* Option4; // "Text direkt in die Bilder schreiben"
    QWidget* Frame2;       // hidden, never shown
    QRadioButton* Option5; // save as "Bild-cop.jpg"
    QRadioButton* Option6; // overwrite
    QPushButton* Command6; // "Hilfe"
    QPushButton* Command1; // "<< Schritt 1"
    QPushButton* Command5; // ">> Schritt 3"
    PictureLabel* Image1;

    void Command1_Click();
    void Command5_Click();
    void Command6_Click();
};
