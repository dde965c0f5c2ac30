// CPhotoCanvas: the wheel zooms at the pointer; keys with the canvas focused:
// Delete and Backspace delete the selected record, the arrows move it by one
// photo pixel (ten with Shift), Space held lets the left button drag the
// photo. Keys that type text belong to the selected record's edit box.
#include "canvas/CPhotoCanvas.h"

#include <QKeyEvent>
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

void CPhotoCanvas::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool shift = mods == Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Space:
        if (mods == Qt::NoModifier) {
            m_bSpaceHeld = true;
            if (m_panButton == Qt::NoButton)
                SetCursorHint(CursorHintPanReady);
            event->accept();
            return;
        }
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (mods == Qt::NoModifier) {
            if (SelectedDimension() || SelectedNote())
                Q_EMIT deleteRequested();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (mods == Qt::NoModifier || shift) {
            const int32_t step = shift ? 10 : 1;
            const int key = event->key();
            NudgeSelection(key == Qt::Key_Left    ? -step
                           : key == Qt::Key_Right ? step
                                                  : 0,
                           key == Qt::Key_Up     ? -step
                           : key == Qt::Key_Down ? step
                                                 : 0);
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    // Text typed on the canvas goes to the selected record's edit box.
    const QString text = event->text();
    if ((mods & ~Qt::ShiftModifier) == Qt::NoModifier && !text.isEmpty() && text.at(0).isPrint() &&
        (SelectedDimension() || SelectedNote())) {
        Q_EMIT textKeyPressed(event);
        if (event->isAccepted())
            return;
    }
    QWidget::keyPressEvent(event);
}

void CPhotoCanvas::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_bSpaceHeld = false;
        if (m_panButton == Qt::NoButton)
            SetCursorHint(CursorHintTool);
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CPhotoCanvas::focusOutEvent(QFocusEvent* event) {
    // A key released elsewhere is never seen here.
    m_bSpaceHeld = false;
    m_history.EndRun();
    if (m_panButton == Qt::NoButton)
        SetCursorHint(CursorHintTool);
    QWidget::focusOutEvent(event);
}

void CPhotoCanvas::UpdateCursorHint(POINT q) {
    if (m_panButton != Qt::NoButton)
        SetCursorHint(CursorHintPanning);
    else if (m_bSpaceHeld)
        SetCursorHint(CursorHintPanReady);
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
