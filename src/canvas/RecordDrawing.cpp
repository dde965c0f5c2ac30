#include "canvas/RecordDrawing.h"

#include "document/PhotoInfo.h"

#include <QPainter>

void DrawAllDimensions(QPainter& painter, const PhotoInfo& info, int selectedDim,
                       const ViewMapping* view) {
    for (size_t i = 0; i < info.dimensions.size(); ++i) {
        const bool selected = selectedDim >= 0 && static_cast<size_t>(selectedDim) == i;
        // WIRE-UP: DrawDimension(painter, info.dimensions[i], selected, view) once the
        // dimension renderer is merged.
        (void)painter, (void)selected, (void)view;
    }
}

void DrawAllNotes(QPainter& painter, const PhotoInfo& info, int selectedNote,
                  const ViewMapping* view) {
    for (size_t i = 0; i < info.notes.size(); ++i) {
        const bool selected = selectedNote >= 0 && static_cast<size_t>(selectedNote) == i;
        // WIRE-UP: DrawInfoNote(painter, info.notes[i], selected, view) once the note
        // renderer is merged.
        (void)painter, (void)selected, (void)view;
    }
}
