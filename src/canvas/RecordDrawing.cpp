#include "canvas/RecordDrawing.h"

#include "canvas/AnnotationRenderer.h"
#include "canvas/ReferenceDrawing.h"
#include "document/ComputedLength.h"
#include "document/PhotoInfo.h"

namespace {

// The label of a dimension without a value under the photo's reference:
// "≈2431 ±12" or "≈?" in UTF-8 ("≈" is not in code page 950); empty: draw
// the value as it is.
QByteArray ComputedLabel(const PhotoInfo& info, size_t index) {
    if (!info.reference.HasReference())
        return QByteArray();
    return ComputeLength(info.reference, info.dimensions, index).Text().toUtf8();
}

} // namespace

void DrawAllDimensions(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, const ViewMapping* view) {
    if (info.reference.hasPlane)
        DrawReferencePlane(painter, info.reference.plane, view);
    const int reference = UsableReferenceDimension(info.reference, info.dimensions);
    for (size_t i = 0; i < info.dimensions.size(); ++i) {
        const bool selected = selectedDim >= 0 && static_cast<size_t>(selectedDim) == i;
        const QByteArray computed = ComputedLabel(info, i);
        renderer.DrawDimension(painter, info.dimensions[i], selected, view,
                               computed.isEmpty() ? nullptr : &computed);
        if (reference >= 0 && static_cast<size_t>(reference) == i)
            DrawReferenceMark(painter, info.dimensions[i], view);
    }
}

void DrawAllNotes(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                  int selectedNote, const ViewMapping* view) {
    for (size_t i = 0; i < info.notes.size(); ++i) {
        const bool selected = selectedNote >= 0 && static_cast<size_t>(selectedNote) == i;
        renderer.DrawInfoNote(painter, info.notes[i], selected, view);
    }
}

void PrepareAllRecords(AnnotationRenderer& renderer, const PhotoInfo& info,
                       const ViewMapping* view) {
    for (size_t i = 0; i < info.dimensions.size(); ++i) {
        const QByteArray computed = ComputedLabel(info, i);
        renderer.PrepareDimension(info.dimensions[i], view,
                                  computed.isEmpty() ? nullptr : &computed);
    }
    for (const InfoNote& note : info.notes)
        renderer.PrepareInfoNote(note, view);
}
