#include "filedialog/MfcFilter.h"

namespace {

// "JPGE IMAGE (*.jpg;*.jpeg)" -> "JPGE IMAGE"
QString DescriptionWithoutPatterns(const QString& description) {
    QString text = description.trimmed();
    if (text.endsWith(QLatin1Char(')'))) {
        const qsizetype open = text.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            text = text.left(open).trimmed();
    }
    return text;
}

QStringList SplitPatterns(const QString& patterns) {
    QStringList result;
    const QStringList parts = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        // A pattern holds no spaces; "*.jpg *.jpeg" in one field is two patterns.
        const QStringList words = part.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& word : words)
            result.append(word == QLatin1String("*.*") ? QStringLiteral("*") : word);
    }
    return result;
}

} // namespace

QStringList MfcFilterToNameFilters(const QString& filter) {
    if (!filter.contains(QLatin1Char('|')))
        return filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);

    QStringList result;
    const QStringList fields = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        const QString& description = fields.at(i);
        const QStringList patterns = SplitPatterns(fields.at(i + 1));
        if (description.trimmed().isEmpty() && patterns.isEmpty())
            break; // the closing "||"
        if (patterns.isEmpty())
            continue;
        QString name = DescriptionWithoutPatterns(description);
        if (name.isEmpty())
            name = patterns.join(QLatin1Char(' '));
        result.append(name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')'));
    }
    return result;
}
