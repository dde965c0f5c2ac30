#pragma once
// What the readers of a photo's start (the picture dialog's preview, the
// window's open) share: how much of the file they read, the bytes as the
// JPEG readers take them, and whether a thumbnail has the photo's shape.

#include <QByteArray>
#include <QSize>
#include <QtGlobal>

#include <cstdint>
#include <cstdlib>

// The Exif segment is at most 64 KiB and sits near the start; other APP
// segments before the frame header rarely add much.
constexpr qint64 kPhotoHeadBytes = 256 * 1024;

inline const std::uint8_t* Bytes(const QByteArray& a) {
    return reinterpret_cast<const std::uint8_t*>(a.constData());
}

// True when the two sizes have the same proportions within 2 % (thumbnails of
// photos with other proportions are letterboxed with black bars).
inline bool SameProportions(QSize a, QSize b) {
    const qint64 lhs = qint64(a.width()) * b.height();
    const qint64 rhs = qint64(b.width()) * a.height();
    return std::llabs(lhs - rhs) * 50 <= qMax(lhs, rhs);
}
