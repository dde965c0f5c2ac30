#include "platform/DialogUnits.h"

#include <QFontMetrics>
#include <algorithm>

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // Windows measures the average width over the Latin alphabet, rounded.
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = std::max(1, (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());
}
