#include "dialog/ResourceArt.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {
QPixmap RenderSvg(const QString& path, const QSize& size) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || size.isEmpty())
        return QPixmap();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return QPixmap::fromImage(image);
}
} // namespace

QIcon ResourceIcon(int id) {
    const QString path = QStringLiteral(":/res/icon%1.svg").arg(id);
    QIcon icon;
    for (int side : {16, 20, 24, 32, 48, 64, 128, 256}) {
        const QPixmap pixmap = RenderSvg(path, QSize(side, side));
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap ResourceBitmap(int id, const QSize& size) {
    return RenderSvg(QStringLiteral(":/res/bitmap%1.svg").arg(id), size);
}

QCursor ResourceCursor(int id, int hotX, int hotY) {
    const QPixmap pixmap = RenderSvg(QStringLiteral(":/res/cursor%1.svg").arg(id), QSize(32, 32));
    if (pixmap.isNull())
        return QCursor(Qt::ArrowCursor);
    return QCursor(pixmap, hotX, hotY);
}
