#include "output/BatchInputs.h"

#include "document/PhotoInfo.h"
#include "platform/FileStamp.h"

#include <QFileInfo>

namespace {
// A file not there yet, by the folder it would be in and its name.
QString PlaceKey(const QString& path) {
    const QFileInfo info(path);
    const FileStamp folder = FileStamp::Of(info.absolutePath());
    if (!folder.Exists())
        return QString();
    return QStringLiteral("%1:%2/%3").arg(folder.device).arg(folder.inode).arg(info.fileName());
}
} // namespace

BatchInputs::BatchInputs(const QStringList& photos) : m_photos(photos) {
    for (int i = 0; i < photos.size(); ++i) {
        const FileStamp photo = FileStamp::Of(photos[i]);
        if (photo.Exists() && !m_photoAt.contains({photo.device, photo.inode}))
            m_photoAt.insert({photo.device, photo.inode}, i);
        const QString infoPath = InfoFilePathFor(photos[i]);
        const FileStamp info = FileStamp::Of(infoPath);
        if (info.Exists()) {
            if (!m_infoAt.contains({info.device, info.inode}))
                m_infoAt.insert({info.device, info.inode}, i);
        } else if (const QString key = PlaceKey(infoPath); !key.isEmpty()) {
            if (!m_missingAt.contains(key))
                m_missingAt.insert(key, i);
        }
    }
}

int BatchInputs::EarlierSamePhoto(int index) const {
    const FileStamp photo = FileStamp::Of(m_photos[index]);
    if (!photo.Exists())
        return -1;
    const int first = m_photoAt.value({photo.device, photo.inode}, -1);
    return first < index ? first : -1;
}

QString BatchInputs::ReplacedBy(const QString& out, int index) const {
    const FileStamp stamp = FileStamp::Of(out);
    int photo = -1, info = -1;
    if (stamp.Exists()) {
        photo = m_photoAt.value({stamp.device, stamp.inode}, -1);
        info = m_infoAt.value({stamp.device, stamp.inode}, -1);
    } else {
        // Where an info file will be saved: a picture there would be taken
        // for a damaged info file.
        info = m_missingAt.value(PlaceKey(out), -1);
    }
    if (photo == index)
        return QStringLiteral("It is the photo itself.");
    if (photo >= 0)
        return QStringLiteral("It is the photo %1, another input of this run.")
            .arg(m_photos[photo]);
    if (info == index)
        return QStringLiteral("It is the photo's info file.");
    if (info >= 0)
        return QStringLiteral("It is the info file of the photo %1, another input of this run.")
            .arg(m_photos[info]);
    return QString();
}
