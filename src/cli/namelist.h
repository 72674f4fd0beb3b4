#pragma once
// Names of files read from a list (--files-from), as `find` writes them: one a
// line, or each ending in a NUL byte (--null). Shared by the commands that take
// many files.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

struct NameListOptions {
    QCommandLineOption filesFrom{QStringLiteral("files-from"), QStringLiteral("Namensliste"),
                                 QStringLiteral("FILE")};
    QCommandLineOption null{{QStringLiteral("0"), QStringLiteral("null")},
                            QStringLiteral("Namen enden mit NUL")};
};

// The names of `list` ("-": standard input), each taken as the bytes it holds
// (see fileNameFromBytes); empty names are skipped. False with a German reason
// when the list cannot be read.
bool readNameList(const QString& list, bool nul, QStringList* names, QString* error);

// The command's names: its arguments, then the names of every --files-from list
// in the order given. False with a German reason on a wrong call or a list that
// cannot be read.
bool collectNames(const QCommandLineParser& parser, const NameListOptions& options,
                  QStringList* names, QString* error);
