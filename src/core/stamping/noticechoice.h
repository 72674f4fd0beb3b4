#pragma once
// The visible-notice options of one file, as the step-2 page holds them.

#include <QString>

struct NoticeChoice {
    bool on = false;      // "Text in die Bilder einbinden"
    QString text;         // the one-line notice
    bool enlarge = true;  // strip added under the picture, else drawn over its bottom
    bool copName = false; // picture written as "-cop.jpg" beside the source
};
