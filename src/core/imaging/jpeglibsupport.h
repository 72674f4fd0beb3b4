#pragma once
// libjpeg's error manager as every libjpeg caller here sets it up: errors jump
// back to the caller's setjmp with libjpeg's message kept; warnings (damaged
// data) are noted, so a caller can treat them as errors too. No C++ object
// with a destructor may live in a frame that is jumped back into.

#include <QString>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

struct JpegErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool warned = false;
    bool dataLost = false; // a warning after which pixels are missing or wrong (see below)
    char message[JMSG_LENGTH_MAX] = {}; // libjpeg's text for the error that jumped back
};

// Warnings that the picture's data ends early or does not decode, so the
// decoder makes up what is missing. The others (an unknown JFIF revision,
// stray bytes before a marker, a bad colour profile) leave the pixels whole.
bool jpegWarningLosesData(int code);

// Makes `errors` the error manager to hand to jpeg_create_(de)compress.
jpeg_error_mgr* setUpJpegErrors(JpegErrorJump* errors);

// The reason for a failure after the jump back, in German with libjpeg's own
// (English) message behind it.
QString describeJpegError(const JpegErrorJump& errors);
