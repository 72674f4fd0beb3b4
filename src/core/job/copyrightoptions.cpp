#include "core/job/copyrightoptions.h"

#include "core/base/programfolder.h"

#include <QDir>

const QString kDefaultCopyrightText = QString::fromUtf8(
    "Diese Datei ist urheberrechtlich durch [Ihr_Name, E-Mail, falls gewünscht Anschrift] \r\n"
    "geschützt, jegliche widerrechtliche Nutzung ist nicht gestattet. \r\n"
    " \r\n"
    "Falls Sie die Datei nutzen möchten kontaktieren Sie den rechtmäßigen Besitzer und \r\n"
    "erwerben Sie eine Lizenz.\r\n");

CopyrightOptions startOptions() {
    CopyrightOptions options;
    // The output folder is written to, so it follows the writable program folder.
    options.outputFolder = QDir(writableProgramFolder()).filePath(QStringLiteral("img"));
    options.useText = true;
    options.copyrightText = kDefaultCopyrightText;
    options.copyrightFile = QDir(programFolder()).filePath(QStringLiteral("copyright.txt"));
    options.noticeText = QString::fromLatin1(kDefaultNoticeText);
    options.noticeOn = false;
    options.enlarge = true;
    options.copNaming = false;
    options.filter = QString::fromLatin1(kDefaultFilter);
    options.currentFolder = QDir::currentPath();
    return options;
}
