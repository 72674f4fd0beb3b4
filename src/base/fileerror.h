#pragma once
// German reasons for the operating system's file errors, for messages that name a file.

#include <QString>

// A short German reason for an errno value, without a final full stop.
QString DescribeFileError(int errorNumber);
