// The label texts of computed areas and angles.

#include "document/ShapeMeasures.h"

#include <QCoreApplication>
#include <cmath>

namespace {

// Larger figures (or no number at all) show as "≈?" rather than a figure
// that overflowed.
constexpr double kLargestShown = 1e12;

bool Shown(double v) {
    return std::isfinite(v) && std::abs(v) < kLargestShown;
}

// `v` rounded up to `decimals` places, so the stated ± never shrinks.
QString UpTo(double v, int decimals) {
    const double unit = std::pow(10.0, decimals);
    return QString::number(std::ceil(v * unit - 1e-9) / unit, 'f', decimals);
}

} // namespace

QString AreaText(const ComputedArea& area, bool ping) {
    const double squareMetres = area.net / 1e6, uncertainty = area.netUncertainty / 1e6;
    if (!area.HasValue() || !Shown(squareMetres) || !Shown(uncertainty))
        return QStringLiteral("≈?");
    QString text = QStringLiteral("≈%1 m²").arg(squareMetres, 0, 'f', 2);
    if (ping)
        text += QLatin1Char(' ') + QCoreApplication::translate("ShapeMeasure", "(%1 坪)")
                                       .arg(squareMetres / kSquareMetresPerPing, 0, 'f', 2);
    text += QStringLiteral(" ±") + UpTo(uncertainty, 2);
    if (area.openingCount > 0)
        text += QLatin1Char(' ') + QCoreApplication::translate("ShapeMeasure", "扣除開口 %n",
                                                               nullptr, area.openingCount);
    if (area.basis == MeasureBasis::FacingCamera)
        text += QLatin1Char(' ') + QCoreApplication::translate("ShapeMeasure", "(正對相機)");
    return text;
}

QString AngleText(const ComputedAngle& angle) {
    if (!angle.HasValue() || !std::isfinite(angle.degrees))
        return QStringLiteral("≈?");
    const QString degrees = QString::number(angle.degrees, 'f', 1);
    if (angle.basis == MeasureBasis::Picture)
        return QCoreApplication::translate("ShapeMeasure", "畫面角 %1°").arg(degrees);
    return QStringLiteral("≈%1° ±%2").arg(degrees, UpTo(angle.uncertainty, 1));
}
