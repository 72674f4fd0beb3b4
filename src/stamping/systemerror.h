#pragma once
// German wording of the operating system's error numbers, for the run's report.

#include <QString>

// "Datei nicht gefunden", "Zugriff verweigert", ... for an errno value.
QString DescribeSystemError(int errorNumber);
