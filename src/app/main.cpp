// The desktop program: starts into the main menu.
#include "app/form1.h"
#include "app/pageregistry.h"
#include "core/base/resourcelimits.h"
#include "gui/framework/messageboxseam.h"
#include "gui/framework/pagedirectory.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    raiseOpenFileLimit(); // a run of many files on many threads needs them
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stampora"));
    QApplication::setApplicationVersion(QStringLiteral(STAMPORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.vendrake.Stampora"));
    // Qt's own texts (standard buttons, the file dialog) in German like the pages
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
    app.setQuitOnLastWindowClosed(false); // only endProgram() ends the program
    MessageBoxSeam messageBoxes;
    setMessageSeam(&messageBoxes);
    registerPages();
    form1().show();
    const int code = app.exec();
    destroyPages();
    setMessageSeam(nullptr);
    return code;
}
