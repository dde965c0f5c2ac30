#include "drawing/ReferenceDrawing.h"

#include "document/ComputedLength.h"
#include "document/PlaneHomography.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

// The centre of the pixel a photo point names, so thin lines cover whole
// pixels instead of straddling two.
QPointF ToView(QPointF p, const ViewMapping* view) {
    if (!view)
        return p + QPointF(0.5, 0.5);
    return QPointF((p.x() - view->src.left) * view->zoom + view->dst.left + 0.5,
                   (p.y() - view->src.top) * view->zoom + view->dst.top + 0.5);
}

// Black under white: one of the two shows on any photo.
void StrokeTwice(QPainter& painter, const QPainterPath& path, int alpha, bool dashed) {
    QPen under(QColor(0, 0, 0, alpha), 3);
    painter.strokePath(path, under);
    QPen over(QColor(255, 255, 255, alpha), 1);
    if (dashed)
        over.setDashPattern({6, 4});
    painter.strokePath(path, over);
}

} // namespace

void DrawReferencePlane(QPainter& painter, const ReferencePlane& plane, const ViewMapping* view) {
    // The outline runs round the plane whatever order its corners are stored in.
    const Quad corners = OrderCorners({ToPointF(plane.corners[0]), ToPointF(plane.corners[1]),
                                       ToPointF(plane.corners[2]), ToPointF(plane.corners[3])});
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    const std::optional<PlaneHomography> h =
        PlaneHomography::FromRectangle(corners, plane.width, plane.height);
    if (h) {
        // Lines of the plane are lines on the photo: each grid line is drawn
        // between its two mapped ends.
        QPainterPath grid;
        for (int i = 1; i < kPlaneGridCells; ++i) {
            const double u = plane.width * i / kPlaneGridCells;
            const double v = plane.height * i / kPlaneGridCells;
            grid.moveTo(ToView(h->ToImage(QPointF(u, 0)), view));
            grid.lineTo(ToView(h->ToImage(QPointF(u, plane.height)), view));
            grid.moveTo(ToView(h->ToImage(QPointF(0, v)), view));
            grid.lineTo(ToView(h->ToImage(QPointF(plane.width, v)), view));
        }
        StrokeTwice(painter, grid, 70, false);
    }
    QPainterPath outline(ToView(corners[0], view));
    for (int i = 1; i < 4; ++i)
        outline.lineTo(ToView(corners[i], view));
    outline.closeSubpath();
    StrokeTwice(painter, outline, 255, true);
    painter.restore();
}

void DrawReferenceMark(QPainter& painter, const Dimension& dim, const ViewMapping* view) {
    const QPointF a = ToView(ToPointF(dim.start), view);
    const QPointF b = ToView(ToPointF(dim.end), view);
    // A quarter along the line: clear of the value's label at the middle.
    const QPointF mid = a + (b - a) / 4;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    // Grows with the zoom like the arrowheads, never smaller than legible.
    const double r = std::max(5.0, 6.0 * std::sqrt(scale));
    QPainterPath diamond(mid + QPointF(0, -r));
    diamond.lineTo(mid + QPointF(r, 0));
    diamond.lineTo(mid + QPointF(0, r));
    diamond.lineTo(mid + QPointF(-r, 0));
    diamond.closeSubpath();
    painter.save();
    // Crisp edges: whole white and black pixels round the colour.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.strokePath(diamond, QPen(Qt::black, 4));
    painter.strokePath(diamond, QPen(Qt::white, 2));
    painter.fillPath(diamond, ColorRefToQColor(dim.colour));
    painter.restore();
}
