#pragma once
// The one reader of Exif's TIFF structure: the header ("II*\0" little-endian
// or "MM\0*" big-endian; anything else is no Exif), the IFDs and their
// entries. Every read checks that it stays inside the bytes given.

#include <cstddef>
#include <cstdint>
#include <string>

// The tags and types more than one reader of the structure needs.
constexpr std::uint16_t kTagOrientation = 0x0112;
constexpr std::uint16_t kTagExifIfd = 0x8769;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;

struct TiffEntry {
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::size_t at = 0;          // of the 12-byte entry itself
    std::size_t valueAt = 0;     // of the value: inside the entry, or where it points
    std::size_t valueBytes = 0;  // 0: an unknown type, or a value outside the bytes
    std::size_t elementSize = 0; // bytes per number (1, 2, 4 or 8); 0 for an unknown type
};

class TiffView {
public:
    // An invalid view (Valid() false) when the header is not a TIFF header.
    TiffView(const std::uint8_t* data, std::size_t size);

    bool Valid() const { return m_valid; }
    bool BigEndian() const { return m_bigEndian; }
    const std::uint8_t* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }
    std::uint32_t FirstIfd() const { return m_firstIfd; }

    bool U16(std::size_t at, std::uint16_t* out) const;
    bool U32(std::size_t at, std::uint32_t* out) const;

    // Entries of the IFD at `offset`, in file order, through `visit`; the
    // offset of the next IFD, or 0 when there is none or the IFD is damaged
    // (then nothing is visited).
    template <typename Visit> std::uint32_t WalkIfd(std::uint32_t offset, Visit visit) const {
        std::uint16_t count = 0;
        if (!m_valid || offset < 8 || !U16(offset, &count))
            return 0;
        const std::size_t first = std::size_t(offset) + 2;
        if ((m_size - first) / 12 < count)
            return 0;
        for (std::size_t i = 0; i < count; ++i)
            visit(Entry(first + i * 12));
        std::uint32_t next = 0;
        if (!U32(first + count * std::size_t(12), &next) || next == offset)
            return 0;
        return next;
    }

    // A one-element SHORT or LONG value.
    bool Number(const TiffEntry& entry, std::uint32_t* value) const;
    // A pointer to another IFD: one LONG or IFD element.
    bool IfdPointer(const TiffEntry& entry, std::uint32_t* offset) const;
    // An ASCII value up to its first NUL; empty when of another type.
    std::string Ascii(const TiffEntry& entry) const;

private:
    TiffEntry Entry(std::size_t at) const;

    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_valid = false;
    bool m_bigEndian = false;
    std::uint32_t m_firstIfd = 0;
};
