// CPhotoCanvas: the reference length and the reference plane. The plane is
// placed by four clicks on its corners (any order), then its size is asked
// for; with the select tool its corners have handles like a dimension's
// ends. Every change of the reference is one undo step.
#include "canvas/CPhotoCanvas.h"

#include "canvas/EndPointHandles.h"
#include "canvas/ViewModel.h"
#include "document/ComputedLength.h"
#include "platform/Prompts.h"

#include <QPainter>

bool CPhotoCanvas::SetReferenceDimension(int index, bool on) {
    if (!m_model.SetReferenceDimension(index, on))
        return false;
    update();
    return true;
}

void CPhotoCanvas::BeginPlaneCorners() {
    if (!HasPhoto())
        return;
    CancelPendingDimension();
    m_planeClicks.clear();
    m_bPlacingPlane = true;
    update();
}

void CPhotoCanvas::CancelPlaneCorners() {
    m_planeClicks.clear();
    m_bPlacingPlane = false;
    update();
}

void CPhotoCanvas::PlacePlaneCorner(POINT q) {
    if (!HasPhoto())
        return;
    m_planeClicks.push_back(MapPoint(q, true));
    update();
    if (m_planeClicks.size() < 4)
        return;
    const Quad clicked = {ToPointF(m_planeClicks[0]), ToPointF(m_planeClicks[1]),
                          ToPointF(m_planeClicks[2]), ToPointF(m_planeClicks[3])};
    CancelPlaneCorners();
    const QString problem = PlaneCornersProblem(clicked);
    if (!problem.isEmpty()) {
        Prompts().Message(this, problem, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    Q_EMIT planeSizeWanted(OrderCorners(clicked));
}

void CPhotoCanvas::SetReferencePlane(const Quad& corners, double widthMm, double heightMm) {
    m_model.SetReferencePlane(corners, widthMm, heightMm);
    update();
}

void CPhotoCanvas::DeleteReferencePlane() {
    if (m_model.DeleteReferencePlane())
        update();
}

int CPhotoCanvas::WriteComputedValues() {
    const int written = m_model.WriteComputedValues();
    update();
    if (written > 0)
        Q_EMIT historyShown(); // the panel shows the selected dimension's new value
    return written;
}

int CPhotoCanvas::PlaneHandleAt(POINT q) const {
    const MeasureReference& reference = m_model.Info().reference;
    if (!reference.hasPlane || CurrentTool() != ToolSelect)
        return -1;
    // As for a dimension's two ends: the nearest corner within reach.
    int best = -1;
    int64_t bestDistance = 0;
    for (int i = 0; i < 4; ++i) {
        const POINT v = MapPoint(reference.plane.corners[i], false);
        if (handles::HandleAt(v, v, q) < 0)
            continue;
        const int64_t dx = int64_t(v.x) - q.x, dy = int64_t(v.y) - q.y;
        const int64_t distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best < 0 ? -1 : kPlaneHandleFirst + best;
}

void CPhotoCanvas::DragPlaneHandle(POINT q) {
    const POINT delta = viewmodel::TakeWholePixels(m_ptLast, q, m_fZoom, m_panRemainder);
    m_handleFree.x += delta.x;
    m_handleFree.y += delta.y;
    m_model.MovePlaneCorner(m_nHandle - kPlaneHandleFirst, m_handleFree);
    update();
}

void CPhotoCanvas::FinishPlaneDrag() {
    QString problem;
    if (m_model.FinishPlaneDrag(&problem))
        return;
    // A corner dragged onto another or across the plane: it is put back.
    update();
    Prompts().Message(
        this, problem.isEmpty() ? tr("這樣四個角點不成凸四邊形，角點已放回原處。") : problem,
        QMessageBox::Ok, QMessageBox::Warning);
}

void CPhotoCanvas::DrawPlaneCorners(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Corners clicked so far: small crosses joined in click order.
    if (PlacingPlaneCorners()) {
        for (size_t i = 0; i < m_planeClicks.size(); ++i) {
            const POINT v = MapPoint(m_planeClicks[i], false);
            for (const QColor& colour : {QColor(Qt::black), QColor(Qt::white)}) {
                painter.setPen(QPen(colour, colour == Qt::black ? 3 : 1));
                painter.drawLine(v.x - 6, v.y, v.x + 6, v.y);
                painter.drawLine(v.x, v.y - 6, v.x, v.y + 6);
            }
        }
    }
    const MeasureReference& reference = m_model.Info().reference;
    if (reference.hasPlane && CurrentTool() == ToolSelect) {
        painter.setPen(QPen(QColor(32, 32, 32), 1));
        painter.setBrush(QColor(255, 255, 160));
        const int half = handles::kHandleSize / 2;
        for (const POINT& corner : reference.plane.corners) {
            const POINT v = MapPoint(corner, false);
            painter.drawRect(
                QRect(v.x - half, v.y - half, handles::kHandleSize - 1, handles::kHandleSize - 1));
        }
    }
    painter.restore();
}
