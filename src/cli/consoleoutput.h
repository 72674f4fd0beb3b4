#pragma once
// UTF-8 output to standard output and standard error for stampora-cli,
// whatever the locale, with a check that everything was written.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
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
    // Flushes; false when anything could not be written (full disk, closed pipe).
    bool finish();

    // One line on standard error, prefixed with the program's name.
    static void error(const QString& message);
};
