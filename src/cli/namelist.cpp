#include "cli/namelist.h"

#include "core/base/descriptorio.h"
#include "core/base/fileerror.h"
#include "core/base/filename.h"

#include <QByteArray>

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

bool readNameList(const QString& list, bool nul, QStringList* names, QString* error) {
    const bool standardInput = list == QLatin1String("-");
    // blocking: a list from a pipe (<(find ...)) waits for its writer
    const int fd = standardInput ? STDIN_FILENO : openFileName(list, O_RDONLY | O_CLOEXEC);
    QByteArray content;
    const int readError =
        fd >= 0 ? readToEnd(fd, std::numeric_limits<std::size_t>::max(), &content) : errno;
    const bool read = readError == 0;
    if (fd >= 0 && !standardInput)
        ::close(fd);
    if (!read) {
        *error = QStringLiteral("Die Namensliste „%1“ konnte nicht gelesen werden: %2.")
                     .arg(list, describeFileError(readError));
        return false;
    }
    const char end = nul ? '\0' : '\n';
    for (qsizetype begin = 0; begin < content.size();) {
        qsizetype stop = content.indexOf(end, begin);
        if (stop < 0)
            stop = content.size();
        if (stop > begin)
            names->append(fileNameFromBytes(QByteArrayView(content).sliced(begin, stop - begin)));
        begin = stop + 1;
    }
    return true;
}

bool collectNames(const QCommandLineParser& parser, const NameListOptions& options,
                  QStringList* names, QString* error) {
    *names = parser.positionalArguments();
    if (parser.isSet(options.null) && !parser.isSet(options.filesFrom)) {
        *error = QStringLiteral("--null gilt nur zusammen mit --files-from.");
        return false;
    }
    const bool nul = parser.isSet(options.null);
    for (const QString& list : parser.values(options.filesFrom))
        if (!readNameList(list, nul, names, error))
            return false;
    return true;
}
