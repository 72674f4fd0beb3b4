#pragma once
// The two files the reader is measured on: 256 MiB of picture-like noise with
// 10 or 10 000 copyright blocks spread evenly through it. Made once into
// bench/work/ and reused.

#include <QString>

inline constexpr qint64 kReaderFileSize = qint64(256) << 20;

// Path of the file of `size` bytes with `blocks` blocks; makes it when it is
// missing or has the wrong size.
QString readerBenchFile(int blocks, qint64 size = kReaderFileSize);
