// CPhotoCanvas: range-finder readings the window passes on, and the
// canvas's own events that route the right mouse button to the context menu
// (CPhotoCanvasMenu.cpp).
#include "canvas/CPhotoCanvas.h"

#include "document/InfoFileBytes.h"
#include "drawing/RenderGeometry.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <cstdio>
#include <cstring>

bool CPhotoCanvas::event(QEvent* e) {
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

bool CPhotoCanvas::OnRangeValue(int code, int32_t value) {
    const int64_t n = static_cast<int64_t>(m_model.Info().dimensions.size());

    if (code == RangeDistance) {
        char text[16];
        const int length = std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
        // A reading the file cannot keep whole is not written at all.
        static_assert(infofile::kStoredValueBytes < sizeof(Dimension::value));
        if (length < 0 || static_cast<size_t>(length) > infofile::kStoredValueBytes)
            return false;
        if (Dimension* dim = SelectedDimension()) {
            const Dimension before = *dim;
            std::memcpy(dim->value, text, static_cast<size_t>(length) + 1);
            m_model.History().DimensionChanged(m_model.SelDim(), before);
            Repaint();
        }
    } else if (code == RangeKey && (value == RangePrevious || value == RangeNext)) {
        if (n == 0) {
            m_model.SelectDimension(-1);
        } else {
            // Any negative index means nothing is selected; the arithmetic
            // starts from -1 then, so the result is always a valid index.
            const int64_t current = m_model.SelDim() < 0 ? -1 : m_model.SelDim();
            const int64_t next = value == RangePrevious ? (current + n - 1) % n : (current + 1) % n;
            m_model.SelectDimension(static_cast<int32_t>(next));
            const Dimension& dim = m_model.Info().dimensions[static_cast<size_t>(next)];
            PostNotify(CN_DIMENSION_SELECTED);
            CentreOn(DimensionMidpoint(dim.start, dim.end));
            Repaint();
        }
    }
    return true;
}
