// The canvas widget, shown and driven with real mouse events and with the
// range finder's events as the window passes them on: view state, the mouse
// tools, the context menu, readings.
#include "canvas/CanvasTestSupport.h"
#include "common/CanvasAccess.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <array>
#include <limits>
#include <string>
#include <tuple>

namespace {
// A shown 800 x 600 canvas with the select tool and a white 800 x 600 photo
// at zoom 1.0, so that view and photo points are the same. Records the
// notifications and menu commands the canvas sends and counts its paints.
class CanvasWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        canvas.resize(800, 600);
        ShowPhotoOnCanvas(canvas, Solid(800, 600));
        canvas.SetTool(ToolSelect);
        QObject::connect(&canvas, &CPhotoCanvas::canvasNotify, [&](int c) { codes.push_back(c); });
        QObject::connect(&canvas, &CPhotoCanvas::menuCommand,
                         [&](int c) { commands.push_back(c); });
        canvas.installEventFilter(&counter);
        canvas.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
        Settle();
    }
    // Delivers queued notifications and pending paints.
    void Flush() {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    // Flushes, then counts afresh.
    void Settle() {
        Flush();
        codes.clear();
        counter.paints = 0;
    }
    void SetZoomTo(float zoom) {
        CanvasAccess::Zoom(canvas) = zoom;
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
    // A move event as the window system sends it, with the buttons held.
    void MoveTo(QPoint q, Qt::MouseButtons held = Qt::LeftButton) {
        QMouseEvent move(QEvent::MouseMove, QPointF(q), QPointF(canvas.mapToGlobal(q)),
                         Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &move);
    }

    PaintCounter counter; // outlives the canvas it watches
    CPhotoCanvas canvas;
    std::vector<int> codes, commands;
};

TEST_F(CanvasWidgetTest, ZoomAndFitHoldAcrossLoadsAndResizesAndMapPointRoundTripsAtOne) {
    QTemporaryDir dir;
    auto load = [&](int w, int h) {
        return CanvasAccess::LoadPhoto(canvas, WriteTestJpeg(dir, "p.jpg", w, h));
    };
    canvas.SetZoom(ZoomOut);
    ASSERT_TRUE(load(400, 300));
    canvas.resize(500, 500); // laid out anew: 279 x 209 at 0.7
    ASSERT_EQ(canvas.DestRect(), (RECT{110, 145, 389, 354}));
    EXPECT_EQ(canvas.MapPoint(POINT{203, 250}, true), (POINT{132, 150}));
    EXPECT_EQ(canvas.MapPoint(POINT{132, 150}, false), (POINT{202, 249})); // drifts up-left
    canvas.SetZoom(ZoomActual);
    for (const POINT v : {POINT{100, 100}, POINT{123, 377}, POINT{499, 399}})
        EXPECT_EQ(canvas.MapPoint(canvas.MapPoint(v, true), false), v);
    canvas.resize(300, 200); // the visible area keeps its centre
    EXPECT_EQ(canvas.SourceRect(), (RECT{50, 50, 350, 250}));
    canvas.SetZoom(ZoomFit);
    canvas.Model().SelectDimension(1);
    canvas.Model().SelectNote(1);
    CanvasAccess::FirstPoint(canvas) = 1;
    ASSERT_TRUE(load(1000, 2000)); // clears the selection
    EXPECT_EQ(canvas.Zoom(), 0.1f);
    EXPECT_EQ(canvas.DestRect(), (RECT{100, 0, 200, 200}));
    EXPECT_EQ(std::make_tuple(canvas.Model().SelDim(), canvas.Model().SelNote(),
                              canvas.FirstPointPlaced()),
              std::make_tuple(-1, -1, 0));
}

// Fit needs a client area to fit into. On a canvas squeezed to no width the
// zoom stays a real step (zoom in and out still step from it) and the fit
// waits for the next layout with a width.
TEST_F(CanvasWidgetTest, FitOnACanvasWithNoWidthKeepsTheZoomUntilItCanFit) {
    QWidget window; // a child can be squeezed to nothing
    window.resize(900, 700);
    auto* squeezed = new CPhotoCanvas(&window);
    squeezed->setGeometry(0, 0, 800, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ShowPhotoOnCanvas(*squeezed, Solid(800, 600));
    squeezed->SetZoom(ZoomOut);
    squeezed->resize(0, 600);
    // command, zoom and fit flag after it
    const std::tuple<int, float, int> steps[] = {{ZoomFit, 0.7f, 1},
                                                 {ZoomOut, 0.5f, 0},
                                                 {ZoomFit, 0.5f, 1},
                                                 {ZoomIn, 0.7f, 0},
                                                 {ZoomFit, 0.7f, 1}};
    for (const auto& [command, zoom, fit] : steps) {
        squeezed->SetZoom(command);
        EXPECT_EQ(std::make_tuple(squeezed->Zoom(), int(squeezed->FitMode())),
                  std::make_tuple(zoom, fit))
            << "command " << command;
    }
    squeezed->resize(400, 600); // now it fits: 400 / 800
    EXPECT_EQ(std::make_tuple(squeezed->Zoom(), int(squeezed->FitMode())),
              std::make_tuple(0.5f, 1));
    EXPECT_EQ(squeezed->DestRect(), (RECT{0, 150, 400, 450}));
}

TEST(CanvasSelection, AccessorsGiveTheSelectedRecordOrNullOutsideTheList) {
    CPhotoCanvas canvas;
    canvas.Model().Records().dimensions = {MakeDimension({0, 0}, {9, 9}),
                                           MakeDimension({5, 5}, {9, 9})};
    canvas.Model().Records().notes = {MakeNote({1, 1}), MakeNote({2, 2}), MakeNote({3, 3})};
    const CPhotoCanvas& shown = canvas;
    // index, whether a dimension and a note is there
    const std::tuple<int, bool, bool> cases[] = {
        {INT32_MIN, false, false}, {-2, false, false},       {-1, false, false},
        {0, true, true},           {1, true, true},          {2, false, true},
        {3, false, false},         {INT32_MAX, false, false}};
    for (const auto& [index, dim, note] : cases) {
        canvas.Model().SelectDimension(index);
        canvas.Model().SelectNote(index);
        const size_t i = static_cast<size_t>(index);
        EXPECT_EQ(canvas.SelectedDimension(),
                  dim ? &canvas.Model().Records().dimensions[i] : nullptr)
            << index;
        EXPECT_EQ(shown.SelectedDimension(), canvas.SelectedDimension()) << index;
        EXPECT_EQ(canvas.SelectedNote(), note ? &canvas.Model().Info().notes[i] : nullptr) << index;
        EXPECT_EQ(shown.SelectedNote(), canvas.SelectedNote()) << index;
    }
}

using CanvasMouse = CanvasWidgetTest;

// A note is picked inside its box as it is drawn on the screen: found on the
// rendered picture as the outer edge of its outline, one pixel inside the right
// and bottom edges hits, one pixel past them misses, at every zoom.
class CanvasNoteHit : public CanvasWidgetTest, public ::testing::WithParamInterface<float> {};

TEST_P(CanvasNoteHit, TheClickHitsTheBoxAsDrawn) {
    SetZoomTo(GetParam());
    // At the photo's centre, which every zoom shows.
    canvas.Model().Records().notes.push_back(MakeNote(POINT{400, 300}, "Window frame, left side"));
    const QImage shown = canvas.RenderToImage();
    const POINT anchor = canvas.MapPoint(POINT{400, 300}, false);
    const QPoint corner(anchor.x, anchor.y);
    // The outline is black: its last column along the top of the box, and
    // its last row below the start of the text.
    const QPoint inside = corner + QPoint(3, 3);
    ASSERT_TRUE(shown.rect().contains(inside));
    ASSERT_NE(At(shown, inside.x(), inside.y()), kWhitePx);
    int right = inside.x();
    while (right + 1 < shown.width() && At(shown, right + 1, inside.y()) != kWhitePx)
        ++right;
    int bottom = inside.y();
    while (bottom + 1 < shown.height() && At(shown, inside.x(), bottom + 1) != kWhitePx)
        ++bottom;
    ASSERT_EQ(At(shown, right, inside.y()), kBlackPx);
    ASSERT_EQ(At(shown, inside.x(), bottom), kBlackPx);
    // click, picked
    const std::pair<QPoint, bool> clicks[] = {{{right - 1, inside.y()}, true},
                                              {{right + 1, inside.y()}, false},
                                              {{inside.x(), bottom - 1}, true},
                                              {{inside.x(), bottom + 1}, false}};
    for (const auto& [click, picked] : clicks) {
        canvas.Model().SelectNote(-1);
        Click(click);
        EXPECT_EQ(canvas.Model().SelNote(), picked ? 0 : -1)
            << "zoom " << GetParam() << " click " << click.x() << "," << click.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, CanvasNoteHit, ::testing::Values(0.3f, 0.5f, 1.0f, 2.0f));

TEST_F(CanvasMouse, DimensionToolStoresTheEndsSoTheValueNeverStandsUpsideDown) {
    canvas.SetTool(ToolDimension);
    canvas.SetCurrentColour(RGB(1, 2, 3));
    LOGFONTA font = canvas.CurrentFont();
    font.lfHeight = -20;
    canvas.SetCurrentFont(font);
    // first click, second click, stored start, stored end
    const POINT cases[][4] = {{{100, 100}, {50, 100}, {50, 100}, {100, 100}},  // left: swapped
                              {{100, 100}, {100, 50}, {100, 100}, {100, 50}}}; // up: kept
    for (const auto& c : cases) {
        ClickPhoto(c[0]);
        EXPECT_EQ(counter.paints, 0) << "the first click does not repaint";
        ClickPhoto(c[1]);
        EXPECT_EQ(codes, std::vector<int>{CN_DIMENSION_ADDED});
        const Dimension& d = canvas.Model().Info().dimensions.back();
        EXPECT_EQ(std::tie(d.start, d.end, d.colour, d.font.lfHeight),
                  std::make_tuple(c[2], c[3], RGB(1, 2, 3), -20));
        Settle();
    }
    EXPECT_EQ(canvas.Model().SelDim(), 1); // the newest
}

struct HitCase {
    float zoom;
    POINT click;
    bool hits;
    const char* value = "";
    POINT a{100, 200}, b{300, 200}; // the dimension
};
void PrintTo(const HitCase& c, std::ostream* os) {
    *os << "zoom " << c.zoom << ", click ";
    PrintTo(c.click, os);
    *os << (c.hits ? " hits" : " misses") << " \"" << c.value << "\" from ";
    PrintTo(c.a, os);
    *os << " to ";
    PrintTo(c.b, os);
}
class CanvasMouseHit : public CanvasWidgetTest, public ::testing::WithParamInterface<HitCase> {};

// A dimension is picked strictly inside four view pixels of its segment (not
// of the extension beyond its ends) or on its value label above the middle.
TEST_P(CanvasMouseHit, SelectToolPicksTheSegmentAndItsLabelOnly) {
    const HitCase& c = GetParam();
    SetZoomTo(c.zoom);
    canvas.Model().Records().dimensions.push_back(MakeDimension(c.a, c.b, c.value));
    ClickPhoto(c.click);
    EXPECT_EQ(canvas.Model().SelDim(), c.hits ? 0 : -1);
    EXPECT_EQ(codes, std::vector<int>{c.hits ? CN_DIMENSION_SELECTED : CN_NOTHING_SELECTED});
}

// At zooms 1.0, 0.5 and 2.0 the last photo offset that hits and the first
// that misses; then beyond the end, on the label, no value so no label, the
// label of a short dimension beyond its end, an upward dimension's label on
// its left.
INSTANTIATE_TEST_SUITE_P(
    Clicks, CanvasMouseHit,
    ::testing::Values(HitCase{1.0f, {200, 203}, true}, HitCase{1.0f, {200, 204}, false},
                      HitCase{0.5f, {200, 206}, true}, HitCase{0.5f, {200, 208}, false},
                      HitCase{2.0f, {200, 201}, true}, HitCase{2.0f, {200, 202}, false},
                      HitCase{1.0f, {302, 200}, false}, HitCase{1.0f, {200, 192}, true, "12"},
                      HitCase{1.0f, {200, 192}, false},
                      HitCase{1.0f, {318, 195}, false, "123456789", {300, 200}, {306, 200}},
                      HitCase{1.0f, {95, 200}, true, "1234", {100, 300}, {100, 100}}));

TEST_F(CanvasMouse, ANewNoteOverADimensionWinsTheClickAndReselectingPostsWithoutRepainting) {
    canvas.Model().Records().dimensions.push_back(
        MakeDimension({50, 105}, {300, 105})); // font height -13
    LOGFONTA font = canvas.CurrentFont();
    font.lfHeight = -17;
    canvas.SetCurrentFont(font);
    canvas.SetTool(ToolNote);
    ClickPhoto(POINT{100, 100});
    EXPECT_EQ(std::make_tuple(canvas.Model().Info().notes.at(0).anchor,
                              canvas.Model().Records().notes[0].font.lfHeight),
              std::make_tuple(POINT{100, 100}, -17));
    canvas.SetTool(ToolSelect);
    ClickPhoto(POINT{200, 106});
    EXPECT_EQ(std::make_tuple(canvas.Model().SelDim(), canvas.Model().SelNote()),
              std::make_tuple(0, -1));
    EXPECT_EQ(canvas.CurrentFont().lfHeight, -13); // the picked record's font becomes current
    ClickPhoto(POINT{104, 105});
    EXPECT_EQ(std::make_tuple(canvas.Model().SelDim(), canvas.Model().SelNote()),
              std::make_tuple(-1, 0));
    EXPECT_EQ(canvas.CurrentFont().lfHeight, -17);
    ClickPhoto(POINT{200, 106});
    EXPECT_EQ(codes, (std::vector<int>{CN_NOTE_ADDED, CN_DIMENSION_SELECTED, CN_NOTE_SELECTED,
                                       CN_DIMENSION_SELECTED}));
    Settle();
    ClickPhoto(POINT{250, 104});
    EXPECT_EQ(codes, std::vector<int>{CN_DIMENSION_SELECTED});
    EXPECT_EQ(counter.paints, 0);
}

// Steps, view pixels per step, photo pixels moved.
class CanvasMouseDrag : public CanvasWidgetTest,
                        public ::testing::WithParamInterface<std::array<int, 3>> {};

// At zoom 2.0 a view pixel is half a photo pixel; the halves add up.
TEST_P(CanvasMouseDrag, SlowAndFastDragsMoveTheRecordAlikeUntilRelease) {
    const auto [steps, stepSize, moved] = GetParam();
    SetZoomTo(2.0f);
    canvas.Model().Records().notes.push_back(MakeNote(POINT{400, 300}));
    const QPoint start = ViewOf(POINT{402, 302});
    QTest::mousePress(&canvas, Qt::LeftButton, Qt::NoModifier, start);
    for (int i = 1; i <= steps; ++i)
        MoveTo(start + QPoint(i * stepSize, -i * stepSize));
    // Released outside: the canvas still gets it by the implicit grab.
    QTest::mouseRelease(&canvas, Qt::LeftButton, Qt::NoModifier, QPoint(-40, 900));
    MoveTo(start);
    EXPECT_EQ(canvas.Model().Info().notes[0].anchor, (POINT{400 + moved, 300 - moved}));
}

INSTANTIATE_TEST_SUITE_P(Zoom2, CanvasMouseDrag,
                         ::testing::Values(std::array{1, 10, 5}, std::array{10, 1, 5},
                                           std::array{3, 1, 1}, std::array{7, 3, 10}));

TEST_F(CanvasMouse, ARecordDragEndsAtAMoveWithNoButtonAndNeverWrapsAtTheCoordinateLimit) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    canvas.Model().Records().dimensions.push_back(MakeDimension({100, 200}, {kMax - 2, 200}));
    QTest::mousePress(&canvas, Qt::LeftButton, Qt::NoModifier, QPoint(150, 200));
    ASSERT_EQ(canvas.Model().SelDim(), 0);
    MoveTo(QPoint(160, 200));
    EXPECT_EQ(canvas.Model().Info().dimensions[0].start.x, 110);
    EXPECT_EQ(canvas.Model().Info().dimensions[0].end.x, kMax); // held at the limit
    // The release went elsewhere: the next move comes with no button held.
    MoveTo(QPoint(200, 260), Qt::NoButton);
    MoveTo(QPoint(220, 280));
    EXPECT_EQ(canvas.Model().Info().dimensions[0].start, (POINT{110, 200}));
}

TEST_F(CanvasMouse, DragToolPanFollowsTheMouseEvenWhenSlowAndShowsWhereItPanned) {
    CanvasAccess::Photo(canvas).setPixel(400, 300, qRgb(255, 0, 0));
    SetZoomTo(2.0f); // the canvas shows photo 200..600 x 150..450
    canvas.SetTool(ToolDrag);
    QTest::mousePress(&canvas, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    for (int x = 101; x <= 110; ++x)
        MoveTo(QPoint(x, 100));
    MoveTo(QPoint(200, 200), Qt::NoButton); // without the button the view stays
    EXPECT_EQ(canvas.SourceRect(), (RECT{195, 150, 595, 450}));
    const QPoint red = ViewOf(POINT{400, 300}); // magnified smoothly
    const QImage image = canvas.RenderToImage();
    EXPECT_TRUE(qGreen(image.pixel(red)) < 128 && At(image, red.x() - 3, red.y()) == kWhitePx);
}

// Answers the context menu with its item number `pick` (-1: dismissed) and
// remembers where the last one was shown and what it held ("-": a separator).
struct MenuAnswer : DesktopPrompter {
    QAction* PopupMenu(QMenu& menu, const QPoint& globalPos) override {
        where = globalPos;
        items.clear();
        for (QAction* action : menu.actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return menu.actions().value(pick);
    }
    int pick = 0;
    QPoint where;
    QStringList items;
};

TEST_F(CanvasWidgetTest, RightButtonOpensTheMenuAtThePointerAndPassesTheChosenCommandOn) {
    MenuAnswer answer;
    ScopedPrompter prompter(&answer);
    // The item picked (-1: dismissed, 4: the separator) and its command, with
    // every tool in turn. A first point flag left over from another tool does
    // not hide the menu.
    const int commandOf[] = {ID_ZOOM_IN, ID_ZOOM_OUT,     ID_ZOOM_ACTUAL,   ID_ZOOM_FIT,
                             0,          ID_ALL_DIM_FONT, ID_ALL_DIM_COLOUR};
    for (int pick : {0, 1, 2, 3, 5, 6, -1}) {
        const int32_t tool = (pick + 4) % 4;
        commands.clear();
        canvas.SetTool(tool);
        CanvasAccess::FirstPoint(canvas) = tool != ToolDimension;
        answer.pick = pick;
        Click(QPoint(120, 70), Qt::RightButton);
        EXPECT_EQ(answer.where, canvas.mapToGlobal(QPoint(120, 70)));
        EXPECT_EQ(answer.items.join(u'|'),
                  QString::fromUtf8("放大|縮小|實際大小|自適應大小|-|所有尺寸字體|所有尺寸顏色|-|"
                                    "復原(&U)|重做(&R)|-|參考平面(&P)...|寫入計算值"));
        EXPECT_EQ(commands, std::vector<int>(pick >= 0, pick >= 0 ? commandOf[pick] : 0)) << pick;
    }
    // With a half-drawn dimension the right button only drops it.
    answer.items.clear();
    canvas.SetTool(ToolDimension);
    CanvasAccess::FirstPoint(canvas) = 1;
    Click(QPoint(10, 10), Qt::RightButton);
    EXPECT_EQ(canvas.FirstPointPlaced(), 0);
    EXPECT_TRUE(answer.items.isEmpty());
}

// A distance (code 6) rewrites the selected dimension's whole value as one
// undo step, unless none is selected or its text is longer than the file
// keeps (refused). A key (code 15; 6: previous, 8: next) moves the selection
// around the list, from nothing selected (any negative index) next is the
// first and previous n - 2, and notifies; with no dimensions nothing is
// selected. Other keys and codes change nothing.
TEST_F(CanvasWidgetTest, RangeEventsWriteTheSelectedDimensionOrMoveTheSelection) {
    const struct {
        int dims;
        int32_t selected;
        int code;
        int32_t value;
        bool taken;
        int32_t selectedAfter;
        const char* values; // each ended by "|"
        bool notified;
    } cases[] = {{3, -1, 6, 99, true, -1, "a|b|c|", false},
                 {3, 7, 6, 98, true, 7, "a|b|c|", false},
                 {0, -1, 6, 97, true, -1, "", false},
                 {3, 1, 6, 2345, true, 1, "a|2345|c|", false},
                 {3, 1, 6, -7, true, 1, "a|-7|c|", false},
                 {3, 1, 6, INT32_MAX, true, 1, "a|2147483647|c|", false},
                 {3, 1, 6, -1000000000, false, 1, "a|b|c|", false},
                 {3, 1, 15, 8, true, 2, "a|b|c|", true},
                 {3, 2, 15, 8, true, 0, "a|b|c|", true},
                 {3, 0, 15, 6, true, 2, "a|b|c|", true},
                 {3, 2, 15, 6, true, 1, "a|b|c|", true},
                 {3, -1, 15, 8, true, 0, "a|b|c|", true},
                 {3, -1, 15, 6, true, 1, "a|b|c|", true},
                 {3, INT32_MIN, 15, 6, true, 1, "a|b|c|", true},
                 {3, INT32_MAX, 15, 8, true, 2, "a|b|c|", true},
                 {1, -1, 15, 6, true, 0, "a|", true},
                 {1, 0, 15, 8, true, 0, "a|", true},
                 {0, -1, 15, 8, true, -1, "", false},
                 {0, 4, 15, 6, true, -1, "", false},
                 {3, 1, 15, 7, true, 1, "a|b|c|", false},
                 {3, 1, 7, 2345, true, 1, "a|b|c|", false}};
    const auto values = [&] {
        std::string all;
        for (const Dimension& dim : canvas.Model().Records().dimensions)
            all += std::string(dim.value) + "|";
        return all;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dims << " dimensions, " << c.selected
                                        << " selected, event " << c.code << " " << c.value);
        ShowPhotoOnCanvas(canvas, Solid(800, 600)); // a new history
        for (int i = 0; i < c.dims; ++i)
            canvas.Model().Records().dimensions.push_back(
                MakeDimension({10 * i, 0}, {10 * i + 5, 9}, std::string(1, char('a' + i)).c_str()));
        canvas.Model().SelectDimension(c.selected);
        const std::string before = values();
        Settle();
        EXPECT_EQ(canvas.OnRangeValue(c.code, c.value), c.taken);
        Flush();
        EXPECT_EQ(canvas.Model().SelDim(), c.selectedAfter);
        EXPECT_EQ(values(), c.values);
        EXPECT_EQ(canvas.Model().History().Stack().count(), before == c.values ? 0 : 1);
        EXPECT_EQ(codes, c.notified ? std::vector<int>{CN_DIMENSION_SELECTED} : std::vector<int>{});
        canvas.Undo();
        EXPECT_EQ(values(), before);
    }
}

TEST_F(CanvasWidgetTest, RangeKeyCentresTheViewOnTheNewDimensionsMidpoint) {
    canvas.resize(200, 100);
    ShowPhotoOnCanvas(canvas, Solid(1000, 800));
    // The midpoint (600, 401): odd sums halve toward zero.
    canvas.Model().Records().dimensions = {MakeDimension({0, 0}, {5, 5}),
                                           MakeDimension({599, 400}, {601, 403})};
    canvas.Model().SelectDimension(0);
    EXPECT_TRUE(canvas.OnRangeValue(15, 8));
    EXPECT_EQ(canvas.SourceRect(), (RECT{500, 351, 700, 451}));
}

} // namespace
