#pragma once
// What every stampora-cli command shares: parsing with German messages, help
// and version options.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// Parses `args` (the program name first) with the options already added to
// `parser` plus -h/--help and -v/--version. Returns -1 when the command should
// run; otherwise the exit code to end with (help or version shown, or a usage
// error reported on standard error). `help` is the full German help text.
int parseCommandLine(QCommandLineParser& parser, const QStringList& args, const QString& help);

// The line --version prints.
QString versionLine();
