// CPhotoCanvas: painting. The screen and RenderToImage share Compose.
#include "canvas/CPhotoCanvas.h"

#include "drawing/RecordDrawing.h"
#include "platform/InlineFills.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <chrono>

namespace {
const QColor kGrey(128, 128, 128);
// Time a screen frame may spend making labels before stand-ins take over: at
// most kLabelBudget, less when the rest of the frame after that point took
// long the last time, so the whole frame stays near kFrameTarget (a pan's
// frames make labels too while some are pending).
using Clock = std::chrono::steady_clock;
constexpr Clock::duration kLabelBudget = std::chrono::milliseconds(5);
constexpr Clock::duration kMinLabelBudget = std::chrono::milliseconds(1);
constexpr Clock::duration kFrameTarget = std::chrono::milliseconds(6);
// Time a frame may spend drawing the records' picture for a moved or zoomed
// view a step at a time (the kept picture stands in meanwhile).
constexpr Clock::duration kLayerBudget = std::chrono::milliseconds(8);
} // namespace

void CPhotoCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Qt's backing store is the off-screen surface; a level of the photo still
    // being reduced is replaced by the nearest one ready and repainted later,
    // and so are labels the frame had no time to make; a pan scrolls the
    // photo drawn last.
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline =
        start + std::clamp(kFrameTarget - m_frameTail, kMinLabelBudget, kLabelBudget);
    m_renderer.SetLabelDeadline(deadline);
    m_layerDeadline = start + kLayerBudget;
    m_layerExact = true;
    Compose(painter, false);
    m_renderer.ClearLabelDeadline();
    // How long the frame went on after its label time ran out: the drawing
    // that the next frame's label time leaves room for.
    const Clock::time_point end = Clock::now();
    if (m_renderer.LabelsPending())
        m_frameTail = end - deadline;
    else if (end < deadline)
        m_frameTail = Clock::duration::zero();
    if (m_renderer.LabelsPending() || !m_layerExact)
        QTimer::singleShot(0, this, [this] { update(); });
    // A pan scrolls the photo; once it rests, the photo is scaled afresh.
    if (m_photoView.Scrolled())
        m_photoRefine.start();
}

void CPhotoCanvas::Render(QPainter& painter) {
    Compose(painter, true);
}

QImage CPhotoCanvas::RenderToImage() {
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    Render(painter);
    return image;
}

void CPhotoCanvas::Compose(QPainter& painter, bool waitForLevels) {
    const QRect client = rect();
    if (!HasPhoto()) {
        painter.fillRect(client, kGrey);
        return;
    }
    const QRect dst(m_rcDst.left, m_rcDst.top, m_rcDst.Width(), m_rcDst.Height());

    painter.save();
    painter.setClipRect(dst);
    if (!DrawStandIn(painter, waitForLevels))
        m_photoView.Draw(painter, m_dib.Image(), m_rcSrc, m_rcDst, waitForLevels);
    const bool rubberBand = CurrentTool() == ToolDimension && m_bFirstPoint == 1;
    // Asked here: the cursor's place comes from the window system.
    const QPoint cursor = rubberBand ? CursorPosition() : QPoint();
    PaintWithInlineFills([&] { DrawRecords(painter, waitForLevels, rubberBand, cursor); });
    DrawShapeInProgress(painter);
    painter.restore();

    // Grey margins outside the photo's place.
    if (m_rcDst.top > 0) {
        painter.fillRect(QRect(0, 0, client.width(), m_rcDst.top), kGrey);
        painter.fillRect(QRect(0, m_rcDst.bottom, client.width(), client.height() - m_rcDst.bottom),
                         kGrey);
    }
    if (m_rcDst.left > 0) {
        painter.fillRect(QRect(0, 0, m_rcDst.left, client.height()), kGrey);
        painter.fillRect(QRect(m_rcDst.right, 0, client.width() - m_rcDst.right, client.height()),
                         kGrey);
    }
    // The end-point handles of the selected dimension, on top of everything
    // (the screen only; the export draws records alone).
    DrawHandles(painter);
    DrawPlaneCorners(painter);
    DrawLoadProgress(painter);
}

void CPhotoCanvas::DrawRecords(QPainter& painter, bool waitForLevels, bool rubberBand,
                               QPoint cursor) {
    const ViewMapping view = View();
    if (!waitForLevels && !rubberBand) {
        // The screen, records unchanged since the last frame: their kept picture.
        m_layerExact = m_recordLayer.Draw(
            painter, m_renderer, m_model.Info(),
            {m_model.SelDim(), m_model.SelNote(), m_model.SelArea(), m_model.SelAngle()}, view,
            size(), m_layerDeadline);
    } else {
        // Every record at once in the kept picture's order; a dimension's
        // rubber band lies over the dimensions, under the angles and notes.
        const PhotoInfo& info = m_model.Info();
        const size_t rubberStep = rubberBand ? StepsThroughDimensions(info) : SIZE_MAX;
        const auto steps = [&](size_t from, size_t until) {
            DrawRecordSteps(m_renderer, painter, info, m_model.SelDim(), m_model.SelNote(), &view,
                            from, Clock::time_point::max(), m_model.SelArea(), m_model.SelAngle(),
                            until);
        };
        steps(0, rubberStep);
        if (rubberBand) {
            const POINT from = MapPoint(m_pendingDim.start, false);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(QPen(ColorRefToQColor(m_pendingDim.colour), 1));
            painter.drawLine(QPoint(from.x, from.y), cursor);
            steps(rubberStep, SIZE_MAX);
        }
    }
}
