#include "base/coreerror.h"

MessageBoxRequest DescribeCoreError(const CoreError& error) {
    switch (error.code) {
    case CoreError::Code::None:
        break;
    case CoreError::Code::UnsupportedBitmapDepth:
        return {QStringLiteral("Fehler!\r\nDieses Bildformat wird nicht unterstützt!")};
    case CoreError::Code::BitmapNotWritten:
        return {QStringLiteral("Fehler!\r\n") + error.detail};
    case CoreError::Code::JpegEncoderUnavailable:
        return {QStringLiteral("Failed to initialise the IJL library: ") +
                    QString::number(error.status),
                QStringLiteral("Stampora"), MessageIcon::Warning};
    case CoreError::Code::JpegNotSaved:
        return {QStringLiteral("Failed to save to JPG"), QStringLiteral("Stampora"),
                MessageIcon::Warning};
    }
    return {};
}
