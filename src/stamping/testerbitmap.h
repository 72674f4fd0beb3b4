#pragma once
// The windows keep every composed picture as the 32-bit "tester.bmp" in the
// program folder before it is encoded; a bitmap that cannot be written stops
// that picture.

#include "stamping/stampfile.h"

// Writes `composed` to "tester.bmp" in the writable program folder.
bool WriteTesterBitmap(const QImage& composed, QString* error);
