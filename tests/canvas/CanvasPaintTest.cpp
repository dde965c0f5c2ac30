// What the canvas composes on the screen: the photo centred in grey with its
// records cut at its edge; an idle canvas paints nothing.
#include "canvas/CanvasTestSupport.h"

#include <QTest>

namespace {

TEST(CanvasPaint, PhotoIsCentredInGreyWithItsRecordsCutAtItsEdge) {
    CPhotoCanvas canvas;
    canvas.resize(300, 200);
    canvas.Model().Records().dimensions.push_back(MakeDimension({10, 50}, {400, 50}));
    canvas.Model().Records().notes.push_back(MakeNote({80, 35}, "abc"));
    canvas.Model().SelectNote(0);
    EXPECT_EQ(CountColour(canvas.RenderToImage(), kGreyPx), 300 * 200); // no photo
    CanvasAccess::Photo(canvas) = Solid(200, 100);
    canvas.UpdateLayout(); // dst (50, 50, 250, 150)
    const QImage image = canvas.RenderToImage();
    EXPECT_EQ(CountColour(image, kGreyPx), 300 * 200 - 200 * 100);
    EXPECT_EQ(CountColour(image, kBluePx, QRect(180, 100, 70, 1)), 70); // up to the edge
    EXPECT_EQ(At(image, 133, 100), kYellowPx); // photo (83, 50): in the note, on the line
    EXPECT_EQ(At(image, 130, 90), kRedPx);     // the selected note's outline
}

// A canvas with a plane, 1,000 dimensions and 200 notes paints nothing over
// two seconds once its labels are done: no timer keeps repainting it.
TEST(IdleCanvas, PaintsNothingOnceItsLabelsAreDone) {
    CPhotoCanvas canvas;
    canvas.resize(870, 756);
    ShowPhotoOnCanvas(canvas, Solid(3000, 2000));
    PhotoInfo& info = canvas.Model().Records();
    info.reference.hasPlane = true;
    info.reference.plane = {{{100, 50}, {500, 60}, {520, 350}, {90, 340}}, 1000, 750};
    for (int i = 0; i < 1000; ++i) {
        const POINT s{(i * 37) % 2900, (i * 53) % 1900};
        info.dimensions.push_back(MakeDimension(s, {s.x + 20 + i % 80, s.y + 15 + i % 60}));
        if (i < 200)
            info.notes.push_back(MakeNote({(i * 71) % 2800, (i * 43) % 1800}, "Note"));
    }
    PaintCounter counter;
    canvas.installEventFilter(&counter);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return counter.paints > 0 && !CanvasAccess::Renderer(canvas).LabelsPending(); },
        30000));
    QTest::qWait(300); // the photo's last refinement
    counter.paints = 0;
    QTest::qWait(2000);
    EXPECT_EQ(counter.paints, 0);
}

} // namespace
