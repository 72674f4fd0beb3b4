#include "core/stamping/copyrighttextfile.h"
#include "fuzzfolder.h"
#include "fuzztargets.h"

#include <QFile>
#include <algorithm>

int fuzzCopyrightTextFile(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = decodeCopyrightTextFile(bytes);
    fuzzCheck(!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')),
              "lines are joined without their breaks");
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        QString expected = QString::fromLatin1(bytes);
        expected.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        fuzzCheck(text == expected, "ASCII text is kept as it is");
    }
    // no decoded character beyond what the bytes can carry
    fuzzCheck(text.size() <= bytes.size(), "no more characters than bytes");

    const QString path = fuzzFile("copyright.txt");
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(bytes) == bytes.size(),
              "writing the input file");
    file.close();
    QString fromFile;
    QString error;
    fuzzCheck(readCopyrightTextFile(path, &fromFile, &error), "reading a small text file");
    fuzzCheck(fromFile == text, "file and memory decode alike");
    return 0;
}
