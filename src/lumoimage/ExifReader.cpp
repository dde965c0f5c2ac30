#include "lumoimage/ExifReader.h"

#include <cstring>

namespace {

constexpr std::uint16_t kTagOrientation = 0x0112;
constexpr std::uint16_t kTagThumbnailOffset = 0x0201;
constexpr std::uint16_t kTagThumbnailLength = 0x0202;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::size_t kIfdEntrySize = 12;

// Reads numbers in the byte order the TIFF header names; every read checks
// that it stays inside the buffer.
class TiffView {
public:
    TiffView(const std::uint8_t* data, std::size_t size, bool bigEndian)
        : m_data(data), m_size(size), m_bigEndian(bigEndian) {}

    bool U16(std::size_t at, std::uint16_t* out) const {
        if (at > m_size || m_size - at < 2)
            return false;
        const std::uint8_t* p = m_data + at;
        *out = m_bigEndian ? std::uint16_t(p[0] << 8 | p[1]) : std::uint16_t(p[1] << 8 | p[0]);
        return true;
    }
    bool U32(std::size_t at, std::uint32_t* out) const {
        if (at > m_size || m_size - at < 4)
            return false;
        const std::uint8_t* p = m_data + at;
        if (m_bigEndian)
            *out = std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 |
                   std::uint32_t(p[2]) << 8 | p[3];
        else
            *out = std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 |
                   std::uint32_t(p[1]) << 8 | p[0];
        return true;
    }
    std::size_t Size() const { return m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_bigEndian;
};

// The value of a one-element SHORT or LONG entry.
bool EntryNumber(const TiffView& tiff, std::size_t entry, std::uint32_t* value) {
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    if (!tiff.U16(entry + 2, &type) || !tiff.U32(entry + 4, &count) || count != 1)
        return false;
    if (type == kTypeShort) {
        std::uint16_t v = 0;
        if (!tiff.U16(entry + 8, &v))
            return false;
        *value = v;
        return true;
    }
    if (type == kTypeLong)
        return tiff.U32(entry + 8, value);
    return false;
}

// Visits the entries of the IFD at `offset`; returns the offset of the next
// IFD (0 when there is none or the IFD is damaged).
template <typename Visit>
std::uint32_t WalkIfd(const TiffView& tiff, std::uint32_t offset, Visit visit) {
    std::uint16_t count = 0;
    if (offset < 8 || !tiff.U16(offset, &count))
        return 0;
    const std::size_t first = std::size_t(offset) + 2;
    const std::size_t room = tiff.Size() - first;
    if (room / kIfdEntrySize < count)
        return 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = first + i * kIfdEntrySize;
        std::uint16_t tag = 0;
        tiff.U16(entry, &tag);
        visit(tag, entry);
    }
    std::uint32_t next = 0;
    if (!tiff.U32(first + count * kIfdEntrySize, &next) || next == offset)
        return 0;
    return next;
}

bool IsFrameMarker(std::uint8_t marker) {
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

ExifData ParseExifTiff(const std::uint8_t* tiff, std::size_t size) {
    ExifData result;
    if (!tiff || size < 8)
        return result;
    bool bigEndian = false;
    if (std::memcmp(tiff, "II*\0", 4) == 0)
        bigEndian = false;
    else if (std::memcmp(tiff, "MM\0*", 4) == 0)
        bigEndian = true;
    else
        return result;
    const TiffView view(tiff, size, bigEndian);
    std::uint32_t ifd0 = 0;
    view.U32(4, &ifd0);

    const std::uint32_t ifd1 = WalkIfd(view, ifd0, [&](std::uint16_t tag, std::size_t entry) {
        std::uint32_t value = 0;
        if (tag == kTagOrientation && EntryNumber(view, entry, &value) && value >= 1 && value <= 8)
            result.orientation = int(value);
    });

    std::uint32_t thumbOffset = 0;
    std::uint32_t thumbLength = 0;
    if (ifd1 != 0) {
        WalkIfd(view, ifd1, [&](std::uint16_t tag, std::size_t entry) {
            if (tag == kTagThumbnailOffset)
                EntryNumber(view, entry, &thumbOffset);
            else if (tag == kTagThumbnailLength)
                EntryNumber(view, entry, &thumbLength);
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
        if (data[pos] != 0xFF)
            break; // garbage where a marker belongs: stop, libjpeg judges the rest
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
