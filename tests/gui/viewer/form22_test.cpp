#include "app/form1.h"
#include "core/base/filebytes.h"
#include "core/stamping/copyrightblock.h"
#include "gui/framework/pagedirectory.h"
#include "gui/framework/programend.h"
#include "gui/viewer/copyrightlistmodel.h"
#include "gui/viewer/form22.h"
#include "support/recorders.h"
#include "support/testsupport.h"

#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Viewer : public ::testing::Test {
protected:
    void SetUp() override {
        destroyPages();
        setProgramEndAction([] {});
        form1().show();
        QTest::mouseClick(form1().Command2, Qt::LeftButton);
    }
    void TearDown() override {
        destroyPages();
        setProgramEndAction({});
    }

    Form22& page() { return form22(); }

    // A picture-like file with one block per text, in order.
    QString stamped(const QString& name, std::initializer_list<QByteArray> texts) {
        QByteArray bytes("\xFF\xD8 picture bytes \xFF\xD9");
        for (const QByteArray& text : texts)
            bytes += copyrightBlockBytes(text);
        return folder.write(name, bytes);
    }

    void read(const QString& path) {
        page().Text1->setText(path);
        QTest::mouseClick(page().Command2, Qt::LeftButton);
    }

    QStringList listed() {
        QStringList lines;
        const QAbstractItemModel* model = page().List1->model();
        for (int row = 0; row < model->rowCount(); ++row)
            lines << model->index(row, 0).data().toString();
        return lines;
    }

    // Clicks the entry as the user does and returns what the text field shows.
    QString clickEntry(int row) {
        QListView* list = page().List1;
        const QRect place = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
        return page().Text3->toPlainText();
    }

    TempFolder folder;
    MessageRecorder messages;
};

TEST_F(Viewer, FileStampedTwiceListsBothOlderFirstWithTheSeparatorBytesShown) {
    read(stamped("twice.jpg", {"Erster\r\nZweite Zeile\r\n", "Neu"}));
    EXPECT_EQ(listed(), QStringList({"Erster", "Neu"}));
    // the older block's whole text runs on to the next marker: 1A 0A 0D 08 00 0C 00
    EXPECT_EQ(clickEntry(0), QString("Erster\nZweite Zeile\n\u241A\n\n\u2408\u2400\u240C\u2400"));
    EXPECT_EQ(clickEntry(1), "Neu");
    EXPECT_TRUE(messages.messages().empty());
}

// Byte 0x81 (unassigned in Windows-1252) is shown as the command line and the
// run's messages show it, in the list line and in the whole text alike.
TEST_F(Viewer, UnassignedAndControlBytesShowAsVisibleSymbols) {
    read(stamped("c1.jpg", {"A\x81"
                            "B\x7F\r\nC\x81"}));
    EXPECT_EQ(listed(), QStringList({QString::fromUtf16(u"A\uFFFDB\u2421")}));
    EXPECT_EQ(clickEntry(0), QString::fromUtf16(u"A\uFFFDB\u2421\nC\uFFFD"));
}

TEST_F(Viewer, EntriesStayAsReadWhateverHappensToTheFileAfterwards) {
    const QByteArray longText = "Lang " + QByteArray(300, 'x') + " Ende";
    const QString path = stamped("later.jpg", {"Erste", longText});
    read(path);
    ASSERT_EQ(listed().size(), 2);
    // rewritten in place (the same file, shorter), then removed
    folder.write("later.jpg", "\xFF\xD8 rewritten " + QByteArray(400, 'y'));
    EXPECT_EQ(clickEntry(1), QString::fromLatin1(longText));
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(clickEntry(1), QString::fromLatin1(longText));
    EXPECT_TRUE(clickEntry(0).startsWith("Erste"));
}

TEST_F(Viewer, SecondFileReplacesEveryEntryAndReadingTwiceDoesNotDouble) {
    read(stamped("first.jpg", {"Alt eins", "Alt zwei", "Alt drei"}));
    ASSERT_EQ(listed().size(), 3);
    clickEntry(2);
    read(stamped("second.jpg", {"Neu"}));
    EXPECT_EQ(listed(), QStringList({"Neu"}));
    EXPECT_EQ(page().Text3->toPlainText(), ""); // nothing left over from the first file
    EXPECT_EQ(clickEntry(0), "Neu");
    read(page().Text1->text());
    EXPECT_EQ(listed(), QStringList({"Neu"}));
}

