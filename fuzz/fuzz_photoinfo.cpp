// libFuzzer target for the photo-info reader. Whatever it reads completely
// must serialise and read back to the same records (as far as the file keeps
// them), and a failed read must leave the lists empty.

#include "document/PhotoInfo.h"
#include "document/PhotoInfoJson.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// What a dimension becomes after a save and a load: the file keeps only the
// first 10 bytes of the value, and the reader normalises the ends again.
Dimension AsReloaded(Dimension dim) {
    dim.value[10] = '\0';
    dim.value[11] = '\0';
    NormalizeDimensionEnds(dim);
    return dim;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PhotoInfo first;
    if (first.ReadBytes(reinterpret_cast<const char*>(data), size) != InfoReadStatus::Read) {
        Check(first.dimensions.empty() && first.notes.empty());
        return 0;
    }
    (void)WritePhotoInfoJson(first, [](const QByteArray&) { return true; });

    const QByteArray saved = first.Serialize();
    PhotoInfo second;
    Check(second.ReadBytes(saved.constData(), static_cast<size_t>(saved.size())) ==
          InfoReadStatus::Read);
    Check(second.dimensions.size() == first.dimensions.size());
    Check(second.notes.size() == first.notes.size());
    for (size_t i = 0; i < first.dimensions.size(); ++i)
        Check(second.dimensions[i] == AsReloaded(first.dimensions[i]));
    for (size_t i = 0; i < first.notes.size(); ++i)
        Check(second.notes[i] == first.notes[i]);

    // A second save writes as many bytes; its notes part is the same byte for byte.
    const QByteArray savedAgain = second.Serialize();
    Check(savedAgain.size() == saved.size());
    const qsizetype notesAt = 12 + 90 * static_cast<qsizetype>(first.dimensions.size());
    Check(std::memcmp(saved.constData() + notesAt, savedAgain.constData() + notesAt,
                      static_cast<size_t>(saved.size() - notesAt)) == 0);
    return 0;
}
