#pragma once
// The photos opened last, newest first, at most eight, remembered between
// runs in the user's settings (QSettings, organisation and application
// "Tessamar"). Tests point QSettings at a folder of their own with
// QSettings::setPath.

#include <QString>
#include <QStringList>

class RecentPhotos {
public:
    static constexpr int kMaxPhotos = 8;

    // The list as stored, newest first.
    static QStringList List();
    // Puts `path` (made absolute) at the front; an older entry of the same
    // photo goes, and the ninth is dropped.
    static void Add(const QString& path);
    static void Remove(const QString& path);
    // The folder of the newest photo, or empty when there is none.
    static QString LastFolder();
};
