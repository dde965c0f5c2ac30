#pragma once
// A folder of room photos for the benchmarks that work on many photos at
// once: a few distinct pictures, each copied to several photos, every photo
// with 40 dimensions and 10 notes of its own beside it.

#include "BenchRecords.h"
#include "BenchRoom.h"

#include "document/PhotoInfo.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QStringList>

// The photos' paths, room00.jpg ... in `folder`; empty when one could not be
// written.
inline QStringList MakeRoomPhotos(const QString& folder, int photos, int scenes, int width,
                                  int height) {
    QStringList sceneFiles;
    for (int s = 0; s < scenes; ++s) {
        const QString path = QDir(folder).filePath(QStringLiteral("scene%1.jpg").arg(s));
        QImageWriter writer(path, "jpeg");
        writer.setQuality(92);
        if (!writer.write(MakeRoom(width, height, s)))
            return {};
        sceneFiles << path;
    }
    QStringList made;
    for (int i = 0; i < photos; ++i) {
        const QString photo =
            QDir(folder).filePath(QStringLiteral("room%1.jpg").arg(i, 2, 10, QChar('0')));
        if (!QFile::copy(sceneFiles[i % scenes], photo) ||
            !ScatteredRecords(width, height, 40, 10, static_cast<quint32>(i + 1))
                 .SaveToFile(InfoFilePathFor(photo)))
            return {};
        made << photo;
    }
    return made;
}
