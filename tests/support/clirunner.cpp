#include "support/clirunner.h"

#include "core/base/filename.h"
#include "core/base/temporaryoutput.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

void startCli(QProcess& process, const QStringList& all, const QString& workingFolder,
              const QString& redirection = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    const QString program = QStringLiteral(STAMPORA_BINARY_DIR "/stampora-cli");
    bool allUtf8 = true;
    for (const QString& argument : all)
        allUtf8 = allUtf8 && fileNameToBytes(argument) == argument.toUtf8();
    if (allUtf8 && redirection.isEmpty()) {
        process.start(program, all);
        return;
    }
    // bytes that are no UTF-8 cannot travel as QString: the shell makes them
    QString script = QStringLiteral("exec \"$0\"");
    for (const QString& argument : all) {
        QString octal;
        for (const char c : fileNameToBytes(argument))
            octal += QStringLiteral("\\%1").arg(uint(uchar(c)), 3, 8, QLatin1Char('0'));
        script += QStringLiteral(" \"$(printf '%1')\"").arg(octal);
    }
    script += QLatin1Char(' ') + redirection;
    process.start(QStringLiteral("/bin/sh"), QStringList{"-c", script, program});
}

} // namespace

void startCliProcess(QProcess& process, const QStringList& arguments,
                     const QString& workingFolder) {
    startCli(process, arguments, workingFolder);
}

void startStamp(QProcess& process, const QStringList& arguments, const QString& workingFolder) {
    startCli(process, QStringList{"stamp"} + arguments, workingFolder);
}

CliRun runCliStamp(const QStringList& arguments, const QString& workingFolder) {
    return runCli(QStringList{"stamp"} + arguments, workingFolder);
}

namespace {

CliRun finishCli(QProcess& process, const QByteArray& input) {
    // written while the command runs: a long list does not fit a pipe's buffer
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

CliRun runCli(const QStringList& arguments, const QString& workingFolder, const QByteArray& input,
              const QString& redirection) {
    QProcess process;
    startCli(process, arguments, workingFolder, redirection);
    return finishCli(process, input);
}

CliRun runStampLimited(const QStringList& arguments, const QString& workingFolder, int resource,
                       quint64 limit) {
    QProcess process;
    process.setChildProcessModifier([resource, limit] {
        const struct rlimit both { rlim_t(limit), rlim_t(limit) };
        ::setrlimit(resource, &both);
    });
    startCli(process, QStringList{"stamp"} + arguments, workingFolder);
    return finishCli(process, {});
}

namespace {

// Walks the folder by the names' own bytes, so names that are no UTF-8 count too.
void hashFolder(const QByteArray& base, const QByteArray& relative,
                QMap<QByteArray, QByteArray>* hashes) {
    DIR* dir = ::opendir((base + relative).constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = relative + name;
        struct stat info {};
        if (::lstat((base + path).constData(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            hashFolder(base, path + '/', hashes);
        } else if (S_ISREG(info.st_mode)) {
            hashes->insert(path, QCryptographicHash::hash(readAll(fileNameFromBytes(base + path)),
                                                          QCryptographicHash::Sha256)
                                     .toHex());
        }
    }
    ::closedir(dir);
}

} // namespace

QMap<QByteArray, QByteArray> hashFiles(const QString& folder) {
    QMap<QByteArray, QByteArray> hashes;
    hashFolder(fileNameToBytes(folder) + '/', {}, &hashes);
    return hashes;
}

QStringList temporaryNamesIn(const QString& folder) {
    return QDir(folder).entryList({QLatin1String(kTemporaryPrefix) + QLatin1Char('*')},
                                  QDir::Files | QDir::Hidden | QDir::System);
}

QStringList incompleteOutputsIn(const QString& folder, const QByteArray& text) {
    const QStringList temporaries = temporaryNamesIn(folder);
    QStringList incomplete;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (!temporaries.contains(name))
            if (const QString problem = checkStamped(folder + '/' + name, text, true);
                !problem.isEmpty())
                incomplete.append(name + QStringLiteral(": ") + problem);
    return incomplete;
}

QStringList temporariesOf(const QString& folder, qint64 pid) {
    return QDir(folder).entryList(
        {QStringLiteral("%1%2-*").arg(QLatin1String(kTemporaryPrefix)).arg(pid)},
        QDir::Files | QDir::Hidden | QDir::System);
}

namespace {

// The process runs: it exists and has not ended (a process that ended stays a
// zombie until it is waited for).
bool isRunning(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype end = line.lastIndexOf(')');
    return end > 0 && end + 2 < line.size() && line[end + 2] != 'Z' && line[end + 2] != 'X';
}

} // namespace

bool waitForTemporaryOf(const QProcess& process, const QString& folder, int timeoutMs) {
    const qint64 pid = process.processId();
    const QByteArray pattern = QByteArray(kTemporaryPrefix) + QByteArray::number(pid) + '-';
    const QByteArray path = fileNameToBytes(folder);
    QElapsedTimer clock;
    clock.start();
    // a plain scan of the folder, as fast as it goes: a temporary lives for
    // the writing of one file only
    while (clock.elapsed() < timeoutMs && isRunning(pid)) {
        if (DIR* dir = ::opendir(path.constData())) {
            bool found = false;
            while (const dirent* entry = ::readdir(dir))
                found = found || QByteArrayView(entry->d_name).startsWith(pattern);
            ::closedir(dir);
            if (found)
                return true;
        }
    }
    return false;
}

bool writeLargeNonPicture(const QString& path, int mebibytes) {
    QByteArray chunk(1 << 20, '\0');
    for (int i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<char>(i * 131 + 7);
    QDir().mkpath(QFileInfo(path).path());
    QFile large(path);
    if (!large.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (int i = 0; i < mebibytes; ++i)
        if (large.write(chunk) != chunk.size())
            return false;
    return true;
}
