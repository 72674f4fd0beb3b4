#pragma once
// The shell-open seam: hands a path or web address to the desktop, which opens
// it with the user's default application. Tests install a recorder.

#include <QString>

class ShellSeam {
public:
    virtual ~ShellSeam() = default;
    // Returns at once; the caller learns nothing about success.
    virtual void open(const QString& target) = 0;
};

ShellSeam& shellSeam();
// Installs a seam (not owned); nullptr restores the desktop seam.
void setShellSeam(ShellSeam* seam);
