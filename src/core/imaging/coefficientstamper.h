#pragma once
// The notice on a JPEG without re-encoding the photo: the source's DCT blocks
// are read with libjpeg's coefficient interface, every block the notice does
// not change is copied as it is, and only the blocks it changes are composed
// in pixels and encoded with the source's own quantisation tables and
// sampling. The output keeps the source's quality and subsampling (written
// baseline, with the source's Huffman tables where they can code every block,
// else optimised ones); it grows only by the strip.

#include "core/imaging/notice.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

struct KeptQualityNotice {
    enum class Result {
        Stamped,       // `jpeg` holds the stamped picture
        UseQuality100, // not for this path (no JPEG, turned, arithmetic coding,
                       // CMYK, damaged, ...); nothing written
    };
    Result result = Result::UseQuality100;
    QStringList notes; // German: metadata of the source left out of `jpeg`
};

// Stamps the JPEG file held in `file` as the notice options say, with the
// source's metadata as `options.metadata` asks (see segmentsForOutput).
KeptQualityNotice stampJpegKeepingQuality(const QByteArray& file, const NoticeOptions& options,
                                          QByteArray* jpeg);

// The same for the file at `path`; files that are no JPEG are not read whole.
KeptQualityNotice stampNoticeKeepingQuality(const QString& path, const NoticeOptions& options,
                                            QByteArray* jpeg);
