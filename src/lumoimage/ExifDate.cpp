#include "lumoimage/ExifDate.h"

#include "lumoimage/ExifReader.h"

#include <QString>

QDateTime ReadExifCaptureDate(const std::uint8_t* data, std::size_t size) {
    JpegHeaderInfo header;
    if (!ScanJpegHeader(data, size, &header) || header.captureDate.size() < 19)
        return QDateTime();
    const QString text = QString::fromLatin1(header.captureDate.data(), 19);
    return QDateTime::fromString(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
}
