#pragma once
// A shown canvas with a blank photo, driven with real mouse events, that
// records the notifications it posts and counts the paints it receives.

#include "canvas/CPhotoCanvas.h"
#include "common/TestSupport.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <vector>


class CanvasMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        canvas = std::make_unique<CPhotoCanvas>();
        canvas->resize(800, 600);
        ShowBlankPhoto(QSize(800, 600));
        QObject::connect(canvas.get(), &CPhotoCanvas::canvasNotify,
                         [this](int code) { codes.push_back(code); });
        canvas->installEventFilter(&counter);
        canvas->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(canvas.get()));
        Settle();
    }
    void TearDown() override { canvas->removeEventFilter(&counter); }

    // Delivers queued notifications and pending paints, then starts counting
    // both afresh.
    void Settle() {
        Flush();
        codes.clear();
        counter.paints = 0;
    }
    void Flush() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    // A white photo at zoom 1.0; 800 x 600 fills the canvas, so view and
    // photo points are the same.
    void ShowBlankPhoto(QSize size) {
        QImage photo(size, QImage::Format_RGB32);
        photo.fill(Qt::white);
        canvas->m_dib.Image() = photo;
        canvas->ResetAnnotations();
        canvas->m_fZoom = 1.0f;
        canvas->m_bFit = 0;
        canvas->UpdateLayout();
    }
    void SetZoomTo(float zoom) {
        canvas->m_bFit = 0;
        canvas->m_fZoom = zoom;
        canvas->UpdateLayout();
        Settle();
    }
    // The view point that maps back onto photo point p (asserted).
    QPoint ViewOf(POINT p) {
        const POINT q = canvas->MapPoint(p, false);
        const POINT back = canvas->MapPoint(q, true);
        EXPECT_EQ(back.x, p.x);
        EXPECT_EQ(back.y, p.y);
        return QPoint(q.x, q.y);
    }
    void ClickPhoto(POINT p) {
        QTest::mouseClick(canvas.get(), Qt::LeftButton, Qt::NoModifier, ViewOf(p));
        Flush();
    }
    void Press(QPoint q) { QTest::mousePress(canvas.get(), Qt::LeftButton, Qt::NoModifier, q); }
    void Release(QPoint q) { QTest::mouseRelease(canvas.get(), Qt::LeftButton, Qt::NoModifier, q); }
    // A move event as the window system sends it, with the buttons held.
    void MoveTo(QPoint q, Qt::MouseButtons held) {
        QMouseEvent move(QEvent::MouseMove, QPointF(q), QPointF(canvas->mapToGlobal(q)),
                         Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(canvas.get(), &move);
    }
    void UseTool(int32_t tool) { canvas->SetTool(tool); }

    static Dimension MakeDimension(POINT start, POINT end, const char* value = "") {
        Dimension d;
        d.colour = RGB(0, 0, 255);
        d.start = start;
        d.end = end;
        std::snprintf(d.value, sizeof d.value, "%s", value);
        d.font = DefaultLogFont();
        return d;
    }

    std::unique_ptr<CPhotoCanvas> canvas;
    PaintCounter counter;
    std::vector<int> codes;
};
