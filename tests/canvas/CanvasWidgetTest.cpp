// The canvas widget, shown and driven with real mouse and wheel events and
// with the range finder's events as the window passes them on: the view, one
// row per gesture of each tool (the records' rules are the edit model's and
// the renderer's; the hit tests' arithmetic is in ViewTest and RenderTest),
// the context menu, readings.
#include "canvas/AreaNameDialog.h"
#include "canvas/CanvasTestSupport.h"
#include "platform/Cp950Edit.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <array>
#include <tuple>

namespace {

// A shown 800 x 600 canvas with the select tool and a white 800 x 600 photo
// at zoom 1.0, so that view and photo points are the same. Records the
// notifications and menu commands the canvas sends.
class Canvas : public ::testing::Test {
protected:
    void SetUp() override {
        canvas.resize(800, 600);
        ShowPhotoOnCanvas(canvas, Solid(800, 600));
        canvas.SetTool(ToolSelect);
        QObject::connect(&canvas, &CPhotoCanvas::canvasNotify, [&](int c) { codes.push_back(c); });
        QObject::connect(&canvas, &CPhotoCanvas::menuCommand,
                         [&](int c) { commands.push_back(c); });
        canvas.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    }
    void SetZoomTo(float zoom, POINT centre = {400, 300}) {
        CanvasAccess::Zoom(canvas) = zoom;
        canvas.UpdateLayout();
        canvas.CentreOn(centre);
    }
    void Press(QPoint q, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(&canvas, button, Qt::NoModifier, q);
    }
    void Move(QPoint q, Qt::MouseButtons held = Qt::LeftButton,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent event(QEvent::MouseMove, QPointF(q), QPointF(canvas.mapToGlobal(q)),
                          Qt::NoButton, held, mods);
        QApplication::sendEvent(&canvas, &event);
    }
    void Release(QPoint q, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(&canvas, button, Qt::NoModifier, q);
    }
    void Click(QPoint q, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(&canvas, button, Qt::NoModifier, q);
        QApplication::processEvents();
    }
    void Wheel(QPoint at, int angle) {
        QWheelEvent event(QPointF(at), QPointF(canvas.mapToGlobal(at)), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &event);
    }
    int Steps() const { return canvas.Model().History().Stack().count(); }

