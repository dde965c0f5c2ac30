#include "JpegFixtures.h"

#include <turbojpeg.h>

#include <ostream>

namespace {

void PutU16(QByteArray* out, int v, bool bigEndian) {
    const char b[2] = {char(v & 0xFF), char(v >> 8 & 0xFF)};
    if (bigEndian) {
        out->append(b[1]);
        out->append(b[0]);
    } else {
        out->append(b, 2);
    }
}

void PutU32(QByteArray* out, quint32 v, bool bigEndian) {
    if (bigEndian) {
        PutU16(out, int(v >> 16), true);
        PutU16(out, int(v & 0xFFFF), true);
    } else {
        PutU16(out, int(v & 0xFFFF), false);
        PutU16(out, int(v >> 16), false);
    }
}

void PutEntry(QByteArray* out, int tag, int type, quint32 value, bool bigEndian) {
    PutU16(out, tag, bigEndian);
    PutU16(out, type, bigEndian);
    PutU32(out, 1, bigEndian);
    if (type == 3) { // SHORT: left-justified in the 4-byte field
        PutU16(out, int(value), bigEndian);
        PutU16(out, 0, bigEndian);
    } else {
        PutU32(out, value, bigEndian);
    }
}

} // namespace

QByteArray EncodeTestJpeg(const QImage& image, int quality, bool subsample420) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    tjhandle handle = tjInitCompress();
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(),
                TJPF_BGRX, &buffer, &size, subsample420 ? TJSAMP_420 : TJSAMP_444, quality, 0);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    tjFree(buffer);
    tjDestroy(handle);
    return out;
}

QByteArray WithExif(const QByteArray& jpeg, int orientation, const QByteArray& thumbnail,
                    bool bigEndian) {
    QByteArray tiff = bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4);
    PutU32(&tiff, 8, bigEndian);
    // IFD0: one entry, then the offset of IFD1 (or 0).
    const quint32 ifd1 = thumbnail.isEmpty() ? 0 : 8 + 2 + 12 + 4;
    PutU16(&tiff, 1, bigEndian);
    PutEntry(&tiff, 0x0112, 3, quint32(orientation), bigEndian);
    PutU32(&tiff, ifd1, bigEndian);
    if (!thumbnail.isEmpty()) {
        const quint32 data = ifd1 + 2 + 3 * 12 + 4;
        PutU16(&tiff, 3, bigEndian);
        PutEntry(&tiff, 0x0103, 3, 6, bigEndian); // compression: JPEG
        PutEntry(&tiff, 0x0201, 4, data, bigEndian);
        PutEntry(&tiff, 0x0202, 4, quint32(thumbnail.size()), bigEndian);
        PutU32(&tiff, 0, bigEndian);
        tiff.append(thumbnail);
    }
    QByteArray segment("\xFF\xE1", 2);
    const int length = 2 + 6 + int(tiff.size());
    segment.append(char(length >> 8));
    segment.append(char(length & 0xFF));
    segment.append("Exif\0\0", 6);
    segment.append(tiff);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray WithFrameSize(const QByteArray& jpeg, int width, int height) {
    QByteArray out = jpeg;
    for (qsizetype i = 2; i + 9 < out.size(); ++i) {
        const auto marker = static_cast<unsigned char>(out[i + 1]);
        if (static_cast<unsigned char>(out[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            out[i + 5] = char(height >> 8);
            out[i + 6] = char(height & 0xFF);
            out[i + 7] = char(width >> 8);
            out[i + 8] = char(width & 0xFF);
            break;
        }
    }
    return out;
}

QImage CornerMarkedPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            image.setPixel(x, y, qRgb(255, 0, 0));
            image.setPixel(width - 8 + x, y, qRgb(0, 255, 0));
        }
    return image;
}

QColor BlockColour(const QImage& image, int x, int y) {
    int r = 0, g = 0, b = 0;
    for (int dy = 2; dy < 6; ++dy)
        for (int dx = 2; dx < 6; ++dx) {
            const QRgb p = image.pixel(x + dx, y + dy);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
        }
    return QColor(r / 16, g / 16, b / 16);
}

bool IsNear(const QColor& actual, const QColor& expected, int tolerance) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

void PrintTo(const QColor& c, std::ostream* os) {
    *os << "rgb(" << c.red() << ", " << c.green() << ", " << c.blue() << ")";
}
