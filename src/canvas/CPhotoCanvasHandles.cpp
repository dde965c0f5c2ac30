// CPhotoCanvas: the handles at the ends of the selected dimension. With the
// select tool, a press on a handle drags that end alone (Shift keeps the line
// at a multiple of 45 degrees); the release stores the ends as every
// dimension is stored, and the drag is one undo step.
#include "canvas/CPhotoCanvas.h"

#include "canvas/EndPointHandles.h"
#include "canvas/ViewModel.h"

#include <QPainter>

int CPhotoCanvas::HandleAt(POINT q) const {
    if (CurrentTool() != ToolSelect || !HasPhoto())
        return -1;
    const Dimension* dim = SelectedDimension();
    const int end =
        dim ? handles::HandleAt(MapPoint(dim->start, false), MapPoint(dim->end, false), q) : -1;
    // The selected dimension's ends win over the selected shape's points,
    // and those over the plane's corners.
    if (end >= 0)
        return end;
    const int shape = ShapeHandleAt(q);
    return shape >= 0 ? shape : PlaneHandleAt(q);
}

bool CPhotoCanvas::BeginHandleDrag(POINT q) {
    const int handle = HandleAt(q);
    if (handle < 0)
        return false;
    if (handle >= kShapeHandleFirst) {
        m_nHandle = handle;
        m_handleFree = ShapePointAt(handle - kShapeHandleFirst);
        m_model.BeginRecordDrag(true);
        m_bDragging = 1;
        return true;
    }
    if (handle >= kPlaneHandleFirst) {
        m_nHandle = handle;
        m_handleFree = m_model.Info().reference.plane.corners[handle - kPlaneHandleFirst];
        m_model.BeginPlaneDrag();
        m_bDragging = 1;
        return true;
    }
    const Dimension& dim = *SelectedDimension();
    m_nHandle = handle;
    m_handleFree = handle == 0 ? dim.start : dim.end;
    m_model.BeginRecordDrag(true);
    m_bDragging = 1;
    return true;
}

void CPhotoCanvas::DragHandle(POINT q, bool shiftHeld) {
    if (m_nHandle >= kShapeHandleFirst) {
        DragShapeHandle(q);
        return;
    }
    if (m_nHandle >= kPlaneHandleFirst) {
        DragPlaneHandle(q);
        return;
    }
    Dimension* dim = SelectedDimension();
    if (!dim) {
        m_nHandle = -1;
        return;
    }
    // Whole photo pixels, the fractions kept for the next step, as record
    // drags do.
    const POINT delta = viewmodel::TakeWholePixels(m_ptLast, q, m_fZoom, m_panRemainder);
    m_handleFree.x += delta.x;
    m_handleFree.y += delta.y;
    POINT& moving = m_nHandle == 0 ? dim->start : dim->end;
    const POINT& other = m_nHandle == 0 ? dim->end : dim->start;
    moving = shiftHeld ? handles::ConstrainTo45(other, m_handleFree) : m_handleFree;
    update();
}

void CPhotoCanvas::DrawHandles(QPainter& painter) const {
    const Dimension* dim = SelectedDimension();
    if (CurrentTool() != ToolSelect)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(32, 32, 32), 1));
    painter.setBrush(Qt::white);
    DrawShapeHandles(painter);
    if (!dim) {
        painter.restore();
        return;
    }
    const int half = handles::kHandleSize / 2;
    for (const POINT& end : {dim->start, dim->end}) {
        const POINT v = MapPoint(end, false);
        // A 1-pixel outline around a white inside: 7 x 7 pixels in all.
        painter.drawRect(
            QRect(v.x - half, v.y - half, handles::kHandleSize - 1, handles::kHandleSize - 1));
    }
    painter.restore();
}
