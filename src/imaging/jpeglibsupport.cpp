#include "imaging/jpeglibsupport.h"

namespace {

[[noreturn]] void jumpBack(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrorJump*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void noteWarning(j_common_ptr info, int level) {
    if (level < 0)
        reinterpret_cast<JpegErrorJump*>(info->err)->warned = true;
}

} // namespace

jpeg_error_mgr* SetUpJpegErrors(JpegErrorJump* errors) {
    jpeg_std_error(&errors->manager);
    errors->manager.error_exit = jumpBack;
    errors->manager.emit_message = noteWarning;
    errors->message[0] = '\0';
    return &errors->manager;
}

QString DescribeJpegError(const JpegErrorJump& errors) {
    const QString detail = QString::fromLocal8Bit(errors.message);
    if (detail.isEmpty())
        return QStringLiteral("JPEG-Fehler");
    return QStringLiteral("JPEG-Fehler: %1").arg(detail);
}
