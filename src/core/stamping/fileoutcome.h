#pragma once
// What became of one job-list file in a run.

#include <QString>
#include <QStringList>

// How the picture with the visible notice was made.
enum class NoticePath {
    None,        // no picture with the notice (none asked for, or it failed)
    KeepQuality, // the source's blocks kept, only the notice's encoded anew
    Quality100,  // decoded and encoded anew at quality 100
};

struct FileOutcome {
    QString source;
    QString output;
    bool ok = false;
    QString error; // German reason when not ok
    // German: what the output lacks that did not fail the file (broken
    // metadata of the source left out, say)
    QStringList notes = {};
    NoticePath noticePath = NoticePath::None;
};
