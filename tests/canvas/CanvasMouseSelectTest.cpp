// The select tool through real mouse events: what a click picks, what it
// posts and repaints, and dragging the picked record.
#include "CanvasMouseSupport.h"

#include "canvas/HitTest.h"
#include "platform/Cp950.h"

namespace {

struct ToleranceCase {
    float zoom;
    int below; // photo pixels below a horizontal line
    bool hits;
};

class CanvasMouseTolerance : public CanvasMouseTest,
                             public ::testing::WithParamInterface<ToleranceCase> {};

TEST_P(CanvasMouseTolerance, LineIsHitStrictlyInsideFourViewPixels) {
    const ToleranceCase& c = GetParam();
    SetZoomTo(c.zoom);
    canvas->m_info.dimensions.push_back(MakeDimension({100, 200}, {300, 200}));
    UseTool(ToolSelect);
    ClickPhoto(POINT{200, 200 + c.below});
    EXPECT_EQ(canvas->m_nSelDim, c.hits ? 0 : -1);
    EXPECT_EQ(codes, std::vector<int>{c.hits ? CN_DIMENSION_SELECTED : CN_NOTHING_SELECTED});
}

INSTANTIATE_TEST_SUITE_P(
    Zooms, CanvasMouseTolerance,
    ::testing::Values(ToleranceCase{1.0f, 3, true}, ToleranceCase{1.0f, 4, false},
                      ToleranceCase{0.5f, 6, true}, ToleranceCase{0.5f, 8, false},
                      ToleranceCase{2.0f, 1, true}, ToleranceCase{2.0f, 2, false}));

TEST_F(CanvasMouseTest, ExtensionBeyondAnEndAndItsLabelSelectNothing) {
    // A short line whose wide value label reaches past both ends.
    canvas->m_info.dimensions.push_back(MakeDimension({300, 200}, {306, 200}, "123456789"));
    UseTool(ToolSelect);
    ClickPhoto(POINT{320, 200}); // on the extension
    EXPECT_EQ(canvas->m_nSelDim, -1);
    ClickPhoto(POINT{318, 195}); // inside the label's box, foot beyond the end
    EXPECT_EQ(canvas->m_nSelDim, -1);
    ClickPhoto(POINT{303, 195}); // the label above the segment
    EXPECT_EQ(canvas->m_nSelDim, 0);
    EXPECT_EQ(codes,
              (std::vector<int>{CN_NOTHING_SELECTED, CN_NOTHING_SELECTED, CN_DIMENSION_SELECTED}));
}

TEST_F(CanvasMouseTest, LongDiagonalIsSelectableAlongItsWholeLength) {
    ShowBlankPhoto(QSize(3100, 2100));
    SetZoomTo(0.2f);
    canvas->m_info.dimensions.push_back(MakeDimension({0, 0}, {3000, 2000}));
    UseTool(ToolSelect);
    for (int x = 30; x < 3000; x += 150) {
        canvas->m_nSelDim = -1;
        // The nearest photo point a view click reaches (every fifth pixel).
        const POINT q = canvas->MapPoint(POINT{x, x * 2 / 3}, false);
        QTest::mouseClick(canvas.get(), Qt::LeftButton, Qt::NoModifier, QPoint(q.x, q.y));
        Flush();
        EXPECT_EQ(canvas->m_nSelDim, 0) << "at photo x " << x;
    }
}

TEST_F(CanvasMouseTest, EmptyNoteBoxIsTenWideAndALineAndTenHigh) {
    InfoNote note = MakeNewNote(POINT{100, 100}, DefaultLogFont());
    canvas->m_info.notes.push_back(note);
    const int lineHeight =
        canvas->m_renderer.Measurer().LayoutNote(note.font, QByteArray("x")).lineHeight;
    ASSERT_GT(lineHeight, 0);
    UseTool(ToolSelect);
    const struct {
        POINT p;
        bool hits;
    } clicks[] = {{{100, 100}, true},
                  {{109, 100}, true},
                  {{110, 100}, false},
                  {{99, 100}, false},
                  {{100, 99}, false},
                  {{105, 100 + lineHeight + 9}, true},
                  {{105, 100 + lineHeight + 10}, false}};
    for (const auto& click : clicks) {
        canvas->m_nSelNote = -1;
        ClickPhoto(click.p);
        EXPECT_EQ(canvas->m_nSelNote, click.hits ? 0 : -1) << click.p.x << "," << click.p.y;
    }
}

TEST_F(CanvasMouseTest, NoteTextWrapsAsItIsDrawn) {
    // Six CJK characters: five on the first line, one on the second; two
    // letters, CR LF, two letters: two lines.
    InfoNote cjk = MakeNewNote(POINT{100, 100}, DefaultLogFont());
    cp950::CopyToField(cjk.text, cp950::FromQString(QString::fromUtf8("一二三四五六")));
    InfoNote latin = MakeNewNote(POINT{500, 100}, DefaultLogFont());
    cp950::CopyToField(latin.text, QByteArray("ab\r\ncd"));
    canvas->m_info.notes = {cjk, latin};
    const TextMeasurer::NoteLayout& gauge = canvas->m_renderer.Measurer().LayoutNote(
        cjk.font, cp950::FromQString(QString::fromUtf8("一二三四五")));
    const int lineHeight = gauge.lineHeight;
    const int fiveWide = gauge.widest;
    UseTool(ToolSelect);

    const struct {
        POINT p;
        int note;
    } clicks[] = {{{100 + fiveWide + 9, 100}, 0},       {{100 + fiveWide + 10, 100}, -1},
                  {{101, 100 + 2 * lineHeight + 9}, 0}, {{101, 100 + 2 * lineHeight + 10}, -1},
                  {{501, 100 + 2 * lineHeight + 9}, 1}, {{501, 100 + 2 * lineHeight + 10}, -1}};
    for (const auto& click : clicks) {
        ClickPhoto(click.p);
        EXPECT_EQ(canvas->m_nSelNote, click.note) << click.p.x << "," << click.p.y;
    }
}

TEST_F(CanvasMouseTest, NoteOverADimensionTakesTheClick) {
    canvas->m_info.dimensions.push_back(MakeDimension({50, 105}, {300, 105}));
    InfoNote note = MakeNewNote(POINT{100, 100}, DefaultLogFont());
    note.font.lfHeight = -17;
    canvas->m_info.notes.push_back(note);
    canvas->m_nSelDim = 0;
    UseTool(ToolSelect);
    Press(ViewOf(POINT{104, 105}));
    Flush();
    EXPECT_EQ(canvas->m_nSelNote, 0);
    EXPECT_EQ(canvas->m_nSelDim, -1);
    EXPECT_EQ(canvas->m_logFont.lfHeight, -17);
    EXPECT_EQ(canvas->m_bDragging, 1);
    EXPECT_EQ(codes, std::vector<int>{CN_NOTE_SELECTED});
    Release(ViewOf(POINT{104, 105}));
    EXPECT_EQ(canvas->m_bDragging, 0);
}

TEST_F(CanvasMouseTest, PickingTheSelectedDimensionAgainPostsWithoutRepainting) {
    Dimension dim = MakeDimension({100, 200}, {300, 200});
    dim.font.lfHeight = -25;
    canvas->m_info.dimensions.push_back(dim);
    canvas->m_nSelNote = 3;
    UseTool(ToolSelect);
    ClickPhoto(POINT{200, 201});
    EXPECT_EQ(canvas->m_nSelDim, 0);
    EXPECT_EQ(canvas->m_nSelNote, -1);
    EXPECT_EQ(canvas->m_logFont.lfHeight, -25);
    EXPECT_GE(counter.paints, 1);
    Settle();
    ClickPhoto(POINT{250, 199});
    EXPECT_EQ(codes, std::vector<int>{CN_DIMENSION_SELECTED});
    EXPECT_EQ(counter.paints, 0);
}

TEST_F(CanvasMouseTest, MissClearsBothSelectionsAndRepaints) {
    canvas->m_info.dimensions.push_back(MakeDimension({100, 200}, {300, 200}));
    canvas->m_nSelDim = 0;
    canvas->m_nSelNote = 0;
    UseTool(ToolSelect);
    ClickPhoto(POINT{600, 500});
    EXPECT_EQ(canvas->m_nSelDim, -1);
    EXPECT_EQ(canvas->m_nSelNote, -1);
    EXPECT_EQ(codes, std::vector<int>{CN_NOTHING_SELECTED});
    EXPECT_GE(counter.paints, 1);
}

struct DragCase {
    int steps, stepSize, moved;
};

class CanvasMouseDrag : public CanvasMouseTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(CanvasMouseDrag, SlowAndFastDragsMoveTheRecordAlike) {
    const DragCase& c = GetParam();
    SetZoomTo(2.0f);
    // At zoom 2 the canvas shows photo 200..600 x 150..450.
    canvas->m_info.notes.push_back(MakeNewNote(POINT{400, 300}, DefaultLogFont()));
    canvas->m_info.dimensions.push_back(MakeDimension({250, 200}, {350, 200}));
    canvas->m_nSelDim = 0; // a note pick clears it: only the note moves
    UseTool(ToolSelect);
    const QPoint start = ViewOf(POINT{402, 302});
    Press(start);
    for (int i = 1; i <= c.steps; ++i)
        MoveTo(start + QPoint(i * c.stepSize, -i * c.stepSize), Qt::LeftButton);
    Release(start + QPoint(c.steps * c.stepSize, -c.steps * c.stepSize));
    EXPECT_EQ(canvas->m_info.notes[0].anchor, (POINT{400 + c.moved, 300 - c.moved}));
    EXPECT_EQ(canvas->m_info.dimensions[0].start, (POINT{250, 200}));
    EXPECT_EQ(canvas->m_bDragging, 0);
}

INSTANTIATE_TEST_SUITE_P(Zoom2, CanvasMouseDrag,
                         ::testing::Values(DragCase{1, 10, 5}, DragCase{10, 1, 5},
                                           DragCase{3, 1, 1}, DragCase{7, 3, 10}));

TEST_F(CanvasMouseTest, BothSelectedRecordsMoveTogether) {
    canvas->m_info.dimensions.push_back(MakeDimension({100, 200}, {300, 200}));
    canvas->m_info.notes.push_back(MakeNewNote(POINT{500, 300}, DefaultLogFont()));
    UseTool(ToolSelect);
    Press(ViewOf(POINT{200, 200}));
    canvas->m_nSelNote = 0; // a note placed meanwhile keeps its selection too
    MoveTo(QPoint(230, 190), Qt::LeftButton);
    Release(QPoint(230, 190));
    EXPECT_EQ(canvas->m_info.dimensions[0].start, (POINT{130, 190}));
    EXPECT_EQ(canvas->m_info.dimensions[0].end, (POINT{330, 190}));
    EXPECT_EQ(canvas->m_info.notes[0].anchor, (POINT{530, 290}));
}

TEST_F(CanvasMouseTest, ReleaseOutsideTheCanvasEndsTheDrag) {
    canvas->m_info.dimensions.push_back(MakeDimension({100, 200}, {300, 200}));
    UseTool(ToolSelect);
    Press(QPoint(200, 200));
    MoveTo(QPoint(210, 200), Qt::LeftButton);
    Release(QPoint(-40, 900)); // the canvas gets the release by the implicit grab
    MoveTo(QPoint(300, 300), Qt::NoButton);
    EXPECT_EQ(canvas->m_bDragging, 0);
    EXPECT_EQ(canvas->m_info.dimensions[0].start, (POINT{110, 200}));
}

TEST_F(CanvasMouseTest, MoveWithNoButtonHeldNeverMovesTheRecord) {
    canvas->m_info.dimensions.push_back(MakeDimension({100, 200}, {300, 200}));
    UseTool(ToolSelect);
    Press(QPoint(200, 200));
    MoveTo(QPoint(205, 200), Qt::LeftButton);
    // The release went elsewhere: the next move comes with no button held.
    MoveTo(QPoint(260, 260), Qt::NoButton);
    MoveTo(QPoint(270, 270), Qt::LeftButton);
    EXPECT_EQ(canvas->m_bDragging, 0);
    EXPECT_EQ(canvas->m_info.dimensions[0].start, (POINT{105, 200}));
}

TEST_F(CanvasMouseTest, DraggingFarOutsideThePhotoIsNotClamped) {
    canvas->m_info.notes.push_back(MakeNewNote(POINT{5, 5}, DefaultLogFont()));
    UseTool(ToolSelect);
    Press(QPoint(7, 7));
    MoveTo(QPoint(-300, -200), Qt::LeftButton);
    Release(QPoint(-300, -200));
    EXPECT_EQ(canvas->m_info.notes[0].anchor, (POINT{-302, -202}));
}

TEST_F(CanvasMouseTest, DraggingARecordAtTheCoordinateLimitDoesNotWrap) {
    canvas->m_info.notes.push_back(MakeNewNote(POINT{5, 5}, DefaultLogFont()));
    canvas->m_info.dimensions.push_back(
        MakeDimension({100, 200}, {std::numeric_limits<int32_t>::max() - 2, 200}));
    UseTool(ToolSelect);
    Press(QPoint(150, 200));
    ASSERT_EQ(canvas->m_nSelDim, 0);
    MoveTo(QPoint(160, 200), Qt::LeftButton);
    EXPECT_EQ(canvas->m_info.dimensions[0].end.x, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(canvas->m_info.dimensions[0].start.x, 110);
}

} // namespace
