#pragma once
// libjpeg reports errors by jumping back to the caller's setjmp; warnings
// (damaged data) are noted, so a caller can treat them as errors too. No C++
// object with a destructor may live in a frame that is jumped back into.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

struct JpegErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool warned = false;
};

[[noreturn]] inline void JpegJumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorJump*>(info->err)->jump, 1);
}

inline void JpegNoteWarning(j_common_ptr info, int level) {
    if (level < 0)
        reinterpret_cast<JpegErrorJump*>(info->err)->warned = true;
}

// Makes `errors` the error manager to hand to jpeg_create_(de)compress.
inline jpeg_error_mgr* SetUpJpegErrors(JpegErrorJump* errors) {
    jpeg_std_error(&errors->manager);
    errors->manager.error_exit = JpegJumpBack;
    errors->manager.emit_message = JpegNoteWarning;
    return &errors->manager;
}
