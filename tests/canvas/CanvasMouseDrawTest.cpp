// Drawing with the dimension and note tools, through real mouse events.
#include "CanvasMouseSupport.h"

#include "platform/Cp950.h"

namespace {

struct DirectionCase {
    POINT first, second;
    POINT start, end; // as stored
};

class CanvasMouseDimensionOrder : public CanvasMouseTest,
                                  public ::testing::WithParamInterface<DirectionCase> {};

TEST_P(CanvasMouseDimensionOrder, StoresTheEndsSoTheValueNeverStandsUpsideDown) {
    const DirectionCase& c = GetParam();
    UseTool(ToolDimension);
    canvas->m_pendingDim.colour = RGB(1, 2, 3);
    canvas->m_logFont.lfHeight = -20;
    canvas->m_nSelNote = 4; // kept as it is
    ClickPhoto(c.first);
    ClickPhoto(c.second);
    ASSERT_EQ(canvas->m_info.dimensions.size(), 1u);
    const Dimension& d = canvas->m_info.dimensions[0];
    EXPECT_EQ(d.start, c.start);
    EXPECT_EQ(d.end, c.end);
    EXPECT_EQ(d.colour, RGB(1, 2, 3));
    EXPECT_EQ(d.font.lfHeight, -20);
    EXPECT_EQ(cp950::FieldLength(d.value, sizeof d.value), 0u);
    EXPECT_EQ(canvas->m_nSelDim, 0);
    EXPECT_EQ(canvas->m_nSelNote, 4);
    EXPECT_EQ(canvas->m_bFirstPoint, 0);
    EXPECT_EQ(codes, std::vector<int>{CN_DIMENSION_ADDED});
}

INSTANTIATE_TEST_SUITE_P(Directions, CanvasMouseDimensionOrder,
                         ::testing::Values(
                             // Pointing left: exchanged.
                             DirectionCase{{100, 100}, {50, 100}, {50, 100}, {100, 100}},
                             // Straight up (90 degrees): kept.
                             DirectionCase{{100, 100}, {100, 50}, {100, 100}, {100, 50}},
                             // Straight down (-90 degrees): exchanged.
                             DirectionCase{{100, 50}, {100, 100}, {100, 100}, {100, 50}},
                             // Pointing right: kept.
                             DirectionCase{{10, 20}, {300, 40}, {10, 20}, {300, 40}}));

TEST_F(CanvasMouseTest, FirstDimensionClickDoesNotRepaintTheSecondDoes) {
    UseTool(ToolDimension);
    ClickPhoto(POINT{100, 100});
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(canvas->m_bFirstPoint, 1);
    EXPECT_TRUE(codes.empty());
    EXPECT_TRUE(canvas->m_info.dimensions.empty());
    ClickPhoto(POINT{200, 100});
    EXPECT_GE(counter.paints, 1);
}

TEST_F(CanvasMouseTest, SecondDimensionIsSelectedAndLeavesTheFirstAlone) {
    UseTool(ToolDimension);
    ClickPhoto(POINT{10, 10});
    ClickPhoto(POINT{60, 10});
    ClickPhoto(POINT{10, 80});
    ClickPhoto(POINT{60, 80});
    ASSERT_EQ(canvas->m_info.dimensions.size(), 2u);
    EXPECT_EQ(canvas->m_nSelDim, 1);
    EXPECT_EQ(canvas->m_info.dimensions[0].start, (POINT{10, 10}));
    EXPECT_EQ(codes, (std::vector<int>{CN_DIMENSION_ADDED, CN_DIMENSION_ADDED}));
}

TEST_F(CanvasMouseTest, ClickInTheMarginMakesARecordOutsideThePhoto) {
    SetZoomTo(0.5f); // the photo covers the middle of the canvas only
    UseTool(ToolNote);
    QTest::mouseClick(canvas.get(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    Flush();
    ASSERT_EQ(canvas->m_info.notes.size(), 1u);
    EXPECT_LT(canvas->m_info.notes[0].anchor.x, 0);
    EXPECT_LT(canvas->m_info.notes[0].anchor.y, 0);
}

TEST_F(CanvasMouseTest, PlacingANoteSelectsItAndKeepsTheDimensionIndex) {
    canvas->m_info.dimensions.push_back(MakeDimension({10, 10}, {100, 10}));
    canvas->m_nSelDim = 0;
    canvas->m_logFont.lfHeight = -30;
    UseTool(ToolNote);
    ClickPhoto(POINT{300, 200});
    ASSERT_EQ(canvas->m_info.notes.size(), 1u);
    const InfoNote& note = canvas->m_info.notes[0];
    EXPECT_EQ(note.anchor, (POINT{300, 200}));
    EXPECT_STREQ(note.title, kNewNoteTitle);
    EXPECT_EQ(note.text[0], '\0');
    EXPECT_EQ(note.font.lfHeight, -30);
    EXPECT_EQ(canvas->m_nSelNote, 0);
    EXPECT_EQ(canvas->m_nSelDim, 0);
    EXPECT_EQ(codes, std::vector<int>{CN_NOTE_ADDED});
    EXPECT_GE(counter.paints, 1);

    ClickPhoto(POINT{400, 200});
    EXPECT_EQ(canvas->m_nSelNote, 1);
}

} // namespace
