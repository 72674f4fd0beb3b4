#pragma once
// The open-file dialog seam: tests answer the dialog instead of a person.

#include <QString>

class QWidget;

class DialogSeam {
public:
    virtual ~DialogSeam() = default;
    // Returns the chosen file, or an empty string when the user cancelled.
    virtual QString getOpenFileName(QWidget* parent, const QString& title, const QString& directory,
                                    const QString& filter) = 0;
};

DialogSeam& dialogSeam();
// Installs a seam (not owned); nullptr restores the real dialog.
void setDialogSeam(DialogSeam* seam);
