#pragma once
// The records beside dimensions and notes: areas (a polygon of clicked
// corners, some of them openings taken off the area that holds them) and
// angles (an arm, the vertex, the other arm). They are stored in the
// extension block after the last note, so files without them keep their
// bytes.

#include "platform/ColorRef.h"
#include "platform/LogFont.h"
#include "platform/WinTypes.h"

#include <string>
#include <vector>

// At most this many bytes of code page 950 in an area's name.
constexpr size_t kAreaNameBytes = 40;
// At least this many corners close a polygon; a stored area with more than
// kMaxAreaCorners is damage.
constexpr size_t kMinAreaCorners = 3;
constexpr size_t kMaxAreaCorners = 4096;

struct AreaRecord {
    COLORREF colour = 0;
    std::vector<POINT> corners; // photo pixels, in the order clicked
    bool opening = false;       // "開口": taken off the area that holds it
    std::string name;           // code page 950, at most kAreaNameBytes bytes
    LOGFONTA font;
};
bool operator==(const AreaRecord& a, const AreaRecord& b);
inline bool operator!=(const AreaRecord& a, const AreaRecord& b) {
    return !(a == b);
}

struct AngleRecord {
    COLORREF colour = 0;
    POINT arm1;   // the first click: a point on one arm
    POINT vertex; // the second click
    POINT arm2;   // the third click: a point on the other arm
    LOGFONTA font;
};
bool operator==(const AngleRecord& a, const AngleRecord& b);
inline bool operator!=(const AngleRecord& a, const AngleRecord& b) {
    return !(a == b);
}
