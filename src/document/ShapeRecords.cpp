#include "document/ShapeRecords.h"

#include <cstring>

namespace {
bool SamePoint(const POINT& a, const POINT& b) {
    return a.x == b.x && a.y == b.y;
}
bool SameFont(const LOGFONTA& a, const LOGFONTA& b) {
    return std::memcmp(&a, &b, sizeof(LOGFONTA)) == 0;
}
} // namespace

bool operator==(const AreaRecord& a, const AreaRecord& b) {
    if (a.colour != b.colour || a.opening != b.opening || a.name != b.name ||
        a.corners.size() != b.corners.size() || !SameFont(a.font, b.font))
        return false;
    for (size_t i = 0; i < a.corners.size(); ++i)
        if (!SamePoint(a.corners[i], b.corners[i]))
            return false;
    return true;
}

bool operator==(const AngleRecord& a, const AngleRecord& b) {
    return a.colour == b.colour && SamePoint(a.arm1, b.arm1) && SamePoint(a.vertex, b.vertex) &&
           SamePoint(a.arm2, b.arm2) && SameFont(a.font, b.font);
}
