// The desktop program in a real X server under a reparenting window manager
// (openbox): the wizard steps open with their outer top-left corner where the
// previous step's was, however often the user moves them in between; message
// boxes open centred on their framed page; a page can be moved, minimised and
// closed, but not resized, maximised or made full screen.
#include "core/job/settingsstore.h"
#include "support/testsupport.h"

#include <QDeadlineTimer>
#include <QMargins>
#include <QPoint>
#include <QPointF>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <xcb/xcb.h>

// Readable places in failure messages.
void PrintTo(const QPoint& point, std::ostream* out) {
    *out << "(" << point.x() << ", " << point.y() << ")";
}
void PrintTo(const QRect& rect, std::ostream* out) {
    *out << rect.width() << " x " << rect.height() << " at (" << rect.x() << ", " << rect.y()
         << ")";
}

namespace {

// Pixel centres of the wizard buttons (their rectangles in twips / 15).
const QPoint kMenuCommand1(160, 20);  // "Dateien mit einem Copyright versetzen"
const QPoint kStep1Forward(436, 416); // ">> Schritt 2"
const QPoint kStep2Back(332, 416);    // "<< Schritt 1"
const QPoint kStep2Forward(436, 416); // ">> Schritt 3"
const QPoint kStep3Back(336, 416);    // "<< Schritt 2"
const QPoint kMenuCommand2(160, 52);  // "Copyright von Dateien anzeigen"
const QPoint kViewerRead(68, 76);     // "Copyrights einlesen"
const QPoint kViewerBack(296, 412);   // "<< Zurück"
const QPoint kStep3Start(436, 416);   // "Copyright setzen"

constexpr int kWaitMs = 15000; // a busy machine; a passing test never waits this long

// Xvfb, openbox and the program, each started here and ended with the test.
class XSession {
public:
    ~XSession() {
        for (QProcess* process : {&program_, &windowManager_, &server_})
            end(*process);
    }

    // Empty when the X server is up; else why it is not.
    QString startServer() {
        // -displayfd: the server picks a free display and writes its number
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server_.waitForStarted(kWaitMs))
            return QStringLiteral("Xvfb does not start: ") + server_.errorString();
        QByteArray number;
        const QDeadlineTimer deadline(kWaitMs);
        while (!number.contains('\n') && server_.state() == QProcess::Running &&
               !deadline.hasExpired()) {
            server_.waitForReadyRead(200);
            number += server_.readAllStandardOutput();
        }
        if (!number.contains('\n'))
            return QStringLiteral("Xvfb gave no display: ") +
                   QString::fromLocal8Bit(server_.readAllStandardError());
        display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        return {};
    }

