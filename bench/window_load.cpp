// The windows with a long job list: memory and time of "++" on a folder of N
// files, of a drop of the same N files, and of stamping them (copy only)
// through "Copyright setzen". Memory should grow with the list itself (paths,
// sizes, rows), not with anything else.
// Run: ./build/bench/stampora_window_load N   (bench/load.sh runs 1 000 and 10 000)
#include "app/pageregistry.h"
#include "core/base/programfolder.h"
#include "core/job/folderentries.h"
#include "core/job/joblist.h"
#include "gui/framework/messageseam.h"
#include "gui/framework/pagedirectory.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "gui/wizard/wizardpages.h"
#include "step3run.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <unistd.h>

namespace {

class QuietMessages final : public MessageSeam {
public:
    void show(const MessageBoxRequest& request) override {
        ++shown_;
        last_ = request.text;
    }
    int shown_ = 0;
    QString last_;
};

// Resident memory now and at its peak, in KiB.
qint64 statusKiB(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(std::strlen(key))).trimmed().split(' ').first().toLongLong();
    return -1;
}
qint64 residentKiB() {
    return statusKiB("VmRSS:");
}
qint64 peakKiB() {
    return statusKiB("VmHWM:");
}

void row(const char* what, int files, qint64 beforeKiB, qint64 afterKiB, qint64 ms) {
    std::printf("%-26s %8d %12.1f %12.1f %14.0f %8lld\n", what, files, afterKiB / 1024.0,
                (afterKiB - beforeKiB) / 1024.0, (afterKiB - beforeKiB) * 1024.0 / files,
                static_cast<long long>(ms));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (files <= 0) {
        std::fprintf(stderr, "usage: %s FILES\n", argv[0]);
        return 2;
    }
    QTemporaryDir home; // settings, program folder and files of the run
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    QApplication app(argc, argv);
    registerPages();
    setProgramFolder(home.path());
    QuietMessages messages;
    setMessageSeam(&messages);

    const QString folder = home.filePath(QStringLiteral("bilder"));
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < files; ++i) {
        paths << QStringLiteral("%1/bild%2.jpg").arg(folder).arg(i, 5, 10, QLatin1Char('0'));
        QFile file(paths.last());
        if (!file.open(QIODevice::WriteOnly) || file.write("JPEG-Daten") != 10)
            return 1;
    }

    Form11& step1 = form11();
    step1.show();
    step1.setCurrentFolder(folder);
    QCoreApplication::processEvents();
    std::printf("%-26s %8s %12s %12s %14s %8s\n", "step", "files", "RSS (MiB)", "growth (MiB)",
                "bytes per file", "ms");
    QElapsedTimer timer;

    // "++" on the folder
    qint64 before = residentKiB();
    timer.start();
    step1.Command2->click();
    QCoreApplication::processEvents();
    row("\"++\" on the folder", files, before, residentKiB(), timer.elapsed());
    if (step1.jobList().count() != files || messages.shown_ != 0)
        return 1;

    // "--", then the same files dropped on the job list
    step1.Command4->click();
    QCoreApplication::processEvents();
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QWidget* target = step1.Flex->viewport();
    before = residentKiB();
    timer.start();
    QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    row("drop of the files", files, before, residentKiB(), timer.elapsed());
    if (step1.jobList().count() != files)
        return 1;

    // stamping the list, copy only, through step 3
    form2().Check1->setChecked(false);
    form3().Text1->setText(home.filePath(QStringLiteral("ausgabe")));
    before = residentKiB();
    timer.start();
    runStep3();
    row("stamping, copy only", files, before, peakKiB(), timer.elapsed());
    const qsizetype written =
        listFolderEntries(home.filePath(QStringLiteral("ausgabe")), FolderEntryKind::Files).size();
    std::printf("(peak for the whole process: %.1f MiB; %lld of %d files written)\n",
                peakKiB() / 1024.0, static_cast<long long>(written), files);
    setMessageSeam(nullptr);
    destroyPages();
    setProgramFolder({});
    return written == files ? 0 : 1;
}
