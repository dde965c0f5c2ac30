// CPhotoCanvas: mouse input. The Qt events forward to handlers that take plain
// points, which the tests call directly.
//
// Drag tool: the photo follows the mouse while the left button is held.
// Dimension tool: two clicks give the end points of a new dimension.
// Note tool: one click places a new note.
// Area and angle tools: see CPhotoCanvasShapes.cpp.
// Select tool: a click picks the first note, else the first dimension, under
// the pointer and starts dragging it; the drag ends at the left button's
// release, wherever the pointer is by then.
#include "canvas/CPhotoCanvas.h"

#include "canvas/HitTest.h"
#include "canvas/ViewModel.h"

#include <QMouseEvent>
#include <algorithm>
#include <iterator>

namespace {
POINT ToPoint(const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    return POINT{p.x(), p.y()};
}
} // namespace

void CPhotoCanvas::mousePressEvent(QMouseEvent* event) {
    const POINT q = ToPoint(event);
    // The middle button drags the photo in any tool; the tool stays as it is.
    if (m_panButton == Qt::NoButton && event->button() == Qt::MiddleButton) {
        BeginPan(q, event->button());
    } else if (event->button() == Qt::LeftButton && m_panButton == Qt::NoButton) {
        OnLButtonDown(q);
    }
    QWidget::mousePressEvent(event);
}

void CPhotoCanvas::mouseMoveEvent(QMouseEvent* event) {
    const POINT q = ToPoint(event);
    if (m_panButton != Qt::NoButton) {
        if (event->buttons() & m_panButton) {
            if (HasPhoto())
                PanBy(q);
        } else {
            m_panButton = Qt::NoButton; // the release went elsewhere
        }
    } else {
        OnMouseMove(q, (event->buttons() & Qt::LeftButton) != 0,
                    (event->modifiers() & Qt::ShiftModifier) != 0);
    }
    UpdateCursorHint(q);
    QWidget::mouseMoveEvent(event);
}

void CPhotoCanvas::mouseReleaseEvent(QMouseEvent* event) {
    // Qt delivers the release to the widget that took the press, so a drag
    // ends even when the button is let go outside the canvas.
    const POINT q = ToPoint(event);
    if (m_panButton != Qt::NoButton) {
        if (event->button() == m_panButton)
            m_panButton = Qt::NoButton;
    } else if (event->button() == Qt::LeftButton) {
        OnLButtonUp(q);
    }
    UpdateCursorHint(q);
    QWidget::mouseReleaseEvent(event);
}

void CPhotoCanvas::BeginPan(POINT q, Qt::MouseButton button) {
    m_model.History().EndRun();
    m_panButton = button;
    m_ptLast = q;
    m_panRemainder[0] = 0.0;
    m_panRemainder[1] = 0.0;
    SetCursorHint(CursorHintPanning);
}

void CPhotoCanvas::OnLButtonDown(POINT q) {
    // A click ends a run of typing or key nudges: what follows is a new step.
    m_model.History().EndRun();
    m_ptLast = q;
    // A new drag starts with no fraction left over from the previous one.
    m_panRemainder[0] = 0.0;
    m_panRemainder[1] = 0.0;
    if (PlacingPlaneCorners()) {
        PlacePlaneCorner(q);
        return;
    }
    switch (CurrentTool()) {
    case ToolDimension:
        PlaceDimensionPoint(q);
        break;
    case ToolNote:
        PlaceNote(q);
        break;
    case ToolArea:
    case ToolAngle:
        PlaceShapePoint(q);
        break;
    case ToolSelect:
        // An end point's handle wins over every record under it.
        if (BeginHandleDrag(q))
            break;
        SelectAt(q);
        if (m_bDragging == 1)
            m_model.BeginRecordDrag();
        break;
    case ToolDrag: // panning happens on mouse moves
    default:
        break;
    }
}

void CPhotoCanvas::OnMouseMove(POINT q, bool leftHeld, bool shiftHeld) {
    const int32_t tool = CurrentTool();
    if (leftHeld && HasPhoto() && tool == ToolDrag) {
        PanBy(q);
    } else if ((tool == ToolDimension && m_bFirstPoint == 1) ||
               ((tool == ToolArea || tool == ToolAngle) && PlacingShape())) {
        update(); // the rubber band follows the cursor
    } else if (tool == ToolSelect && m_bDragging == 1) {
        if (!leftHeld) {
            // The release was missed (another window took it): the drag is
            // over, and a move with no button held never moves a record.
            FinishDrag();
            return;
        }
        if (m_nHandle >= 0)
            DragHandle(q, shiftHeld);
        else
            DragSelection(q);
    }
}

