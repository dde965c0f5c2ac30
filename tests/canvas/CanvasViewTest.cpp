// The canvas widget's view state: loading, zoom commands, resizing, mapping
// and the drag tool.
#include "canvas/CPhotoCanvas.h"
#include "canvas/CanvasTestPhotos.h"
#include "common/TestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CountingCanvas : public CPhotoCanvas {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        CPhotoCanvas::paintEvent(event);
    }
};

class CanvasView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_canvas.resize(500, 500);
        // Shown, so that resizing delivers its resize event at once.
        m_canvas.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_canvas));
    }
    QString Jpeg(int w, int h) {
        return WriteTestJpeg(m_dir, QStringLiteral("p%1x%2.jpg").arg(w).arg(h), w, h);
    }
    // Shows the canvas and lets the first paints settle.
    void ShowAndSettle() {
        QTest::qWait(20);
        QApplication::processEvents();
        m_canvas.paints = 0;
    }
    int PaintsAfterEvents() {
        QApplication::processEvents();
        QApplication::processEvents();
        return m_canvas.paints;
    }

    QTemporaryDir m_dir;
    CountingCanvas m_canvas;
};

TEST_F(CanvasView, LoadStartsAtTheTopLeftAndFitShowsTheWholePhoto) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(2000, 1000)));
    EXPECT_EQ(m_canvas.m_rcDst, (RECT{0, 0, 500, 500}));
    EXPECT_EQ(m_canvas.m_rcSrc, (RECT{0, 0, 500, 500}));
    m_canvas.SetZoom(ZoomFit);
    EXPECT_EQ(m_canvas.m_fZoom, 0.25f);
    EXPECT_EQ(m_canvas.m_bFit, 1);
    EXPECT_EQ(m_canvas.m_rcDst, (RECT{0, 125, 500, 375}));
    EXPECT_EQ(m_canvas.m_rcSrc, (RECT{0, 0, 2000, 1000}));

    // Fit mode carries over to the next photo.
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(1000, 2000)));
    EXPECT_EQ(m_canvas.m_fZoom, 0.25f);
    EXPECT_EQ(m_canvas.m_rcDst, (RECT{125, 0, 375, 500}));
}

TEST_F(CanvasView, ZoomStepsRepaintOnlyWhenTheZoomChanges) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(400, 300)));
    ShowAndSettle();
    m_canvas.SetZoom(ZoomIn);
    EXPECT_EQ(m_canvas.m_fZoom, 2.0f);
    EXPECT_EQ(PaintsAfterEvents(), 1);
    m_canvas.SetZoom(ZoomIn);
    EXPECT_EQ(m_canvas.m_fZoom, 2.0f);
    EXPECT_EQ(PaintsAfterEvents(), 1);
    m_canvas.SetZoom(ZoomActual);
    EXPECT_EQ(PaintsAfterEvents(), 2);
    m_canvas.SetZoom(ZoomActual); // already 1.0
    EXPECT_EQ(PaintsAfterEvents(), 2);
}

TEST_F(CanvasView, FitBeyondTwoThenZoomInDoesNothingAndZoomOutGoesToTwo) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(100, 50)));
    m_canvas.SetZoom(ZoomFit);
    EXPECT_EQ(m_canvas.m_fZoom, 5.0f);
    m_canvas.SetZoom(ZoomIn);
    EXPECT_EQ(m_canvas.m_fZoom, 5.0f);
    EXPECT_EQ(m_canvas.m_bFit, 1);
    m_canvas.SetZoom(ZoomOut);
    EXPECT_EQ(m_canvas.m_fZoom, 2.0f);
    EXPECT_EQ(m_canvas.m_bFit, 0);
    EXPECT_EQ(m_canvas.m_rcDst, (RECT{150, 200, 350, 300}));
}

TEST_F(CanvasView, ZoomWithoutPhotoTakesEffectAtTheNextLoad) {
    m_canvas.SetZoom(ZoomOut);
    EXPECT_EQ(m_canvas.m_fZoom, 0.7f);
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(1000, 800)));
    EXPECT_EQ(m_canvas.m_rcDst.Width(), 500);
    EXPECT_EQ(m_canvas.m_rcDst.Height(), 500);
    m_canvas.resize(2000, 2000);
    EXPECT_EQ(m_canvas.m_rcDst, (RECT{650, 720, 1349, 1279}));
}

TEST_F(CanvasView, ResizeInFitModeRefits) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(2000, 1000)));
    m_canvas.SetZoom(ZoomFit);
    m_canvas.resize(1000, 400);
    EXPECT_EQ(m_canvas.m_fZoom, 0.4f);
    EXPECT_EQ(m_canvas.m_rcDst, (RECT{100, 0, 900, 400}));
    EXPECT_EQ(m_canvas.m_rcSrc, (RECT{0, 0, 2000, 1000}));
}

TEST_F(CanvasView, ResizeOutsideFitModeKeepsZoomAndCentre) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(2000, 1000)));
    m_canvas.CentreOn(POINT{1000, 500});
    EXPECT_EQ(m_canvas.m_rcSrc, (RECT{750, 250, 1250, 750}));
    m_canvas.resize(300, 700);
    EXPECT_EQ(m_canvas.m_fZoom, 1.0f);
    EXPECT_EQ(m_canvas.m_rcDst, (RECT{0, 0, 300, 700}));
    EXPECT_EQ(m_canvas.m_rcSrc, (RECT{850, 150, 1150, 850}));
}

