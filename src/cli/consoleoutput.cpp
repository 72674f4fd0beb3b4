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

void ConsoleOutput::writeConverted(QByteArrayView windows1252,
                                   const std::function<QString(QStringView)>& convert) {
    constexpr qsizetype kPiece = 1 << 16; // one byte is one character: pieces cut nothing apart
    for (qsizetype at = 0; at < windows1252.size(); at += kPiece)
        write(QStringView(convert(
            DecodeWindows1252(windows1252.sliced(at, std::min(kPiece, windows1252.size() - at))))));
}

bool ConsoleOutput::finish() {
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

void ConsoleOutput::error(const QString& message) {
    std::fflush(stdout);
    const QByteArray line = QStringLiteral("stampora-cli: %1\n").arg(message).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
}
