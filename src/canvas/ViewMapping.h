#pragma once
// The mapping between photo coordinates (integer photo pixels) and view
// coordinates (integer client pixels of the canvas). Products and quotients
// are formed in double from the 32-bit float zoom and truncated toward zero.

#include "platform/WinTypes.h"

struct ViewMapping {
    float zoom = 1.0f;
    RECT src; // visible part of the photo, photo coordinates
    RECT dst; // where it is drawn, view coordinates

    POINT PhotoToView(POINT p) const {
        return POINT{static_cast<int32_t>((p.x - static_cast<double>(src.left)) * zoom) + dst.left,
                     static_cast<int32_t>((p.y - static_cast<double>(src.top)) * zoom) + dst.top};
    }
    POINT ViewToPhoto(POINT p) const {
        return POINT{static_cast<int32_t>((p.x - static_cast<double>(dst.left)) / zoom) + src.left,
                     static_cast<int32_t>((p.y - static_cast<double>(dst.top)) / zoom) + src.top};
    }
};
