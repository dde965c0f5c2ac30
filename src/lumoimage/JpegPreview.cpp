#include "lumoimage/JpegPreview.h"

#include "lumoimage/ExifReader.h"
#include "lumoimage/ImageOrientation.h"
#include "lumoimage/JpegDecoder.h"
#include "lumoimage/JpegFile.h"
#include "lumoimage/JpegRowDecoder.h"
#include "lumoimage/PhotoHeadBytes.h"

#include <cstdlib>

namespace {

bool DecodeUpright(JpegDecoder& decoder, const std::uint8_t* data, std::size_t size, QSize stored,
                   QSize needed, int orientation, QImage* out, QString* error) {
    int num = 1, denom = 1;
    JpegDecoder::ChooseScale(stored, needed, &num, &denom);
    QImage image;
    if (!decoder.Decode(data, size, num, denom, &image, error))
        return false;
    image = TurnUpright(image, orientation);
    if (image.isNull()) {
        *error = QStringLiteral("Not enough memory for the preview.");
        return false;
    }
    *out = std::move(image);
    return true;
}

} // namespace

bool LoadJpegPreview(const QString& path, QSize box, QImage* out, QSize* fullSize, QString* error) {
    QByteArray bytes;
    if (!ReadJpegFileHead(path, kPhotoHeadBytes, &bytes, error))
        return false;
    JpegHeaderInfo header;
    ScanJpegHeader(Bytes(bytes), std::size_t(bytes.size()), &header);
    bool whole = bytes.size() < kPhotoHeadBytes;
    if (!header.hasFrame && !whole) {
        if (!ReadJpegFile(path, &bytes, error))
            return false;
        ScanJpegHeader(Bytes(bytes), std::size_t(bytes.size()), &header);
        whole = true;
    }
    if (!header.hasFrame) {
        *error = QStringLiteral("The JPEG header could not be read.");
        return false;
    }
    const QSize stored(header.width, header.height);
    const QSize upright = UprightSize(stored, header.orientation);
    // The size the picture is drawn at inside the box, in stored orientation.
    const QSize drawn =
        upright.scaled(box.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QSize needed = UprightSize(drawn, header.orientation);

    JpegDecoder decoder;
    if (header.thumbnailLength > 0) {
        const std::uint8_t* thumb = Bytes(bytes) + header.thumbnailOffset;
        QSize thumbSize;
        QString ignored;
        if (decoder.ReadSize(thumb, header.thumbnailLength, &thumbSize, &ignored) &&
            thumbSize.width() >= needed.width() && thumbSize.height() >= needed.height() &&
            SameProportions(thumbSize, stored) &&
            DecodeUpright(decoder, thumb, header.thumbnailLength, thumbSize, needed,
                          header.orientation, out, &ignored)) {
            ConvertAsPhoto(Bytes(bytes), std::size_t(bytes.size()), out);
            *fullSize = upright;
            return true;
        }
        // An unusable thumbnail is no reason to fail: decode the photo itself.
    }
    if (!whole && !ReadJpegFile(path, &bytes, error))
        return false;
    if (!DecodeUpright(decoder, Bytes(bytes), std::size_t(bytes.size()), stored, needed,
                       header.orientation, out, error))
        return false;
    *fullSize = upright;
    return true;
}
