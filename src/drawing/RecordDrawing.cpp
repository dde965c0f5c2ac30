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

size_t RecordSteps(const PhotoInfo& info) {
    return 1 + info.dimensions.size() + info.notes.size();
}

size_t DrawRecordSteps(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, int selectedNote, const ViewMapping* view, size_t from,
                       std::chrono::steady_clock::time_point deadline) {
    const std::optional<QRect> area = PaintArea(painter);
    const int reference = UsableReferenceDimension(info.reference, info.dimensions);
    renderer.Computed().Update(info.reference, info.dimensions);
    const size_t dims = info.dimensions.size();
    const size_t end = RecordSteps(info);
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
        } else if (step <= dims) {
            DrawOneDimension(renderer, painter, info, step - 1, IsSelected(selectedDim, step - 1),
                             reference, view, area);
        } else {
            DrawOneNote(renderer, painter, info, step - 1 - dims,
                        IsSelected(selectedNote, step - 1 - dims), view, area);
        }
    }
    return step;
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
