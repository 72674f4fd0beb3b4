#include "imaging/replacingfile.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>

ReplacingFile::ReplacingFile(QString target) : target_(std::move(target)) {}

ReplacingFile::~ReplacingFile() {
    if (file_.isOpen())
        file_.close();
    if (!committed_ && !file_.fileName().isEmpty())
        QFile::remove(file_.fileName());
}

bool ReplacingFile::open() {
    if (target_.isEmpty()) {
        error_ = QStringLiteral("empty file name");
        return false;
    }
    // A link is followed, so the file it points at is what gets replaced.
    const QFileInfo link(target_);
    if (link.isSymLink())
        target_ = link.symLinkTarget();
    // A short hidden name in the target's folder, so the rename never crosses file
    // systems and even a target with the longest possible name gets one.
    const QFileInfo info(target_);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = info.absolutePath() + QStringLiteral("/.stampora-%1.part")
                                                       .arg(QRandomGenerator::global()->generate(),
                                                            8, 16, QLatin1Char('0'));
        file_.setFileName(name);
        if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            // An existing target keeps its permissions.
            if (info.exists())
                file_.setPermissions(QFile::permissions(target_));
            return true;
        }
        if (QFile::exists(name))
            continue;
        break;
    }
    error_ = file_.errorString();
    file_.setFileName(QString());
    return false;
}

bool ReplacingFile::write(const char* data, qint64 size) {
    if (file_.write(data, size) == size)
        return true;
    error_ = file_.errorString();
    return false;
}

bool ReplacingFile::commit() {
    if (!file_.isOpen())
        return false;
    file_.close();
    if (file_.error() != QFileDevice::NoError) {
        error_ = file_.errorString();
        return false;
    }
    if (std::rename(QFile::encodeName(file_.fileName()).constData(),
                    QFile::encodeName(target_).constData()) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    committed_ = true;
    return true;
}
