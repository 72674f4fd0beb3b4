// Step 3 through the live pages: the wizard filled by clicks, "Copyright setzen",
// the progress on the page, the message, and the files it leaves.
#include "app/form1.h"
#include "core/base/filename.h"
#include "core/imaging/copyrightmetadata.h"
#include "core/stamping/copyrightblock.h"
#include "core/stamping/visibletext.h"
#include "core/stamping/windows1252.h"
#include "gui/viewer/copyrightlistmodel.h"
#include "gui/viewer/form22.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "support/badinputs.h"
#include "support/clirunner.h"
#include "support/jpegfixtures.h"
#include "support/wizardfixture.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>

#include <utility>
#include <vector>

namespace {

// A 1 x 1 picture in the GIF format, which Qt reads but cannot write.
const QByteArray kGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00,\x00\x00\x00"
                      "\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                      35);

// Counts how often a widget's enabled state changes.
class EnabledChanges final : public QObject {
public:
    explicit EnabledChanges(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange)
            ++count;
        return false;
    }
};

class Step3 : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        store("curpath", pictures.path());
    }

    // A real picture of the given size and format in the pictures folder.
    QString picture(const QString& name, int width, int height) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(40, 120, 200));
        const QString path = pictures.file(name);
        EXPECT_TRUE(image.save(path)) << name.toStdString();
        return path;
    }
    QString gif(const QString& name) const { return pictures.write(name, kGif); }

    // Enters the wizard and adds every listed file with "++"; step 1 stays shown.
    Form11& enterWithAllFiles() {
        Form11& step1 = enterWizard();
        click(step1.Command2);
        return step1;
    }
    // From step 1 to step 3 with the page buttons.
    static Form3& toStep3() {
        QTest::mouseClick(form11().Command5, Qt::LeftButton);
        QTest::mouseClick(form2().Command5, Qt::LeftButton);
        EXPECT_TRUE(form3().isVisible());
        return form3();
    }
    static void typeOutputFolder(const QString& folder) {
        form3().Text1->clear();
        QTest::keyClicks(form3().Text1, folder);
    }
    // "Copyright setzen", then the run's end: the click returns at once.
    static void start() {
        QSignalSpy finished(&form3(), &Form3::runFinished);
        QTest::mouseClick(form3().Command5, Qt::LeftButton);
        if (form3().isRunning()) {
            ASSERT_TRUE(finished.wait(60000));
        }
    }
    // Runs into out() and returns the one message, a warning under the run's title.
    MessageBoxRequest runExpectingOneWarning() {
        typeOutputFolder(out());
        start();
        EXPECT_EQ(messages.messages().size(), 1u);
        const MessageBoxRequest message =
            messages.messages().empty() ? MessageBoxRequest{} : messages.messages()[0];
        EXPECT_EQ(message.icon, MessageIcon::Warning);
        EXPECT_EQ(message.title, "Copyright Info");
        return message;
    }

    QString out(const QString& name = {}) const {
        return name.isEmpty() ? outputs.file("out") : outputs.file("out/" + name);
    }
    static QByteArray block(const QString& text) {
        return copyrightBlockBytes(encodeWindows1252(text));
    }
    static QString success() {
        return QStringLiteral("Das Copyright wurde den Dateien erfolgreich hinzugefügt!");
    }
    QString tester() const { return programDir.file("tester.bmp"); }

    TempFolder pictures;
    TempFolder outputs;
};

