#include "drawing/RecordDrawing.h"

#include "document/ComputedLength.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/ComputedLabels.h"
#include "drawing/ComputedShapes.h"
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

namespace {
// The shapes' labels brought up to the records; the part the painter can
// still change, as for the other records.
std::optional<QRect> PrepareShapes(AnnotationRenderer& renderer, const QPainter& painter,
                                   const PhotoInfo& info) {
    renderer.Shapes().Update(info.reference, info.dimensions, info.areas, info.angles);
    return PaintArea(painter);
}

bool Selected(int selected, size_t i) {
    return selected >= 0 && static_cast<size_t>(selected) == i;
}
} // namespace

void DrawAllAreas(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                  int selected, const ViewMapping* view) {
    if (info.areas.empty())
        return;
    const std::optional<QRect> area = PrepareShapes(renderer, painter, info);
    const ComputedShapes& shapes = renderer.Shapes();
    for (size_t i = 0; i < info.areas.size(); ++i) {
        const AreaRecord& record = info.areas[i];
        const QString& text = shapes.AreaLabel(i);
        const QPointF at = shapes.AreaLabelAt(i);
        if (record.corners.empty() ||
            (area && !renderer.AreaBoundOf(record, text, at, view).intersects(*area)))
            continue;
        renderer.DrawArea(painter, record, text, at, Selected(selected, i), view);
    }
}

void DrawAllAngles(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                   int selected, const ViewMapping* view) {
    if (info.angles.empty())
        return;
    const std::optional<QRect> area = PrepareShapes(renderer, painter, info);
    for (size_t i = 0; i < info.angles.size(); ++i) {
        const QString& text = renderer.Shapes().AngleLabel(i);
        if (!area || renderer.AngleBoundOf(info.angles[i], text, view).intersects(*area))
            renderer.DrawAngle(painter, info.angles[i], text, Selected(selected, i), view);
    }
}

void DrawAllRecords(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                    const ViewMapping* view) {
    DrawAllAreas(renderer, painter, info, -1, view);
    DrawAllDimensions(renderer, painter, info, -1, view);
    DrawAllAngles(renderer, painter, info, -1, view);
    DrawAllNotes(renderer, painter, info, -1, view);
}

bool HasRecords(const PhotoInfo& info) {
    return !info.dimensions.empty() || !info.notes.empty() || !info.areas.empty() ||
           !info.angles.empty();
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
