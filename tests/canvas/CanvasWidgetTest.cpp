// The canvas widget, shown and driven with real mouse events: view state,
// the mouse tools and the context menu.
#include "CanvasTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <limits>
#include <tuple>
#include <vector>

namespace {
// A shown 800 x 600 canvas holding a white 800 x 600 photo at zoom 1.0, so
// that view and photo points are the same. Records the notifications and
// menu commands the canvas sends and counts the paints it receives.
class CanvasWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        canvas.resize(800, 600);
        ShowPhotoOnCanvas(canvas, Solid(800, 600));
        QObject::connect(&canvas, &CPhotoCanvas::canvasNotify,
                         [this](int code) { codes.push_back(code); });
        QObject::connect(&canvas, &CPhotoCanvas::menuCommand,
                         [this](int id) { commands.push_back(id); });
        canvas.installEventFilter(&counter);
        canvas.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
        Settle();
    }
    // Delivers queued notifications and pending paints, then counts afresh.
    void Settle() {
        Flush();
        codes.clear();
        counter.paints = 0;
    }
    void Flush() {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    bool Load(int w, int h) { return canvas.LoadPhoto(WriteTestJpeg(dir, "p.jpg", w, h)); }
    void SetZoomTo(float zoom) {
        canvas.m_fZoom = zoom;
        canvas.UpdateLayout();
        Settle();
    }
    // The view point that maps back onto photo point p (asserted).
    QPoint ViewOf(POINT p) {
        const POINT q = canvas.MapPoint(p, false);
        EXPECT_EQ(canvas.MapPoint(q, true), p);
        return QPoint(q.x, q.y);
    }
    void Click(QPoint q, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(&canvas, button, Qt::NoModifier, q);
        Flush();
    }
    void ClickPhoto(POINT p) { Click(ViewOf(p)); }
    void Press(QPoint q) { QTest::mousePress(&canvas, Qt::LeftButton, Qt::NoModifier, q); }
    // A move event as the window system sends it, with the buttons held.
    void MoveTo(QPoint q, Qt::MouseButtons held = Qt::LeftButton) {
        QMouseEvent move(QEvent::MouseMove, QPointF(q), QPointF(canvas.mapToGlobal(q)),
                         Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &move);
    }

    QTemporaryDir dir;
    PaintCounter counter; // outlives the canvas it watches
    CPhotoCanvas canvas;
    std::vector<int> codes, commands;
};

using CanvasView = CanvasWidgetTest;

TEST_F(CanvasView, ZoomAndFitHoldAcrossLoadsAndResizesAndMapPointRoundTripsAtOne) {
    canvas.SetZoom(ZoomOut);
    ASSERT_TRUE(Load(400, 300));
    EXPECT_EQ(canvas.m_rcSrc, (RECT{0, 0, 400, 300}));
    canvas.resize(500, 500); // laid out anew: 279 x 209 at 0.7
    ASSERT_EQ(canvas.m_rcDst, (RECT{110, 145, 389, 354}));
    const POINT photo = canvas.MapPoint(POINT{203, 250}, true);
    EXPECT_EQ(photo, (POINT{132, 150}));
    EXPECT_EQ(canvas.MapPoint(photo, false), (POINT{202, 249})); // drifts up-left
    EXPECT_LT(canvas.MapPoint(POINT{0, 0}, true).x, 0);          // the margin maps off the photo
    canvas.SetZoom(ZoomActual);
    for (const POINT v : {POINT{100, 100}, POINT{123, 377}, POINT{499, 399}})
        EXPECT_EQ(canvas.MapPoint(canvas.MapPoint(v, true), false), v);
    EXPECT_EQ(canvas.MapPoint(POINT{150, 130}, true), (POINT{100, 30}));
    canvas.resize(300, 200); // the visible part keeps its centre
    EXPECT_EQ(canvas.m_rcSrc, (RECT{50, 50, 350, 250}));
    canvas.SetZoom(ZoomFit);
    canvas.m_info.dimensions.resize(2);
    canvas.m_nSelDim = canvas.m_nSelNote = canvas.m_bFirstPoint = 1;
    ASSERT_TRUE(Load(1000, 2000)); // clears the records and the selection
    EXPECT_EQ(canvas.m_fZoom, 0.1f);
    EXPECT_EQ(canvas.m_rcDst, (RECT{100, 0, 200, 200}));
    EXPECT_TRUE(canvas.m_info.dimensions.empty());
    EXPECT_EQ(std::tie(canvas.m_nSelDim, canvas.m_nSelNote, canvas.m_bFirstPoint),
              std::make_tuple(-1, -1, 0));
}

