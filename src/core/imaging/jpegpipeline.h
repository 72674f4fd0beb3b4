#pragma once
// A JPEG source stamped in one pass on two threads: a decoder thread fills the
// image buffer from the top down while the encoder follows it a few rows
// behind; the notice line is drawn on the bottom rows once they are decoded.
// The stream is the one the decode-then-encode path makes, byte for byte.

#include "core/imaging/notice.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

struct PipelinedNotice {
    enum class Result {
        Encoded,          // `jpeg` holds the stamped picture
        UseGeneralReader, // not for this path (see decodeJpegIntoBuffer); nothing written
        Failed,           // `error` says why in German
    };
    Result result = Result::UseGeneralReader;
    QString error;
    QStringList notes; // German: metadata of the source left out of `jpeg`
};

PipelinedNotice stampJpegNoticePipelined(const QString& path, const NoticeOptions& options,
                                         QByteArray* jpeg);
