#include "lumoimage/PhotoOpening.h"

#include "lumoimage/ImageOrientation.h"
#include "lumoimage/JpegDecoder.h"
#include "lumoimage/JpegFile.h"
#include "lumoimage/JpegFileSource.h"
#include "lumoimage/PhotoHeadBytes.h"
#include "platform/ReadOnlyFile.h"

#include <cstdlib>

namespace {

int LongSide(QSize s) {
    return qMax(s.width(), s.height());
}

} // namespace

bool ReadPhotoHead(const QString& path, PhotoHead* head, QString* error) {
    PhotoHead read;
    if (!ReadJpegFileHead(path, kPhotoHeadBytes, &read.bytes, error))
        return false;
    read.whole = read.bytes.size() < kPhotoHeadBytes;
    ScanJpegHeader(Bytes(read.bytes), std::size_t(read.bytes.size()), &read.header);
    if (!read.header.hasFrame && !read.whole) {
        // Large segments before the frame: the whole file it is.
        if (!ReadJpegFile(path, &read.bytes, error))
            return false;
        read.whole = true;
        read.header = JpegHeaderInfo();
        ScanJpegHeader(Bytes(read.bytes), std::size_t(read.bytes.size()), &read.header);
    }
    JpegDecoder decoder;
    if (!decoder.ReadSize(Bytes(read.bytes), std::size_t(read.bytes.size()), &read.stored, error))
        return false;
    read.upright = UprightSize(read.stored, read.header.orientation);
    *head = std::move(read);
    return true;
}

QImage ThumbnailStandIn(const PhotoHead& head, bool* sharp) {
    if (sharp)
        *sharp = false;
    const JpegHeaderInfo& h = head.header;
    if (h.thumbnailLength == 0 ||
        h.thumbnailOffset + h.thumbnailLength > std::size_t(head.bytes.size()))
        return QImage();
    const std::uint8_t* thumb = Bytes(head.bytes) + h.thumbnailOffset;
    JpegDecoder decoder;
    QSize size;
    QString ignored;
    if (!decoder.ReadSize(thumb, h.thumbnailLength, &size, &ignored) ||
        !SameProportions(size, head.stored))
        return QImage();
    QImage image;
    if (!decoder.Decode(thumb, h.thumbnailLength, 1, 1, &image, &ignored))
        return QImage();
    ConvertAsPhoto(Bytes(head.bytes), std::size_t(head.bytes.size()), &image);
    // Null when memory for the turned copy could not be had: no stand-in.
    image = TurnUpright(image, h.orientation);
    if (sharp)
        *sharp = !image.isNull() && qint64(LongSide(size)) * 16 >= LongSide(head.stored);
    return image;
}

RowDecodeResult TurnDecodedUpright(QImage image, int orientation, QImage* out, QString* error) {
    if (orientation != 1) {
        image = TurnUpright(image, orientation);
        if (image.isNull()) {
            *error = QStringLiteral("Not enough memory to turn the picture upright.");
            return RowDecodeResult::Failed;
        }
    }
    *out = std::move(image);
    return RowDecodeResult::Done;
}

RowDecodeResult DecodePhotoFileUpright(const QString& path, const PhotoHead& head, int num,
                                       int denom, DecodeControl* control, QImage* out,
                                       QString* error) {
    ReadOnlyFile file;
    if (!file.Open(path, QStringLiteral("picture file"))) {
        *error = file.ErrorString();
        return RowDecodeResult::Failed;
    }
    JpegFileSource source(&file);
    QImage image;
    const RowDecodeResult result =
        DecodeJpegSourceRows(&source, head.bytes, num, denom, control, nullptr, &image, error);
    if (result != RowDecodeResult::Done)
        return result;
    return TurnDecodedUpright(std::move(image), head.header.orientation, out, error);
}

QSize ReducedStoredSize(const PhotoHead& head, int denom) {
    return QSize((head.stored.width() + denom - 1) / denom,
                 (head.stored.height() + denom - 1) / denom);
}
