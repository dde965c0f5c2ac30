#include "filedialog/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>

QSize DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((letters / 26 + 1) / 2, metrics.height());
}

QRect DialogUnitsToPixels(const QRect& units, QSize base) {
    return QRect(units.x() * base.width() / 4, units.y() * base.height() / 8,
                 units.width() * base.width() / 4, units.height() * base.height() / 8);
}
