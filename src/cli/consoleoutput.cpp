#include "cli/consoleoutput.h"

#include "stamping/windows1252.h"

#include <QByteArray>
#include <cstdio>

ConsoleOutput::ConsoleOutput() {
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

void ConsoleOutput::write(QByteArrayView utf8) {
    if (!utf8.isEmpty())
        std::fwrite(utf8.data(), 1, static_cast<std::size_t>(utf8.size()), stdout);
}

void ConsoleOutput::write(QStringView text) {
    write(QByteArrayView(text.toUtf8()));
}

void ConsoleOutput::writeConverted(std::size_t length,
                                   const std::function<QByteArray(std::size_t, std::size_t)>& piece,
                                   const std::function<QString(QStringView)>& convert) {
    constexpr std::size_t kPiece = 1 << 16; // one byte is one character: pieces cut nothing apart
    for (std::size_t at = 0; at < length; at += kPiece) {
        const QByteArray bytes = piece(at, std::min(kPiece, length - at));
        if (bytes.isEmpty())
            return; // the file has become shorter
        write(QStringView(convert(DecodeWindows1252(bytes))));
    }
}

bool ConsoleOutput::finish() {
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

void ConsoleOutput::error(const QString& message) {
    std::fflush(stdout);
    const QByteArray line = QStringLiteral("stampora-cli: %1\n").arg(message).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
}
