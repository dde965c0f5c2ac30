#include "lumoimage/ExifDate.h"

#include <QString>
#include <algorithm>

namespace {
class TiffView {
public:
    TiffView(const std::uint8_t* tiff, std::size_t size) : m_p(tiff), m_size(size) {
        m_little = size >= 2 && tiff[0] == 'I' && tiff[1] == 'I';
    }
    bool Has(std::size_t offset, std::size_t n) const {
        return offset <= m_size && n <= m_size - offset;
    }
    std::uint16_t U16(std::size_t o) const {
        return m_little ? static_cast<std::uint16_t>(m_p[o] | m_p[o + 1] << 8)
                        : static_cast<std::uint16_t>(m_p[o] << 8 | m_p[o + 1]);
    }
    std::uint32_t U32(std::size_t o) const {
        return m_little ? (std::uint32_t(m_p[o]) | std::uint32_t(m_p[o + 1]) << 8 |
                           std::uint32_t(m_p[o + 2]) << 16 | std::uint32_t(m_p[o + 3]) << 24)
                        : (std::uint32_t(m_p[o]) << 24 | std::uint32_t(m_p[o + 1]) << 16 |
                           std::uint32_t(m_p[o + 2]) << 8 | std::uint32_t(m_p[o + 3]));
    }
    // The offset of the entry `tag` in the IFD at `ifd`; 0 when absent.
    std::size_t Find(std::size_t ifd, std::uint16_t tag) const {
        if (!Has(ifd, 2))
            return 0;
        const unsigned count = U16(ifd);
        for (unsigned i = 0; i < count; ++i) {
            const std::size_t entry = ifd + 2 + 12 * std::size_t(i);
            if (!Has(entry, 12))
                return 0;
            if (U16(entry) == tag)
                return entry;
        }
        return 0;
    }
    // An ASCII date "YYYY:MM:DD HH:MM:SS" held by the entry.
    QDateTime Date(std::size_t entry) const {
        if (entry == 0 || U16(entry + 2) != 2) // ASCII
            return QDateTime();
        const std::uint32_t count = U32(entry + 4);
        if (count < 19)
            return QDateTime();
        const std::size_t at = count <= 4 ? entry + 8 : U32(entry + 8);
        if (!Has(at, 19))
            return QDateTime();
        const QString text = QString::fromLatin1(reinterpret_cast<const char*>(m_p + at), 19);
        return QDateTime::fromString(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    }
    const std::uint8_t* m_p;
    std::size_t m_size;
    bool m_little = false;
};

QDateTime DateFromTiff(const std::uint8_t* tiff, std::size_t size) {
    TiffView t(tiff, size);
    if (!t.Has(0, 8))
        return QDateTime();
    const std::size_t ifd0 = t.U32(4);
    if (const std::size_t exif = t.Find(ifd0, 0x8769)) {
        const QDateTime original = t.Date(t.Find(t.U32(exif + 8), 0x9003));
        if (original.isValid())
            return original;
    }
    return t.Date(t.Find(ifd0, 0x0132));
}
} // namespace

QDateTime ReadExifCaptureDate(const std::uint8_t* data, std::size_t size) {
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return QDateTime();
    std::size_t pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF)
            return QDateTime();
        const std::uint8_t marker = data[pos + 1];
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01 ||
            marker == 0xFF) {
            pos += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return QDateTime(); // image data: no Exif before it
        const std::size_t length = std::size_t(data[pos + 2]) << 8 | data[pos + 3];
        if (length < 2 || pos + 2 + length > size)
            return QDateTime();
        const std::uint8_t* payload = data + pos + 4;
        const std::size_t payloadSize = length - 2;
        if (marker == 0xE1 && payloadSize > 6 && std::equal(payload, payload + 6, "Exif\0\0"))
            return DateFromTiff(payload + 6, payloadSize - 6);
        pos += 2 + length;
    }
    return QDateTime();
}
