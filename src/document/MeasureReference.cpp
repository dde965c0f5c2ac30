#include "document/MeasureReference.h"

bool operator==(const ReferencePlane& a, const ReferencePlane& b) {
    for (int i = 0; i < 4; ++i)
        if (a.corners[i].x != b.corners[i].x || a.corners[i].y != b.corners[i].y)
            return false;
    return a.width == b.width && a.height == b.height;
}

bool operator==(const MeasureReference& a, const MeasureReference& b) {
    if (a.dimension != b.dimension || a.hasPlane != b.hasPlane ||
        (a.hasPlane && a.plane != b.plane) || a.unknownTags.size() != b.unknownTags.size())
        return false;
    for (size_t i = 0; i < a.unknownTags.size(); ++i)
        if (a.unknownTags[i].tag != b.unknownTags[i].tag ||
            a.unknownTags[i].payload != b.unknownTags[i].payload)
            return false;
    return true;
}

void MeasureReference::DimensionRemoved(int index) {
    if (dimension == index)
        dimension = -1;
    else if (dimension > index)
        --dimension;
}

void MeasureReference::DimensionInserted(int index, bool isReference) {
    if (dimension >= index)
        ++dimension;
    if (isReference)
        dimension = index;
}
