#include "document/Records.h"

#include <cmath>
#include <cstring>
#include <utility>

// "新信息" in code page 950.
const char kNewNoteTitle[] = "\xB7\x73\xAB\x48\xAE\xA7";

bool operator==(const Dimension& a, const Dimension& b) {
    return std::memcmp(&a, &b, sizeof(Dimension)) == 0;
}

bool operator==(const InfoNote& a, const InfoNote& b) {
    return std::memcmp(&a, &b, sizeof(InfoNote)) == 0;
}

InfoNote MakeNewNote(POINT anchor, const LOGFONTA& font) {
    InfoNote note;
    std::memcpy(note.title, kNewNoteTitle, sizeof(kNewNoteTitle));
    note.anchor = anchor;
    note.font = font;
    return note;
}

bool DirectionNeedsExchange(double angle) {
    // -75 and +105 degrees with pi taken as 3.1415926.
    constexpr double kLowerBound = -1.3089969166666666;
    constexpr double kUpperBound = 1.8325956833333334;
    return angle < kLowerBound || angle > kUpperBound;
}

void NormalizeDimensionEnds(Dimension& dim) {
    // Differences in 64 bits: coordinates read from a file may be extreme.
    const int64_t dx = static_cast<int64_t>(dim.end.x) - dim.start.x;
    const int64_t dy = static_cast<int64_t>(dim.end.y) - dim.start.y;
    const double a = -std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    if (DirectionNeedsExchange(a))
        std::swap(dim.start, dim.end);
}
