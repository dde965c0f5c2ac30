#include "canvas/ViewModel.h"

#include "canvas/CanvasTypes.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace viewmodel {

namespace {
void Offset(RECT& r, int32_t dx, int32_t dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}
} // namespace

void ClampSourceRect(RECT& src, SIZE photo) {
    int32_t dx = 0;
    int32_t dy = 0;
    if (src.left < 0)
        dx = -src.left;
    if (src.top < 0)
        dy = -src.top;
    if (src.right > photo.cx)
        dx = photo.cx - src.right;
    if (src.bottom > photo.cy)
        dy = photo.cy - src.bottom;
    Offset(src, dx, dy);
}

void UpdateLayout(SIZE client, SIZE photo, bool fit, float& zoom, RECT& src, RECT& dst) {
    const int32_t cw = client.cx;
    const int32_t ch = client.cy;
    const int32_t W = photo.cx;
    const int32_t H = photo.cy;
    if (W <= 0 || H <= 0)
        return;
    if (cw <= 0 || ch <= 0) {
        // Nothing is visible. Fitting now would make the zoom 0 and every
        // later mapping a division by zero, so the zoom and the visible part
        // wait for a real size.
        dst = RECT{};
        return;
    }
    if (fit) {
        const double zx = static_cast<double>(cw) / W;
        const double zy = static_cast<double>(ch) / H;
        zoom = static_cast<float>(zx < zy ? zx : zy);
    }
    int32_t w = static_cast<int32_t>(W * static_cast<double>(zoom));
    int32_t h = static_cast<int32_t>(H * static_cast<double>(zoom));
    int32_t sw = W;
    int32_t sh = H;
    if (w > cw) {
        w = cw;
        sw = static_cast<int32_t>(cw / static_cast<double>(zoom));
    }
    if (h > ch) {
        h = ch;
        sh = static_cast<int32_t>(ch / static_cast<double>(zoom));
    }
    dst.left = (cw - w) / 2;
    dst.top = (ch - h) / 2;
    dst.right = dst.left + w;
    dst.bottom = dst.top + h;

    src.left -= (sw - src.Width()) / 2;
    src.top -= (sh - src.Height()) / 2;
    src.right = src.left + sw;
    src.bottom = src.top + sh;
    ClampSourceRect(src, photo);
}

float ZoomAfter(int command, float zoom) {
    switch (command) {
    case ZoomIn:
        for (float step : kZoomSteps)
            if (step > zoom)
                return step;
        return zoom;
    case ZoomOut:
        for (int i = static_cast<int>(std::size(kZoomSteps)) - 1; i >= 0; --i)
            if (kZoomSteps[i] < zoom)
                return kZoomSteps[i];
        return zoom;
    case ZoomActual:
        return 1.0f;
    default:
        return zoom;
    }
}

void CentreOn(RECT& src, POINT p, SIZE photo) {
    Offset(src, p.x - (src.left + src.right) / 2, p.y - (src.top + src.bottom) / 2);
    ClampSourceRect(src, photo);
}

POINT PanBy(RECT& src, POINT& last, POINT q, float zoom, SIZE photo, double remainder[2]) {
    // The photo follows the mouse: the view scrolls against the pointer.
    const POINT moved = TakeWholePixels(last, q, zoom, remainder);
    const POINT applied{-moved.x, -moved.y};
    Offset(src, applied.x, applied.y);
    ClampSourceRect(src, photo);
    return applied;
}

POINT TakeWholePixels(POINT& last, POINT q, float zoom, double remainder[2]) {
    remainder[0] += (static_cast<double>(q.x) - last.x) / zoom;
    remainder[1] += (static_cast<double>(q.y) - last.y) / zoom;
    const POINT whole{static_cast<int32_t>(remainder[0]), static_cast<int32_t>(remainder[1])};
    remainder[0] -= whole.x;
    remainder[1] -= whole.y;
    last = q;
    return whole;
}

void KeepPhotoPointAt(RECT& src, const RECT& dst, float zoom, QPointF photoPoint, POINT cursor,
                      SIZE photo) {
    const double left = photoPoint.x() - (cursor.x - static_cast<double>(dst.left)) / zoom;
    const double top = photoPoint.y() - (cursor.y - static_cast<double>(dst.top)) / zoom;
    const auto nearest = [](double v) {
        return static_cast<int32_t>(std::clamp(std::floor(v + 0.5), -2.0e9, 2.0e9));
    };
    Offset(src, nearest(left) - src.left, nearest(top) - src.top);
    ClampSourceRect(src, photo);
}

} // namespace viewmodel
