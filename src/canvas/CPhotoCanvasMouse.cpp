// CPhotoCanvas: mouse input. The Qt events forward to handlers that take plain
// points, which the tests call directly.
#include "canvas/CPhotoCanvas.h"

#include <QMouseEvent>

namespace {
POINT ToPoint(const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    return POINT{p.x(), p.y()};
}
} // namespace

void CPhotoCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(ToPoint(event));
    QWidget::mousePressEvent(event);
}

void CPhotoCanvas::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(ToPoint(event), (event->buttons() & Qt::LeftButton) != 0);
    QWidget::mouseMoveEvent(event);
}

void CPhotoCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(ToPoint(event));
    QWidget::mouseReleaseEvent(event);
}

void CPhotoCanvas::OnLButtonDown(POINT q) {
    m_ptLast = q;
    // A new drag starts with no fraction left over from the previous one.
    m_panRemainder[0] = 0.0;
    m_panRemainder[1] = 0.0;
    switch (CurrentTool()) {
    case ToolDrag: // panning happens on mouse moves
    default:
        break;
    }
}

void CPhotoCanvas::OnMouseMove(POINT q, bool leftHeld) {
    const int32_t tool = CurrentTool();
    if (leftHeld && m_dib.HasPicture() && tool == ToolDrag) {
        PanBy(q);
    } else if (tool == ToolDimension && m_bFirstPoint == 1) {
        update(); // the rubber band follows the cursor
    }
}

void CPhotoCanvas::OnLButtonUp(POINT) {}
