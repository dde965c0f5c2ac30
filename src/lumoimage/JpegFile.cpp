#include "lumoimage/JpegFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

// No JPEG photo comes near this; a larger file is refused before it is read.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

bool ReadHead(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("The file does not exist.");
        return false;
    }
    if (info.isDir()) {
        *error = QStringLiteral("The path names a folder, not a picture file.");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The file could not be opened: %1").arg(file.errorString());
        return false;
    }
    const qint64 size = file.size();
    if (size == 0) {
        *error = QStringLiteral("The file is empty.");
        return false;
    }
    if (size > kMaxFileBytes) {
        *error = QStringLiteral("The file is too large to be a photo.");
        return false;
    }
    const qint64 wanted = maxBytes < 0 ? size : qMin(size, maxBytes);
    QByteArray data;
    data.resize(wanted);
    qint64 got = 0;
    while (got < wanted) {
        const qint64 n = file.read(data.data() + got, wanted - got);
        if (n < 0) {
            *error = QStringLiteral("The file could not be read: %1").arg(file.errorString());
            return false;
        }
        if (n == 0)
            break; // the file shrank while being read
        got += n;
    }
    data.resize(got);
    const auto* u = reinterpret_cast<const unsigned char*>(data.constData());
    if (got < 3 || u[0] != 0xFF || u[1] != 0xD8 || u[2] != 0xFF) {
        *error = QStringLiteral("The file is not a JPEG picture.");
        return false;
    }
    *bytes = std::move(data);
    return true;
}

} // namespace

bool ReadJpegFile(const QString& path, QByteArray* bytes, QString* error) {
    return ReadHead(path, -1, bytes, error);
}

bool ReadJpegFileHead(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error) {
    return ReadHead(path, maxBytes, bytes, error);
}
