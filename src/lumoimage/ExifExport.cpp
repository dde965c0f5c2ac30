#include "lumoimage/ExifExport.h"

#include "lumoimage/ExifReader.h"
#include "lumoimage/JpegFile.h"
#include "lumoimage/PhotoHeadBytes.h"
#include "lumoimage/TiffReader.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kTagGpsIfd = 0x8825;
constexpr std::uint16_t kTagColorSpace = 0xA001;
constexpr std::uint16_t kTagXResolution = 0x011A;
constexpr std::uint16_t kTagYResolution = 0x011B;
constexpr std::uint16_t kTagResolutionUnit = 0x0128;
constexpr std::uint16_t kTypeRational = 5;
constexpr std::uint16_t kUnitCentimetre = 3;
// A value larger than this is no date, name or exposure figure.
constexpr std::size_t kMaxValueBytes = 1024;
// No IFD of a real photo holds more; a forged one is cut short.
constexpr std::size_t kMaxEntries = 64;
// What an APP1 segment can hold.
constexpr std::size_t kMaxPayload = 65533;

// IFD0: make, model, date and time.
constexpr std::uint16_t kIfd0Kept[] = {0x010F, 0x0110, 0x0132};
// Exif IFD: exposure time, f-number, exposure program, ISO, the capture and
// digitized dates with their zones and fractions, shutter and aperture,
// exposure bias, maximum aperture, metering, flash, focal length, exposure
// mode, white balance, 35 mm focal length, lens (LensSpecification), make, model.
constexpr std::uint16_t kExifKept[] = {
    0x829A, 0x829D, 0x8822, 0x8827, 0x9003, 0x9004, 0x9010, 0x9011, 0x9012, 0x9201, 0x9202, 0x9204,
    0x9205, 0x9207, 0x9209, 0x920A, 0x9291, 0x9292, 0xA402, 0xA403, 0xA405, 0xA432, 0xA433, 0xA434};

struct OutEntry {
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::string value; // little-endian bytes
};

void PutU16(std::string* out, std::uint32_t v) {
    out->push_back(char(v & 0xFF));
    out->push_back(char(v >> 8 & 0xFF));
}
void PutU32(std::string* out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// The entry's value turned little-endian, number by number.
bool Copy(const TiffView& view, const TiffEntry& entry, OutEntry* out) {
    if (entry.valueBytes == 0 || entry.valueBytes > kMaxValueBytes || entry.elementSize == 0)
        return false;
    out->tag = entry.tag;
    out->type = entry.type;
    out->count = entry.count;
    out->value.clear();
    const std::uint8_t* p = view.Data() + entry.valueAt;
    for (std::size_t i = 0; i < entry.valueBytes; i += entry.elementSize)
        for (std::size_t b = 0; b < entry.elementSize; ++b)
            out->value.push_back(
                char(view.BigEndian() ? p[i + entry.elementSize - 1 - b] : p[i + b]));
    return true;
}

OutEntry Number(std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
    OutEntry e{tag, type, 1, {}};
    if (type == kTypeShort)
        PutU16(&e.value, value);
    else
        PutU32(&e.value, value);
    return e;
}

OutEntry Rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator) {
    OutEntry e{tag, kTypeRational, 1, {}};
    PutU32(&e.value, numerator);
    PutU32(&e.value, denominator);
    return e;
}

template <std::size_t N> bool Kept(const std::uint16_t (&tags)[N], std::uint16_t tag) {
    return std::find(std::begin(tags), std::end(tags), tag) != std::end(tags);
}

std::size_t IfdBytes(const std::vector<OutEntry>& ifd) {
    std::size_t bytes = 2 + 12 * ifd.size() + 4;
    for (const OutEntry& e : ifd)
        if (e.value.size() > 4)
            bytes += (e.value.size() + 1) & ~std::size_t(1);
    return bytes;
}

