// Computed lengths are computed again only for what changed: a dimension's
// ends or empty value, or the reference; a repaint computes nothing. A shown
// canvas with a plane and many such dimensions settles and paints no more.
#include "drawing/ComputedLabels.h"
#include "canvas/CanvasTestSupport.h"
#include "common/CanvasAccess.h"
#include "document/ComputedLength.h"

#include <QEvent>
#include <QTest>
#include <functional>

namespace {

PhotoInfo WithPlane() {
    PhotoInfo info;
    info.reference.hasPlane = true;
    const POINT corners[4] = {{100, 50}, {500, 60}, {520, 350}, {90, 340}};
    for (int i = 0; i < 4; ++i)
        info.reference.plane.corners[i] = corners[i];
    info.reference.plane.width = 1000;
    info.reference.plane.height = 750;
    info.dimensions = {MakeDimension({120, 100}, {300, 110}), MakeDimension({200, 200}, {210, 300}),
                       MakeDimension({150, 300}, {400, 320}, "500")};
    return info;
}

struct Change {
    const char* what;
    std::function<void(PhotoInfo&)> apply;
    uint64_t computed; // lengths computed at the next update
};

class ComputedLabelsChange : public ::testing::TestWithParam<Change> {};

TEST_P(ComputedLabelsChange, ComputesWhatChangedOnly) {
    PhotoInfo info = WithPlane();
    ComputedLabels labels;
    labels.Update(info.reference, info.dimensions);
    const uint64_t before = labels.Computations();
    GetParam().apply(info);
    labels.Update(info.reference, info.dimensions);
    EXPECT_EQ(labels.Computations() - before, GetParam().computed);
    for (size_t i = 0; i < info.dimensions.size(); ++i) {
        const QByteArray fresh =
            info.reference.HasReference()
                ? ComputeLength(info.reference, info.dimensions, i).Text().toUtf8()
                : QByteArray();
        EXPECT_EQ(labels.Label(i), fresh) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ComputedLabelsChange,
    ::testing::Values(
        Change{"repaint", [](PhotoInfo&) {}, 0},
        Change{"end moved", [](PhotoInfo& i) { i.dimensions[0].end.x += 40; }, 1},
        Change{"value emptied", [](PhotoInfo& i) { i.dimensions[2].value[0] = '\0'; }, 1},
        Change{"value typed", [](PhotoInfo& i) { i.dimensions[1].value[0] = '7'; }, 0},
        Change{"corner moved", [](PhotoInfo& i) { i.reference.plane.corners[2].y += 9; }, 2},
        Change{"plane resized", [](PhotoInfo& i) { i.reference.plane.width = 2000; }, 2},
        Change{"plane gone, reference line",
               [](PhotoInfo& i) {
                   i.reference.hasPlane = false;
                   i.reference.dimension = 2;
               },
               2},
        Change{"reference line's value",
               [](PhotoInfo& i) {
                   i.reference.hasPlane = false;
                   i.reference.dimension = 2;
                   i.dimensions[2].value[0] = '6';
               },
               2},
        Change{"no reference", [](PhotoInfo& i) { i.reference.hasPlane = false; }, 0},
        Change{"dimension added",
               [](PhotoInfo& i) {
                   i.dimensions.push_back(MakeDimension({130, 90}, {135, 200}));
               },
               1}),
    [](const ::testing::TestParamInfo<Change>& p) {
        std::string name = p.param.what;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

// 1,000 dimensions without values over a plane and 200 notes, all in view.
TEST(IdleCanvas, PaintsNothingOnceItsLabelsAreDone) {
    CPhotoCanvas canvas;
    canvas.resize(870, 756);
    ShowPhotoOnCanvas(canvas, Solid(3000, 2000));
    PhotoInfo info = WithPlane();
    info.dimensions.clear();
    for (int i = 0; i < 1000; ++i) {
        const POINT s{(i * 37) % 2900, (i * 53) % 1900};
        info.dimensions.push_back(MakeDimension(s, {s.x + 20 + i % 80, s.y + 15 + i % 60}));
    }
    for (int i = 0; i < 200; ++i)
        info.notes.push_back(MakeNote({(i * 71) % 2800, (i * 43) % 1800}, "Note"));
    canvas.Model().Records() = info;
    PaintCounter counter;
    canvas.installEventFilter(&counter);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    for (int n = 0;
         n < 100 && (counter.paints == 0 || CanvasAccess::Renderer(canvas).LabelsPending()); ++n)
        QTest::qWait(50);
    QTest::qWait(300); // the photo's last refinement
    ASSERT_FALSE(CanvasAccess::Renderer(canvas).LabelsPending());
    counter.paints = 0;
    QTest::qWait(2000);
    EXPECT_EQ(counter.paints, 0);
}

} // namespace
