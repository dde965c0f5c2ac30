// Editing on the canvas that can be taken back: end-point handles, the wheel
// zoom at the pointer, panning with the middle button or Space, keys with the
// canvas focused, and the undo history of the canvas's own edits.
#include "canvas/CanvasTestSupport.h"
#include "canvas/EndPointHandles.h"
#include "common/CanvasAccess.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <tuple>

namespace {

// A shown 800 x 600 canvas with a photo of the case's size at zoom 1.0.
class CanvasEditing : public ::testing::Test {
protected:
    void SetUp() override {
        canvas.resize(800, 600);
        ShowPhotoOnCanvas(canvas, Solid(800, 600, QColor(128, 128, 128)));
        canvas.SetTool(ToolSelect);
        canvas.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
        QApplication::processEvents();
    }
    void Send(QEvent::Type type, QPoint q, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent event(type, QPointF(q), QPointF(canvas.mapToGlobal(q)), button, held, mods);
        QApplication::sendEvent(&canvas, &event);
    }
    void Press(QPoint q, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, q, button, button);
    }
    void Move(QPoint q, Qt::MouseButtons held = Qt::LeftButton,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Send(QEvent::MouseMove, q, Qt::NoButton, held, mods);
    }
    void Release(QPoint q, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonRelease, q, button, Qt::NoButton);
    }
    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
        Press(from, button);
        Move(to, button);
        Release(to, button);
    }
    void Wheel(QPoint at, int angle) {
        QWheelEvent event(QPointF(at), QPointF(canvas.mapToGlobal(at)), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &event);
    }
    QByteArray Bytes() const { return canvas.Model().Info().Serialize(); }
    // One dimension from (100, 100) to (300, 100), selected.
    void OneSelectedDimension() {
        canvas.Model().Records().dimensions = {MakeDimension({100, 100}, {300, 100}, "12")};
        canvas.Model().SelectDimension(0);
    }

    CPhotoCanvas canvas;
};

// --- End-point handles ---

TEST(HandleGeometry, ShiftKeepsTheLineHorizontalVerticalOrDiagonal) {
    const struct {
        POINT free, kept;
    } cases[] = {
        {{150, 110}, {150, 100}}, // 11 degrees: horizontal
        {{40, 95}, {40, 100}},    // leftwards
        {{110, 150}, {100, 150}}, // steep: vertical
        {{95, 20}, {100, 20}},    // upwards
        {{140, 130}, {135, 135}}, // 37 degrees: diagonal, projected
        {{60, 140}, {60, 140}},   // exactly 135 degrees
        {{160, 36}, {162, 38}},   // -47 degrees: up and right
        {{100, 100}, {100, 100}}, // on the fixed end
    };
    for (const auto& c : cases) {
        const POINT kept = handles::ConstrainTo45(POINT{100, 100}, c.free);
        EXPECT_EQ(kept, c.kept) << c.free.x << "," << c.free.y;
    }
}

TEST(HandleGeometry, APressReachesTheNearerHandleWithinFourPixelsOfItsSquare) {
    const POINT start{100, 100}, end{300, 100};
    EXPECT_EQ(handles::HandleAt(start, end, POINT{107, 93}), 0);
    EXPECT_EQ(handles::HandleAt(start, end, POINT{108, 100}), -1);
    EXPECT_EQ(handles::HandleAt(start, end, POINT{293, 107}), 1);
    EXPECT_EQ(handles::HandleAt(start, end, POINT{200, 100}), -1);
    // Ends 6 pixels apart: the nearer wins.
    EXPECT_EQ(handles::HandleAt(start, POINT{106, 100}, POINT{104, 100}), 1);
    EXPECT_EQ(handles::HandleAt(start, POINT{106, 100}, POINT{102, 100}), 0);
}