TEST_F(CanvasView, CentreOnNearACornerTouchesTheCorner) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(2000, 1000)));
    m_canvas.CentreOn(POINT{1990, 995});
    EXPECT_EQ(m_canvas.m_rcSrc, (RECT{1500, 500, 2000, 1000}));
    m_canvas.CentreOn(POINT{10, 4});
    EXPECT_EQ(m_canvas.m_rcSrc, (RECT{0, 0, 500, 500}));
}

TEST_F(CanvasView, MapPointRoundTripsAtOneAndDriftsUpLeftOtherwise) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(400, 300)));
    for (const POINT v : {POINT{100, 100}, POINT{123, 377}, POINT{499, 399}})
        EXPECT_EQ(m_canvas.MapPoint(m_canvas.MapPoint(v, true), false), v);
    EXPECT_EQ(m_canvas.MapPoint(POINT{150, 130}, true), (POINT{100, 30}));

    m_canvas.SetZoom(ZoomOut); // 0.7: 279 x 209
    ASSERT_EQ(m_canvas.m_rcDst, (RECT{110, 145, 389, 354}));
    const POINT view{203, 250};
    const POINT photo = m_canvas.MapPoint(view, true);
    EXPECT_EQ(photo, (POINT{132, 150}));
    const POINT back = m_canvas.MapPoint(photo, false);
    EXPECT_EQ(back, (POINT{202, 249}));
    // View points left of the photo map before the source corner.
    EXPECT_LT(m_canvas.MapPoint(POINT{0, 0}, true).x, 0);
}

TEST_F(CanvasView, FailedLoadChangesNothing) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(2000, 1000)));
    m_canvas.SetZoom(ZoomOut);
    m_canvas.CentreOn(POINT{700, 600});
    m_canvas.m_info.dimensions.resize(2);
    m_canvas.m_info.notes.resize(1);
    m_canvas.m_nSelDim = 1;
    m_canvas.m_nSelNote = 0;
    m_canvas.m_bFirstPoint = 1;
    const RECT src = m_canvas.m_rcSrc;
    const RECT dst = m_canvas.m_rcDst;
    const qint64 photoKey = m_canvas.m_dib.Image().cacheKey();

    const QString broken = m_dir.filePath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(WriteWholeFile(broken, QByteArray("\xFF\xD8\xFF\xE0 not really a jpeg", 22)));
    for (const QString& path : {broken, m_dir.filePath(QStringLiteral("missing.jpg"))}) {
        EXPECT_FALSE(m_canvas.LoadPhoto(path));
        EXPECT_EQ(m_canvas.m_info.dimensions.size(), 2u);
        EXPECT_EQ(m_canvas.m_info.notes.size(), 1u);
        EXPECT_EQ(m_canvas.m_nSelDim, 1);
        EXPECT_EQ(m_canvas.m_nSelNote, 0);
        EXPECT_EQ(m_canvas.m_bFirstPoint, 1);
        EXPECT_EQ(m_canvas.m_fZoom, 0.7f);
        EXPECT_EQ(m_canvas.m_bFit, 0);
        EXPECT_EQ(m_canvas.m_rcSrc, src);
        EXPECT_EQ(m_canvas.m_rcDst, dst);
        EXPECT_EQ(m_canvas.m_dib.Image().cacheKey(), photoKey);
    }
}

TEST_F(CanvasView, SuccessfulLoadClearsRecordsAndSelection) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(2000, 1000)));
    m_canvas.m_info.dimensions.resize(2);
    m_canvas.m_nSelDim = 1;
    m_canvas.m_bFirstPoint = 1;
    m_canvas.CentreOn(POINT{1000, 500});
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(400, 300)));
    EXPECT_TRUE(m_canvas.m_info.dimensions.empty());
    EXPECT_EQ(m_canvas.m_nSelDim, -1);
    EXPECT_EQ(m_canvas.m_bFirstPoint, 0);
    EXPECT_EQ(m_canvas.m_rcSrc, (RECT{0, 0, 400, 300}));
}

TEST_F(CanvasView, DragToolPanFollowsTheMouseEvenWhenSlow) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(2000, 1000)));
    m_canvas.SetZoom(ZoomIn); // 2.0
    m_canvas.CentreOn(POINT{1000, 500});
    const RECT start = m_canvas.m_rcSrc;
    m_canvas.OnLButtonDown(POINT{100, 100});
    for (int x = 101; x <= 110; ++x)
        m_canvas.OnMouseMove(POINT{x, 100}, true);
    EXPECT_EQ(m_canvas.m_rcSrc.left, start.left - 5);
    EXPECT_EQ(m_canvas.m_rcSrc.top, start.top);
    EXPECT_EQ(m_canvas.m_ptLast, (POINT{110, 100}));
    // Without the button held the drag tool does nothing.
    m_canvas.OnMouseMove(POINT{200, 200}, false);
    EXPECT_EQ(m_canvas.m_rcSrc.left, start.left - 5);
}

TEST_F(CanvasView, DragToolPansThroughQtMouseEvents) {
    ASSERT_TRUE(m_canvas.LoadPhoto(Jpeg(2000, 1000)));
    m_canvas.CentreOn(POINT{1000, 500});
    const RECT start = m_canvas.m_rcSrc;
    QTest::mousePress(&m_canvas, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
    QMouseEvent move(QEvent::MouseMove, QPointF(230, 190), m_canvas.mapToGlobal(QPointF(230, 190)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&m_canvas, &move);
    EXPECT_EQ(m_canvas.m_rcSrc,
              (RECT{start.left - 30, start.top + 10, start.right - 30, start.bottom + 10}));
    QTest::mouseRelease(&m_canvas, Qt::LeftButton, Qt::NoModifier, QPoint(230, 190));
}

} // namespace