TEST_F(Viewer, EmptyFirstLineAndControlCharactersStayVisibleAndClickable) {
    read(stamped("odd.jpg", {"\r\nZweite Zeile", QByteArray("A\x01"
                                                            "B\tC")}));
    EXPECT_EQ(listed(), QStringList({"", "A\u2401B\u2409C"}));
    EXPECT_TRUE(clickEntry(0).startsWith("\nZweite Zeile"));
    EXPECT_EQ(clickEntry(1), "A\u2401B\u2409C");
}

TEST_F(Viewer, FileWithoutBlocksGivesAnEmptyListAndNoMessage) {
    read(folder.write("plain.png", "no marker here"));
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(Viewer, UnreadableNameGivesAMessageNamingItAndAnEmptyList) {
    const QString startValue = page().Text1->text(); // the program folder and "/"
    const QString missing = folder.file("fehlt.jpg");
    for (const QString& name : {startValue, missing, folder.path()}) {
        read(stamped("good.jpg", {"Vorher"}));
        ASSERT_EQ(listed().size(), 1);
        clickEntry(0);
        const std::size_t before = messages.messages().size();
        read(name);
        EXPECT_TRUE(listed().isEmpty()) << name.toStdString();
        EXPECT_TRUE(page().Text3->toPlainText().isEmpty());
        ASSERT_EQ(messages.messages().size(), before + 1) << name.toStdString();
        EXPECT_TRUE(messages.messages().back().text.contains(name)) << name.toStdString();
        EXPECT_FALSE(programEnding());
    }
}

TEST_F(Viewer, TooManyEntriesAreCutWithANote) {
    // markers back to back: every marker yields an empty entry for each later one
    read(folder.write("crafted.bin", QByteArray(kBlockMarker).repeated(500)));
    EXPECT_EQ(page().List1->model()->rowCount(), int(kMaxCopyrightEntries));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.messages()[0].text.contains("100000"));
}

TEST_F(Viewer, TextsTooLongToKeepGiveAMessageAndAnEmptyList) {
    // two blocks with a hole of more than the viewer keeps between them (a
    // sparse file): the first entry's text runs from one to the other
    const QString path = folder.write("riesig.bin", copyrightBlockBytes("Anfang"));
    {
        QFile file(path);
        ASSERT_TRUE(file.resize(qint64(kMaxBytesKeptInMemory) + 4096));
        ASSERT_TRUE(file.open(QIODevice::Append));
        ASSERT_TRUE(file.write(copyrightBlockBytes("Ende")) > 0);
    }
    read(stamped("good.jpg", {"Vorher"}));
    clickEntry(0);
    read(path);
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_TRUE(page().Text3->toPlainText().isEmpty());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text,
              QStringLiteral("Die Copyright-Texte der Datei „%1“ sind zu lang, um sie anzuzeigen "
                             "(höchstens 256 MiB zusammen).")
                  .arg(path));
    EXPECT_FALSE(programEnding());
}

TEST_F(Viewer, ChooseButtonTakesTheDialogsAnswerAndACancelKeepsTheName) {
    const QString chosen = stamped("chosen.jpg", {"x"});
    {
        DialogAnswerer dialog(chosen);
        QTest::mouseClick(page().Command1, Qt::LeftButton);
        EXPECT_EQ(page().Text1->text(), chosen);
        ASSERT_EQ(dialog.titles.size(), 1);
        EXPECT_EQ(dialog.titles[0], "Datei wählen");
        EXPECT_TRUE(dialog.filters[0].startsWith("*.gif;*.png;*.jp*g"));
    }
    DialogAnswerer cancelled{QString()};
    QTest::mouseClick(page().Command1, Qt::LeftButton);
    EXPECT_EQ(page().Text1->text(), chosen);
}

TEST_F(Viewer, BackToTheMenuKeepsNameAndList) {
    read(stamped("kept.jpg", {"Bleibt"}));
    QTest::mouseClick(page().Command4, Qt::LeftButton);
    EXPECT_TRUE(form1().isVisible());
    QTest::mouseClick(form1().Command2, Qt::LeftButton);
    EXPECT_TRUE(page().Text1->text().endsWith("kept.jpg"));
    EXPECT_EQ(listed(), QStringList({"Bleibt"}));
}

} // namespace
