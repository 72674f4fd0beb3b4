#pragma once
// The core's errors as values: what went wrong, and the one describer that turns
// it into the message the page that called shows (the texts the routines have
// always shown).

#include "core/base/usermessage.h"

#include <QString>

struct CoreError {
    enum class Code {
        None,
        UnsupportedBitmapDepth, // a bit count the bitmap writer does not know
        BitmapNotWritten,       // the bitmap file could not be written (detail says why)
    };
    Code code = Code::None;
    QString detail; // German: the file and the reason, where the code does not say it all

    explicit operator bool() const { return code != Code::None; }
};

// The message box for an error: "Fehler!" CR LF and the reason for the bitmap
// writer (no icon).
MessageBoxRequest describeCoreError(const CoreError& error);
