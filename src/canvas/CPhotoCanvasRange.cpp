// CPhotoCanvas: range-finder events and the right mouse button with the
// canvas's context menu.
#include "canvas/CPhotoCanvas.h"

#include "document/InfoFileBytes.h"
#include "drawing/RenderGeometry.h"
#include "platform/Prompts.h"
#include "telvo/RangeFailure.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <cstdio>
#include <cstring>

bool CPhotoCanvas::event(QEvent* e) {
    if (e->type() == kRangeValueEventType) {
        OnRangeValue();
        return true;
    }
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        // A disabled canvas (no photo yet) takes no clicks.
        if (mouse->button() == Qt::RightButton && isEnabled()) {
            const QPoint p = mouse->position().toPoint();
            OnRButtonDown(POINT{p.x(), p.y()});
        }
        break; // the default processing follows
    }
    case QEvent::ContextMenu:
        // The right button has already been answered when it went down.
        e->accept();
        return true;
    default:
        break;
    }
    return QWidget::event(e);
}

void CPhotoCanvas::OnRangeValue() {
    const int code = m_rangeFinder.EventCode();
    const int32_t value = m_rangeFinder.EventValue();
    const int64_t n = static_cast<int64_t>(m_model.Info().dimensions.size());

    if (code == kRangeEventDistance) {
        char text[16];
        const int length = std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
        // A reading the file cannot keep whole is not written at all.
        static_assert(infofile::kStoredValueBytes < sizeof(Dimension::value));
        if (length < 0 || static_cast<size_t>(length) > infofile::kStoredValueBytes) {
            m_rangeFinder.ReportFailure(static_cast<int32_t>(RangeFailure::CannotStore));
        } else if (Dimension* dim = SelectedDimension()) {
            const Dimension before = *dim;
            std::memcpy(dim->value, text, static_cast<size_t>(length) + 1);
            m_model.History().DimensionChanged(m_model.SelDim(), before);
            Repaint();
        }
    } else if (code == kRangeEventKey && (value == kRangeKeyPrevious || value == kRangeKeyNext)) {
        if (n == 0) {
            m_model.SelectDimension(-1);
        } else {
            // Any negative index means nothing is selected; the arithmetic
            // starts from -1 then, so the result is always a valid index.
            const int64_t current = m_model.SelDim() < 0 ? -1 : m_model.SelDim();
            const int64_t next =
                value == kRangeKeyPrevious ? (current + n - 1) % n : (current + 1) % n;
            m_model.SelectDimension(static_cast<int32_t>(next));
            const Dimension& dim = m_model.Info().dimensions[static_cast<size_t>(next)];
            PostNotify(CN_DIMENSION_SELECTED);
            CentreOn(DimensionMidpoint(dim.start, dim.end));
            Repaint();
        }
    }
    // Every event is answered by exactly one re-arm.
    m_rangeFinder.SetListen(1);
}

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

void CPhotoCanvas::OnRButtonDown(POINT q) {
    if (CurrentTool() == ToolDimension && m_bFirstPoint == 1) {
        // The first end point already placed is dropped; no menu.
        CancelPendingDimension();
        Repaint();
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
    const QPoint where = mapToGlobal(QPoint(q.x, q.y));
    QAction* chosen = Prompts().PopupMenu(menu, where);
    if (!chosen)
        return;
    bool ok = false;
    const int command = chosen->data().toInt(&ok);
    if (ok && command != 0 && !HandleReferenceCommand(command))
        Q_EMIT menuCommand(command);
}