// Appends the IFD (entries in tag order) and then its values, to `out`
// which already holds everything before it.
void PutIfd(std::vector<OutEntry> ifd, std::string* out) {
    std::sort(ifd.begin(), ifd.end(),
              [](const OutEntry& a, const OutEntry& b) { return a.tag < b.tag; });
    std::size_t valueAt = out->size() + 2 + 12 * ifd.size() + 4;
    std::string values;
    PutU16(out, std::uint32_t(ifd.size()));
    for (const OutEntry& e : ifd) {
        PutU16(out, e.tag);
        PutU16(out, e.type);
        PutU32(out, e.count);
        if (e.value.size() <= 4) {
            out->append(e.value);
            out->append(4 - e.value.size(), '\0');
            continue;
        }
        PutU32(out, std::uint32_t(valueAt + values.size()));
        values.append(e.value);
        if (values.size() % 2)
            values.push_back('\0');
    }
    PutU32(out, 0); // no next IFD: the thumbnail's IFD1 is not kept
    out->append(values);
}

} // namespace

QByteArray ExportExifPayload(const std::uint8_t* tiff, std::size_t size, bool keepLocation,
                             const ExifResolution* resolution) {
    const TiffView view(tiff, size);
    if (!view.Valid() && !resolution)
        return QByteArray();
    std::vector<OutEntry> ifd0{Number(kTagOrientation, kTypeShort, 1)};
    if (resolution) {
        ifd0.push_back(
            Rational(kTagXResolution, resolution->pixelsPerCm, resolution->perCmDenominator));
        ifd0.push_back(
            Rational(kTagYResolution, resolution->pixelsPerCm, resolution->perCmDenominator));
        ifd0.push_back(Number(kTagResolutionUnit, kTypeShort, kUnitCentimetre));
    }
    std::vector<OutEntry> exif{Number(kTagColorSpace, kTypeShort, 1)};
    std::vector<OutEntry> gps;
    std::uint32_t exifAt = 0, gpsAt = 0;
    OutEntry copied;
    if (view.Valid())
        view.WalkIfd(view.FirstIfd(), [&](const TiffEntry& entry) {
            if (Kept(kIfd0Kept, entry.tag) && ifd0.size() < kMaxEntries &&
                Copy(view, entry, &copied))
                ifd0.push_back(copied);
            else if (entry.tag == kTagExifIfd)
                view.IfdPointer(entry, &exifAt);
            else if (entry.tag == kTagGpsIfd)
                view.IfdPointer(entry, &gpsAt);
        });
    if (exifAt != 0)
        view.WalkIfd(exifAt, [&](const TiffEntry& entry) {
            if (Kept(kExifKept, entry.tag) && exif.size() < kMaxEntries &&
                Copy(view, entry, &copied))
                exif.push_back(copied);
        });
    if (keepLocation && gpsAt != 0)
        view.WalkIfd(gpsAt, [&](const TiffEntry& entry) {
            if (gps.size() < kMaxEntries && Copy(view, entry, &copied))
                gps.push_back(copied);
        });

    // IFD0 (with its pointers), then the Exif IFD, then the GPS IFD.
    const std::size_t ifd0Bytes = IfdBytes(ifd0) + 12 * (gps.empty() ? 1 : 2);
    const std::size_t exifBytes = IfdBytes(exif);
    ifd0.push_back(Number(kTagExifIfd, kTypeLong, std::uint32_t(8 + ifd0Bytes)));
    if (!gps.empty())
        ifd0.push_back(Number(kTagGpsIfd, kTypeLong, std::uint32_t(8 + ifd0Bytes + exifBytes)));
    std::string out("II*\0", 4);
    PutU32(&out, 8);
    PutIfd(ifd0, &out);
    PutIfd(exif, &out);
    if (!gps.empty())
        PutIfd(gps, &out);
    if (out.size() + 6 > kMaxPayload)
        return QByteArray();
    return QByteArray("Exif\0\0", 6) + QByteArray(out.data(), qsizetype(out.size()));
}

QByteArray ExportExifOfPhoto(const QString& path, bool keepLocation,
                             const ExifResolution* resolution) {
    QByteArray head;
    QString ignored;
    if (!ReadJpegFileHead(path, kPhotoHeadBytes, &head, &ignored))
        return ExportExifPayload(nullptr, 0, keepLocation, resolution);
    JpegHeaderInfo header;
    ScanJpegHeader(Bytes(head), std::size_t(head.size()), &header);
    if (header.exifLength == 0)
        return ExportExifPayload(nullptr, 0, keepLocation, resolution);
    return ExportExifPayload(Bytes(head) + header.exifOffset, header.exifLength, keepLocation,
                             resolution);
}