TEST_F(Step3, WholeWizardStampsEveryFileAndTheViewerReadsTheTextBack) {
    const QString jpg = picture("a.jpg", 40, 30);
    const QString png = picture("b.png", 20, 10);
    const QString gifPath = gif("c.gif");
    enterWithAllFiles();
    ASSERT_EQ(form11().jobList().Rows(), 4);

    QTest::mouseClick(form11().Command5, Qt::LeftButton);
    Form2& step2 = form2();
    step2.Text1->setPlainText(QStringLiteral("(C) Erika Muster\nAlle Rechte vorbehalten"));
    const QString text = QStringLiteral("(C) Erika Muster\r\nAlle Rechte vorbehalten");
    QTest::mouseClick(step2.Command5, Qt::LeftButton);
    Form3& step3 = form3();
    ASSERT_TRUE(step3.isVisible());
    typeOutputFolder(out()); // without the separator
    start();

    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, success());
    EXPECT_EQ(messages.messages()[0].title, "Copyright Info");
    EXPECT_EQ(messages.messages()[0].icon, MessageIcon::Information);
    // notice off: every output is its source followed by one block, whatever its type
    for (const QString& source : {jpg, png, gifPath}) {
        const QString name = QFileInfo(source).fileName();
        EXPECT_EQ(readAll(out(name)), readAll(source) + block(text)) << name.toStdString();
    }
    EXPECT_FALSE(QFile::exists(tester()));

    // the page after the run: the last file, a full bar, the button back, the separator seen
    EXPECT_EQ(step3.Label13->text(), gifPath);
    EXPECT_EQ(step3.Label11->text(), "0");
    EXPECT_EQ(step3.Label12->text(), "3");
    EXPECT_EQ(step3.Stat->maximum(), 3);
    EXPECT_EQ(step3.Stat->value(), 3);
    EXPECT_TRUE(step3.Command5->isEnabled());
    EXPECT_EQ(step3.Text1->text(), out() + "/");
    EXPECT_EQ(form11().jobList().currentRow(), 2);
    // the save box was ticked: the folder is stored as typed
    EXPECT_EQ(SettingsStore().GetSetting("Vendrake", "Stampora", "outdir", "-"), out());
    EXPECT_EQ(SettingsStore().GetSetting("Vendrake", "Stampora", "ctext", "-"), text);

    // the same text read back on the viewer page
    Form22& viewer = form22();
    viewer.Text1->setText(out("c.gif"));
    QTest::mouseClick(viewer.Command2, Qt::LeftButton);
    ASSERT_EQ(viewer.List1->model()->rowCount(), 1);
    EXPECT_EQ(viewer.List1->model()->index(0, 0).data().toString(), "(C) Erika Muster");
    EXPECT_EQ(viewer.entries().wholeText(0), "(C) Erika Muster\nAlle Rechte vorbehalten");

    // leaving to step 2 and back keeps the corrected folder; a second run leaves one block
    QTest::mouseClick(step3.Command1, Qt::LeftButton);
    QTest::mouseClick(step2.Command5, Qt::LeftButton);
    EXPECT_EQ(step3.Text1->text(), out() + "/");
    start();
    EXPECT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(readAll(out("a.jpg")), readAll(jpg) + block(text));
}

TEST_F(Step3, EmptyJobListShowsTheCompletionMessageAndUntickedBoxStoresNothing) {
    enterWizard();
    Form3& step3 = toStep3();
    EXPECT_TRUE(step3.Check1->isChecked()); // ticked on first display
    click(step3.Check1);
    typeOutputFolder(out());
    EnabledChanges changes(step3.Command5);
    const QByteArray storedBefore = readAll(iniPath());
    start();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, success());
    EXPECT_EQ(changes.count, 0); // never disabled
    EXPECT_EQ(readAll(iniPath()), storedBefore);
    EXPECT_FALSE(step3.Check1->isChecked()); // the box keeps its state
    EXPECT_EQ(step3.Label12->text(), "....");
    EXPECT_TRUE(QDir(out()).isEmpty());
}

TEST_F(Step3, RemovedMiddleRowIsSkippedButCounted) {
    picture("a.jpg", 8, 8);
    picture("b.jpg", 8, 8);
    const QString third = picture("c.jpg", 8, 8);
    Form11& step1 = enterWithAllFiles();
    QTest::mouseClick(step1.Flex->viewport(), Qt::LeftButton, {},
                      step1.Flex->visualRect(step1.Flex->model()->index(1, 0)).center());
    click(step1.Command3); // "-" on row 2
    ASSERT_TRUE(step1.jobList().isRemoved(1));

    // the counters each time the run moves the grid's current row on
    std::vector<std::pair<QString, QString>> seen;
    QObject::connect(&step1.jobList(), &JobList::currentRowChanged,
                     [&] { seen.emplace_back(form3().Label11->text(), form3().Label12->text()); });
    Form3& step3 = toStep3();
    typeOutputFolder(out());
    start();

    const std::vector<std::pair<QString, QString>> expected = {
        {"....", "...."}, {"2", "1"}, {"2", "1"}}; // rows 1, 2 and 3 started
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(step3.Label11->text(), "0");
    EXPECT_EQ(step3.Label12->text(), "3");
    EXPECT_EQ(step3.Label13->text(), third);
    EXPECT_TRUE(QFile::exists(out("a.jpg")));
    EXPECT_FALSE(QFile::exists(out("b.jpg")));
    EXPECT_TRUE(QFile::exists(out("c.jpg")));
    EXPECT_EQ(messages.messages().size(), 1u);
}