TEST_F(CanvasEditing, AHandleWinsOverANoteAndDragsItsEndAloneAsOneStep) {
    OneSelectedDimension();
    // A note whose box covers the start's handle.
    canvas.Model().Records().notes = {MakeNote({90, 90})};
    const QByteArray before = Bytes();
    Press(QPoint(99, 99));
    Move(QPoint(119, 139));
    Release(QPoint(119, 139));
    EXPECT_EQ(canvas.Model().SelNote(), -1);
    EXPECT_EQ(canvas.Model().Info().dimensions[0].start, (POINT{120, 140}));
    EXPECT_EQ(canvas.Model().Info().dimensions[0].end, (POINT{300, 100}));
    EXPECT_EQ(canvas.Model().History().Stack().count(), 1);
    canvas.Undo();
    EXPECT_EQ(Bytes(), before);
}

TEST_F(CanvasEditing, WithoutASelectedDimensionOrOtherToolsThereAreNoHandles) {
    OneSelectedDimension();
    canvas.Model().SelectDimension(-1);
    EXPECT_EQ(canvas.HandleAt(POINT{100, 100}), -1);
    canvas.Model().SelectDimension(0);
    EXPECT_EQ(canvas.HandleAt(POINT{100, 100}), 0);
    canvas.SetTool(ToolDrag);
    EXPECT_EQ(canvas.HandleAt(POINT{100, 100}), -1);
}