using CanvasMouse = CanvasWidgetTest;

TEST_F(CanvasMouse, DimensionToolStoresTheEndsSoTheValueNeverStandsUpsideDown) {
    canvas.SetTool(ToolDimension);
    canvas.m_pendingDim.colour = RGB(1, 2, 3);
    canvas.m_logFont.lfHeight = -20;
    // first click, second click, stored start, stored end
    const POINT cases[][4] = {{{100, 100}, {50, 100}, {50, 100}, {100, 100}}, // left: swapped
                              {{100, 100}, {100, 50}, {100, 100}, {100, 50}}, // up: kept
                              {{100, 50}, {100, 100}, {100, 100}, {100, 50}}, // down: swapped
                              {{10, 20}, {300, 40}, {10, 20}, {300, 40}}};    // right: kept
    size_t added = 0;
    for (const auto& c : cases) {
        ClickPhoto(c[0]);
        EXPECT_EQ(counter.paints, 0) << "the first click does not repaint";
        ClickPhoto(c[1]);
        EXPECT_GE(counter.paints, 1);
        EXPECT_EQ(codes, std::vector<int>{CN_DIMENSION_ADDED});
        ASSERT_EQ(canvas.m_info.dimensions.size(), ++added);
        const Dimension& d = canvas.m_info.dimensions.back();
        EXPECT_EQ(d.start, c[2]);
        EXPECT_EQ(d.end, c[3]);
        EXPECT_EQ(std::tie(d.colour, d.font.lfHeight), std::make_tuple(RGB(1, 2, 3), -20));
        EXPECT_EQ(canvas.m_nSelDim, int(added) - 1);
        Settle();
    }
}

TEST_F(CanvasMouse, NoteToolPlacesASelectedNoteAlsoOffThePhoto) {
    canvas.m_nSelDim = 0;
    canvas.m_logFont.lfHeight = -30;
    canvas.SetTool(ToolNote);
    ClickPhoto(POINT{300, 200});
    ASSERT_EQ(canvas.m_info.notes.size(), 1u);
    EXPECT_EQ(canvas.m_info.notes[0].anchor, (POINT{300, 200}));
    EXPECT_EQ(canvas.m_info.notes[0].font.lfHeight, -30);
    EXPECT_EQ(std::tie(canvas.m_nSelDim, canvas.m_nSelNote), std::make_tuple(0, 0));
    EXPECT_EQ(codes, std::vector<int>{CN_NOTE_ADDED});
    SetZoomTo(0.5f); // the photo covers the middle of the canvas only
    Click(QPoint(10, 10));
    EXPECT_LT(canvas.m_info.notes.at(1).anchor.y, 0);
}

struct HitCase {
    float zoom;
    POINT a, b;
    const char* value;
    POINT click;
    bool hits;
};
class CanvasMouseHit : public CanvasWidgetTest, public ::testing::WithParamInterface<HitCase> {};

// A dimension is picked strictly inside four view pixels of its segment (not
// of the extension beyond its ends) or on its value label above the middle.
TEST_P(CanvasMouseHit, SelectToolPicksTheSegmentAndItsLabelOnly) {
    const HitCase& c = GetParam();
    SetZoomTo(c.zoom);
    canvas.m_info.dimensions.push_back(MakeDimension(c.a, c.b, c.value));
    canvas.SetTool(ToolSelect);
    ClickPhoto(c.click);
    EXPECT_EQ(canvas.m_nSelDim, c.hits ? 0 : -1);
    EXPECT_EQ(codes, std::vector<int>{c.hits ? CN_DIMENSION_SELECTED : CN_NOTHING_SELECTED});
}

const HitCase kHits[] = {
    {1.0f, {100, 200}, {300, 200}, "", {200, 203}, true},
    {1.0f, {100, 200}, {300, 200}, "", {200, 204}, false},
    {0.5f, {100, 200}, {300, 200}, "", {200, 206}, true},
    {0.5f, {100, 200}, {300, 200}, "", {200, 208}, false},
    {2.0f, {100, 200}, {300, 200}, "", {200, 201}, true},
    {2.0f, {100, 200}, {300, 200}, "", {200, 202}, false},
    {1.0f, {100, 200}, {300, 200}, "", {302, 200}, false},          // beyond the end
    {1.0f, {100, 200}, {300, 200}, "12", {200, 192}, true},         // on the label
    {1.0f, {100, 200}, {300, 200}, "", {200, 192}, false},          // no value, no label
    {1.0f, {300, 200}, {306, 200}, "123456789", {318, 195}, false}, // label beyond the end
    {1.0f, {100, 300}, {100, 100}, "1234", {95, 200}, true}, // upwards: the label on the left
};
INSTANTIATE_TEST_SUITE_P(Clicks, CanvasMouseHit, ::testing::ValuesIn(kHits));

