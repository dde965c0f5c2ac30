// EditModel: records moved by key nudges and by drags, and a reference
// plane's corner dragged. A run of nudges, and a drag from press to release,
// is one step each.
#include "editing/EditModel.h"

#include "document/ComputedLength.h"

#include <limits>

namespace {
// Records are never clamped to the photo, but a coordinate must not wrap
// around when a record read from a file already lies near the int32 limits.
int32_t MovedCoordinate(int32_t value, int32_t delta) {
    const int64_t moved = static_cast<int64_t>(value) + delta;
    if (moved > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (moved < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(moved);
}

void MovePoint(POINT& p, POINT delta) {
    p.x = MovedCoordinate(p.x, delta.x);
    p.y = MovedCoordinate(p.y, delta.y);
}

// True when the corners, in their stored order, still run round a convex
// quadrilateral the same way (a drag must not fold the plane over).
bool StillInOrder(const Quad& q) {
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF a = q[(i + 1) % 4] - q[i];
        const QPointF b = q[(i + 2) % 4] - q[(i + 1) % 4];
        const double cross = a.x() * b.y() - a.y() * b.x();
        const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
        if (s == 0 || (sign != 0 && s != sign))
            return false;
        sign = s;
    }
    return true;
}
} // namespace

void EditModel::MoveSelection(POINT delta) {
    if (Dimension* dim = SelectedDimension()) {
        MovePoint(dim->start, delta);
        MovePoint(dim->end, delta);
    }
    if (InfoNote* note = SelectedNote())
        MovePoint(note->anchor, delta);
    if (AreaRecord* area = SelectedArea())
        for (POINT& corner : area->corners)
            MovePoint(corner, delta);
    if (AngleRecord* angle = SelectedAngle()) {
        MovePoint(angle->arm1, delta);
        MovePoint(angle->vertex, delta);
        MovePoint(angle->arm2, delta);
    }
}

void EditModel::NudgeSelection(int32_t dx, int32_t dy) {
    const Dimension* dim = SelectedDimension();
    const InfoNote* note = SelectedNote();
    const AreaRecord* area = SelectedArea();
    const AngleRecord* angle = SelectedAngle();
    const Dimension dimBefore = dim ? *dim : Dimension{};
    const InfoNote noteBefore = note ? *note : InfoNote{};
    const AreaRecord areaBefore = area ? *area : AreaRecord{};
    const AngleRecord angleBefore = angle ? *angle : AngleRecord{};
    MoveSelection(POINT{dx, dy});
    if (dim || note)
        m_history.RecordsChanged(dim ? m_nSelDim : -1, dimBefore, note ? m_nSelNote : -1,
                                 noteBefore, EditRun::Nudge);
    if (area)
        m_history.ShapeChanged(m_nSelArea, areaBefore, *area, -1, EditRun::Nudge);
    if (angle)
        m_history.ShapeChanged(m_nSelAngle, angleBefore, *angle, -1, EditRun::Nudge);
}

void EditModel::BeginRecordDrag(bool endOnly) {
    m_nDragDim = -1;
    m_nDragNote = -1;
    if (const Dimension* dim = SelectedDimension()) {
        m_nDragDim = m_nSelDim;
        m_dragDimBefore = *dim;
    }
    if (const InfoNote* note = SelectedNote(); note && !endOnly) {
        m_nDragNote = m_nSelNote;
        m_dragNoteBefore = *note;
    }
    m_nDragArea = -1;
    m_nDragAngle = -1;
    if (const AreaRecord* area = SelectedArea()) {
        m_nDragArea = m_nSelArea;
        m_dragAreaBefore = *area;
    }
    if (const AngleRecord* angle = SelectedAngle()) {
        m_nDragAngle = m_nSelAngle;
        m_dragAngleBefore = *angle;
    }
}

void EditModel::FinishRecordDrag(bool normaliseEnds) {
    if (Dimension* dim = SelectedDimension(); dim && normaliseEnds)
        NormalizeDimensionEnds(*dim);
    // Press to release is one step (nothing when nothing moved).
    if (m_nDragDim >= 0 || m_nDragNote >= 0)
        m_history.RecordsChanged(m_nDragDim, m_dragDimBefore, m_nDragNote, m_dragNoteBefore);
    if (const AreaRecord* area = SelectedArea(); area && m_nDragArea == m_nSelArea)
        m_history.ShapeChanged(m_nDragArea, m_dragAreaBefore, *area);
    if (const AngleRecord* angle = SelectedAngle(); angle && m_nDragAngle == m_nSelAngle)
        m_history.ShapeChanged(m_nDragAngle, m_dragAngleBefore, *angle);
    m_nDragDim = -1;
    m_nDragNote = -1;
    m_nDragArea = -1;
    m_nDragAngle = -1;
}

void EditModel::BeginPlaneDrag() {
    m_planeDragBefore = m_info.reference;
    m_nDragDim = -1;
    m_nDragNote = -1;
}

void EditModel::MovePlaneCorner(int corner, POINT at) {
    m_info.reference.plane.corners[corner] = at;
}

bool EditModel::FinishPlaneDrag(QString* problem) {
    const POINT(&c)[4] = m_info.reference.plane.corners;
    const Quad now = {ToPointF(c[0]), ToPointF(c[1]), ToPointF(c[2]), ToPointF(c[3])};
    const QString found = PlaneCornersProblem(now);
    if (!StillInOrder(now) || !found.isEmpty()) {
        // A corner dragged onto another or across the plane: put it back.
        m_info.reference = m_planeDragBefore;
        if (problem)
            *problem = found;
        return false;
    }
    m_history.ReferenceChanged(m_planeDragBefore);
    return true;
}