void CPhotoCanvas::OnLButtonUp(POINT) {
    if (CurrentTool() == ToolSelect)
        FinishDrag();
}

void CPhotoCanvas::FinishDrag() {
    if (m_bDragging == 1 && m_nHandle >= kPlaneHandleFirst && m_nHandle < kShapeHandleFirst) {
        FinishPlaneDrag();
    } else if (m_bDragging == 1) {
        // The ends are stored as every dimension is; the handle follows the
        // end it moved when they swap.
        m_model.FinishRecordDrag(m_nHandle >= 0 && m_nHandle < kShapeHandleFirst);
        if (m_nHandle >= 0)
            update();
    }
    m_bDragging = 0;
    m_nHandle = -1;
}

void CPhotoCanvas::PlaceDimensionPoint(POINT q) {
    const POINT p = MapPoint(q, true);
    if (m_bFirstPoint == 0) {
        // Nothing is drawn yet: the rubber band starts with the next move.
        m_pendingDim.start = p;
        m_bFirstPoint = 1;
        return;
    }
    m_pendingDim.end = p;
    NormalizeDimensionEnds(m_pendingDim);
    m_pendingDim.font = m_logFont;
    Dimension added = m_pendingDim; // colour: the current drawing colour
    std::fill(std::begin(added.value), std::end(added.value), '\0');
    m_bFirstPoint = 0;
    m_model.AddDimension(added);
    update();
    PostNotify(CN_DIMENSION_ADDED);
}

void CPhotoCanvas::PlaceNote(POINT q) {
    m_model.AddNote(MakeNewNote(MapPoint(q, true), m_logFont));
    PostNotify(CN_NOTE_ADDED);
    update();
}

void CPhotoCanvas::SelectAt(POINT q) {
    const POINT p = MapPoint(q, true);
    const ViewMapping view = View();

    // Notes first: a note lying over a dimension takes the click. A note is
    // hit inside its box as drawn on the screen.
    const PhotoInfo& info = m_model.Info();
    const int32_t noteCount = static_cast<int32_t>(info.notes.size());
    for (int32_t i = 0; i < noteCount; ++i) {
        const InfoNote& note = info.notes[static_cast<size_t>(i)];
        if (!HitTestNote(note, q, m_renderer, &view))
            continue;
        m_model.SelectDimension(-1);
        m_model.SelectArea(-1);
        m_model.SelectAngle(-1);
        m_model.SelectNote(i);
        m_logFont = note.font;
        PostNotify(CN_NOTE_SELECTED);
        update();
        m_bDragging = 1;
        return;
    }

    const int32_t dimCount = static_cast<int32_t>(info.dimensions.size());
    for (int32_t i = 0; i < dimCount; ++i) {
        const Dimension& dim = info.dimensions[static_cast<size_t>(i)];
        if (!HitTestDimension(dim, p, m_fZoom, m_renderer.Measurer()))
            continue;
        m_model.SelectNote(-1);
        m_model.SelectArea(-1);
        m_model.SelectAngle(-1);
        if (m_model.SelDim() != i) {
            m_model.SelectDimension(i);
            update();
        }
        m_logFont = dim.font;
        PostNotify(CN_DIMENSION_SELECTED);
        m_bDragging = 1;
        return;
    }

    // Then angles and areas, which lie under the dimensions and notes.
    if (SelectShapeAt(p))
        return;
    m_model.SelectNote(-1);
    m_model.SelectDimension(-1);
    m_model.SelectArea(-1);
    m_model.SelectAngle(-1);
    PostNotify(CN_NOTHING_SELECTED);
    update();
}

void CPhotoCanvas::DragSelection(POINT q) {
    // The pan's remainder keeps the fractions of a photo pixel, so slow
    // movements at zooms above 1 still move the record.
    m_model.MoveSelection(viewmodel::TakeWholePixels(m_ptLast, q, m_fZoom, m_panRemainder));
    update();
}

void CPhotoCanvas::NudgeSelection(int32_t dx, int32_t dy) {
    if (!SelectedDimension() && !SelectedNote() && !m_model.SelectedArea() &&
        !m_model.SelectedAngle())
        return;
    m_model.NudgeSelection(dx, dy);
    update();
}
