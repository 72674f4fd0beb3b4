#pragma once
// The program folder: where the program file lies, and the folder that holds
// what the program writes by default (img, tester.bmp).

#include <QString>

// The folder of the executable, without a trailing separator. Tests may set
// another one with setProgramFolder().
QString programFolder();
void setProgramFolder(const QString& folder);

// The program folder when it can be written, else the per-user data folder
// $XDG_DATA_HOME/Vendrake/Stampora (default ~/.local/share/...), created on demand.
QString writableProgramFolder();