TEST_F(Step3, VisibleNoticeWritesTesterBitmapAndAJpegWithTheStrip) {
    const QString source = picture("a.jpg", 60, 40);
    enterWithAllFiles();
    QTest::mouseClick(form11().Command5, Qt::LeftButton);
    Form2& step2 = form2();
    click(step2.Check1);
    ASSERT_TRUE(step2.Check1->isChecked());
    ASSERT_TRUE(step2.Option3->isChecked()); // enlarge
    QTest::mouseClick(step2.Command5, Qt::LeftButton);
    typeOutputFolder(out());
    start();

    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, success());
    QImage stamped;
    ASSERT_TRUE(stamped.load(out("a.jpg"), "JPEG"));
    EXPECT_EQ(stamped.size(), QSize(60, 60));
    EXPECT_LT(qGray(stamped.pixel(59, 59)), 40);  // the black strip's corner, past the text
    EXPECT_GT(qBlue(stamped.pixel(30, 10)), 150); // the picture above it
    EXPECT_EQ(ReadCopyrightBlocks(out("a.jpg")).size(), 1u);

    const QByteArray bitmap = readAll(tester());
    ASSERT_GT(bitmap.size(), 54);
    EXPECT_TRUE(bitmap.startsWith("BM"));
    EXPECT_EQ(static_cast<unsigned char>(bitmap[28]), 32); // bits per pixel
    EXPECT_EQ(QImage(tester()).size(), QSize(60, 60));
    EXPECT_EQ(readAll(out("a.jpg")).left(2), QByteArray("\xFF\xD8"));
    EXPECT_NE(readAll(source), readAll(out("a.jpg")).left(readAll(source).size()));
}

// The stored key meta, on no page, puts the text into EXIF, XMP and IPTC of
// every output, re-encoded or copied; the windows never write the key.
TEST_F(Step3, StoredMetaKeyPutsTheCopyrightIntoTheMetadata) {
    const QString text = QStringLiteral("© 2026 Jörg");
    store("meta", "1");
    store("ctext", text);
    store("dojpg", "1");
    picture("a.jpg", 60, 40);
    picture("b.png", 30, 20);
    enterWithAllFiles();
    Form3& step3 = toStep3();
    ASSERT_TRUE(step3.Check1->isChecked()); // the options are saved at the start
    typeOutputFolder(out());
    start();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, success());
    const CopyrightCarriers jpeg = readCopyrightCarriers(out("a.jpg"));
    EXPECT_EQ(jpeg.exifCopyright.value_or("-"), text);
    EXPECT_EQ(jpeg.xmpRights.value_or("-"), text);
    EXPECT_EQ(jpeg.iptcCopyrightNotice.value_or("-"), text);
    // the PNG's picture carries the notice as a JPEG too
    EXPECT_EQ(readCopyrightCarriers(out("b.png")).xmpRights.value_or("-"), text);
    EXPECT_EQ(SettingsStore().GetSetting("Vendrake", "Stampora", "meta", "-"), "1");
}

// A picture whose XMP is broken is stamped without it: the run's final
// message keeps its success text word for word and names the file after it.
TEST_F(Step3, ABrokenXmpLeftOutIsNamedAfterTheSuccessText) {
    store("meta", "1");
    store("dojpg", "1");
    picture("gut.jpg", 60, 40);
    QImage plain(50, 40, QImage::Format_RGB32);
    plain.fill(QColor(200, 80, 40));
    const QString broken = pictures.write(
        "kaputt.jpg",
        withSegments(encodedPicture(plain, "JPEG", 92),
                     jpegSegment("ffe1", QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) +
                                             "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF")));
    enterWithAllFiles();
    toStep3();
    typeOutputFolder(out());
    start();
    ASSERT_EQ(messages.messages().size(), 1u);
    const MessageBoxRequest message = messages.messages()[0];
    EXPECT_EQ(message.title, "Copyright Info");
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.text,
              success() + "\n\nHinweis:\n" + broken +
                  ": Die XMP-Daten der Quelle sind beschädigt und fehlen in der Ausgabe.");
    EXPECT_EQ(QImage(out("kaputt.jpg")).size(), QSize(50, 60)); // stamped all the same
}

