#pragma once
// JPEG files with an Exif segment made for the tests: a capture date as
// DateTimeOriginal (in the Exif sub-IFD) and/or DateTime (in IFD0).

#include <QByteArray>
#include <QtEndian>

struct ExifDates {
    const char* original = nullptr; // "YYYY:MM:DD HH:MM:SS" or null
    const char* modified = nullptr; // IFD0 DateTime, or null
    bool bigEndian = false;
};

// The TIFF payload (after "Exif\0\0") holding `dates`.
inline QByteArray ExifTiff(const ExifDates& d) {
    QByteArray t;
    auto u16 = [&](int v) {
        char b[2];
        if (d.bigEndian)
            qToBigEndian<quint16>(static_cast<quint16>(v), b);
        else
            qToLittleEndian<quint16>(static_cast<quint16>(v), b);
        t.append(b, 2);
    };
    auto u32 = [&](quint32 v) {
        char b[4];
        if (d.bigEndian)
            qToBigEndian<quint32>(v, b);
        else
            qToLittleEndian<quint32>(v, b);
        t.append(b, 4);
    };
    t.append(d.bigEndian ? "MM" : "II", 2);
    u16(42);
    u32(8);
    // IFD0 at 8: up to two entries, then the next-IFD link (0).
    const int entries0 = (d.modified ? 1 : 0) + (d.original ? 1 : 0);
    const quint32 afterIfd0 = 8 + 2 + 12 * entries0 + 4;
    const quint32 exifIfd = afterIfd0 + (d.modified ? 20 : 0);
    u16(entries0);
    if (d.modified) { // tags in ascending order
        u16(0x0132);
        u16(2);
        u32(20);
        u32(afterIfd0);
    }
    if (d.original) {
        u16(0x8769);
        u16(4);
        u32(1);
        u32(exifIfd);
    }
    u32(0);
    if (d.modified)
        t.append(d.modified, 19).append('\0');
    if (d.original) {
        u16(1);
        u16(0x9003);
        u16(2);
        u32(20);
        u32(exifIfd + 2 + 12 + 4);
        u32(0);
        t.append(d.original, 19).append('\0');
    }
    return t;
}

// `jpeg` with an APP1 Exif segment holding `dates` put right after SOI.
inline QByteArray WithExif(const QByteArray& jpeg, const ExifDates& dates) {
    const QByteArray payload = QByteArray("Exif\0\0", 6) + ExifTiff(dates);
    QByteArray segment("\xFF\xE1", 2);
    const int length = static_cast<int>(payload.size()) + 2;
    segment.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
    segment += payload;
    return jpeg.left(2) + segment + jpeg.mid(2);
}
