#pragma once
// JPEG byte streams for the image tests, made with libjpeg-turbo directly.

#include "common/Pictures.h"

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <turbojpeg.h>

inline QByteArray EncodeTestJpeg(const QImage& image, int quality = 95,
                                 int subsampling = TJSAMP_444, int flags = 0) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    tjhandle handle = tjInitCompress();
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(),
                TJPF_BGRX, &buffer, &size, subsampling, quality, flags);
    const QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    tjFree(buffer);
    tjDestroy(handle);
    return out;
}

// The stream with an Exif APP1 segment right after SOI carrying the
// orientation and, when given, an IFD1 thumbnail (a JPEG stream).
inline QByteArray WithExif(const QByteArray& jpeg, int orientation,
                           const QByteArray& thumbnail = {}, bool bigEndian = false) {
    QByteArray tiff;
    QDataStream out(&tiff, QIODevice::WriteOnly);
    out.setByteOrder(bigEndian ? QDataStream::BigEndian : QDataStream::LittleEndian);
    const quint32 ifd1 = thumbnail.isEmpty() ? 0 : 26;
    // Header, then IFD0 with one entry: the orientation, a SHORT.
    out << quint16(bigEndian ? 0x4D4D : 0x4949) << quint16(42) << quint32(8) << quint16(1)
        << quint16(0x0112) << quint16(3) << quint32(1) << quint16(orientation) << quint16(0)
        << ifd1;
    if (ifd1) // IFD1: compression JPEG, thumbnail offset and length
        out << quint16(3) << quint16(0x0103) << quint16(3) << quint32(1) << quint16(6) << quint16(0)
            << quint16(0x0201) << quint16(4) << quint32(1) << quint32(ifd1 + 2 + 36 + 4)
            << quint16(0x0202) << quint16(4) << quint32(1) << quint32(thumbnail.size())
            << quint32(0);
    const int length = 8 + int(tiff.size() + thumbnail.size());
    return jpeg.left(2) + "\xFF\xE1" + char(length >> 8) + char(length & 0xFF) +
           QByteArray("Exif\0\0", 6) + tiff + thumbnail + jpeg.mid(2);
}

// An 8x8 red block at the top-left corner, a green one at the top-right
// corner, on blue.
inline QImage CornerMarkedPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, 8, 8, Qt::red);
    QPainter(&image).fillRect(width - 8, 0, 8, 8, Qt::green);
    return image;
}

// Damaged forms of a baseline stream: the frame header claiming another
// size; the stream cut 20 bytes into its first scan.
inline QByteArray WithFrameSize(QByteArray jpeg, quint16 width, quint16 height) {
    const char size[4] = {char(height >> 8), char(height & 0xFF), char(width >> 8),
                          char(width & 0xFF)};
    jpeg.replace(jpeg.indexOf(QByteArray("\xFF\xC0", 2)) + 5, 4, size, 4);
    return jpeg;
}
inline QByteArray CutInFirstScan(const QByteArray& jpeg) {
    return jpeg.left(jpeg.indexOf(QByteArray("\xFF\xDA", 2)) + 20);
}
