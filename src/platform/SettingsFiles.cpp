#include "platform/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QStringList SettingsFilePaths(const QString& configFolder) {
    const QDir folder(configFolder);
    return {folder.filePath(QStringLiteral("Tessamar/Tessamar.ini")),
            folder.filePath(QStringLiteral("tessamar/tessamar.conf"))};
}

QStringList SetAsideOversizedSettings(const QString& configFolder) {
    QStringList warnings;
    for (const QString& path : SettingsFilePaths(configFolder)) {
        const QFileInfo info(path);
        if (!info.isFile() || info.size() <= kLargestSettingsFile)
            continue;
        const QString aside = path + QStringLiteral(".too-large");
        QFile::remove(aside);
        QString outcome;
        if (QFile::rename(path, aside))
            outcome = QStringLiteral(" and replaced (kept as %1)").arg(aside);
        else if (QFile::remove(path))
            outcome = QStringLiteral(" and replaced");
        else
            outcome = QStringLiteral(", but it cannot be moved aside");
        warnings << QStringLiteral("warning: the settings file %1 is %2 MB, larger than any the "
                                   "program writes: it is ignored%3")
                        .arg(path)
                        .arg(info.size() / (1024 * 1024))
                        .arg(outcome);
    }
    return warnings;
}