    CPhotoCanvas canvas;
    std::vector<int> codes, commands;
};

// Resizing keeps the visible area's centre; a load fits in fit mode and
// drops the selection and a half-drawn dimension.
TEST_F(Canvas, ZoomAndFitHoldAcrossLoadsAndResizes) {
    QTemporaryDir dir;
    canvas.resize(300, 200);
    EXPECT_EQ(canvas.SourceRect(), (RECT{250, 200, 550, 400}));
    canvas.SetZoom(ZoomFit);
    canvas.Model().SelectDimension(1);
    CanvasAccess::FirstPoint(canvas) = 1;
    ASSERT_TRUE(CanvasAccess::LoadPhoto(canvas, WriteJpeg(dir, "p.jpg", 1000, 2000)));
    EXPECT_EQ(std::make_tuple(canvas.Zoom(), canvas.DestRect()),
              std::make_tuple(0.1f, RECT{100, 0, 200, 200}));
    EXPECT_EQ(std::make_tuple(canvas.Model().SelDim(), canvas.FirstPointPlaced()),
              std::make_tuple(-1, false));
}

// Two clicks of the dimension tool add one in the current colour and font; a
// note over a dimension wins the click, the picked record's font becomes
// current; each pick notifies.
TEST_F(Canvas, DimensionAndNoteToolsAddAndTheSelectToolPicks) {
    canvas.SetTool(ToolDimension);
    canvas.SetCurrentColour(RGB(1, 2, 3));
    LOGFONTA font = canvas.CurrentFont();
    font.lfHeight = -20;
    canvas.SetCurrentFont(font);
    Click(QPoint(300, 105));
    Click(QPoint(50, 105)); // leftwards: stored from left to right
    const Dimension& d = canvas.Model().Info().dimensions.at(0);
    EXPECT_EQ(std::tie(d.start, d.end, d.colour, d.font.lfHeight),
              std::make_tuple(POINT{50, 105}, POINT{300, 105}, RGB(1, 2, 3), -20));
    font.lfHeight = -17;
    canvas.SetCurrentFont(font);
    canvas.SetTool(ToolNote);
    Click(QPoint(100, 100));
    EXPECT_EQ(canvas.Model().Info().notes.at(0).anchor, (POINT{100, 100}));
    canvas.SetTool(ToolSelect);
    Click(QPoint(200, 106));
    Click(QPoint(104, 105));
    EXPECT_EQ(std::make_tuple(canvas.Model().SelDim(), canvas.Model().SelNote(),
                              canvas.CurrentFont().lfHeight),
              std::make_tuple(-1, 0, -17));
    EXPECT_EQ(codes, (std::vector<int>{CN_DIMENSION_ADDED, CN_NOTE_ADDED, CN_DIMENSION_SELECTED,
                                       CN_NOTE_SELECTED}));
}

// At zoom 2.0 a view pixel is half a photo pixel; the halves add up, for a
// record and for the selected dimension's end-point handle alike; the drag
// is one step, released outside the canvas by the implicit grab.
TEST_F(Canvas, SlowAndFastDragsMoveTheRecordAlikeUntilRelease) {
    // steps, view pixels per step, photo pixels moved
    for (const auto& [steps, stepSize, moved] : {std::array{1, 10, 5}, {10, 1, 5}, {3, 1, 1}}) {
        ShowPhotoOnCanvas(canvas, Solid(800, 600)); // a new history
        SetZoomTo(2.0f);                            // the canvas shows photo 200..600 x 150..450
        canvas.Model().Records().notes = {MakeNote(POINT{400, 300})};
        canvas.Model().Records().dimensions = {MakeDimension({200, 200}, {380, 200})};
        for (const QPoint start : {QPoint(404, 304), QPoint(360, 100)}) {
            canvas.Model().SelectDimension(start.y() == 100 ? 0 : -1);
            Press(start);
            for (int i = 1; i <= steps; ++i)
                Move(start + QPoint(i * stepSize, -i * stepSize));
            Release(QPoint(-40, 900));
            Move(start);
        }
        EXPECT_EQ(canvas.Model().Info().notes[0].anchor, (POINT{400 + moved, 300 - moved}));
        EXPECT_EQ(canvas.Model().Info().dimensions[0].end, (POINT{380 + moved, 200 - moved}));
        EXPECT_EQ(Steps(), 2);
    }
}

// The selected dimension's handles (white squares, with the select tool
// only): a handle wins over a note under it and drags its end alone, Shift
// keeping 45-degree steps; a drag past the other end swaps them on release;
// a record drag ends at a move with no button.
TEST_F(Canvas, HandlesDragOneEndAndRecordDragsEndWithoutAButton) {
    ShowPhotoOnCanvas(canvas, Solid(800, 600, Qt::gray));
    canvas.Model().Records().dimensions = {MakeDimension({100, 100}, {300, 100}, "12")};
    canvas.Model().Records().notes = {MakeNote({90, 90})};
    canvas.Model().SelectDimension(0);
    Press(QPoint(99, 99));
    Move(QPoint(400, 110), Qt::LeftButton, Qt::ShiftModifier); // 6 degrees: horizontal
    Release(QPoint(400, 110));
    EXPECT_EQ(std::make_pair(canvas.Model().SelNote(), canvas.Model().Info().dimensions[0].start),
              std::make_pair(-1, POINT{300, 100})); // swapped
    EXPECT_EQ(canvas.Model().Info().dimensions[0].end, (POINT{401, 100}));
    EXPECT_EQ(At(canvas.RenderToImage(), 299, 99), kWhitePx);
    Press(QPoint(320, 101));
    Move(QPoint(330, 101));
    Move(QPoint(200, 260), Qt::NoButton); // the release went elsewhere
    Move(QPoint(220, 280));
    EXPECT_EQ(canvas.Model().Info().dimensions[0].start, (POINT{310, 100}));
    EXPECT_EQ(Steps(), 2);
    canvas.SetTool(ToolDrag);
    EXPECT_EQ(canvas.HandleAt(POINT{310, 100}), -1);
    EXPECT_NE(At(canvas.RenderToImage(), 309, 99), kWhitePx);
}

// The drag tool, and the middle button in every tool, pan the view and keep
// the tool; the drag tool follows slow moves at zoom 2.
TEST_F(Canvas, DragToolAndMiddleButtonPan) {
    SetZoomTo(2.0f); // the canvas shows photo 200..600 x 150..450
    canvas.SetTool(ToolDrag);
    Press(QPoint(100, 100));
    for (int x = 101; x <= 110; ++x)
        Move(QPoint(x, 100));
    Move(QPoint(200, 200), Qt::NoButton); // without the button the view stays
    EXPECT_EQ(canvas.SourceRect(), (RECT{195, 150, 595, 450}));
    for (int tool : {ToolDrag, ToolDimension, ToolNote, ToolSelect}) {
        canvas.SetTool(tool);
        canvas.CentreOn(POINT{400, 300});
        Press(QPoint(400, 300), Qt::MiddleButton);
        Move(QPoint(300, 260), Qt::MiddleButton);
        Release(QPoint(300, 260), Qt::MiddleButton);
        EXPECT_EQ(std::make_tuple(canvas.SourceRect(), canvas.CurrentTool(), Steps()),
                  std::make_tuple(RECT{250, 170, 650, 470}, tool, 0));
    }
}

// A notch zooms one step keeping the photo point under the pointer where it
// is, as far as the photo's edges allow, and ends fit mode; fine wheel steps
// add up to a notch, and turning back starts counting afresh.
TEST_F(Canvas, TheWheelZoomsAboutThePointer) {
    ShowPhotoOnCanvas(canvas, Solid(4000, 3000));
    SetZoomTo(0.3f, {2000, 1500});
    CanvasAccess::Fit(canvas) = 1;
    const QPointF p = canvas.View().ViewToPhotoExact(POINT{611, 222});
    Wheel(QPoint(611, 222), 120);
    EXPECT_EQ(std::make_pair(canvas.Zoom(), canvas.FitMode()), std::make_pair(0.5f, false));
    EXPECT_LE((canvas.View().ViewToPhotoExact(POINT{611, 222}) - p).manhattanLength(), 4);
    SetZoomTo(1.0f, {0, 0});
    Wheel(QPoint(10, 10), -120); // the corner stops the view
    EXPECT_EQ(canvas.SourceRect(), (RECT{0, 0, 1142, 857}));
    // angle, zoom after it
    const std::pair<int, float> steps[] = {{90, 0.7f},  {30, 1.0f}, {90, 1.0f},
                                           {-60, 1.0f}, {60, 1.0f}, {-240, 0.5f}};
    for (const auto& [angle, zoom] : steps) {
        Wheel(QPoint(400, 300), angle);
        EXPECT_EQ(canvas.Zoom(), zoom) << angle;
    }
}

// A run of nudges is one step; a click ends the run. Undo selects the
// record it changed and brings it into view.
TEST_F(Canvas, NudgeRunsEndAtAClickAndUndoShowsWhatItChanged) {
    canvas.resize(200, 100);
    ShowPhotoOnCanvas(canvas, Solid(2000, 1000));
    canvas.Model().Records().dimensions = {MakeDimension({1500, 800}, {1600, 800})};
    canvas.Model().Records().notes = {MakeNote({10, 10})};
    canvas.Model().SelectDimension(0);
    canvas.NudgeSelection(1, 0);
    canvas.NudgeSelection(0, 10);
    Click(QPoint(5, 5));
    canvas.Model().SelectDimension(0);
    canvas.NudgeSelection(1, 0);
    EXPECT_EQ(std::make_pair(canvas.Model().Info().dimensions[0].start, Steps()),
              std::make_pair(POINT{1502, 810}, 2));
    canvas.Model().SelectNote(0);
    canvas.CentreOn(POINT{0, 0});
    canvas.Undo();
    EXPECT_EQ(std::make_pair(canvas.Model().SelDim(), canvas.Model().SelNote()),
              std::make_pair(0, -1));
    EXPECT_EQ(canvas.SourceRect(), (RECT{1451, 760, 1651, 860}));
}

// Answers the context menu with its item number `pick` (-1: dismissed) and
// remembers where it was shown, what it held ("-": a separator) and which
// items were enabled.
struct MenuAnswer : DesktopPrompter {
    QAction* PopupMenu(QMenu& menu, const QPoint& globalPos) override {
        where = globalPos;
        items.clear();
        for (QAction* action : menu.actions())
            items << (action->isSeparator()
                          ? QStringLiteral("-")
                          : action->text() + QString::number(action->isEnabled()));
        return menu.actions().value(pick);
    }
    int pick = 0;
    QPoint where;
    QStringList items;
};

// The menu opens at the pointer in every tool and passes the chosen command
// on (undo and redo enabled by the history, here empty); with a half-drawn
// dimension the right button only drops it.
TEST_F(Canvas, RightButtonOpensTheMenuAtThePointerAndPassesTheChosenCommandOn) {
    MenuAnswer answer;
    ScopedPrompter prompter(&answer);
    for (const auto& [pick, tool] : {std::pair{3, ToolNote}, {6, ToolDrag}, {-1, ToolSelect}}) {
        commands.clear();
        canvas.SetTool(tool);
        answer.pick = pick;
        Click(QPoint(120, 70), Qt::RightButton);
        EXPECT_EQ(answer.where, canvas.mapToGlobal(QPoint(120, 70)));
        EXPECT_EQ(commands,
                  std::vector<int>(pick >= 0, pick == 3 ? ID_ZOOM_FIT : ID_ALL_DIM_COLOUR));
    }
    EXPECT_EQ(
        answer.items.join(u'|'),
        QString::fromUtf8("放大1|縮小1|實際大小1|自適應大小1|-|所有尺寸字體1|所有尺寸顏色1|-|"
                          "復原(&U)0|重做(&R)0|-|參考平面(&P)...1|寫入計算值0|輸出正視圖(&V)...0"));
    answer.items.clear();
    canvas.SetTool(ToolDimension);
    CanvasAccess::FirstPoint(canvas) = 1;
    Click(QPoint(10, 10), Qt::RightButton);
    EXPECT_FALSE(canvas.FirstPointPlaced());
    EXPECT_TRUE(answer.items.isEmpty());
}

// A distance (code 6) rewrites the selected dimension's whole value as one
// undo step, unless none is selected or its text is longer than the file
// keeps (refused). A key (code 15; 6: previous, 8: next) moves the selection
// around the list, from nothing selected (any negative index) next is the
// first and previous n - 2, notifies and centres the view on the dimension's
// midpoint; with no dimensions nothing is selected. Other keys and codes
// change nothing.
TEST_F(Canvas, RangeEventsWriteTheSelectedDimensionOrMoveTheSelection) {
    // dimensions, selected, code, value, selected after, values (each ended by "|")
    const std::tuple<int, int32_t, int, int32_t, int32_t, const char*> cases[] = {
        {3, -1, 6, 99, -1, "a|b|c|"},
        {3, 1, 6, INT32_MAX, 1, "a|2147483647|c|"},
        {3, 1, 6, -1000000000, 1, "a|b|c|"},
        {3, 2, 15, 8, 0, "a|b|c|"},
        {3, 0, 15, 6, 2, "a|b|c|"},
        {3, INT32_MIN, 15, 6, 1, "a|b|c|"},
        {0, -1, 15, 8, -1, ""},
        {3, 1, 7, 2345, 1, "a|b|c|"}};
    canvas.resize(200, 100);
    for (const auto& [dims, selected, code, value, selectedAfter, expected] : cases) {
        SCOPED_TRACE(value);
        ShowPhotoOnCanvas(canvas, Solid(1000, 800)); // a new history
        for (int i = 0; i < dims; ++i)
            canvas.Model().Records().dimensions.push_back(MakeDimension(
                {300 * i, 0}, {300 * i + 5, 9}, std::string(1, char('a' + i)).c_str()));
        canvas.Model().SelectDimension(selected);
        QApplication::processEvents();
        codes.clear();
        EXPECT_EQ(canvas.OnRangeValue(code, value), value != -1000000000);
        QApplication::processEvents();
        EXPECT_EQ(canvas.Model().SelDim(), selectedAfter);
        std::string values;
        for (const Dimension& dim : canvas.Model().Records().dimensions)
            values += std::string(dim.value) + "|";
        EXPECT_EQ(values, expected);
        EXPECT_EQ(Steps(), values == "a|b|c|" || values.empty() ? 0 : 1);
        const bool moved = selectedAfter != selected;
        EXPECT_EQ(codes, moved ? std::vector<int>{CN_DIMENSION_SELECTED} : std::vector<int>{});
        if (moved) {
            EXPECT_EQ(canvas.SourceRect().left, std::max(0, 300 * selectedAfter - 98));
        }
    }
}

// Names every area closed as "A1" through the prompt seam.
class NamingPrompter : public RecordingPrompter {
public:
    int RunDialog(QDialog& dialog) override {
        auto* naming = qobject_cast<AreaNameDialog*>(&dialog);
        if (!naming)
            return QDialog::Rejected;
        naming->NameEdit()->setText(QStringLiteral("A1"));
        return QDialog::Accepted;
    }
};

std::vector<POINT> Points(std::initializer_list<POINT> points) {
    return points;
}

// The area and angle tools, one gesture a row: c click, d double click, r
// right click, x the window's Escape (CancelShape), b its Backspace
// (RemoveLastShapePoint). The shape added, if any, and whether points are
// still being placed.
TEST_F(Canvas, AreaAndAngleToolsPlaceCloseAndCancel) {
    const struct {
        const char* what;
        int32_t tool;
        const char* steps;        // each a letter, then x,y for the mouse
        std::vector<POINT> added; // the area's corners or the angle's three points
        bool placing;
    } rows[] = {
        {"four corners, then the first again", ToolArea,
         "c100,100 c300,100 c300,300 c100,300 c103,98",
         Points({{100, 100}, {300, 100}, {300, 300}, {100, 300}}), false},
        {"a double click closes", ToolArea, "c100,100 c300,100 d300,300",
         Points({{100, 100}, {300, 100}, {300, 300}}), false},
        {"right click cancels", ToolArea, "c100,100 c300,100 c300,300 r5,5", {}, false},
        {"Escape cancels", ToolArea, "c100,100 c300,100 c300,300 x", {}, false},
        {"Backspace takes the last corner back", ToolArea,
         "c100,100 c300,100 c500,500 b c300,300 d300,300",
         Points({{100, 100}, {300, 100}, {300, 300}}), false},
        {"two corners and a double click add nothing", ToolArea, "c100,100 d300,100", {}, true},
        {"an angle: arm, vertex, arm", ToolAngle, "c300,100 c100,100 c100,400",
         Points({{300, 100}, {100, 100}, {100, 400}}), false},
    };
    NamingPrompter prompter;
    ScopedPrompter scope(&prompter);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ShowPhotoOnCanvas(canvas, Solid(800, 600));
        canvas.SetTool(row.tool);
        for (const QString& step : QString::fromLatin1(row.steps).split(' ')) {
            const QStringList xy = step.mid(1).split(',');
            const QPoint q = xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : QPoint();
            const char kind = step[0].toLatin1();
            if (kind == 'c' || kind == 'r')
                Click(q, kind == 'c' ? Qt::LeftButton : Qt::RightButton);
            else if (kind == 'd') { // as the desktop sends it: a click, then the double click
                Click(q);
                QTest::mouseDClick(&canvas, Qt::LeftButton, Qt::NoModifier, q);
                Release(q);
            } else if (kind == 'x')
                canvas.CancelShape();
            else
                canvas.RemoveLastShapePoint();
        }
        const PhotoInfo& info = canvas.Model().Info();
        std::vector<POINT> added;
        if (!info.areas.empty()) {
            added = info.areas.front().corners;
            EXPECT_EQ(info.areas.front().name, "A1");
        } else if (!info.angles.empty()) {
            const AngleRecord& angle = info.angles.front();
            added = {angle.arm1, angle.vertex, angle.arm2};
        }
        EXPECT_EQ(added, row.added);
        EXPECT_EQ(info.areas.size() + info.angles.size(), row.added.empty() ? 0u : 1u);
        EXPECT_EQ(Steps(), row.added.empty() ? 0 : 1);
        EXPECT_EQ(canvas.PlacingShape(), row.placing);
    }
}

