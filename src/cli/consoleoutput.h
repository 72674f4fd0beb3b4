#pragma once
// UTF-8 output to standard output and standard error for stampora-cli,
// whatever the locale, with a check that everything was written.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdio>
#include <functional>

class ConsoleOutput {
public:
    ConsoleOutput();
    void write(QByteArrayView utf8);
    void write(QStringView text);
    // Writes `length` Windows-1252 bytes fetched piece by piece by `piece`
    // (offset, length), each piece decoded and passed through `convert`, so a
    // huge text never sits in memory whole.
    void writeConverted(std::size_t length,
                        const std::function<QByteArray(std::size_t, std::size_t)>& piece,
                        const std::function<QString(QStringView)>& convert);
    // Flushes; false when anything could not be written (full disk, closed
    // standard output), after saying so on standard error.
    bool finish();

    // One line on standard error, prefixed with the program's name; control
    // characters (of file names, say) are shown as visible symbols, so the line
    // stays one line and the terminal receives no escape sequence.
    static void error(const QString& message);

    // Called first: a standard stream that the caller closed (">&-") is opened
    // on /dev/null for reading, so that no file the program opens takes its
    // number (a picture would receive the report) and every write to it fails
    // and is reported.
    static void guardStandardStreams();

    // Libraries write complaints of their own to the C library's `stderr`
    // (libpng prints "libpng error: ..." for a broken PNG, say), while the
    // command reports each file itself, on one line. From this call on, the
    // program's own lines go to standard error through a stream of their own and
    // `stderr` leads to /dev/null. (Sanitizer reports write to the descriptor
    // and still appear.)
    static void keepLibrariesQuiet();
    // The stream of the program's own lines on standard error.
    static std::FILE* errors();
};
