#include "imaging/noticecomposer.h"

#include <QColorSpace>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>

namespace {

// The pages' font: a bold 8.25 pt sans-serif at 96 dpi, set in pixels so the
// result does not depend on the screen (the CLI has none).
QFont noticeFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(true);
    // grey edges only: coloured subpixel fringes would smear in the JPEG
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

// The notice is one line: line and paragraph breaks and other control
// characters become blanks instead of starting a second line.
QString asOneLine(const QString& text) {
    QString line = text;
    for (QChar& ch : line) {
        const QChar::Category category = ch.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            ch = QLatin1Char(' ');
    }
    return line;
}

} // namespace

QImage DrawNotice(const QImage& picture, const NoticeOptions& options) {
    // Text drawing needs Qt's font database, which only a GUI application has.
    if (picture.isNull() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};

    const int width = picture.width();
    const int height = picture.height() + (options.enlarge ? kNoticeStripHeight : 0);
    QImage canvas(width, height, QImage::Format_RGB32);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::black);

    QPainter painter(&canvas);
    // Transparent pixels end up over the black background. Pixel for pixel,
    // whatever density the reader gave the picture (it reads "@2x" names as 2).
    if (picture.devicePixelRatio() != 1.0) {
        QImage unscaled = picture;
        unscaled.setDevicePixelRatio(1.0);
        painter.drawImage(0, 0, unscaled);
    } else {
        painter.drawImage(0, 0, picture);
    }
    painter.setFont(noticeFont());
    painter.setPen(Qt::white);
    const int top = height - kNoticeTextDistance;
    painter.drawText(QPointF(0, top + painter.fontMetrics().ascent()), asOneLine(options.text));
    painter.end();

    if (picture.colorSpace().isValid())
        canvas.setColorSpace(picture.colorSpace());
    return canvas;
}
