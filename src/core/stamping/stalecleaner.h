#pragma once
// Stale temporaries of ended runs are removed once per run from every folder
// the run writes into: the output folder at the start, and the folder of a
// "-cop.jpg" picture before the first picture goes there.

#include "core/stamping/stampfile.h"

#include <QSet>
#include <QString>

class StaleCleaner {
public:
    // The folders `request` writes into besides the output folder.
    void cleanFor(const StampRequest& request);
    void clean(const QString& folder);

private:
    QSet<QString> cleaned_;
};
