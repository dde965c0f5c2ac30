// CPhotoCanvas: the right mouse button and the context menu: the zoom and
// all-dimension commands, undo and redo, then the reference items and the
// selected area's (CPhotoCanvasShapes.cpp). The
// reference commands are carried out here; the others go to the window.
#include "canvas/CPhotoCanvas.h"
#include "document/ComputedLength.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QMenu>

void CPhotoCanvas::BuildContextMenu(QMenu& menu, bool canUndo, bool canRedo) {
    const struct {
        int command;
        const char* text;
    } items[] = {{ID_ZOOM_IN, QT_TR_NOOP("放大")},
                 {ID_ZOOM_OUT, QT_TR_NOOP("縮小")},
                 {ID_ZOOM_ACTUAL, QT_TR_NOOP("實際大小")},
                 {ID_ZOOM_FIT, QT_TR_NOOP("自適應大小")},
                 {0, nullptr},
                 {ID_ALL_DIM_FONT, QT_TR_NOOP("所有尺寸字體")},
                 {ID_ALL_DIM_COLOUR, QT_TR_NOOP("所有尺寸顏色")}};
    for (const auto& item : items) {
        if (!item.text) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(tr(item.text));
        action->setData(item.command);
    }
    // The history's entries come last, each usable only when it can act.
    menu.addSeparator();
    QAction* undo = menu.addAction(tr("復原(&U)"));
    undo->setData(static_cast<int>(ID_EDIT_UNDO));
    undo->setEnabled(canUndo);
    QAction* redo = menu.addAction(tr("重做(&R)"));
    redo->setData(static_cast<int>(ID_EDIT_REDO));
    redo->setEnabled(canRedo);
}

namespace {
// The last entry: the head-on picture of the plane, only with a plane.
void AddHeadOnViewItem(QMenu& menu, bool hasPlane) {
    QAction* headOn =
        menu.addAction(QCoreApplication::translate("CPhotoCanvas", "輸出正視圖(&V)..."));
    headOn->setData(static_cast<int>(ID_EXPORT_HEAD_ON));
    headOn->setEnabled(hasPlane);
}
} // namespace

void CPhotoCanvas::OnRButtonDown(POINT q) {
    if (CurrentTool() == ToolDimension && m_bFirstPoint == 1) {
        // The first end point already placed is dropped; no menu.
        CancelPendingDimension();
        Repaint();
        return;
    }
    if (PlacingShape()) {
        // The area's corners or the angle's points placed so far: dropped.
        CancelShape();
        return;
    }
    if (PlacingPlaneCorners()) {
        // As for a half-drawn dimension: the corners placed are dropped.
        CancelPlaneCorners();
        return;
    }
    // The main window owns the menu.
    QMenu menu(parentWidget() ? parentWidget() : this);
    BuildContextMenu(menu, m_model.History().Stack().canUndo(),
                     m_model.History().Stack().canRedo());
    AddReferenceMenuItems(menu, m_model.Info().reference.hasPlane, HasComputedValue());
    AddAreaMenuItems(menu, m_model.SelectedArea());
    AddHeadOnViewItem(menu, HasUsablePlane(m_model.Info().reference));
    const QPoint where = mapToGlobal(QPoint(q.x, q.y));
    QAction* chosen = Prompts().PopupMenu(menu, where);
    if (!chosen)
        return;
    bool ok = false;
    const int command = chosen->data().toInt(&ok);
    if (ok && command != 0 && !HandleReferenceCommand(command) && !HandleAreaCommand(command))
        Q_EMIT menuCommand(command);
}

void CPhotoCanvas::AddReferenceMenuItems(QMenu& menu, bool hasPlane, bool hasComputed) {
    // After the history's entries, behind a separator of their own.
    menu.addSeparator();
    QAction* plane = menu.addAction(tr("參考平面(&P)..."));
    plane->setData(static_cast<int>(ID_REFERENCE_PLANE));
    if (hasPlane) {
        QAction* remove = menu.addAction(tr("刪除參考平面"));
        remove->setData(static_cast<int>(ID_DELETE_REFERENCE_PLANE));
    }
    QAction* write = menu.addAction(tr("寫入計算值"));
    write->setData(static_cast<int>(ID_WRITE_COMPUTED));
    write->setEnabled(hasComputed);
}

bool CPhotoCanvas::HandleReferenceCommand(int command) {
    switch (command) {
    case ID_REFERENCE_PLANE:
        BeginPlaneCorners();
        return true;
    case ID_DELETE_REFERENCE_PLANE:
        DeleteReferencePlane();
        return true;
    case ID_WRITE_COMPUTED:
        WriteComputedValues();
        return true;
    default:
        return false;
    }
}