TEST_F(CanvasEditing, ShiftHeldDuringAHandleDragKeepsTheAngle) {
    OneSelectedDimension();
    Press(QPoint(300, 100));
    Send(QEvent::MouseMove, QPoint(340, 170), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    Release(QPoint(340, 170));
    // 340, 170 from the start (100, 100): 16 degrees below the horizontal.
    EXPECT_EQ(canvas.Model().Info().dimensions[0].end, (POINT{340, 100}));
}

TEST_F(CanvasEditing, EndsAreNormalisedOnReleaseAndTheMovedEndStaysUnderThePointer) {
    const struct {
        POINT start, end;
        QPoint grab, drop;
        POINT storedStart, storedEnd;
    } cases[] = {
        // The end dragged left past the start: the ends swap.
        {{100, 100}, {300, 100}, {300, 100}, {20, 100}, {20, 100}, {100, 100}},
        // The upper end dragged straight below the other: stored pointing up.
        {{100, 300}, {100, 100}, {100, 100}, {100, 400}, {100, 400}, {100, 300}},
        // Still rightwards: nothing swaps.
        {{100, 100}, {300, 100}, {300, 100}, {200, 150}, {100, 100}, {200, 150}},
    };
    for (const auto& c : cases) {
        canvas.Model().Records().dimensions = {MakeDimension(c.start, c.end)};
        canvas.Model().SelectDimension(0);
        Drag(c.grab, c.drop);
        EXPECT_EQ(canvas.Model().Info().dimensions[0].start, c.storedStart);
        EXPECT_EQ(canvas.Model().Info().dimensions[0].end, c.storedEnd);
        EXPECT_NE(canvas.HandleAt(POINT{c.drop.x(), c.drop.y()}), -1);
    }
}

TEST_F(CanvasEditing, SlowHandleDragsAtZoomTwoStillMoveTheEnd) {
    CanvasAccess::Zoom(canvas) = 2.0f;
    canvas.UpdateLayout();
    canvas.CentreOn(POINT{300, 100});
    OneSelectedDimension();
    const POINT start = canvas.MapPoint(POINT{300, 100}, false);
    Press(QPoint(start.x, start.y));
    for (int i = 1; i <= 10; ++i)
        Move(QPoint(start.x + i, start.y));
    Release(QPoint(start.x + 10, start.y));
    EXPECT_EQ(canvas.Model().Info().dimensions[0].end, (POINT{305, 100}));
}

TEST_F(CanvasEditing, HandlesAreWhiteSquaresWithADarkOutlineOnTheScreenOnly) {
    OneSelectedDimension();
    QImage image = canvas.RenderToImage();
    // The outline ring at 3 pixels from the end, white inside (the line and
    // its arrow lie under the middle), grey photo beyond.
    for (QPoint p : {QPoint(97, 97), QPoint(103, 103), QPoint(97, 103), QPoint(303, 97)})
        EXPECT_LT(qGray(image.pixel(p)), 64) << p.x() << "," << p.y();
    EXPECT_EQ(At(image, 98, 98), kWhitePx);
    EXPECT_EQ(At(image, 302, 102), kWhitePx);
    EXPECT_EQ(At(image, 95, 95), 0x808080u);
    canvas.SetTool(ToolDimension);
    image = canvas.RenderToImage();
    EXPECT_NE(At(image, 98, 98), kWhitePx);
}

// --- Wheel zoom ---

struct WheelCase {
    QSize photo;
    float zoom;     // before
    POINT centreOn; // photo point the view is centred on first
    QPoint cursor;
    int angle;         // one notch forwards or back
    float zoomAfter;   // the next step
    bool edgeX, edgeY; // the photo's edge stops the view on that axis
};
void PrintTo(const WheelCase& c, std::ostream* os) {
    *os << c.photo.width() << "x" << c.photo.height() << " zoom " << c.zoom << " at "
        << c.cursor.x() << "," << c.cursor.y() << " angle " << c.angle;
}
class WheelZoom : public CanvasEditing, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(WheelZoom, KeepsThePhotoPointUnderTheCursorAsFarAsTheEdgesAllow) {
    const WheelCase c = GetParam();
    ShowPhotoOnCanvas(canvas, Solid(c.photo.width(), c.photo.height()));
    CanvasAccess::Zoom(canvas) = c.zoom;
    canvas.UpdateLayout();
    canvas.CentreOn(c.centreOn);
    CanvasAccess::Fit(canvas) = 1; // as if fitted: the wheel ends fit mode
    const RECT src = canvas.SourceRect(), dst = canvas.DestRect();
    const double px = src.left + (c.cursor.x() - dst.left) / static_cast<double>(c.zoom);
    const double py = src.top + (c.cursor.y() - dst.top) / static_cast<double>(c.zoom);

    Wheel(c.cursor, c.angle);

    EXPECT_EQ(canvas.Zoom(), c.zoomAfter);
    EXPECT_EQ(canvas.FitMode(), 0);
    const RECT& s = canvas.SourceRect();
    const RECT& d = canvas.DestRect();
    const double vx = d.left + (px - s.left) * c.zoomAfter;
    const double vy = d.top + (py - s.top) * c.zoomAfter;
    if (c.edgeX)
        EXPECT_TRUE(s.left == 0 || s.right == c.photo.width()) << s.left;
    else
        EXPECT_LE(std::abs(vx - c.cursor.x()), 1.0) << vx;
    if (c.edgeY)
        EXPECT_TRUE(s.top == 0 || s.bottom == c.photo.height()) << s.top;
    else
        EXPECT_LE(std::abs(vy - c.cursor.y()), 1.0) << vy;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WheelZoom,
    ::testing::Values(
        // In the middle of a large photo, in and out, at several places.
        WheelCase{{4000, 3000}, 1.0f, {2000, 1500}, {400, 300}, 120, 2.0f, false, false},
        WheelCase{{4000, 3000}, 1.0f, {2000, 1500}, {123, 457}, 120, 2.0f, false, false},
        WheelCase{{4000, 3000}, 1.0f, {2000, 1500}, {777, 13}, -120, 0.7f, false, false},
        WheelCase{{4000, 3000}, 0.3f, {2000, 1500}, {611, 222}, 120, 0.5f, false, false},
        WheelCase{{4000, 3000}, 0.5f, {2000, 1500}, {50, 550}, -120, 0.3f, false, false},
        WheelCase{{4000, 3000}, 0.7f, {2000, 1500}, {333, 111}, 120, 1.0f, false, false},
        // Near the top-left corner zooming out: the edge stops the view.
        WheelCase{{4000, 3000}, 1.0f, {0, 0}, {10, 10}, -120, 0.7f, true, true},
        // Near the right edge zooming in: the point stays.
        WheelCase{{4000, 3000}, 1.0f, {4000, 1500}, {790, 300}, 120, 2.0f, false, false},
        // A photo smaller than the canvas once zoomed out: centred, edges rule.
        WheelCase{{1000, 800}, 1.0f, {500, 400}, {200, 100}, -120, 0.7f, true, true},
        // A wide photo: fits across only after zooming out.
        WheelCase{{3000, 500}, 1.0f, {1500, 250}, {600, 300}, 120, 2.0f, false, false}));

TEST_F(CanvasEditing, FineWheelStepsAddUpToANotchAndTurningBackStartsAgain) {
    ShowPhotoOnCanvas(canvas, Solid(4000, 3000));
    for (int i = 0; i < 3; ++i)
        Wheel(QPoint(400, 300), 30);
    EXPECT_EQ(canvas.Zoom(), 1.0f);
    Wheel(QPoint(400, 300), 30);
    EXPECT_EQ(canvas.Zoom(), 2.0f);
    Wheel(QPoint(400, 300), 90);
    Wheel(QPoint(400, 300), -60); // back: the 90 forwards are forgotten
    Wheel(QPoint(400, 300), 60);
    EXPECT_EQ(canvas.Zoom(), 2.0f);
    Wheel(QPoint(400, 300), -120);
    Wheel(QPoint(400, 300), -240); // two notches at once
    EXPECT_EQ(canvas.Zoom(), 0.5f);
}

// --- Panning ---

TEST_F(CanvasEditing, MiddleButtonPansInEveryToolAndKeepsTheTool) {
    ShowPhotoOnCanvas(canvas, Solid(4000, 3000));
    for (int tool : {ToolDrag, ToolDimension, ToolNote, ToolSelect}) {
        canvas.SetTool(tool);
        canvas.CentreOn(POINT{2000, 1500});
        const RECT before = canvas.SourceRect();
        Press(QPoint(400, 300), Qt::MiddleButton);
        Move(QPoint(350, 280), Qt::MiddleButton);
        Release(QPoint(350, 280), Qt::MiddleButton);
        EXPECT_EQ(canvas.SourceRect().left, before.left + 50) << tool;
        EXPECT_EQ(canvas.SourceRect().top, before.top + 20) << tool;
        EXPECT_EQ(canvas.CurrentTool(), tool);
        EXPECT_TRUE(canvas.Model().Info().dimensions.empty() &&
                    canvas.Model().Records().notes.empty());
        EXPECT_EQ(canvas.FirstPointPlaced(), 0);
    }
}

// --- Nudging the selection (the window's Alt+arrow keys) ---

// The rule (a run of nudges is one step) is the edit model's; here: the
// canvas passes nudges on and a click ends the run.
TEST_F(CanvasEditing, NudgesMoveTheSelectionAndAClickEndsTheRun) {
    OneSelectedDimension();
    const QByteArray before = Bytes();
    canvas.NudgeSelection(1, 0);
    canvas.NudgeSelection(0, 10);
    EXPECT_EQ(canvas.Model().Info().dimensions[0].start, (POINT{101, 110}));
    Press(QPoint(5, 5));
    Release(QPoint(5, 5));
    canvas.Model().SelectDimension(0);
    canvas.NudgeSelection(1, 0);
    EXPECT_EQ(canvas.Model().History().Stack().count(), 2);
    canvas.Undo();
    canvas.Undo();
    EXPECT_EQ(Bytes(), before);
}

// --- The history of the canvas's own edits ---

TEST_F(CanvasEditing, DrawingPlacingAndDraggingAreStepsThatUndoToTheSameBytes) {
    canvas.Model().Records().dimensions = {MakeDimension({100, 100}, {300, 100})};
    canvas.Model().Records().notes = {MakeNote({500, 400})};
    std::vector<QByteArray> states{Bytes()};
    canvas.SetTool(ToolDimension);
    Press(QPoint(50, 300));
    Release(QPoint(50, 300));
    Press(QPoint(10, 300)); // leftwards: stored swapped
    Release(QPoint(10, 300));
    states.push_back(Bytes());
    canvas.SetTool(ToolNote);
    Press(QPoint(600, 100));
    Release(QPoint(600, 100));
    states.push_back(Bytes());
    canvas.SetTool(ToolSelect);
    Drag(QPoint(505, 405), QPoint(545, 385)); // the note
    states.push_back(Bytes());
    Drag(QPoint(200, 100), QPoint(200, 100)); // picked, not moved: no step
    Drag(QPoint(200, 100), QPoint(230, 150), Qt::LeftButton);
    states.push_back(Bytes());
    ASSERT_EQ(canvas.Model().History().Stack().count(), 4);
    for (size_t i = states.size() - 1; i > 0; --i) {
        canvas.Undo();
        EXPECT_EQ(Bytes(), states[i - 1]) << i;
    }
    for (size_t i = 1; i < states.size(); ++i) {
        canvas.Redo();
        EXPECT_EQ(Bytes(), states[i]) << i;
    }
}

TEST_F(CanvasEditing, UndoDuringADragTakesTheDragBack) {
    OneSelectedDimension();
    const QByteArray before = Bytes();
    Press(QPoint(200, 100));
    Move(QPoint(260, 180));
    canvas.Undo();
    EXPECT_EQ(Bytes(), before);
    Move(QPoint(300, 200)); // the drag is over
    Release(QPoint(300, 200));
    EXPECT_EQ(Bytes(), before);
    EXPECT_TRUE(canvas.Model().History().Stack().canRedo());
}

TEST_F(CanvasEditing, UndoSelectsTheRecordAndBringsItIntoView) {
    canvas.resize(200, 100);
    ShowPhotoOnCanvas(canvas, Solid(2000, 1000));
    canvas.Model().Records().dimensions = {MakeDimension({1500, 800}, {1600, 800})};
    canvas.Model().Records().notes = {MakeNote({10, 10})};
    canvas.Model().SelectDimension(0);
    canvas.NudgeSelection(1, 0);
    canvas.Model().SelectDimension(-1);
    canvas.Model().SelectNote(0);
    canvas.CentreOn(POINT{0, 0});
    int shown = 0;
    QObject::connect(&canvas, &CPhotoCanvas::historyShown, [&] { ++shown; });
    canvas.Undo();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(canvas.Model().SelDim(), 0);
    EXPECT_EQ(canvas.Model().SelNote(), -1);
    EXPECT_EQ(canvas.SourceRect(), (RECT{1450, 750, 1650, 850}));
}

// The context menu's history entries follow the history.
struct MenuItems : DesktopPrompter {
    QAction* PopupMenu(QMenu& menu, const QPoint&) override {
        enabled.clear();
        for (QAction* action : menu.actions())
            if (!action->isSeparator())
                enabled << action->isEnabled();
        return nullptr;
    }
    QList<bool> enabled;
};

TEST_F(CanvasEditing, UndoAndRedoInTheMenuAreEnabledOnlyWhenTheyCanAct) {
    MenuItems menu;
    ScopedPrompter scope(&menu);
    const QList<bool> zoomAndFonts{true, true, true, true, true, true};
    OneSelectedDimension();
    for (const auto& [step, undo, redo] :
         {std::tuple{0, false, false}, std::tuple{1, true, false}, std::tuple{2, false, true},
          std::tuple{3, true, false}}) {
        if (step == 1)
            canvas.NudgeSelection(-1, 0);
        if (step == 2)
            canvas.Undo();
        if (step == 3)
            canvas.Redo();
        QTest::mouseClick(&canvas, Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
        // The reference items follow: the plane always, nothing to write yet.
        EXPECT_EQ(menu.enabled, (zoomAndFonts + QList<bool>{undo, redo, true, false})) << step;
    }
}

} // namespace
