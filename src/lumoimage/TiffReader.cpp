#include "lumoimage/TiffReader.h"

#include <cstring>

namespace {

constexpr std::uint16_t kTypeAscii = 2;
constexpr std::uint16_t kTypeIfd = 13;

// Bytes per element of each TIFF type, and how many numbers make one
// element (rationals are two LONGs).
void TypeLayout(std::uint16_t type, std::size_t* numberSize, std::size_t* numbers) {
    *numbers = 1;
    switch (type) {
    case 1: // BYTE
    case 2: // ASCII
    case 6: // SBYTE
    case 7: // UNDEFINED
        *numberSize = 1;
        return;
    case 3: // SHORT
    case 8: // SSHORT
        *numberSize = 2;
        return;
    case 4:  // LONG
    case 9:  // SLONG
    case 11: // FLOAT
    case 13: // IFD
        *numberSize = 4;
        return;
    case 5:  // RATIONAL
    case 10: // SRATIONAL
        *numberSize = 4;
        *numbers = 2;
        return;
    case 12: // DOUBLE
        *numberSize = 8;
        return;
    default:
        *numberSize = 0;
        return;
    }
}

} // namespace

TiffView::TiffView(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {
    if (!data || size < 8)
        return;
    if (std::memcmp(data, "II*\0", 4) == 0)
        m_bigEndian = false;
    else if (std::memcmp(data, "MM\0*", 4) == 0)
        m_bigEndian = true;
    else
        return;
    m_valid = true;
    U32(4, &m_firstIfd);
}

bool TiffView::U16(std::size_t at, std::uint16_t* out) const {
    if (at > m_size || m_size - at < 2)
        return false;
    const std::uint8_t* p = m_data + at;
    *out = m_bigEndian ? std::uint16_t(p[0] << 8 | p[1]) : std::uint16_t(p[1] << 8 | p[0]);
    return true;
}

bool TiffView::U32(std::size_t at, std::uint32_t* out) const {
    if (at > m_size || m_size - at < 4)
        return false;
    const std::uint8_t* p = m_data + at;
    if (m_bigEndian)
        *out =
            std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
    else
        *out =
            std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    return true;
}

TiffEntry TiffView::Entry(std::size_t at) const {
    TiffEntry e;
    e.at = at;
    U16(at, &e.tag);
    U16(at + 2, &e.type);
    U32(at + 4, &e.count);
    std::size_t numbers = 1;
    TypeLayout(e.type, &e.elementSize, &numbers);
    if (e.elementSize == 0 || e.count > m_size)
        return e;
    const std::size_t bytes = std::size_t(e.count) * e.elementSize * numbers;
    std::size_t valueAt = at + 8;
    if (bytes > 4) {
        std::uint32_t pointer = 0;
        U32(at + 8, &pointer);
        valueAt = pointer;
    }
    if (valueAt <= m_size && m_size - valueAt >= bytes) {
        e.valueAt = valueAt;
        e.valueBytes = bytes;
    }
    return e;
}

bool TiffView::Number(const TiffEntry& entry, std::uint32_t* value) const {
    if (entry.count != 1 || entry.valueBytes == 0)
        return false;
    if (entry.type == kTypeShort) {
        std::uint16_t v = 0;
        if (!U16(entry.valueAt, &v))
            return false;
        *value = v;
        return true;
    }
    return entry.type == kTypeLong && U32(entry.valueAt, value);
}

bool TiffView::IfdPointer(const TiffEntry& entry, std::uint32_t* offset) const {
    return entry.count == 1 && entry.valueBytes == 4 &&
           (entry.type == kTypeLong || entry.type == kTypeIfd) && U32(entry.valueAt, offset);
}

std::string TiffView::Ascii(const TiffEntry& entry) const {
    if (entry.type != kTypeAscii || entry.valueBytes == 0)
        return std::string();
    const char* text = reinterpret_cast<const char*>(m_data + entry.valueAt);
    const void* nul = std::memchr(text, 0, entry.valueBytes);
    return std::string(text, nul ? static_cast<const char*>(nul) - text : entry.valueBytes);
}
