#include "core/imaging/noticecomposer.h"

#include "core/imaging/dibsection.h"

#include <QColorSpace>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>

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

// Text drawing needs Qt's font database, which only a GUI application has.
bool canDrawText() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

bool drawNoticeText(QImage* canvas, const QString& text) {
    if (!canvas || canvas->isNull() || !canDrawText())
        return false;
    // Positions are pixels, whatever density the reader gave the picture (it
    // reads "@2x" names as 2).
    canvas->setDevicePixelRatio(1.0);
    QPainter painter(canvas);
    painter.setFont(noticeFont());
    painter.setPen(Qt::white);
    const int top = canvas->height() - kNoticeTextDistance;
    painter.drawText(QPointF(0, top + painter.fontMetrics().ascent()), asOneLine(text));
    return true;
}

QImage drawNotice(QImage picture, const NoticeOptions& options) {
    if (picture.isNull() || !canDrawText())
        return {};
    picture.setDevicePixelRatio(1.0);

    // Direct mode on an opaque picture: the picture is the canvas.
    if (!options.enlarge && !picture.hasAlphaChannel()) {
        picture.convertTo(QImage::Format_RGB32);
        if (picture.format() != QImage::Format_RGB32)
            return {};
        return drawNoticeText(&picture, options.text) ? picture : QImage();
    }

    const int height = picture.height() + (options.enlarge ? kNoticeStripHeight : 0);
    QImage canvas(picture.width(), height, QImage::Format_RGB32);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::black);
    {
        // Transparent pixels end up over the black background.
        QPainter painter(&canvas);
        painter.drawImage(0, 0, picture);
    }
    if (picture.colorSpace().isValid())
        canvas.setColorSpace(picture.colorSpace());
    return drawNoticeText(&canvas, options.text) ? canvas : QImage();
}

bool drawNoticeTextInBuffer(cDIBSection* buffer, const QString& text) {
    if (!buffer || buffer->isEmpty() || !canDrawText())
        return false;
    const int rows = std::min(buffer->Height(), kNoticeBandRows);
    const int first = buffer->Height() - rows;
    const int width = buffer->Width();
    QImage band(width, rows, QImage::Format_RGB32);
    if (band.isNull())
        return false;
    for (int y = 0; y < rows; ++y) {
        const uchar* in = buffer->scanLine(first + y);
        auto* out = reinterpret_cast<QRgb*>(band.scanLine(y));
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    if (!drawNoticeText(&band, text))
        return false;
    for (int y = 0; y < rows; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(band.constScanLine(y));
        uchar* out = buffer->scanLine(first + y);
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = uchar(qBlue(in[x]));
            out[1] = uchar(qGreen(in[x]));
            out[2] = uchar(qRed(in[x]));
        }
    }
    return true;
}
