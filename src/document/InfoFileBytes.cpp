#include "document/InfoFileBytes.h"

#include "platform/Cp950.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace infofile {

void StoreText(char* field, size_t capacity, const char* src, size_t n) {
    if (capacity == 0)
        return;
    const size_t len = cp950::FieldLength(src, n);
    // A text that fits needs no walk over its characters.
    const size_t kept = len < capacity ? len : cp950::CutLength(src, len, capacity - 1);
    if (kept != 0)
        std::memcpy(field, src, kept);
    std::memset(field + kept, 0, capacity - kept);
}

void ReadLogFont(const char* p, LOGFONTA& lf) {
    lf.lfHeight = qFromLittleEndian<int32_t>(p);
    lf.lfWidth = qFromLittleEndian<int32_t>(p + 4);
    lf.lfEscapement = qFromLittleEndian<int32_t>(p + 8);
    lf.lfOrientation = qFromLittleEndian<int32_t>(p + 12);
    lf.lfWeight = qFromLittleEndian<int32_t>(p + 16);
    lf.lfItalic = static_cast<uint8_t>(p[20]);
    lf.lfUnderline = static_cast<uint8_t>(p[21]);
    lf.lfStrikeOut = static_cast<uint8_t>(p[22]);
    lf.lfCharSet = static_cast<uint8_t>(p[23]);
    lf.lfOutPrecision = static_cast<uint8_t>(p[24]);
    lf.lfClipPrecision = static_cast<uint8_t>(p[25]);
    lf.lfQuality = static_cast<uint8_t>(p[26]);
    lf.lfPitchAndFamily = static_cast<uint8_t>(p[27]);
    StoreText(lf.lfFaceName, sizeof lf.lfFaceName, p + 28, 32);
}

void WriteLogFont(ByteWriter& out, const LOGFONTA& lf) {
    out.I32(lf.lfHeight);
    out.I32(lf.lfWidth);
    out.I32(lf.lfEscapement);
    out.I32(lf.lfOrientation);
    out.I32(lf.lfWeight);
    out.Byte(static_cast<char>(lf.lfItalic));
    out.Byte(static_cast<char>(lf.lfUnderline));
    out.Byte(static_cast<char>(lf.lfStrikeOut));
    out.Byte(static_cast<char>(lf.lfCharSet));
    out.Byte(static_cast<char>(lf.lfOutPrecision));
    out.Byte(static_cast<char>(lf.lfClipPrecision));
    out.Byte(static_cast<char>(lf.lfQuality));
    out.Byte(static_cast<char>(lf.lfPitchAndFamily));
    out.Bytes(lf.lfFaceName, sizeof lf.lfFaceName);
}

void AdviseBulkStorage(void* data, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr size_t kWorthIt = 4u << 20; // a few large pages at least
    if (bytes < kWorthIt)
        return;
    const auto pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (begin + pageSize - 1) & ~(pageSize - 1);
    const uintptr_t last = (begin + bytes) & ~(pageSize - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace infofile
