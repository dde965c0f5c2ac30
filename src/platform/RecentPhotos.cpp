#include "platform/RecentPhotos.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const char kKey[] = "recentPhotos";

void Store(const QStringList& list) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tessamar"),
                       QStringLiteral("Tessamar"));
    settings.setValue(QLatin1String(kKey), list);
    settings.sync();
}
} // namespace

QStringList RecentPhotos::List() {
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tessamar"),
                             QStringLiteral("Tessamar"));
    QStringList list = settings.value(QLatin1String(kKey)).toStringList();
    list.removeAll(QString());
    return list.mid(0, kMaxPhotos);
}

void RecentPhotos::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = List();
    list.removeAll(absolute);
    list.prepend(absolute);
    Store(list.mid(0, kMaxPhotos));
}

void RecentPhotos::Remove(const QString& path) {
    QStringList list = List();
    list.removeAll(path);
    list.removeAll(QFileInfo(path).absoluteFilePath());
    Store(list);
}

QString RecentPhotos::LastFolder() {
    const QStringList list = List();
    return list.isEmpty() ? QString() : QFileInfo(list.first()).absolutePath();
}