// The stored key keepq, on no page, stamps a JPEG in its own quality: its
// 4:2:0 sampling stays, the picture beside is the stamped one, and the windows
// never write the key.
TEST_F(Step3, StoredKeepqKeyStampsAJpegInItsOwnQuality) {
    store("keepq", "True");
    store("dojpg", "1");
    QImage photo(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            photo.setPixel(x, y, qRgb(x * 4, y * 5, (x ^ y) * 4));
    ASSERT_TRUE(photo.save(pictures.file("a.jpg"), "JPEG", 80));
    enterWithAllFiles();
    toStep3();
    typeOutputFolder(out());
    start();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, success());
    const QByteArray stamped = readAll(out("a.jpg"));
    EXPECT_EQ(QImage::fromData(stamped, "JPEG").size(), QSize(64, 68));
    EXPECT_EQ(ReadCopyrightBlocks(out("a.jpg")).size(), 1u);
    // the frame header's luma sampling: 2 × 2 as in the source, not the 1 × 1 of quality 100
    const qsizetype frame = stamped.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    EXPECT_EQ(quint8(stamped[frame + 11]), 0x22);
    EXPECT_EQ(QImage(tester()).size(), QSize(64, 68));
    EXPECT_EQ(SettingsStore().GetSetting("Vendrake", "Stampora", "keepq", "-"), "True");
}

TEST_F(Step3, FailedFileIsListedInAWarningAndTheOthersAreStamped) {
    picture("a.jpg", 8, 8);
    const QString vanished = picture("b.jpg", 8, 8);
    enterWithAllFiles();
    ASSERT_TRUE(QFile::remove(vanished));
    Form3& step3 = toStep3();
    const MessageBoxRequest message = runExpectingOneWarning();
    EXPECT_TRUE(message.text.contains(vanished)) << message.text.toStdString();
    EXPECT_FALSE(message.text.contains(pictures.file("a.jpg")));
    EXPECT_TRUE(QFile::exists(out("a.jpg")));
    EXPECT_FALSE(QFile::exists(out("b.jpg")));
    EXPECT_TRUE(step3.Command5->isEnabled());
}

TEST_F(Step3, BadFilesAreListedWithTheirReasonsAndTheOthersAreStamped) {
    // the bad-input table's files, as a job list holds them (no folders, and a
    // vanished file is another test's)
    std::vector<BadInput> cases;
    QStringList paths;
    for (const BadInput& c : badInputTable(smallJpeg(48, 32, 1))) {
        if (c.folder || c.contents.isNull())
            continue;
        cases.push_back(c);
        paths << pictures.write(fileNameFromBytes(c.name), c.contents);
    }
    Form11& step1 = enterWizard();
    ASSERT_TRUE(step1.jobList().add(paths).isEmpty());
    form2().Check1->setChecked(true);
    Form3& step3 = toStep3();
    const MessageBoxRequest message = runExpectingOneWarning();
    const QByteArray text = encodeWindows1252(form2().copyrightText());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const BadInput& c = cases[i];
        SCOPED_TRACE(c.what);
        EXPECT_EQ(readAll(paths[qsizetype(i)]), c.contents) << "a source file changed";
        const QString output = out(fileNameFromBytes(c.name));
        // the message names the file by its path (control characters made
        // visible), then its reason, on one line
        const qsizetype at = message.text.indexOf(visibleLine(paths[qsizetype(i)]));
        if (c.expect == Expect::Stamped) {
            EXPECT_EQ(at, -1) << message.text.toStdString();
            EXPECT_EQ(checkStamped(output, text, true), QString());
            continue;
        }
        ASSERT_GE(at, 0) << message.text.toStdString();
        const QString line = message.text.mid(at).section(QLatin1Char('\n'), 0, 0);
        EXPECT_TRUE(line.contains(QString::fromUtf8(c.reason))) << line.toStdString();
        EXPECT_EQ(checkStamped(output, text, false), QString()); // its block all the same
    }
    EXPECT_TRUE(step3.Command5->isEnabled());
}

