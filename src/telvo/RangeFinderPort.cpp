#include "telvo/RangeFinderPort.h"

#include <QRegularExpression>
#include <QtGlobal>

QString RangeFinderDevice(const QString& port, const QString& override) {
    if (port.startsWith(QLatin1Char('/')))
        return port;
    const QString chosen = override.trimmed();
    if (!chosen.isEmpty())
        return chosen;
#ifdef Q_OS_WIN
    return port;
#else
    static const QRegularExpression comName(QStringLiteral("^COM([1-9][0-9]{0,2})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(port.trimmed());
    if (!match.hasMatch())
        return port;
    const int number = match.captured(1).toInt();
    if (number == 4)
        return QStringLiteral("/dev/rfcomm0");
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString RangeFinderDevice(const QString& port) {
    return RangeFinderDevice(port, qEnvironmentVariable(kRangeFinderPortVariable));
}
