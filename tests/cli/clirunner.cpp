#include "clirunner.h"

#include "imaging/filename.h"
#include "imaging/temporaryoutput.h"
#include "stamping/copyrightblock.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>

void StartStamp(QProcess& process, const QStringList& arguments, const QString& workingFolder,
                const QList<QByteArray>& rawArguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    const QStringList all = QStringList{"stamp"} + arguments;
    if (rawArguments.isEmpty()) {
        process.start(QStringLiteral(STAMPORA_BINARY_DIR "/stampora-cli"), all);
        return;
    }
    // bytes that are no UTF-8 cannot travel as QString: the shell adds them
    QString script = QStringLiteral("exec \"$@\"");
    for (const QByteArray& raw : rawArguments) {
        QString octal;
        for (const char c : raw)
            octal += QStringLiteral("\\%1").arg(uint(uchar(c)), 3, 8, QLatin1Char('0'));
        script += QStringLiteral(" \"$(printf '%1')\"").arg(octal);
    }
    process.start(
        QStringLiteral("/bin/sh"),
        QStringList{"-c", script, "sh", QStringLiteral(STAMPORA_BINARY_DIR "/stampora-cli")} + all);
}

CliRun RunStamp(const QStringList& arguments, const QString& workingFolder,
                const QList<QByteArray>& rawArguments) {
    QProcess process;
    StartStamp(process, arguments, workingFolder, rawArguments);
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QMap<QByteArray, QByteArray> HashFiles(const QString& folder) {
    QMap<QByteArray, QByteArray> hashes;
    const QDir base(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (file.open(QIODevice::ReadOnly))
            hash.addData(&file);
        hashes.insert(QFile::encodeName(base.relativeFilePath(path)), hash.result().toHex());
    }
    return hashes;
}

QString CheckStamped(const QString& path, const QByteArray& text, bool picture) {
    QFile file;
    if (!OpenForReading(file, path))
        return QStringLiteral("cannot be opened");
    const QByteArray bytes = file.readAll();
    const QByteArray block = CopyrightBlockBytes(text);
    if (!bytes.endsWith(block))
        return QStringLiteral("does not end with its block");
    const CopyrightScan scan = ReadCopyrightBlocks(path);
    if (scan.size() != 1 || scan.textBytes(0) != text)
        return QStringLiteral("holds %1 entries, not the one text").arg(scan.size());
    if (picture && QImage::fromData(bytes.left(bytes.size() - block.size())).isNull())
        return QStringLiteral("does not decode as a picture");
    return {};
}

QByteArray SmallJpeg(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((seed * 37) % 360, 200, 220));
    QPainter painter(&image);
    painter.fillRect(seed % width, 0, width / 3, height / 2, Qt::black);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

QStringList TemporariesIn(const QString& folder) {
    return QDir(folder).entryList({QLatin1String(kTemporaryPrefix) + QLatin1Char('*')},
                                  QDir::Files | QDir::Hidden | QDir::System);
}