TEST_F(Step3, CopPictureNeverReplacesASourceOfTheList) {
    const QString a = picture("a.jpg", 8, 8);
    const QString taken = picture("a-cop.jpg", 6, 6);
    const QByteArray before = readAll(taken);
    enterWithAllFiles();
    QTest::mouseClick(form11().Command5, Qt::LeftButton);
    click(form2().Check1);
    click(form2().Option5);
    ASSERT_TRUE(form2().Option5->isChecked());
    QTest::mouseClick(form2().Command5, Qt::LeftButton);
    const MessageBoxRequest message = runExpectingOneWarning();
    EXPECT_EQ(readAll(taken), before);
    const qsizetype at = message.text.indexOf(visibleLine(a) + ": ");
    ASSERT_GE(at, 0) << message.text.toStdString();
    EXPECT_TRUE(message.text.mid(at).section('\n', 0, 0).contains("sie wird nicht ersetzt"));
    EXPECT_TRUE(readAll(out("a-cop.jpg")).startsWith(before));
}

TEST_F(Step3, StartErrorsShowTheirMessageAndStartNothing) {
    picture("a.jpg", 8, 8);
    const QString blocker = outputs.write("file", "not a folder");
    struct Case {
        const char* what;
        QString folder;
        bool typed;
        QString textFile;
        QString mentions;
    };
    const std::vector<Case> cases = {
        {"empty folder field", "  ", true, {}, "Ausgabeordner"},
        {"folder cannot be made", blocker + "/sub", true, {}, blocker},
        {"unreadable text file", out(), false, outputs.file("missing.txt"), "missing.txt"},
    };
    enterWithAllFiles();
    Form3& step3 = toStep3();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        (c.typed ? form2().Option1 : form2().Option2)->setChecked(true);
        form2().Text3->setText(c.textFile);
        step3.Text1->setText(c.folder);
        EnabledChanges changes(step3.Command5);
        const std::size_t before = messages.messages().size();
        start();
        ASSERT_EQ(messages.messages().size(), before + 1);
        const MessageBoxRequest message = messages.messages().back();
        EXPECT_EQ(message.icon, MessageIcon::Warning);
        EXPECT_TRUE(message.text.contains(c.mentions)) << message.text.toStdString();
        EXPECT_EQ(changes.count, 0);
        EXPECT_EQ(step3.Label12->text(), "....");
    }
    EXPECT_FALSE(QFile::exists(out("a.jpg")));
}

TEST_F(Step3, ClosingAPageStopsTheRunAfterTheFileInHandWithoutAMessage) {
    picture("a.jpg", 8, 8);
    picture("b.jpg", 8, 8);
    picture("c.jpg", 8, 8);
    Form11& step1 = enterWithAllFiles();
    int secondStarts = 0;
    QObject::connect(&step1.jobList(), &JobList::currentRowChanged, [&](int row) {
        if (row == 0) { // before the first file: a second click is no second run
            form3().Command5_Click();
            ++secondStarts;
        }
        if (row == 1) // the user closes step 1 while row 2 is under way
            form11().close();
    });
    Form3& step3 = toStep3();
    typeOutputFolder(out());
    start();

    EXPECT_EQ(secondStarts, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(QFile::exists(out("a.jpg")));
    EXPECT_TRUE(QFile::exists(out("b.jpg")));
    EXPECT_FALSE(QFile::exists(out("c.jpg")));
    EXPECT_EQ(QDir(out()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no half file
    EXPECT_EQ(step3.Label12->text(), "2");
}

// The command line, given the options the windows stored, writes the same bytes.
TEST_F(Step3, WindowsAndCommandLineWriteIdenticalFiles) {
    const QStringList sources = {picture("a.jpg", 64, 48), picture("b.png", 33, 17), gif("c.gif")};
    enterWithAllFiles();
    QTest::mouseClick(form11().Command5, Qt::LeftButton);
    Form2& step2 = form2();
    click(step2.Check1);
    step2.Text4->setText(QStringLiteral("© Erika Muster 2026"));
    click(step2.Option4); // direct mode
    step2.Text1->setPlainText(QStringLiteral("Zeile eins\nZeile zwei"));
    QTest::mouseClick(step2.Command5, Qt::LeftButton);
    typeOutputFolder(out());
    start();
    ASSERT_EQ(messages.messages().size(), 1u);
    ASSERT_EQ(messages.messages()[0].text, success());

    const CliRun cli =
        runCli(QStringList{"stamp", "--output", outputs.file("cli"), "--jobs", "2"} + sources,
               outputs.path());
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    for (const QString& source : sources) {
        const QString name = QFileInfo(source).fileName();
        const QByteArray windows = readAll(out(name));
        EXPECT_FALSE(windows.isEmpty()) << name.toStdString();
        EXPECT_EQ(windows, readAll(outputs.file("cli/" + name))) << name.toStdString();
    }
}

} // namespace
