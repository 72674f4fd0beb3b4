#pragma once
// Every call into the metadata library goes through here: the library is set
// up once for several threads, its complaints are kept off standard error and
// collected, and whatever it throws is caught.

#include <QString>
#include <QStringList>
#include <functional>

// Runs `work` with the metadata library. Returns false when it threw; the
// library's warnings and errors meanwhile are added to `complaints` (may be
// null) as they come, in English.
bool callExiv2(const std::function<void()>& work, QStringList* complaints = nullptr);
