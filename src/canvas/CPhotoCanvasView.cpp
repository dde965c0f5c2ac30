// CPhotoCanvas: the view state (zoom, visible part, where it is drawn): the
// zoom commands, the wheel zooming at the pointer, panning and centring.
// The canvas never takes the keyboard: the window's keys (Alt+arrows,
// Alt+Delete) act on the selected record wherever the focus is.
#include "canvas/CPhotoCanvas.h"

#include "canvas/ViewModel.h"

#include <QWheelEvent>

void CPhotoCanvas::UpdateLayout() {
    if (!HasPhoto())
        return;
    viewmodel::UpdateLayout(SIZE{width(), height()}, PhotoSize(), m_bFit != 0, m_fZoom, m_rcSrc,
                            m_rcDst);
}

POINT CPhotoCanvas::MapPoint(POINT pt, bool viewToPhoto) const {
    const ViewMapping view = View();
    return viewToPhoto ? view.ViewToPhoto(pt) : view.PhotoToView(pt);
}

void CPhotoCanvas::SetZoom(int command) {
    if (command == ZoomFit) {
        // Fit always takes effect. The zoom stays a real step until there is
        // a photo and a client area to fit it to (a canvas squeezed to no
        // width has none); the flag makes the next layout fit.
        m_bFit = 1;
        UpdateLayout();
        update();
        return;
    }
    const float zoom = viewmodel::ZoomAfter(command, m_fZoom);
    if (zoom == m_fZoom)
        return;
    m_bFit = 0;
    m_fZoom = zoom;
    UpdateLayout();
    update();
}

void CPhotoCanvas::ZoomAt(int command, POINT q) {
    const float zoom = viewmodel::ZoomAfter(command, m_fZoom);
    if (zoom == m_fZoom || zoom <= 0.0f || !HasPhoto())
        return;
    const ViewMapping before = View();
    m_bFit = 0;
    m_fZoom = zoom;
    UpdateLayout();
    viewmodel::KeepPhotoPointAt(m_rcSrc, m_rcDst, m_fZoom, before.ViewToPhotoExact(q), q,
                                PhotoSize());
    update();
}

void CPhotoCanvas::CentreOn(POINT p) {
    if (!HasPhoto())
        return;
    viewmodel::CentreOn(m_rcSrc, p, PhotoSize());
}

void CPhotoCanvas::PanBy(POINT q) {
    viewmodel::PanBy(m_rcSrc, m_ptLast, q, m_fZoom, PhotoSize(), m_panRemainder);
    update();
}

void CPhotoCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateLayout();
    update();
}

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
