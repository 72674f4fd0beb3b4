#pragma once
// German reasons for the operating system's file errors, for messages that name a file.

#include <QString>

// A short German reason for an errno value, without a final full stop.
QString describeFileError(int errorNumber);

// The reason for a name that is no regular file (a device, a pipe, a folder
// where a file is wanted), without a final full stop: "Keine normale Datei".
QString describeNotRegularFile();

// The reason for an empty file name, without a final full stop.
QString describeNoFileName();
