#include "app/form1.h"
#include "core/base/programfolder.h"
#include "gui/framework/picturelabel.h"
#include "gui/framework/url.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "support/pagesfixture.h"
#include "support/recorders.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using ShellOpenFromPages = PagesTest;

TEST_F(ShellOpenFromPages, HelpButtonsOpenTheHelpPageOfTheProgramFolderAtClickTime) {
    ShellRecorder shell;
    MessageRecorder messages;
    TempFolder first, second; // neither has a help folder: nothing of our own is reported
    form1().show();
    QTest::mouseClick(form1().Command1, Qt::LeftButton);
    QPushButton* helpButtons[] = {form11().Command6, form2().Command6, form3().Command6};
    for (QPushButton* help : helpButtons) {
        setProgramFolder(first.path());
        QTest::mouseClick(help, Qt::LeftButton);
        setProgramFolder(second.path());
        QTest::mouseClick(help, Qt::LeftButton);
    }
    setProgramFolder({});
    const QString a = QDir::cleanPath(first.path()) + "/help/frames.htm";
    const QString b = QDir::cleanPath(second.path()) + "/help/frames.htm";
    EXPECT_EQ(shell.targets, QStringList({a, b, a, b, a, b}));
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(form11().isVisible()); // help changes no page
    EXPECT_FALSE(form2().isVisible());
}

TEST_F(ShellOpenFromPages, BannerOpensTheMakersSiteAndLeavesStepOneAlone) {
    ShellRecorder shell;
    form1().show();
    QTest::mouseClick(form1().Command1, Qt::LeftButton);
    const QString filter = form11().Text1->text();
    QTest::mouseClick(form11().Image5, Qt::LeftButton);
    EXPECT_EQ(shell.targets, QStringList({"https://www.vendrake.example/"}));
    EXPECT_EQ(form11().Text1->text(), filter);
    EXPECT_TRUE(form11().isVisible());
}

TEST(HelpPages, BuiltBesideTheProgramWithEveryLinkResolving) {
    const QDir help(QStringLiteral(STAMPORA_BINARY_DIR "/help"));
    ASSERT_TRUE(QFileInfo::exists(help.filePath("frames.htm")));
    const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#:]+)\""));
    for (const QString& page : help.entryList({"*.htm"})) {
        const QString html = QString::fromUtf8(readAll(help.filePath(page)));
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(QFileInfo::exists(help.filePath(target)))
                << page.toStdString() << " -> " << target.toStdString();
        }
    }
}

TEST(HelpPages, AnInstalledProgramFindsThemInItsDataFolder) {
    TempFolder prefix;
    prefix.write("share/stampora/help/frames.htm", "<html></html>");
    QDir().mkpath(prefix.file("bin"));
    setProgramFolder(prefix.file("bin"));
    EXPECT_EQ(helpPagePath(),
              QFileInfo(prefix.file("share/stampora/help/frames.htm")).canonicalFilePath());
    // a help folder beside the program comes first
    prefix.write("bin/help/frames.htm", "<html></html>");
    EXPECT_EQ(helpPagePath(), QDir::cleanPath(prefix.file("bin")) + "/help/frames.htm");
    setProgramFolder({});
}
