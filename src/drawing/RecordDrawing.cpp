#include "drawing/RecordDrawing.h"

#include "document/ComputedLength.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/ComputedLabels.h"
#include "drawing/RecordBounds.h"
#include "drawing/ReferenceDrawing.h"

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
    if (info.reference.hasPlane)
        DrawReferencePlane(painter, info.reference.plane, view);
    const int reference = UsableReferenceDimension(info.reference, info.dimensions);
    ComputedLabels& labels = renderer.Computed();
    labels.Update(info.reference, info.dimensions);
    for (size_t i = 0; i < info.dimensions.size(); ++i) {
        const QByteArray& computed = labels.Label(i);
        if (area && !DimensionBound(renderer.Measurer(), info.dimensions[i], view,
                                    computed.isEmpty() ? nullptr : &computed)
                         .intersects(*area))
            continue;
        const bool selected = selectedDim >= 0 && static_cast<size_t>(selectedDim) == i;
        renderer.DrawDimension(painter, info.dimensions[i], selected, view,
                               computed.isEmpty() ? nullptr : &computed);
        if (reference >= 0 && static_cast<size_t>(reference) == i)
            DrawReferenceMark(painter, info.dimensions[i], view);
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
    ComputedLabels& labels = renderer.Computed();
    labels.Update(info.reference, info.dimensions);
    for (size_t i = 0; i < info.dimensions.size(); ++i) {
        const QByteArray& computed = labels.Label(i);
        renderer.PrepareDimension(info.dimensions[i], view,
                                  computed.isEmpty() ? nullptr : &computed);
    }
    for (const InfoNote& note : info.notes)
        renderer.PrepareInfoNote(note, view);
}
