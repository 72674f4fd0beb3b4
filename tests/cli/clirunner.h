#pragma once
// Runs "stampora-cli stamp" as its own process without a display, and the
// checks the hardening tests share: file hashes and stamped outputs.

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

struct CliRun {
    int exitCode = -1; // -1: crashed, killed or hung
    QByteArray out;
    QByteArray err;
};

// Starts the command in `workingFolder`; `rawArguments` follow the others
// unchanged as bytes (names that are not UTF-8).
void StartStamp(QProcess& process, const QStringList& arguments, const QString& workingFolder,
                const QList<QByteArray>& rawArguments = {});
CliRun RunStamp(const QStringList& arguments, const QString& workingFolder,
                const QList<QByteArray>& rawArguments = {});

// SHA-256 of every regular file under `folder`, by path relative to it.
QMap<QByteArray, QByteArray> HashFiles(const QString& folder);

// Empty when the file at `path` is a complete stamped output: its contents are
// followed by exactly one block, whose entry holds `text`; else what is wrong.
// With `picture` its contents must also decode as a picture.
QString CheckStamped(const QString& path, const QByteArray& text, bool picture);

// A small JPEG picture of its own (the seed makes each one differ).
QByteArray SmallJpeg(int width, int height, int seed);

// Names in `folder` that start with the prefix of temporary outputs.
QStringList TemporariesIn(const QString& folder);
