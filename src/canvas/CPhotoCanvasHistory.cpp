// CPhotoCanvas: what an undo or redo shows. The records it changed become the
// selection and are brought into view when they lie outside the visible part;
// the main dialog then shows them in the panel.
#include "canvas/CPhotoCanvas.h"

#include <algorithm>

namespace {
bool Outside(const RECT& visible, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return right < visible.left || left >= visible.right || bottom < visible.top ||
           top >= visible.bottom;
}
} // namespace

void CPhotoCanvas::Undo() {
    FinishDrag();
    m_model.History().Undo();
}

void CPhotoCanvas::Redo() {
    FinishDrag();
    m_model.History().Redo();
}

void CPhotoCanvas::ShowStep(const ShownStep& step) {
    // A drag in progress does not go on with records that changed under it.
    m_bDragging = 0;
    m_nHandle = -1;

    if (HasPhoto() && !step.keepSelection) {
        if (const InfoNote* note = SelectedNote()) {
            if (Outside(m_rcSrc, note->anchor.x, note->anchor.y, note->anchor.x, note->anchor.y))
                CentreOn(note->anchor);
        } else if (const Dimension* dim = SelectedDimension()) {
            const int64_t left = std::min(dim->start.x, dim->end.x);
            const int64_t right = std::max(dim->start.x, dim->end.x);
            const int64_t top = std::min(dim->start.y, dim->end.y);
            const int64_t bottom = std::max(dim->start.y, dim->end.y);
            if (Outside(m_rcSrc, left, top, right, bottom))
                CentreOn(POINT{static_cast<int32_t>((left + right) / 2),
                               static_cast<int32_t>((top + bottom) / 2)});
        }
    }
    update();
    Q_EMIT historyShown();
}
