#include "lumoimage/JpegFile.h"

#include "platform/ReadOnlyFile.h"

#include <new>

namespace {

// No JPEG photo comes near this; a larger file is refused before it is read.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

bool ReadHead(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error) {
    ReadOnlyFile file;
    if (!file.Open(path, QStringLiteral("picture file"))) {
        *error = file.ErrorString();
        return false;
    }
    const qint64 size = file.Size();
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
    try {
        data.resize(wanted);
    } catch (const std::bad_alloc&) {
        *error = QStringLiteral("The file is too large to be held in memory.");
        return false;
    }
    // A file that shrank while being read simply ends early.
    const qint64 got = file.ReadAt(0, data.data(), wanted);
    if (got < 0) {
        *error = file.ErrorString();
        return false;
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