    // openbox with its packaged configuration only, nothing of the user's.
    void startWindowManager() {
        windowManager_.setProcessEnvironment(environment());
        windowManager_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        ASSERT_TRUE(windowManager_.waitForStarted(kWaitMs)) << "openbox: install it (make deps)";
        const QDeadlineTimer deadline(kWaitMs);
        while (!run({QStringLiteral("xprop"), QStringLiteral("-root"),
                     QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                    .contains("window id")) {
            ASSERT_FALSE(deadline.hasExpired()) << "openbox did not take over the screen";
            QThread::msleep(50);
        }
    }

    // The program's settings, before it starts.
    void store(const char* key, const QString& value) {
        ASSERT_TRUE(SettingsStore(home_.file(QStringLiteral("config")))
                        .SaveSetting(QStringLiteral("Vendrake"), QStringLiteral("Stampora"),
                                     QString::fromLatin1(key), value));
    }
    QString homeFile(const QString& name) const { return home_.file(name); }

    void startProgram() {
        program_.setProcessEnvironment(environment());
        program_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program_.start(QStringLiteral(STAMPORA_BINARY_DIR "/stampora"), {});
        ASSERT_TRUE(program_.waitForStarted(kWaitMs)) << program_.errorString().toStdString();
    }

    // The one page on screen, once it is another window than `previous`.
    QString shownPage(const QString& previous = {}) {
        return shownWindow(QStringLiteral("Stampora 1.20"), previous);
    }
    // The one framed window on screen whose title matches `title` (a regular
    // expression), once it is another window than `previous`.
    QString shownWindow(const QString& title, const QString& previous = {}) {
        const QDeadlineTimer deadline(kWaitMs);
        for (;;) {
            const QStringList windows =
                QString::fromLatin1(
                    run({QStringLiteral("xdotool"), QStringLiteral("search"),
                         QStringLiteral("--onlyvisible"), QStringLiteral("--name"), title}))
                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            if (windows.size() == 1 && windows.front() != previous && frameExtents(windows.front()))
                return windows.front();
            if (deadline.hasExpired())
                return {};
            QThread::msleep(50);
        }
    }

    // A window's place and size on the screen with the frame the window manager
    // put around it, as the X server has them.
    QRect framed(const QString& window) {
        const QString info =
            QString::fromLatin1(run({QStringLiteral("xwininfo"), QStringLiteral("-id"), window}));
        const auto value = [&info](const char* name) {
            const QRegularExpression line(QString::fromLatin1(name) +
                                          QStringLiteral(":\\s*(-?\\d+)"));
            return line.match(info).captured(1).toInt();
        };
        const QRect client(value("Absolute upper-left X"), value("Absolute upper-left Y"),
                           value("Width"), value("Height"));
        return client.marginsAdded(frameExtents(window).value_or(QMargins()));
    }
    // The outer top-left corner of a page.
    QPoint outerTopLeft(const QString& window) { return framed(window).topLeft(); }

    // A property of a window as xprop prints it.
    QString property(const QString& window, const char* name) {
        return QString::fromLatin1(run(
            {QStringLiteral("xprop"), QStringLiteral("-id"), window, QString::fromLatin1(name)}));
    }

    // Asks the window manager to make the window full screen, as a pager or a
    // key binding of the window manager does.
    void askFullScreen(const QString& window) {
        xcb_connection_t* connection = xcb_connect(display_.toLatin1().constData(), nullptr);
        ASSERT_FALSE(xcb_connection_has_error(connection));
        const auto atom = [connection](const char* name) {
            xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
            const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
            std::free(reply);
            return found;
        };
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window.toUInt();
        message.type = atom("_NET_WM_STATE");
        message.data.data32[0] = 1; // add
        message.data.data32[1] = atom("_NET_WM_STATE_FULLSCREEN");
        message.data.data32[3] = 2; // from a pager
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        // a round trip: a request still in the pipe when the connection closes may be lost
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        xcb_disconnect(connection);
    }

    // A key pressed where the keyboard focus is.
    void key(const char* name) {
        run({QStringLiteral("xdotool"), QStringLiteral("key"), QString::fromLatin1(name)});
    }

    // Waits until the window is no longer on screen.
    bool waitUntilGone(const QString& window) {
        const QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            if (!run({QStringLiteral("xdotool"), QStringLiteral("search"),
                      QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                      QStringLiteral(".")})
                     .split('\n')
                     .contains(window.toLatin1()))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    // Waits until the page's corner is at `expected`; returns where it is then.
    QPoint waitForCorner(const QString& window, QPoint expected) {
        const QDeadlineTimer deadline(kWaitMs / 3);
        QPoint corner = outerTopLeft(window);
        while (corner != expected && !deadline.hasExpired()) {
            QThread::msleep(50);
            corner = outerTopLeft(window);
        }
        QThread::msleep(200); // a page that lands right and then hops is caught too
        return outerTopLeft(window);
    }

    void click(const QString& window, QPoint at) {
        run({QStringLiteral("xdotool"), QStringLiteral("mousemove"), QStringLiteral("--window"),
             window, QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
             QStringLiteral("1")});
    }

    // The user drags the page by its title bar by `by`.
    void drag(const QString& window, QPoint by) {
        const QPoint corner = outerTopLeft(window);
        const QPoint grip = corner + QPoint(150, frameExtents(window)->top() / 2);
        const QPoint to = grip + by;
        const auto xy = [](QPoint p) {
            return QStringList{QString::number(p.x()), QString::number(p.y())};
        };
        run(QStringList{QStringLiteral("xdotool"), QStringLiteral("mousemove")} + xy(grip) +
            QStringList{QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("mousedown"),
                        QStringLiteral("1"), QStringLiteral("sleep"), QStringLiteral("0.1"),
                        QStringLiteral("mousemove")} +
            xy(grip + by / 2) +
            QStringList{QStringLiteral("sleep"), QStringLiteral("0.1"),
                        QStringLiteral("mousemove")} +
            xy(to) +
            QStringList{QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("mouseup"),
                        QStringLiteral("1")});
    }

    bool programRunning() const { return program_.state() == QProcess::Running; }

private:
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.file(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home_.file(QStringLiteral("data")));
        env.remove(QStringLiteral("XAUTHORITY"));
        return env;
    }

    QByteArray run(const QStringList& command) const {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(command.front(), command.mid(1));
        if (!process.waitForFinished(kWaitMs))
            ADD_FAILURE() << command.join(' ').toStdString() << " did not finish";
        return process.readAllStandardOutput();
    }

    // Left, top, right, bottom of the frame; nothing before the window manager
    // has framed the window.
    std::optional<QMargins> frameExtents(const QString& window) const {
        const QString text =
            QString::fromLatin1(run({QStringLiteral("xprop"), QStringLiteral("-id"), window,
                                     QStringLiteral("_NET_FRAME_EXTENTS")}));
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(text);
        if (!m.hasMatch())
            return std::nullopt;
        // the property's order: left, right, top, bottom
        return QMargins(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(2).toInt(),
                        m.captured(4).toInt());
    }

    static void end(QProcess& process) {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }

    TempFolder home_;
    QString display_;
    QProcess server_, windowManager_, program_;
};

// Each test in an X server of its own under openbox; the test starts the program.
class UnderAWindowManager : public ::testing::Test {
protected:
    void SetUp() override {
        if (const QString why = x.startServer(); !why.isEmpty())
            GTEST_SKIP() << "no X server for this test: " << why.toStdString();
        ASSERT_NO_FATAL_FAILURE(x.startWindowManager());
    }

    XSession x;
};

} // namespace

TEST_F(UnderAWindowManager, StepsOpenWhereThePreviousStepWasAfterEveryMove) {
    ASSERT_NO_FATAL_FAILURE(x.startProgram());

    QString page = x.shownPage();
    ASSERT_FALSE(page.isEmpty()) << "the main menu did not appear";
    x.click(page, kMenuCommand1);
    page = x.shownPage(page);
    ASSERT_FALSE(page.isEmpty()) << "step 1 did not appear";

    // Each move goes somewhere new, so a page that kept an old place shows.
    struct Step {
        const char* what;
        QPoint button; // on the page shown before it
        QPoint moveAfter;
    };
    const Step steps[] = {
        {">> Schritt 2, first visit", kStep1Forward, {40, 30}},
        {"<< Schritt 1, visited before", kStep2Back, {-25, 45}},
        {">> Schritt 2, visited before", kStep1Forward, {60, -20}},
        {">> Schritt 3, first visit", kStep2Forward, {-35, -40}},
        {"<< Schritt 2", kStep3Back, {70, 15}},
        {"<< Schritt 1", kStep2Back, {0, 0}},
        {">> Schritt 2", kStep1Forward, {0, 0}},
        {">> Schritt 3", kStep2Forward, {0, 0}},
    };
    for (const Step& step : steps) {
        const QPoint before = x.outerTopLeft(page);
        x.click(page, step.button);
        const QString target = x.shownPage(page);
        ASSERT_FALSE(target.isEmpty()) << step.what << ": no new page appeared";
        EXPECT_EQ(x.waitForCorner(target, before), before) << step.what;
        page = target;
        if (!step.moveAfter.isNull()) {
            const QPoint moved = x.outerTopLeft(page) + step.moveAfter;
            x.drag(page, step.moveAfter);
            ASSERT_EQ(x.waitForCorner(page, moved), moved)
                << step.what << ": the window manager did not move the page";
        }
    }
    EXPECT_TRUE(x.programRunning());
}

namespace {

// The centre of a framed window, in half pixels.
QPointF centreOf(const QRect& framed) {
    return QPointF(framed.x() + framed.width() / 2.0, framed.y() + framed.height() / 2.0);
}

// Waits for the message box with the title `title` over `page`, expects its
// frame centred on the page's frame, and closes it with the keyboard.
void expectBoxCentredOnPage(XSession& x, const QString& page, const QString& title,
                            const char* what) {
    const QString box = x.shownWindow(title);
    ASSERT_FALSE(box.isEmpty()) << what << ": no message box";
    const QRect pageFrame = x.framed(page), boxFrame = x.framed(box);
    const QPointF off = centreOf(boxFrame) - centreOf(pageFrame);
    EXPECT_LE(qAbs(off.x()), 2.0) << what << ": box " << ::testing::PrintToString(boxFrame)
                                  << ", page " << ::testing::PrintToString(pageFrame);
    EXPECT_LE(qAbs(off.y()), 2.0) << what << ": box " << ::testing::PrintToString(boxFrame)
                                  << ", page " << ::testing::PrintToString(pageFrame);
    x.key("Return"); // the box has the focus
    ASSERT_TRUE(x.waitUntilGone(box)) << what << ": the box did not close";
}

} // namespace

// Boxes of several sizes on the viewer, where it opened and after a move, and
// on step 3: the frame's centre on the page's frame's centre.
TEST_F(UnderAWindowManager, MessageBoxesOpenCentredOnTheirFramedPage) {
    // an empty job list is stamped into a folder of the test's own
    ASSERT_NO_FATAL_FAILURE(x.store("outdir", x.homeFile(QStringLiteral("out"))));
    ASSERT_NO_FATAL_FAILURE(x.startProgram());

    QString page = x.shownPage();
    ASSERT_FALSE(page.isEmpty()) << "the main menu did not appear";
    x.click(page, kMenuCommand2);
    page = x.shownPage(page);
    ASSERT_FALSE(page.isEmpty()) << "the viewer did not appear";
    // its file name field holds the program folder: reading it gives a warning
    x.click(page, kViewerRead);
    ASSERT_NO_FATAL_FAILURE(
        expectBoxCentredOnPage(x, page, QStringLiteral("^Stampora$"), "viewer where it opened"));
    const QPoint moved = x.outerTopLeft(page) + QPoint(-130, 210);
    x.drag(page, QPoint(-130, 210));
    ASSERT_EQ(x.waitForCorner(page, moved), moved) << "the window manager did not move the page";
    x.click(page, kViewerRead);
    ASSERT_NO_FATAL_FAILURE(
        expectBoxCentredOnPage(x, page, QStringLiteral("^Stampora$"), "viewer after a move"));

    x.click(page, kViewerBack);
    page = x.shownPage(page);
    ASSERT_FALSE(page.isEmpty()) << "the main menu did not come back";
    x.click(page, kMenuCommand1);
    for (const QPoint forward : {QPoint(), kStep1Forward, kStep2Forward}) {
        if (!forward.isNull())
            x.click(page, forward);
        page = x.shownPage(page);
        ASSERT_FALSE(page.isEmpty()) << "a wizard step did not appear";
    }
    x.click(page, kStep3Start); // the run's final message
    ASSERT_NO_FATAL_FAILURE(
        expectBoxCentredOnPage(x, page, QStringLiteral("^Copyright Info$"), "step 3"));
    EXPECT_TRUE(x.programRunning());
}

// What the window manager is told and offers of the main menu and of a wizard
// step, and that a page asked to go full screen from outside stays as it was.
// (openbox offers full screen to every normal window whatever its hints, and
// keeps a disabled maximize button in its title bar beside the minimize one.)
TEST_F(UnderAWindowManager, PagesAreMovedMinimisedAndClosedButNeverResized) {
    ASSERT_NO_FATAL_FAILURE(x.startProgram());

    QString page = x.shownPage();
    ASSERT_FALSE(page.isEmpty()) << "the main menu did not appear";
    for (const char* what : {"main menu", "step 1"}) {
        SCOPED_TRACE(what);
        if (what[0] == 's') { // from the main menu to step 1
            x.click(page, kMenuCommand1);
            page = x.shownPage(page);
            ASSERT_FALSE(page.isEmpty()) << "step 1 did not appear";
        }
        // flags, functions, decorations
        const QRegularExpressionMatch hints =
            QRegularExpression(QStringLiteral("= (0x[0-9a-f]+), (0x[0-9a-f]+), (0x[0-9a-f]+)"))
                .match(x.property(page, "_MOTIF_WM_HINTS"));
        ASSERT_TRUE(hints.hasMatch()) << x.property(page, "_MOTIF_WM_HINTS").toStdString();
        bool ok = false;
        const uint functions = hints.captured(2).toUInt(&ok, 16);
        const uint decorations = hints.captured(3).toUInt(&ok, 16);
        EXPECT_EQ(functions, 0x2cu);   // move, minimize, close
        EXPECT_EQ(decorations, 0x3au); // border, title, menu, minimize

        const QString actions = x.property(page, "_NET_WM_ALLOWED_ACTIONS");
        for (const char* allowed :
             {"_NET_WM_ACTION_MOVE", "_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_CLOSE"})
            EXPECT_TRUE(actions.contains(QLatin1String(allowed)))
                << allowed << " in " << actions.toStdString();
        for (const char* refused : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE"})
            EXPECT_FALSE(actions.contains(QLatin1String(refused)))
                << refused << " in " << actions.toStdString();

        const QRect before = x.framed(page);
        ASSERT_NO_FATAL_FAILURE(x.askFullScreen(page));
        QThread::msleep(300); // the window manager takes the request in
        const auto asBefore = [&] {
            return !x.property(page, "_NET_WM_STATE").contains("FULLSCREEN") &&
                   x.framed(page) == before;
        };
        const QDeadlineTimer deadline(kWaitMs / 3);
        while (!asBefore() && !deadline.hasExpired())
            QThread::msleep(50);
        QThread::msleep(300); // a page that comes back and then changes again is caught too
        EXPECT_FALSE(x.property(page, "_NET_WM_STATE").contains("FULLSCREEN"));
        EXPECT_EQ(x.framed(page), before);
    }
    EXPECT_TRUE(x.programRunning());
}
