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
#include <algorithm>
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

namespace {
// Draws dimension i, culled by `area`, and its reference mark.
void DrawOneDimension(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                      size_t i, bool selected, int reference, const ViewMapping* view,
                      const std::optional<QRect>& area) {
    const QByteArray& computed = renderer.Computed().Label(i);
    if (area && !DimensionBound(renderer.Measurer(), info.dimensions[i], view,
                                computed.isEmpty() ? nullptr : &computed)
                     .intersects(*area))
        return;
    renderer.DrawDimension(painter, info.dimensions[i], selected, view,
                           computed.isEmpty() ? nullptr : &computed);
    if (reference >= 0 && static_cast<size_t>(reference) == i)
        DrawReferenceMark(painter, info.dimensions[i], view);
}

void DrawOneNote(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info, size_t i,
                 bool selected, const ViewMapping* view, const std::optional<QRect>& area) {
    if (area && !NoteBound(renderer.Measurer(), info.notes[i], view).intersects(*area))
        return;
    renderer.DrawInfoNote(painter, info.notes[i], selected, view);
}

// Draws area (or angle) i, culled by `area`; the renderer's shapes are up
// to date.
void DrawOneArea(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info, size_t i,
                 bool selected, const ViewMapping* view, const std::optional<QRect>& area) {
    const AreaRecord& record = info.areas[i];
    const QString& text = renderer.Shapes().AreaLabel(i);
    const QPointF at = renderer.Shapes().AreaLabelAt(i);
    if (record.corners.empty() ||
        (area && !renderer.AreaBoundOf(record, text, at, view).intersects(*area)))
        return;
    renderer.DrawArea(painter, record, text, at, selected, view);
}

void DrawOneAngle(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info, size_t i,
                  bool selected, const ViewMapping* view, const std::optional<QRect>& area) {
    const QString& text = renderer.Shapes().AngleLabel(i);
    if (!area || renderer.AngleBoundOf(info.angles[i], text, view).intersects(*area))
        renderer.DrawAngle(painter, info.angles[i], text, selected, view);
}

bool IsSelected(int selected, size_t i) {
    return selected >= 0 && static_cast<size_t>(selected) == i;
}
} // namespace

void DrawAllDimensions(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, const ViewMapping* view) {
    const std::optional<QRect> area = PaintArea(painter);
    if (info.reference.hasPlane)
        DrawReferencePlane(painter, info.reference.plane, view);
    const int reference = UsableReferenceDimension(info.reference, info.dimensions);
    renderer.Computed().Update(info.reference, info.dimensions);
    for (size_t i = 0; i < info.dimensions.size(); ++i)
        DrawOneDimension(renderer, painter, info, i, IsSelected(selectedDim, i), reference, view,
                         area);
}

void DrawAllNotes(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                  int selectedNote, const ViewMapping* view) {
    const std::optional<QRect> area = PaintArea(painter);
    for (size_t i = 0; i < info.notes.size(); ++i)
        DrawOneNote(renderer, painter, info, i, IsSelected(selectedNote, i), view, area);
}

size_t TranslucentSteps(const PhotoInfo& info) {
    return 1 + info.areas.size();
}

size_t StepsThroughDimensions(const PhotoInfo& info) {
    return 1 + info.areas.size() + info.dimensions.size();
}

size_t RecordSteps(const PhotoInfo& info) {
    return 1 + info.areas.size() + info.dimensions.size() + info.angles.size() + info.notes.size();
}

size_t DrawRecordSteps(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, int selectedNote, const ViewMapping* view, size_t from,
                       std::chrono::steady_clock::time_point deadline, int selectedArea,
                       int selectedAngle, size_t until) {
    const std::optional<QRect> area = PaintArea(painter);
    const int reference = UsableReferenceDimension(info.reference, info.dimensions);
    renderer.Computed().Update(info.reference, info.dimensions);
    renderer.Shapes().Update(info.reference, info.dimensions, info.areas, info.angles);
    // Step 0 the plane, then areas, dimensions, angles, notes.
    const size_t areas = info.areas.size();
    const size_t dims = areas + info.dimensions.size();
    const size_t angles = dims + info.angles.size();
    const size_t end = std::min(RecordSteps(info), until);
    // The clock is read every few steps: a step without a new label takes
    // about a microsecond.
    constexpr size_t kStepsPerLook = 8;
    size_t step = from;
    for (size_t drawn = 0; step < end; ++step, ++drawn) {
        if (drawn > 0 && drawn % kStepsPerLook == 0 && std::chrono::steady_clock::now() >= deadline)
            break;
        if (step == 0) {
            if (info.reference.hasPlane)
                DrawReferencePlane(painter, info.reference.plane, view);
        } else if (step <= areas) {
            DrawOneArea(renderer, painter, info, step - 1, IsSelected(selectedArea, step - 1), view,
                        area);
        } else if (step <= dims) {
            const size_t i = step - 1 - areas;
            DrawOneDimension(renderer, painter, info, i, IsSelected(selectedDim, i), reference,
                             view, area);
        } else if (step <= angles) {
            const size_t i = step - 1 - dims;
            DrawOneAngle(renderer, painter, info, i, IsSelected(selectedAngle, i), view, area);
        } else {
            DrawOneNote(renderer, painter, info, step - 1 - angles,
                        IsSelected(selectedNote, step - 1 - angles), view, area);
        }
    }
    return step;
}

void DrawAllRecords(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                    const ViewMapping* view) {
    DrawRecordSteps(renderer, painter, info, -1, -1, view, 0,
                    std::chrono::steady_clock::time_point::max());
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
