#include "document/PhotoInfo.h"

#include <QFileInfo>

QString InfoFilePathFor(const QString& photoPath) {
    // Only the file name is searched: a "." in a folder name must not count.
    const int slash =
        std::max(photoPath.lastIndexOf(QLatin1Char('/')), photoPath.lastIndexOf(QLatin1Char('\\')));
    const int dot = photoPath.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        return photoPath.left(dot + 1) + QStringLiteral("dat");
    return photoPath + QStringLiteral(".dat");
}

void PhotoInfo::Clear() {
    dimensions.clear();
    dimensions.shrink_to_fit();
    notes.clear();
    notes.shrink_to_fit();
    reference = MeasureReference();
    areas.clear();
    areas.shrink_to_fit();
    angles.clear();
    angles.shrink_to_fit();
}
