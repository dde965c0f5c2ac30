#include "canvas/RecordDrawing.h"

#include "canvas/AnnotationRenderer.h"
#include "canvas/RecordBounds.h"
#include "document/PhotoInfo.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <optional>

namespace {
// The part of the device the painter can still change, in its logical
// coordinates; none when the transform is more than a shift.
std::optional<QRect> PaintArea(const QPainter& painter) {
    const QTransform& t = painter.worldTransform();
    const QPaintDevice* device = painter.device();
    if (t.type() > QTransform::TxTranslate || !device)
        return std::nullopt;
    QRect area = QRect(0, 0, device->width(), device->height())
                     .translated(-static_cast<int>(std::floor(t.dx())),
                                 -static_cast<int>(std::floor(t.dy())))
                     .adjusted(-1, -1, 1, 1);
    if (painter.hasClipping())
        area &= painter.clipBoundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    return area;
}
} // namespace

void DrawAllDimensions(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, const ViewMapping* view) {
    const std::optional<QRect> area = PaintArea(painter);
    for (size_t i = 0; i < info.dimensions.size(); ++i) {
        if (area &&
            !DimensionBound(renderer.Measurer(), info.dimensions[i], view).intersects(*area))
            continue;
        const bool selected = selectedDim >= 0 && static_cast<size_t>(selectedDim) == i;
        renderer.DrawDimension(painter, info.dimensions[i], selected, view);
    }
}

void DrawAllNotes(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                  int selectedNote, const ViewMapping* view) {
    const std::optional<QRect> area = PaintArea(painter);
    for (size_t i = 0; i < info.notes.size(); ++i) {
        if (area && !NoteBound(renderer.Measurer(), info.notes[i], view).intersects(*area))
            continue;
        const bool selected = selectedNote >= 0 && static_cast<size_t>(selectedNote) == i;
        renderer.DrawInfoNote(painter, info.notes[i], selected, view);
    }
}

void PrepareAllRecords(AnnotationRenderer& renderer, const PhotoInfo& info,
                       const ViewMapping* view) {
    for (const Dimension& dim : info.dimensions)
        renderer.PrepareDimension(dim, view);
    for (const InfoNote& note : info.notes)
        renderer.PrepareInfoNote(note, view);
}
