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
}

void EditModel::NudgeSelection(int32_t dx, int32_t dy) {
    const Dimension* dim = SelectedDimension();
    const InfoNote* note = SelectedNote();
    if (!dim && !note)
        return;
    const Dimension dimBefore = dim ? *dim : Dimension{};
    const InfoNote noteBefore = note ? *note : InfoNote{};
    MoveSelection(POINT{dx, dy});
    m_history.RecordsChanged(dim ? m_nSelDim : -1, dimBefore, note ? m_nSelNote : -1, noteBefore,
                             EditRun::Nudge);
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
}

void EditModel::FinishRecordDrag(bool normaliseEnds) {
    if (Dimension* dim = SelectedDimension(); dim && normaliseEnds)
        NormalizeDimensionEnds(*dim);
    // Press to release is one step (nothing when nothing moved).
    m_history.RecordsChanged(m_nDragDim, m_dragDimBefore, m_nDragNote, m_dragNoteBefore);
    m_nDragDim = -1;
    m_nDragNote = -1;
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
