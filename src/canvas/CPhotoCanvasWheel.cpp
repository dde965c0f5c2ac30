// CPhotoCanvas: the wheel zooms at the pointer, and the cursor follows what a
// press would do. The canvas never takes the keyboard: the window's keys
// (Alt+arrows, Alt+Delete) act on the selected record wherever the focus is.
#include "canvas/CPhotoCanvas.h"

#include <QWheelEvent>

namespace {
// One notch of a wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;
} // namespace

void CPhotoCanvas::wheelEvent(QWheelEvent* event) {
    const int angle = event->angleDelta().y();
    if (!HasPhoto() || angle == 0) {
        event->ignore();
        return;
    }
    // Small steps of fine wheels and touchpads add up to a notch; turning
    // back starts counting afresh.
    if ((angle > 0) != (m_wheelAngle > 0))
        m_wheelAngle = 0;
    m_wheelAngle += angle;
    const QPoint at = event->position().toPoint();
    const POINT q{at.x(), at.y()};
    while (m_wheelAngle >= kWheelNotch) {
        m_wheelAngle -= kWheelNotch;
        ZoomAt(ZoomIn, q);
    }
    while (m_wheelAngle <= -kWheelNotch) {
        m_wheelAngle += kWheelNotch;
        ZoomAt(ZoomOut, q);
    }
    event->accept();
}

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
