// Escape and closing. Escape only returns to the drag tool and leaves the
// window open; closing (the close box, Alt+F4, the exit command) asks about
// unsaved records and then ends the window. Both come to OnCancel, the
// window's cancel action: m_bCancelCloses is 0 only while Escape is being
// answered (the tool change drops an area or angle being placed). Return
// closes nothing either; Backspace takes back a shape's last point.

#include "dialog/CMeasureDlg.h"

#include <QKeyEvent>

bool CMeasureDlg::event(QEvent* event) {
    // Escape, pressed in the window or in any control that leaves it to the
    // window. Only the press counts, so the next close request still closes.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
        m_bCancelCloses = 0;
        OnCancel();
        event->accept();
        return true;
    }
    return QDialog::event(event);
}

void CMeasureDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept(); // no default button: Return does nothing here
        return;
    }
    // Backspace that no edit box took: the last corner of an area (or point
    // of an angle) being placed goes.
    if (event->key() == Qt::Key_Backspace && m_canvas.PlacingShape()) {
        m_canvas.RemoveLastShapePoint();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMeasureDlg::reject() {
    // The close box and Alt+F4 come here through QDialog::closeEvent.
    OnCancel();
}

void CMeasureDlg::accept() {
    OnOK();
}

void CMeasureDlg::OnOK() {
    // Enter never closes the main window.
}

void CMeasureDlg::OnCancel() {
    if (m_bCancelCloses) {
        CloseWindow();
        return;
    }
    // Escape also drops the corners of a reference plane placed so far.
    m_canvas.CancelPlaneCorners();
    m_nTool = ToolDrag;
    UpdateData(false);
    OnToolChange();
    m_bCancelCloses = 1;
}

void CMeasureDlg::OnExit() {
    CloseWindow();
}

void CMeasureDlg::CloseWindow() {
    // Changed records are saved or given up at the user's word first.
    if (!ConfirmDiscardChanges())
        return;
    // A picture being written is finished first, and its outcome told.
    FinishFileJobs();
    QDialog::reject();
}
