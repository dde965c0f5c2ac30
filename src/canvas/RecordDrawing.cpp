#include "canvas/RecordDrawing.h"

#include "canvas/AnnotationRenderer.h"
#include "document/PhotoInfo.h"

void DrawAllDimensions(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, const ViewMapping* view) {
    for (size_t i = 0; i < info.dimensions.size(); ++i) {
        const bool selected = selectedDim >= 0 && static_cast<size_t>(selectedDim) == i;
        renderer.DrawDimension(painter, info.dimensions[i], selected, view);
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
    for (const Dimension& dim : info.dimensions)
        renderer.PrepareDimension(dim, view);
    for (const InfoNote& note : info.notes)
        renderer.PrepareInfoNote(note, view);
}
