#include "lumoimage/ExifReader.h"

#include "lumoimage/TiffReader.h"

#include <cstring>

namespace {

constexpr std::uint16_t kTagDateTime = 0x0132;
constexpr std::uint16_t kTagDateTimeOriginal = 0x9003;
constexpr std::uint16_t kTagThumbnailOffset = 0x0201;
constexpr std::uint16_t kTagThumbnailLength = 0x0202;

bool IsFrameMarker(std::uint8_t marker) {
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

ExifData ParseExifTiff(const std::uint8_t* tiff, std::size_t size) {
    ExifData result;
    const TiffView view(tiff, size);
    if (!view.Valid())
        return result;
    std::uint32_t exifIfd = 0;
    std::string modified;
    const std::uint32_t ifd1 = view.WalkIfd(view.FirstIfd(), [&](const TiffEntry& entry) {
        std::uint32_t value = 0;
        if (entry.tag == kTagOrientation && view.Number(entry, &value) && value >= 1 && value <= 8)
            result.orientation = int(value);
        else if (entry.tag == kTagDateTime)
            modified = view.Ascii(entry);
        else if (entry.tag == kTagExifIfd)
            view.IfdPointer(entry, &exifIfd);
    });
    if (exifIfd != 0) {
        view.WalkIfd(exifIfd, [&](const TiffEntry& entry) {
            if (entry.tag == kTagDateTimeOriginal)
                result.captureDate = view.Ascii(entry);
        });
    }
    if (result.captureDate.empty())
        result.captureDate = modified;

    std::uint32_t thumbOffset = 0;
    std::uint32_t thumbLength = 0;
    if (ifd1 != 0) {
        view.WalkIfd(ifd1, [&](const TiffEntry& entry) {
            if (entry.tag == kTagThumbnailOffset)
                view.Number(entry, &thumbOffset);
            else if (entry.tag == kTagThumbnailLength)
                view.Number(entry, &thumbLength);
        });
    }
    // Only a thumbnail that lies wholly inside the payload and starts like a
    // JPEG stream is reported.
    if (thumbOffset >= 8 && thumbLength >= 4 && thumbOffset <= size &&
        size - thumbOffset >= thumbLength && tiff[thumbOffset] == 0xFF &&
        tiff[thumbOffset + 1] == 0xD8) {
        result.thumbnailOffset = thumbOffset;
        result.thumbnailLength = thumbLength;
    }
    return result;
}

bool ScanJpegHeader(const std::uint8_t* data, std::size_t size, JpegHeaderInfo* info) {
    *info = JpegHeaderInfo();
    if (!data || size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF)
        return false;
    bool exifSeen = false;
    std::size_t pos = 2;
    while (pos < size) {
        // Junk bytes where a marker belongs are skipped, as libjpeg skips them.
        while (pos < size && data[pos] != 0xFF)
            ++pos;
        if (pos >= size)
            break;
        while (pos < size && data[pos] == 0xFF)
            ++pos; // fill bytes
        if (pos >= size)
            break;
        const std::uint8_t marker = data[pos++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        if (marker == 0xD9 || marker == 0xDA || marker == 0x00)
            break; // end of image, start of scan, or a stuffed zero
        if (size - pos < 2)
            break;
        const std::size_t length = std::size_t(data[pos]) << 8 | data[pos + 1];
        if (length < 2)
            break;
        const std::size_t body = pos + 2;
        const std::size_t bodyLength = length - 2;
        const bool complete = size - pos >= length;

        if (IsFrameMarker(marker) && complete && bodyLength >= 6 && !info->hasFrame) {
            const int height = data[body + 1] << 8 | data[body + 2];
            const int width = data[body + 3] << 8 | data[body + 4];
            info->width = width;
            info->height = height;
            info->components = data[body + 5];
            info->precision = data[body];
            info->hasFrame = width > 0 && height > 0;
        } else if (marker == 0xE1 && complete && !exifSeen && bodyLength >= 6 &&
                   std::memcmp(data + body, "Exif\0\0", 6) == 0) {
            exifSeen = true;
            const ExifData exif = ParseExifTiff(data + body + 6, bodyLength - 6);
            info->orientation = exif.orientation;
            info->captureDate = exif.captureDate;
            info->exifOffset = body + 6;
            info->exifLength = bodyLength - 6;
            if (exif.thumbnailLength > 0) {
                info->thumbnailOffset = body + 6 + exif.thumbnailOffset;
                info->thumbnailLength = exif.thumbnailLength;
            }
        }
        if (!complete)
            break;
        pos += length;
    }
    return true;
}
