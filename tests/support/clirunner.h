#pragma once
// Runs "stampora-cli stamp" as its own process without a display, and the
// checks the hardening tests share: file hashes and stamped outputs.

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "support/testsupport.h" // checkStamped, smallJpeg

struct CliRun {
    int exitCode = -1; // -1: crashed, killed or hung
    QByteArray out;
    QByteArray err;
};

// Starts the command in `workingFolder`. Arguments pass as the bytes they stand
// for, names that are no UTF-8 too (see fileNameFromBytes).
void startStamp(QProcess& process, const QStringList& arguments, const QString& workingFolder);
CliRun runCliStamp(const QStringList& arguments, const QString& workingFolder);
// Starts any command ("read", "stamp" ...), the first argument.
void startCliProcess(QProcess& process, const QStringList& arguments, const QString& workingFolder);
// Any command ("read", "stamp" ...) as the first argument, `input` on its
// standard input. `redirection`, when given, is applied by a shell to the
// program's streams (">&-" closes standard output).
CliRun runCli(const QStringList& arguments, const QString& workingFolder,
              const QByteArray& input = {}, const QString& redirection = {});
// "stamp" with `arguments`, its resource limit `resource` (RLIMIT_NOFILE,
// RLIMIT_AS ...) set to `limit`, soft and hard, so that it cannot raise it.
CliRun runStampLimited(const QStringList& arguments, const QString& workingFolder, int resource,
                       quint64 limit);

// SHA-256 of every regular file under `folder`, by path relative to it.
QMap<QByteArray, QByteArray> hashFiles(const QString& folder);

// Names in `folder` that start with the prefix of temporary outputs.
QStringList temporaryNamesIn(const QString& folder);
// Names of the files in `folder` under their final names that are no complete
// stamped picture holding `text`, each with what is wrong.
QStringList incompleteOutputsIn(const QString& folder, const QByteArray& text);

// The temporary outputs of the process `pid` in `folder`.
QStringList temporariesOf(const QString& folder, qint64 pid);
// Waits until `process` has a temporary output in `folder`: true at once when
// it has, false when the process ends or `timeoutMs` passes first.
bool waitForTemporaryOf(const QProcess& process, const QString& folder, int timeoutMs);

// Writes a file of `mebibytes` MiB that is no picture, of real bytes (no holes):
// its copy keeps a temporary output in the output folder for long enough to be
// seen however fast the machine is. False when it cannot be written.
bool writeLargeNonPicture(const QString& path, int mebibytes);
