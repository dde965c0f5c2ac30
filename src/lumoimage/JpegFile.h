#pragma once
// Reading a JPEG file's bytes with clear reasons for every refusal.

#include <QByteArray>
#include <QString>

// Reads the whole file. Fails (with a short reason in `error`) when the file
// is missing, a folder, empty, unreadable, too large to hold, or does not
// start like a JPEG file.
bool ReadJpegFile(const QString& path, QByteArray* bytes, QString* error);

// Reads at most `maxBytes` from the start of the file, with the same checks.
bool ReadJpegFileHead(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error);
