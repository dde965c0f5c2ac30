#include "drawing/RecordBounds.h"

#include "drawing/RenderGeometry.h"
#include "drawing/TextMeasurer.h"
#include "platform/Cp950.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// Bounds are kept within QRect's int range.
constexpr int64_t kLimit = 1 << 29;

QRect Box(int64_t l, int64_t t, int64_t r, int64_t b) {
    const auto c = [](int64_t v) { return static_cast<int>(std::clamp(v, -kLimit, kLimit)); };
    return QRect(QPoint(c(l), c(t)), QPoint(c(r), c(b)));
}
} // namespace

QRect DimensionBound(TextMeasurer& measurer, const Dimension& dim, const ViewMapping* view,
                     const QByteArray* computed) {
    const POINT p1 = view ? view->PhotoToView(dim.start) : dim.start;
    const POINT p2 = view ? view->PhotoToView(dim.end) : dim.end;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    // Arrowheads reach 10 x scale from the ends (plus rounding).
    const int64_t head = static_cast<int64_t>(std::ceil(10.0 * scale)) + 2;
    const QRect line =
        Box(int64_t(std::min(p1.x, p2.x)) - head, int64_t(std::min(p1.y, p2.y)) - head,
            int64_t(std::max(p1.x, p2.x)) + head, int64_t(std::max(p1.y, p2.y)) + head);
    // The label and the selection ellipse turn about points near the
    // midpoint: O lies within cx/2 + cy of it and the text cell reaches
    // cx + cy further; E lies within cy/2 and the ellipse reaches
    // cx/2 + cy/2 + 10 further; the halo adds 1.
    int cy = 0;
    const LOGFONTA lf = ScaledLogFont(dim.font, scale);
    const int64_t cx =
        computed
            ? measurer.WidthBoundUtf8(lf, *computed, &cy)
            : measurer.WidthBound(lf, dim.value,
                                  static_cast<int>(cp950::FieldLength(dim.value, sizeof dim.value)),
                                  &cy);
    const int64_t reach = (3 * cx) / 2 + 2 * int64_t(cy) + 12;
    const int64_t mx = (int64_t(p1.x) + p2.x) / 2;
    const int64_t my = (int64_t(p1.y) + p2.y) / 2;
    return line.united(Box(mx - reach, my - reach, mx + reach, my + reach));
}

QRect NoteBound(TextMeasurer& measurer, const InfoNote& note, const ViewMapping* view) {
    const POINT a = view ? view->PhotoToView(note.anchor) : note.anchor;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    LOGFONTA lf = ScaledLogFont(note.font, scale);
    lf.lfEscapement = lf.lfOrientation = 0;
    const int bytes = static_cast<int>(cp950::FieldLength(note.text, sizeof note.text));
    int lineHeight = 0;
    // No line is wider than the whole text; there are at most bytes + 1 lines.
    const int64_t width = measurer.WidthBound(lf, note.text, bytes, &lineHeight);
    const int64_t height = (int64_t(bytes) + 1) * lineHeight;
    const int64_t margin = 2 * NoteMargin(scale) + 4;
    return Box(int64_t(a.x) - 2, int64_t(a.y) - 2, a.x + width + margin, a.y + height + margin);
}

QRect PointsBound(const POINT* points, size_t count) {
    if (count == 0)
        return QRect();
    int64_t l = points[0].x, t = points[0].y, r = l, b = t;
    for (size_t i = 1; i < count; ++i) {
        l = std::min<int64_t>(l, points[i].x);
        t = std::min<int64_t>(t, points[i].y);
        r = std::max<int64_t>(r, points[i].x);
        b = std::max<int64_t>(b, points[i].y);
    }
    return Box(l - 2, t - 2, r + 2, b + 2);
}
