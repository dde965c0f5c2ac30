// CPhotoCanvas: loading the photo and the view state (zoom, visible part).
#include "canvas/CPhotoCanvas.h"

#include "canvas/ViewModel.h"

bool CPhotoCanvas::LoadPhoto(const QString& path) {
    // A failed load keeps the photo, the records and the view as they were.
    if (!m_dib.Load(path, 32))
        return false;
    CancelPhotoLoad(); // an earlier open never lands now
    // Drop the reduced copies of the previous photo now rather than at the
    // next paint; the new photo's are made when a view first needs them.
    m_photoView.SetPhoto(m_dib.Image());
    ResetAnnotations();
    UpdateLayout();
    return true;
}

void CPhotoCanvas::ResetAnnotations() {
    m_rcSrc = RECT{};
    // Another photo: no records, no selection, a new history.
    m_model.Clear();
    m_bFirstPoint = 0;
    m_bDragging = 0;
    m_nHandle = -1;
    // Corners of a plane being placed belong to the old photo.
    m_planeClicks.clear();
    m_bPlacingPlane = false;
}

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
