#include "output/ScaleBar.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

double ScaleBarMm(int width, double mmPerPixel) {
    const double most = width / 4.0 * mmPerPixel;
    double length = std::pow(10.0, std::floor(std::log10(std::max(most, 1e-9))));
    for (const double step : {5.0, 2.0, 1.0})
        if (length * step <= most)
            return length * step;
    return length;
}

QRect ScaleBarRect(QSize picture, double mmPerPixel) {
    const int margin = std::max(8, picture.width() / 50);
    const int height = std::max(6, picture.width() / 150);
    const int length = std::max(
        1, static_cast<int>(std::lround(ScaleBarMm(picture.width(), mmPerPixel) / mmPerPixel)));
    return QRect(margin, picture.height() - margin - height, length, height);
}

void DrawScaleBar(QPainter& painter, QSize picture, double mmPerPixel) {
    const QRect bar = ScaleBarRect(picture, mmPerPixel);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < 4; ++i) {
        const int left = bar.left() + bar.width() * i / 4;
        const int right = bar.left() + bar.width() * (i + 1) / 4;
        painter.fillRect(QRect(left, bar.top(), right - left, bar.height()),
                         i % 2 ? Qt::white : Qt::black);
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(12, picture.width() / 60));
    painter.setFont(font);
    const QString text = QCoreApplication::translate("ScaleBar", "%1 mm")
                             .arg(ScaleBarMm(picture.width(), mmPerPixel), 0, 'g', 10);
    const QFontMetrics metrics(font);
    QRect box = metrics.boundingRect(text).adjusted(-3, -2, 3, 2);
    box.moveBottomLeft(QPoint(bar.left(), bar.top() - 3));
    painter.fillRect(box, Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}
