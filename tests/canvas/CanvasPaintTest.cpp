// What the canvas composes on the screen: the photo centred in grey with its
// records cut at its edge; an idle canvas paints nothing.
#include "canvas/CanvasTestSupport.h"

#include <QTest>

#include <cstring>
#include <functional>

namespace {

// A plane and `dims` dimensions and `notes` notes scattered over a
// 3000 x 2000 photo.
void ScatterOnPlane(PhotoInfo& info, QPoint planeFar, int dims, int notes) {
    info.reference.hasPlane = true;
    info.reference.plane = {
        {{100, 50}, {planeFar.x(), 60}, {planeFar.x() + 20, planeFar.y()}, {90, planeFar.y() - 10}},
        1000,
        750};
    for (int i = 0; i < dims; ++i) {
        const POINT s{(i * 37) % 2900, (i * 53) % 1900};
        info.dimensions.push_back(MakeDimension(s, {s.x + 40 + i % 80, s.y + 15 + i % 60}));
        if (i < notes)
            info.notes.push_back(MakeNote({(i * 71) % 2800, (i * 43) % 1800}, "Note"));
    }
}

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

// After a pan, a zoom step, a record moved or another selected, the screen's
// frames (the kept picture of the records standing in, moved) end on the
// picture drawn record by record.
TEST(ScreenFrames, EndOnThePictureDrawnRecordByRecord) {
    CPhotoCanvas canvas;
    canvas.resize(400, 300);
    ShowPhotoOnCanvas(canvas, Solid(3000, 2000));
    PhotoInfo& info = canvas.Model().Records();
    ScatterOnPlane(info, {900, 650}, 400, 60);
    for (const bool opening : {false, true}) {
        AreaRecord area;
        area.colour = opening ? RGB(255, 0, 0) : RGB(0, 160, 0);
        const int inset = opening ? 200 : 0;
        area.corners = {{300 + inset, 200 + inset},
                        {1400 - inset, 260 + inset},
                        {1300 - inset, 900 - inset},
                        {350 + inset, 950 - inset}};
        area.opening = opening;
        area.font = info.dimensions.front().font;
        info.areas.push_back(area);
    }
    AngleRecord angle;
    angle.arm1 = {900, 300};
    angle.vertex = {1000, 600};
    angle.arm2 = {1300, 620};
    angle.font = info.dimensions.front().font;
    info.angles.push_back(angle);
    canvas.SetZoom(ZoomIn);
    canvas.SetZoom(ZoomIn);
    const struct {
        const char* change;
        std::function<void()> make;
    } rows[] = {
        {"nothing", [] {}},
        {"pan",
         [&] {
             CanvasAccess::LastPoint(canvas) = POINT{200, 150};
             canvas.PanBy(POINT{170, 131});
         }},
        {"zoom in", [&] { canvas.SetZoom(ZoomIn); }},
        {"zoom out", [&] { canvas.SetZoom(ZoomOut); }},
        {"record moved", [&] { info.dimensions[7].end.x += 40; }},
        {"note selected", [&] { canvas.Model().SelectNote(3); }},
        {"area selected", [&] { canvas.Model().SelectArea(1); }},
        {"value typed", [&] { std::strcpy(info.dimensions[9].value, "1234"); }},
    };
    for (const auto& row : rows) {
        row.make();
        // Drawn first, it also waits for the reduced photo the view needs, so
        // the screen's frames compare records, not the photo's progress.
        const QImage expected = canvas.RenderToImage();
        QImage screen;
        for (int frame = 0; frame < 100 && (frame == 0 || !canvas.PictureSettled()); ++frame)
            screen = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(canvas.PictureSettled()) << row.change;
        EXPECT_EQ(screen, expected) << row.change;
    }
}

// A canvas with a plane, 1,000 dimensions and 200 notes paints nothing over
// two seconds once its labels are done: no timer keeps repainting it.
TEST(IdleCanvas, PaintsNothingOnceItsLabelsAreDone) {
    CPhotoCanvas canvas;
    canvas.resize(870, 756);
    ShowPhotoOnCanvas(canvas, Solid(3000, 2000));
    ScatterOnPlane(canvas.Model().Records(), {500, 350}, 1000, 200);
    PaintCounter counter;
    canvas.installEventFilter(&counter);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return counter.paints > 0 && canvas.PictureSettled(); }, 30000));
    QTest::qWait(300); // the photo's last refinement
    counter.paints = 0;
    QTest::qWait(2000);
    EXPECT_EQ(counter.paints, 0);
}

} // namespace
