#include "core/job/copyrightoptions.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "gui/wizard/pageoptions.h"
#include "support/wizardfixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextDocument>

using Step2 = WizardTest;

TEST_F(Step2, CopyrightTextKeepsItsLineBreaksExactly) {
    Form2& step2 = form2();
    const QString texts[] = {
        kDefaultCopyrightText,
        "ends with a break\r\n",
        "",
        " ",
        "one\r\n \r\nthree",
        "\r\n\r\n",
        "\r\nleading and trailing\r\n\r\n",
        "tab\tand non-breaking\u00A0blank",
        QString(3000, QLatin1Char('x')) + "\r\n" + QString(3000, QLatin1Char('y')),
    };
    for (const QString& text : texts) {
        step2.setCopyrightText(text);
        EXPECT_EQ(step2.copyrightText(), text) << text.toStdString();
    }
    // lone line breaks, which no editor keeps apart from pairs, become CR LF
    step2.setCopyrightText("a\nb\rc");
    EXPECT_EQ(step2.copyrightText(), "a\r\nb\r\nc");
}

TEST_F(Step2, TypedLinesReadBackWithCrLf) {
    enterWizard();
    Form2& step2 = form2();
    step2.Text1->clear();
    QTest::keyClicks(step2.Text1, "Zeile 1");
    QTest::keyClick(step2.Text1, Qt::Key_Return);
    QTest::keyClicks(step2.Text1, "Zeile 2");
    QTest::keyClick(step2.Text1, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(step2.Text1, Qt::Key_Return);
    EXPECT_EQ(step2.copyrightText(), "Zeile 1\r\nZeile 2\r\n\r\n");
    EXPECT_EQ(currentOptionsFromPages().copyrightText, "Zeile 1\r\nZeile 2\r\n\r\n");
}

TEST_F(Step2, ChangedOptionsAndAClosedPageLeaveTheStoreAsItWas) {
    store("ctext", "Alt");
    store("vtype", "Alter Hinweis");
    const QByteArray before = readAll(iniPath());
    ASSERT_FALSE(before.isEmpty());
    Form11& step1 = enterWizard();
    step1.Text1->setText("*.bmp");
    click(step1.Command5);
    click(form2().Option2);
    form2().Text4->setText("(C) Neu");
    click(form2().Check1);
    click(form2().Command5);
    ASSERT_TRUE(form3().isVisible());
    form3().Text1->setText(programDir.file("anderswo"));
    click(form3().Check1); // the save box stores only when a run starts
    form3().close();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(readAll(iniPath()), before);
}

TEST_F(Step2, TheThreeGroupsAreIndependent) {
    Form11& step1 = enterWizard();
    click(step1.Command5);
    Form2& step2 = form2();
    ASSERT_TRUE(step2.isVisible());
    const auto chosen = [&] {
        return QList<bool>{step2.Option1->isChecked(), step2.Option2->isChecked(),
                           step2.Option3->isChecked(), step2.Option4->isChecked(),
                           step2.Option5->isChecked(), step2.Option6->isChecked()};
    };
    click(step2.Option4);
    EXPECT_EQ(chosen(), QList<bool>({true, false, false, true, false, true}));
    click(step2.Option2);
    EXPECT_EQ(chosen(), QList<bool>({false, true, false, true, false, true}));
    const CopyrightOptions options = currentOptionsFromPages();
    EXPECT_FALSE(options.useText);
    EXPECT_FALSE(options.enlarge);
    EXPECT_FALSE(options.copNaming);
    // choosing the file leaves the typed text as it was, ready for Option1 again
    EXPECT_EQ(options.copyrightText, kDefaultCopyrightText);
    click(step2.Option1);
    EXPECT_EQ(chosen(), QList<bool>({true, false, false, true, false, true}));

    // the notice box enables and disables nothing
    for (int i = 0; i < 2; ++i) {
        click(step2.Check1);
        EXPECT_EQ(step2.Check1->isChecked(), i == 0);
        EXPECT_TRUE(step2.Text4->isEnabled());
        EXPECT_TRUE(step2.Option3->isEnabled());
        EXPECT_TRUE(step2.Option4->isEnabled());
    }
    EXPECT_FALSE(step2.Frame2->isVisible());
}
