#include "core/imaging/jpeglibsupport.h"

#include <jerror.h>

namespace {

[[noreturn]] void jumpBack(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrorJump*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void noteWarning(j_common_ptr info, int level) {
    if (level >= 0)
        return;
    auto* errors = reinterpret_cast<JpegErrorJump*>(info->err);
    errors->warned = true;
    if (jpegWarningLosesData(info->err->msg_code))
        errors->dataLost = true;
}

} // namespace

bool jpegWarningLosesData(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_NOT_SEQUENTIAL:
        return true;
    default:
        return false;
    }
}

jpeg_error_mgr* setUpJpegErrors(JpegErrorJump* errors) {
    jpeg_std_error(&errors->manager);
    errors->manager.error_exit = jumpBack;
    errors->manager.emit_message = noteWarning;
    errors->message[0] = '\0';
    return &errors->manager;
}

QString describeJpegError(const JpegErrorJump& errors) {
    const QString detail = QString::fromLocal8Bit(errors.message);
    if (detail.isEmpty())
        return QStringLiteral("JPEG-Fehler");
    return QStringLiteral("JPEG-Fehler: %1").arg(detail);
}
