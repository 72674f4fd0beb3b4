// Every test program starts here: Qt headless, settings and per-user data in a
// private temporary folder, so no test touches the user's own files.
#ifdef STAMPORA_TEST_WIDGETS
#include "app/pageregistry.h"

#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication> // the core's tests: no widgets
using TestApplication = QGuiApplication;
#endif
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    TestApplication app(argc, argv);
#ifdef STAMPORA_TEST_WIDGETS
    registerPages();
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
