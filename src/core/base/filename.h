#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringView>

// File names on Linux are bytes, mostly but not always UTF-8 (a Latin-1 name
// copied from an old disk, say). Names travel through the program as QString:
// valid UTF-8 as its text, and each byte that is not part of valid UTF-8 as one
// of the code points U+DC80..U+DCFF, which no valid text contains, so that the
// name goes back to the file system byte for byte.
QString fileNameFromBytes(QByteArrayView bytes);
QByteArray fileNameToBytes(QStringView name);

// The name for people to read: each byte that is no UTF-8 shown as U+FFFD.
QString displayFileName(QStringView name);

// open(2) with the name's own bytes; -1 and errno on failure.
int openFileName(const QString& path, int flags, unsigned mode = 0);
// Opens `file` for reading on the name's own bytes, without waiting for the
// writer of a named pipe; false when it cannot be opened (errno tells why).
bool openForReading(QFile& file, const QString& path);
// What stat(2) says of the name's own bytes (links followed).
bool isFolderName(const QString& path);
bool isRegularFileName(const QString& path);
// Creates the folder and the folders above it that are missing (mkdir -p);
// `made`, when given, receives the folders it created, the topmost first.
bool makeFolderPath(const QString& path, QStringList* made = nullptr);
// The absolute name with every link resolved (realpath(3)); empty when the
// file cannot be reached.
QString canonicalFileName(const QString& path);
