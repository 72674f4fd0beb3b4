#include "gui/framework/pagepictures.h"

// The resources live in a static library: make sure they are linked in and registered.
static void registerPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)registered;
}

QImage cornerGlyph() {
    QImage glyph(10, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const int sum = x + y;
            const bool black = x == 9 || y == 9 || sum == 8 || sum == 11 || sum == 14;
            glyph.setPixel(x, y, black ? qRgb(0, 0, 0) : qRgb(189, 199, 140));
        }
    }
    return glyph;
}

QPixmap pagePicture(const QString& name) {
    if (name.isEmpty())
        return {};
    if (name == QLatin1String("corner"))
        return QPixmap::fromImage(cornerGlyph());
    registerPictures();
    return QPixmap(QStringLiteral(":/pictures/%1.png").arg(name));
}

QIcon pageIcon() {
    registerPictures();
    QIcon icon;
    icon.addFile(QStringLiteral(":/pictures/icon32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/pictures/icon16.png"), QSize(16, 16));
    return icon;
}
