#pragma once
// The program's settings files (the recent photos, the range finder chosen)
// are read whole by QSettings at every start; one grown to tens of megabytes
// (by another program, or damage) would make the start take seconds and
// hundreds of megabytes. Such a file is set aside before anything reads it.

#include <QString>
#include <QStringList>

// Far beyond anything the program stores (a few hundred bytes).
constexpr qint64 kLargestSettingsFile = 1024 * 1024;

// The settings files under the user's configuration folder `configFolder`.
QStringList SettingsFilePaths(const QString& configFolder);

// Renames every settings file in `configFolder` larger than
// kLargestSettingsFile aside (NAME.too-large, replacing an older one), so the
// program starts with fresh settings; returns one warning line per file set
// aside (empty when all were fine).
QStringList SetAsideOversizedSettings(const QString& configFolder);
