#pragma once
// The extension block of the photo-info file, after the last note. Readers
// of the record layouts ignore what follows the last note, so every earlier
// reader still reads a file that has one.
//
// Layout (little-endian):
//   8 bytes  magic "TSMREXT\0"
//   uint32   block version (1)
//   uint32   L, length of the tags that follow
//   L bytes  tags, each: uint32 tag, uint32 P, P bytes of payload
// Tags:
//   "RLEN"   int32: index of the reference dimension
//   "RPLN"   4 x (int32 x, int32 y) ordered corners, float64 width, float64 height (mm)
//   "AREA"   one per area, in list order: uint32 colour, uint32 flags (bit 0:
//            an opening; other bits ignored), uint32 N + N bytes of name in
//            code page 950 (N <= kAreaNameBytes), the 60-byte LOGFONTA,
//            uint32 C corners (kMinAreaCorners..kMaxAreaCorners) + C x
//            (int32 x, int32 y); nothing after them
//   "ANGL"   one per angle, in list order: uint32 colour, 3 x (int32 x,
//            int32 y) (arm, vertex, other arm), the 60-byte LOGFONTA
// Written in this order: the reference's tags, the areas', the angles', then
// the tags this version does not know, kept and written back unchanged.
// Bytes after the last note that do not start with the magic are ignored.

#include "document/MeasureReference.h"
#include "document/ShapeRecords.h"

#include <QByteArray>
#include <cstddef>
#include <vector>

namespace infofile {

constexpr char kExtensionMagic[8] = {'T', 'S', 'M', 'R', 'E', 'X', 'T', '\0'};
constexpr uint32_t kExtensionVersion = 1;

constexpr uint32_t FourCc(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}
constexpr uint32_t kTagReferenceLength = FourCc("RLEN");
constexpr uint32_t kTagReferencePlane = FourCc("RPLN");
constexpr uint32_t kTagArea = FourCc("AREA");
constexpr uint32_t kTagAngle = FourCc("ANGL");

// What the extension block stores.
struct ExtensionContent {
    MeasureReference reference;
    std::vector<AreaRecord> areas;
    std::vector<AngleRecord> angles;
};

enum class ExtensionRead {
    Absent,  // no extension: the bytes after the last note are not one
    Read,    // `content` holds what it stores
    Damaged, // it starts with the magic but cannot be read; `content` untouched
};

// Reads the bytes after the last note. `dimensionCount` is the number of
// dimensions the file holds: a reference naming another is damaged.
ExtensionRead ReadExtension(const char* data, size_t size, size_t dimensionCount,
                            ExtensionContent& content);

// The block for the reference, areas and angles; empty when there is
// nothing to store (no reference, shape or unknown tag).
QByteArray WriteExtension(const MeasureReference& reference, const std::vector<AreaRecord>& areas,
                          const std::vector<AngleRecord>& angles);

} // namespace infofile
