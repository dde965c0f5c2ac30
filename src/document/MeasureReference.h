#pragma once
// What gives lines without a typed value their length: one dimension whose
// value is a known length, and/or one rectangle of known size seen in
// perspective. A plane, when there is one, takes precedence.

#include "platform/WinTypes.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

struct ReferencePlane {
    // Image pixel coordinates on the upright photo, ordered round the
    // rectangle: the rectangle's (0,0), (width,0), (width,height), (0,height).
    POINT corners[4] = {};
    double width = 0;  // mm, along corners[0] -> corners[1]
    double height = 0; // mm, along corners[1] -> corners[2]
};
bool operator==(const ReferencePlane& a, const ReferencePlane& b);
inline bool operator!=(const ReferencePlane& a, const ReferencePlane& b) {
    return !(a == b);
}

// A tag of the extension block this version does not know: kept as read and
// written back unchanged.
struct UnknownTag {
    uint32_t tag = 0;
    QByteArray payload;
};

struct MeasureReference {
    int dimension = -1; // index of the reference dimension, -1: none
    bool hasPlane = false;
    ReferencePlane plane;
    std::vector<UnknownTag> unknownTags;

    // Nothing to store: the file is written without an extension block.
    bool IsEmpty() const { return dimension < 0 && !hasPlane && unknownTags.empty(); }
    bool HasReference() const { return dimension >= 0 || hasPlane; }

    // The reference dimension keeps naming the same record when the list
    // changes: the dimension at `index` was removed (the reference goes with
    // it) or one was inserted there (`isReference`: it is the reference).
    void DimensionRemoved(int index);
    void DimensionInserted(int index, bool isReference);
};
bool operator==(const MeasureReference& a, const MeasureReference& b);
inline bool operator!=(const MeasureReference& a, const MeasureReference& b) {
    return !(a == b);
}
