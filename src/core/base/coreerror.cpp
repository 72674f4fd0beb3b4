#include "core/base/coreerror.h"

MessageBoxRequest describeCoreError(const CoreError& error) {
    switch (error.code) {
    case CoreError::Code::None:
        break;
    case CoreError::Code::UnsupportedBitmapDepth:
        return {QStringLiteral("Fehler!\r\nDieses Bildformat wird nicht unterstützt!")};
    case CoreError::Code::BitmapNotWritten:
        return {QStringLiteral("Fehler!\r\n") + error.detail};
    }
    return {};
}
