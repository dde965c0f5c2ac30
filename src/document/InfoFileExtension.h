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
// Tags this version does not know are kept and written back unchanged.
// Bytes after the last note that do not start with the magic are ignored.

#include "document/MeasureReference.h"

#include <QByteArray>
#include <cstddef>

namespace infofile {

constexpr char kExtensionMagic[8] = {'T', 'S', 'M', 'R', 'E', 'X', 'T', '\0'};
constexpr uint32_t kExtensionVersion = 1;

constexpr uint32_t FourCc(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}
constexpr uint32_t kTagReferenceLength = FourCc("RLEN");
constexpr uint32_t kTagReferencePlane = FourCc("RPLN");

enum class ExtensionRead {
    Absent,  // no extension: the bytes after the last note are not one
    Read,    // `reference` holds what it stores
    Damaged, // it starts with the magic but cannot be read; `reference` untouched
};

// Reads the bytes after the last note. `dimensionCount` is the number of
// dimensions the file holds: a reference naming another is damaged.
ExtensionRead ReadExtension(const char* data, size_t size, size_t dimensionCount,
                            MeasureReference& reference);

// The block for `reference`; empty when there is nothing to store.
QByteArray WriteExtension(const MeasureReference& reference);

} // namespace infofile