// With the select tool a corner's handle drags that corner and a press
// inside the polygon moves it whole; each is one step that undo takes back.
TEST_F(Canvas, AreaCornerDragAndMoveAreOneStepEach) {
    const std::vector<POINT> square = Points({{100, 100}, {300, 100}, {300, 300}, {100, 300}});
    const struct {
        QPoint from, to;
        std::vector<POINT> after;
    } rows[] = {
        {{300, 300}, {340, 320}, Points({{100, 100}, {300, 100}, {340, 320}, {100, 300}})},
        {{200, 200}, {210, 230}, Points({{110, 130}, {310, 130}, {310, 330}, {110, 330}})},
    };
    for (const auto& row : rows) {
        ShowPhotoOnCanvas(canvas, Solid(800, 600));
        canvas.SetTool(ToolSelect);
        AreaRecord area;
        area.corners = square;
        canvas.Model().AddArea(area);
        const int steps = Steps();
        Press(row.from);
        Move((row.from + row.to) / 2);
        Move(row.to);
        Release(row.to);
        EXPECT_EQ(canvas.Model().Info().areas.front().corners, row.after);
        EXPECT_EQ(Steps(), steps + 1);
        canvas.Undo();
        EXPECT_EQ(canvas.Model().Info().areas.front().corners, square);
    }
}

} // namespace
