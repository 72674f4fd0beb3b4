#include "gui/framework/page.h"

#include "gui/framework/fixedwindowhints.h"
#include "gui/framework/pagepictures.h"
#include "gui/framework/pagestyle.h"
#include "gui/framework/programend.h"

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>

namespace {
// States a page of fixed size and place never takes.
constexpr Qt::WindowStates kRefusedStates = Qt::WindowFullScreen | Qt::WindowMaximized;
} // namespace

Page::Page(const PageDescription& description) : description_(description) {
    usePageStyle();
    setObjectName(QString::fromLatin1(description.name));
    setWindowTitle(QStringLiteral(" Stampora " STAMPORA_VERSION)); // " Stampora 1.20"
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(pageIcon());
    setFont(pageFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, pageColour());
    colours.setColor(QPalette::Button, pageColour());
    colours.setColor(QPalette::Base, pageColour());
    setPalette(colours);
    setAutoFillBackground(true);

    const QRect client = twipsToPixels(description.originLeft, description.originTop,
                                       description.clientWidth, description.clientHeight);
    designedSize_ = client.size();
    setFixedSize(designedSize_); // the user cannot change a page's size
    setGeometry(client);
    controls_ = buildPage(description, this);
}

void Page::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (event->size() == designedSize_ || isMinimized())
        return;
    // after the window system's change has been taken in
    QTimer::singleShot(0, this, [this] {
        if (size() != designedSize_ && !isMinimized())
            resize(designedSize_);
    });
}

void Page::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    announceFixedWindow(*this); // before the window is mapped, where the manager reads it
}

void Page::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & kRefusedStates))
        return;
    // after the window system's change has been taken in
    QTimer::singleShot(0, this, [this] {
        if (windowState() & kRefusedStates)
            setWindowState(windowState() & ~kRefusedStates);
    });
}

void Page::closeEvent(QCloseEvent* event) {
    event->accept();
    endProgram();
}
