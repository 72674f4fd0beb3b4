#pragma once
// stampora-cli stamp: stamps files as the step-3 run does, with the stored
// options as defaults, on several threads, without a display.

#include <QStringList>

// `args` are the arguments behind "stamp". Needs a QGuiApplication (the notice
// draws text). Returns the exit code: 0 every file stamped, 1 some failed,
// 2 usage error or failure before the first file.
int runStamp(const QStringList& args);
