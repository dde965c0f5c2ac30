#include "canvas/EndPointHandles.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace handles {

namespace {
// Chebyshev distance from q to p, in view pixels.
int64_t Reach(POINT p, POINT q) {
    const int64_t dx = std::llabs(static_cast<int64_t>(q.x) - p.x);
    const int64_t dy = std::llabs(static_cast<int64_t>(q.y) - p.y);
    return dx > dy ? dx : dy;
}
} // namespace

int HandleAt(POINT start, POINT end, POINT q) {
    const int64_t limit = kHandleSize / 2 + kHandleReach;
    const int64_t toStart = Reach(start, q);
    const int64_t toEnd = Reach(end, q);
    if (toStart <= limit && toStart <= toEnd)
        return 0;
    if (toEnd <= limit)
        return 1;
    return -1;
}

POINT ConstrainTo45(POINT fixed, POINT free) {
    const double dx = static_cast<double>(free.x) - fixed.x;
    const double dy = static_cast<double>(free.y) - fixed.y;
    if (dx == 0.0 && dy == 0.0)
        return free;
    const double kEighth = std::atan(1.0); // 45 degrees
    const long octant = std::lround(std::atan2(dy, dx) / kEighth);
    // The unit direction of the nearest of the eight, then the projection of
    // the pointer onto it, to the nearest pixel.
    const double ux = std::cos(octant * kEighth);
    const double uy = std::sin(octant * kEighth);
    const int sx = std::abs(ux) < 0.5 ? 0 : (ux > 0 ? 1 : -1);
    const int sy = std::abs(uy) < 0.5 ? 0 : (uy > 0 ? 1 : -1);
    const double along = (dx * sx + dy * sy) / (sx * sx + sy * sy);
    const auto step = static_cast<int64_t>(std::llround(along));
    return POINT{static_cast<int32_t>(fixed.x + step * sx),
                 static_cast<int32_t>(fixed.y + step * sy)};
}

} // namespace handles
