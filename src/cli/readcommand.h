#pragma once
// stampora-cli read: lists the embedded copyright entries of files.

#include <QStringList>

// `args` are the arguments behind "read". Returns the exit code.
int runRead(const QStringList& args);
