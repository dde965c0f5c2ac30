// CPhotoCanvas: the cursor follows what a press would do: panning, a handle
// within reach, or the current tool.
#include "canvas/CPhotoCanvas.h"

void CPhotoCanvas::UpdateCursorHint(POINT q) {
    if (m_panButton != Qt::NoButton)
        SetCursorHint(CursorHintPanning);
    else if (m_nHandle >= 0 || (m_bDragging == 0 && HandleAt(q) >= 0))
        SetCursorHint(CursorHintHandle);
    else
        SetCursorHint(CursorHintTool);
}

void CPhotoCanvas::SetCursorHint(int hint) {
    if (hint == m_nCursorHint)
        return;
    m_nCursorHint = hint;
    Q_EMIT cursorHintChanged();
}
