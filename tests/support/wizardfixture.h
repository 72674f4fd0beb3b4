#pragma once
// Wizard tests: no page created, an empty settings store, a temporary program
// folder, messages recorded, and helpers to enter the wizard and click.

#include "app/form1.h"
#include "core/base/programfolder.h"
#include "core/job/settingsstore.h"
#include "gui/wizard/form11.h"
#include "support/pagesfixture.h"
#include "support/recorders.h"
#include "support/testsupport.h"

#include <QFile>
#include <QPushButton>
#include <QTest>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class WizardTest : public PagesTest {
protected:
    void SetUp() override {
        PagesTest::SetUp();
        setProgramFolder(programDir.path());
        QFile::remove(iniPath());
    }
    void TearDown() override {
        PagesTest::TearDown();
        setProgramFolder({});
        QFile::remove(iniPath());
    }

    static QString iniPath() { return SettingsStore().filePath(QStringLiteral("Vendrake")); }
    // Stores one value the way a former run did.
    static void store(const char* key, const QString& value) {
        SettingsStore().SaveSetting(QStringLiteral("Vendrake"), QStringLiteral("Stampora"),
                                    QString::fromLatin1(key), value);
    }
    // Enters the wizard the way the user does: the main menu's first button.
    static Form11& enterWizard() {
        form1().show();
        QTest::mouseClick(form1().Command1, Qt::LeftButton);
        return form11();
    }
    // Clicks near the left edge, where an option button or check box has its
    // mark and caption (its wide rest does not react).
    static void click(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    // A user's double-click on a view: a click, then the second click of the pair.
    static void doubleClick(QWidget* viewport, QPoint at) {
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    }

    TempFolder programDir;
    MessageRecorder messages;
};