TEST_F(CanvasMouse, NoteOverADimensionWinsAndReselectingPostsWithoutRepainting) {
    canvas.m_info.dimensions.push_back(MakeDimension({50, 105}, {300, 105}));
    canvas.m_info.dimensions[0].font.lfHeight = -25;
    canvas.m_info.notes.push_back(MakeNote(POINT{100, 100}));
    canvas.m_info.notes[0].font.lfHeight = -17;
    canvas.m_nSelDim = 0;
    canvas.SetTool(ToolSelect);
    ClickPhoto(POINT{104, 105});
    EXPECT_EQ(std::tie(canvas.m_nSelDim, canvas.m_nSelNote), std::make_tuple(-1, 0));
    EXPECT_EQ(canvas.m_logFont.lfHeight, -17); // the picked record's font becomes current
    ClickPhoto(POINT{200, 106});
    EXPECT_EQ(std::tie(canvas.m_nSelDim, canvas.m_nSelNote), std::make_tuple(0, -1));
    EXPECT_EQ(canvas.m_logFont.lfHeight, -25);
    EXPECT_EQ(codes, (std::vector<int>{CN_NOTE_SELECTED, CN_DIMENSION_SELECTED}));
    Settle();
    ClickPhoto(POINT{250, 104});
    EXPECT_EQ(codes, std::vector<int>{CN_DIMENSION_SELECTED});
    EXPECT_EQ(counter.paints, 0);
    ClickPhoto(POINT{600, 500}); // a miss clears the selection and repaints
    EXPECT_EQ(canvas.m_nSelDim, -1);
    EXPECT_EQ(codes, (std::vector<int>{CN_DIMENSION_SELECTED, CN_NOTHING_SELECTED}));
    EXPECT_GE(counter.paints, 1);
}

struct DragCase {
    int steps, stepSize, moved;
};
class CanvasMouseDrag : public CanvasWidgetTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(CanvasMouseDrag, SlowAndFastDragsMoveTheRecordAlikeUntilRelease) {
    const DragCase& c = GetParam();
    SetZoomTo(2.0f); // the canvas shows photo 200..600 x 150..450
    canvas.m_info.notes.push_back(MakeNote(POINT{400, 300}));
    canvas.m_info.dimensions.push_back(MakeDimension({250, 200}, {350, 200}));
    canvas.m_nSelDim = 0; // a note pick clears it: only the note moves
    canvas.SetTool(ToolSelect);
    const QPoint start = ViewOf(POINT{402, 302});
    Press(start);
    for (int i = 1; i <= c.steps; ++i)
        MoveTo(start + QPoint(i * c.stepSize, -i * c.stepSize));
    // Released outside: the canvas still gets it by the implicit grab.
    QTest::mouseRelease(&canvas, Qt::LeftButton, Qt::NoModifier, QPoint(-40, 900));
    MoveTo(start);
    EXPECT_EQ(canvas.m_info.notes[0].anchor, (POINT{400 + c.moved, 300 - c.moved}));
    EXPECT_EQ(canvas.m_info.dimensions[0].start, (POINT{250, 200}));
}

INSTANTIATE_TEST_SUITE_P(Zoom2, CanvasMouseDrag,
                         ::testing::Values(DragCase{1, 10, 5}, DragCase{10, 1, 5},
                                           DragCase{3, 1, 1}, DragCase{7, 3, 10}));

TEST_F(CanvasMouse, ARecordDragEndsAtAMoveWithNoButtonAndNeverWrapsAtTheCoordinateLimit) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    canvas.m_info.dimensions.push_back(MakeDimension({100, 200}, {kMax - 2, 200}));
    canvas.SetTool(ToolSelect);
    Press(QPoint(150, 200));
    ASSERT_EQ(canvas.m_nSelDim, 0);
    MoveTo(QPoint(160, 200));
    EXPECT_EQ(canvas.m_info.dimensions[0].start.x, 110);
    EXPECT_EQ(canvas.m_info.dimensions[0].end.x, kMax); // held at the limit
    // The release went elsewhere: the next move comes with no button held.
    MoveTo(QPoint(200, 260), Qt::NoButton);
    MoveTo(QPoint(220, 280));
    EXPECT_EQ(canvas.m_info.dimensions[0].start, (POINT{110, 200}));
}

