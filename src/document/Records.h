#pragma once
// The two kinds of record the user adds to a photo. Plain fixed-size structs,
// copied whole; the photo-info file stores their fields in this order.

#include "platform/ColorRef.h"
#include "platform/LogFont.h"
#include "platform/WinTypes.h"

struct Dimension {
    COLORREF colour = 0;
    POINT start;
    POINT end;
    char value[12] = {}; // NUL-terminated, code page 950
    LOGFONTA font;
};
static_assert(sizeof(Dimension) == 92, "Dimension keeps its 92-byte layout");

struct InfoNote {
    char title[20] = {}; // NUL-terminated, code page 950
    POINT anchor;
    char text[256] = {}; // NUL-terminated, code page 950
    LOGFONTA font;
};
static_assert(sizeof(InfoNote) == 344, "InfoNote keeps its 344-byte layout");

bool operator==(const Dimension& a, const Dimension& b);
inline bool operator!=(const Dimension& a, const Dimension& b) {
    return !(a == b);
}
bool operator==(const InfoNote& a, const InfoNote& b);
inline bool operator!=(const InfoNote& a, const InfoNote& b) {
    return !(a == b);
}

// Title of a note placed with the note tool: "新信息" in code page 950.
extern const char kNewNoteTitle[];

// A note as the note tool creates it.
InfoNote MakeNewNote(POINT anchor, const LOGFONTA& font);

// Exchanges the end points unless the direction start -> end lies within
// -75..+105 degrees (bounds computed with pi = 3.1415926, bounds included),
// so the value text written along the line never stands upside down.
void NormalizeDimensionEnds(Dimension& dim);

// The rule NormalizeDimensionEnds applies to the angle a = -atan2(dy, dx) of
// the direction start -> end (radians, counter-clockwise): true outside the
// closed range [-75, +105] degrees.
bool DirectionNeedsExchange(double angle);
