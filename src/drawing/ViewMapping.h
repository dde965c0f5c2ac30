#pragma once
// The mapping between photo coordinates (integer photo pixels) and view
// coordinates (integer client pixels of the canvas). Products and quotients
// are formed in double from the 32-bit float zoom and truncated toward zero.

#include "platform/WinTypes.h"

#include <QPointF>
#include <algorithm>
#include <cstdint>

struct ViewMapping {
    float zoom = 1.0f;
    RECT src; // visible part of the photo, photo coordinates
    RECT dst; // where it is drawn, view coordinates

    POINT PhotoToView(POINT p) const {
        return POINT{Offset(Trunc((p.x - static_cast<double>(src.left)) * zoom), dst.left),
                     Offset(Trunc((p.y - static_cast<double>(src.top)) * zoom), dst.top)};
    }
    POINT ViewToPhoto(POINT p) const {
        return POINT{Offset(Trunc((p.x - static_cast<double>(dst.left)) / zoom), src.left),
                     Offset(Trunc((p.y - static_cast<double>(dst.top)) / zoom), src.top)};
    }

    // The photo position under view point p, not truncated.
    QPointF ViewToPhotoExact(POINT p) const {
        return QPointF((p.x - static_cast<double>(dst.left)) / zoom + src.left,
                       (p.y - static_cast<double>(dst.top)) / zoom + src.top);
    }

private:
    // Truncation toward zero; records read from a file may lie far outside
    // the photo, so results are kept within the int32 range instead of
    // overflowing.
    static int64_t Trunc(double v) { return static_cast<int64_t>(std::clamp(v, -4.0e9, 4.0e9)); }
    static int32_t Offset(int64_t v, int32_t origin) {
        return static_cast<int32_t>(std::clamp<int64_t>(v + origin, INT32_MIN, INT32_MAX));
    }
};