TEST_F(CanvasMouse, DragToolPanFollowsTheMouseEvenWhenSlowAndShowsWhereItPanned) {
    QImage photo = Solid(2000, 1000);
    photo.setPixel(1000, 500, qRgb(255, 0, 0));
    ShowPhotoOnCanvas(canvas, photo);
    SetZoomTo(2.0f);
    canvas.CentreOn(POINT{1000, 500});
    const RECT start = canvas.m_rcSrc;
    canvas.SetTool(ToolDrag);
    Press(QPoint(100, 100));
    for (int x = 101; x <= 110; ++x)
        MoveTo(QPoint(x, 100));
    EXPECT_EQ(canvas.m_rcSrc, (RECT{start.left - 5, start.top, start.right - 5, start.bottom}));
    MoveTo(QPoint(200, 200), Qt::NoButton); // without the button the view stays
    EXPECT_EQ(canvas.m_rcSrc.left, start.left - 5);
    const QPoint red = ViewOf(POINT{1000, 500}); // magnified smoothly
    const QImage image = canvas.RenderToImage();
    EXPECT_LT(qGreen(image.pixel(red)), 128);
    EXPECT_TRUE(At(image, red.x() - 3, red.y()) == kWhitePx &&
                At(image, red.x() + 4, red.y()) == kWhitePx);
}

// Answers the context menu with its item number `pick` (-1: dismissed) and
// remembers where it was shown and what it held ("-": a separator).
class MenuAnswer : public Prompter {
public:
    explicit MenuAnswer(int pick) : pick(pick) {}
    QAction* PopupMenu(QMenu& menu, const QPoint& globalPos) override {
        where = globalPos;
        for (QAction* action : menu.actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return menu.actions().value(pick);
    }
    int pick;
    QPoint where;
    QStringList items;
};

using CanvasMenu = CanvasWidgetTest;

TEST_F(CanvasMenu, RightButtonOpensItAtThePointerAndPassesTheChosenCommandOn) {
    // tool, item picked (-1: dismissed), its command. A first point flag left
    // over from another tool does not hide the menu.
    const int cases[][3] = {{ToolDrag, 0, ID_ZOOM_IN},
                            {ToolSelect, 1, ID_ZOOM_OUT},
                            {ToolNote, 2, ID_ZOOM_ACTUAL},
                            {ToolDimension, 3, ID_ZOOM_FIT},
                            {ToolSelect, 5, ID_ALL_DIM_FONT},
                            {ToolNote, 6, ID_ALL_DIM_COLOUR},
                            {ToolDrag, -1, 0}};
    for (const auto& c : cases) {
        commands.clear();
        canvas.SetTool(c[0]);
        canvas.m_bFirstPoint = c[0] != ToolDimension;
        MenuAnswer answer(c[1]);
        ScopedPrompter prompter(&answer);
        Click(QPoint(120, 70), Qt::RightButton);
        EXPECT_EQ(answer.where, canvas.mapToGlobal(QPoint(120, 70)));
        EXPECT_EQ(answer.items.join(u'|'),
                  QString::fromUtf8("放大|縮小|實際大小|自適應大小|-|所有尺寸字體|所有尺寸顏色"));
        EXPECT_EQ(commands, std::vector<int>(c[1] >= 0, c[2])) << "item " << c[1];
        EXPECT_EQ(canvas.m_bFirstPoint, c[0] != ToolDimension);
    }
    // With a half-drawn dimension the right button only drops it; a disabled
    // canvas shows no menu, nor does the left button.
    MenuAnswer answer(0);
    ScopedPrompter prompter(&answer);
    canvas.SetTool(ToolDimension);
    canvas.m_bFirstPoint = 1;
    Click(QPoint(10, 10), Qt::RightButton);
    EXPECT_EQ(canvas.m_bFirstPoint, 0);
    canvas.setEnabled(false);
    Click(QPoint(10, 10), Qt::RightButton);
    canvas.setEnabled(true);
    Click(QPoint(10, 10));
    EXPECT_TRUE(answer.items.isEmpty());
}

} // namespace
