#pragma once
// Writes a file under a temporary name beside its target and renames it over the
// target only when everything is written, so a failure leaves an earlier file
// whole and no half file behind. A link at the target is followed (the file it
// leads to is replaced) and an existing target keeps its permissions. No flush
// to disk is forced: the files written this way are regenerated output, and
// waiting for the disk would cost more than encoding them.

#include "core/base/temporaryoutput.h"

#include <QString>

class ReplacingFile {
public:
    explicit ReplacingFile(QString target);

    // Creates the temporary file. False when the folder cannot take it.
    bool open();
    bool write(const char* data, qint64 size);
    // Closes the temporary file and renames it over the target.
    bool commit();

private:
    QString target_;
    TemporaryOutput out_; // removes its file unless committed
};
