#pragma once
// Plain value types with the Windows layout. Records and the photo-info file
// store these byte for byte, so their sizes are fixed.

#include <cstdint>

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const POINT& a, const POINT& b) { return !(a == b); }
};
static_assert(sizeof(POINT) == 8, "POINT is two int32");

struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    friend bool operator==(const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const RECT& a, const RECT& b) { return !(a == b); }
};

struct SIZE {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
};
