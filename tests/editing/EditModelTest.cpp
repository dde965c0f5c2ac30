// The edit model without a window: deleting and what is selected next,
// runs of typing as one step each, the reference changes as one step each.
// (Runs of nudges and drags: the canvas's tests; a move at the coordinate limits: here.)

#include "editing/EditModel.h"
#include "common/RecordBuilders.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

QString Values(const PhotoInfo& info, bool notes) {
    QString s;
    if (notes)
        for (const InfoNote& n : info.notes)
            s += QString::fromLatin1(n.title);
    else
        for (const Dimension& d : info.dimensions)
            s += QString::fromLatin1(d.value);
    return s;
}

// Four dimensions "0".."3" and four notes titled "0".."3", or `count` of each.
void Fill(EditModel& model, int count = 4) {
    for (int i = 0; i < count; ++i) {
        model.Records().dimensions.push_back(
            MakeDimension({0, 10 * i}, {100, 10 * i}, QString::number(i)));
        model.Records().notes.push_back(MakeTitledNote({0, 10 * i}, QString::number(i)));
    }
}

struct DeleteCase {
    int count;
    int selected;
    int selectedAfter;
    const char* left;
};

class DeleteAndReselect : public ::testing::TestWithParam<std::tuple<bool, DeleteCase>> {};

TEST_P(DeleteAndReselect, TheFollowingRecordTakesThePlaceAndUndoPutsItBack) {
    const auto [notes, c] = GetParam();
    EditModel model;
    Fill(model, c.count);
    const QByteArray before = model.Info().Serialize();
    notes ? model.SelectNote(c.selected) : model.SelectDimension(c.selected);
    ASSERT_TRUE(notes ? model.DeleteSelectedNote() : model.DeleteSelectedDimension());
    EXPECT_EQ(Values(model.Info(), notes), QString::fromLatin1(c.left));
    EXPECT_EQ(notes ? model.SelNote() : model.SelDim(), c.selectedAfter);
    EXPECT_EQ(model.History().Stack().count(), 1);
    model.History().Undo();
    EXPECT_EQ(model.Info().Serialize(), before);
    EXPECT_EQ(notes ? model.SelNote() : model.SelDim(), c.selected);
    // The other kind's selection is not touched, and nothing selected deletes nothing.
    EXPECT_EQ(notes ? model.SelDim() : model.SelNote(), -1);
    EXPECT_FALSE(notes ? model.DeleteSelectedDimension() : model.DeleteSelectedNote());
}

const DeleteCase kDeletes[] = {
    {4, 0, 0, "123"}, {4, 1, 1, "023"}, {4, 3, 2, "012"}, {1, 0, -1, ""}};
INSTANTIATE_TEST_SUITE_P(NotesAndDimensions, DeleteAndReselect,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(kDeletes)));

// Typing into a field: each keystroke changes the record; a run of them in
// one field of one record is one step until the run ends.
struct RunCase {
    const char* name;
    const char* keys; // v, t, x: a letter typed into the value, title, text;
                      // b: the value's last letter taken back; e: the run ends
                      // (focus moved); o: the other dimension selected
    int steps;
};
class TypingRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(TypingRun, IsOneStepUntilAnotherRecordAnotherFieldOrTheFocusEndsIt) {
    EditModel model;
    Fill(model, 2);
    model.SelectDimension(0);
    model.SelectNote(0);
    const QByteArray before = model.Info().Serialize();
    const auto append = [](char* field) { field[strlen(field)] = 'k'; };
    for (const char* k = GetParam().keys; *k; ++k) {
        if (*k == 'v' || *k == 'b')
            model.ChangeSelectedDimension(
                [&](Dimension& d) { *k == 'v' ? append(d.value) : void(d.value[1] = 0); },
                EditRun::Value);
        else if (*k == 't' || *k == 'x')
            model.ChangeSelectedNote([&](InfoNote& n) { append(*k == 't' ? n.title : n.text); },
                                     *k == 't' ? EditRun::Title : EditRun::Text);
        else if (*k == 'e')
            model.History().EndRun();
        else
            model.SelectDimension(1);
    }
    EXPECT_EQ(model.History().Stack().count(), GetParam().steps);
    while (model.History().Stack().canUndo())
        model.History().Undo();
    EXPECT_EQ(model.Info().Serialize(), before);
}

INSTANTIATE_TEST_SUITE_P(Keys, TypingRun,
                         ::testing::Values(RunCase{"OneField", "vvv", 1},
                                           RunCase{"FocusLeft", "vvevv", 2},
                                           RunCase{"AnotherRecord", "vvov", 2},
                                           RunCase{"AnotherField", "ttxxt", 3},
                                           RunCase{"EndsWhereItBegan", "vb", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditModel, ADeletedReferenceTakesItsMarkAndALaterOneFollowsItsDimension) {
    EditModel model;
    Fill(model);
    model.Records().reference.dimension = 2;
    model.SelectDimension(0);
    model.DeleteSelectedDimension();
    EXPECT_EQ(model.Info().reference.dimension, 1);
    model.SelectDimension(1);
    model.DeleteSelectedDimension();
    EXPECT_EQ(model.Info().reference.dimension, -1);
    model.History().Undo();
    EXPECT_EQ(model.Info().reference.dimension, 1);
}

TEST(EditModel, ReferenceChangesAreOneStepEach) {
    EditModel model;
    model.Records().dimensions = {MakeDimension({0, 0}, {100, 0}, QStringLiteral("200")),
                                  MakeDimension({0, 50}, {50, 50}),
                                  MakeDimension({0, 90}, {30, 90}, QStringLiteral("door"))};
    const QByteArray before = model.Info().Serialize();
    EXPECT_FALSE(model.SetReferenceDimension(2, true)); // not a length
    EXPECT_FALSE(model.SetReferenceDimension(3, true));
    EXPECT_FALSE(model.DeleteReferencePlane());
    ASSERT_TRUE(model.SetReferenceDimension(0, true));
    EXPECT_TRUE(model.HasComputedValue());
    EXPECT_EQ(model.WriteComputedValues(), 1);
    EXPECT_STREQ(model.Info().dimensions[1].value, "100"); // 50 px at 2 mm a pixel
    model.SetReferencePlane(
        {QPointF(0, 0), QPointF(400.4, 0), QPointF(400, 300), QPointF(0, 299.6)}, 800, 600);
    EXPECT_EQ(model.Info().reference.plane.corners[1], (POINT{400, 0}));
    EXPECT_TRUE(model.DeleteReferencePlane());
    ASSERT_TRUE(model.SetReferenceDimension(0, false));
    EXPECT_EQ(model.History().Stack().count(), 5);
    while (model.History().Stack().canUndo())
        model.History().Undo();
    EXPECT_EQ(model.Info().Serialize(), before);
}

TEST(EditModel, APlaneCornerDragIsOneStepOrPutBack) {
    EditModel model;
    model.SetReferencePlane({QPointF(0, 0), QPointF(400, 0), QPointF(400, 300), QPointF(0, 300)},
                            800, 600);
    const QByteArray placed = model.Info().Serialize();
    QString problem;
    // Onto another corner, and across the plane: put back, no step.
    for (POINT bad : {POINT{400, 0}, POINT{300, 200}}) {
        model.BeginPlaneDrag();
        model.MovePlaneCorner(0, bad);
        EXPECT_FALSE(model.FinishPlaneDrag(&problem));
        EXPECT_EQ(model.Info().Serialize(), placed);
    }
    EXPECT_EQ(model.History().Stack().count(), 1);
    model.BeginPlaneDrag();
    model.MovePlaneCorner(0, POINT{-20, -10});
    EXPECT_TRUE(model.FinishPlaneDrag(&problem));
    EXPECT_EQ(model.History().Stack().count(), 2);
    model.History().Undo();
    EXPECT_EQ(model.Info().Serialize(), placed);
}

// A record read from a file may lie near the int32 limits: a move stops at
// the limit, it never wraps around to the other side of the photo.
TEST(EditModel, AMoveStopsAtTheCoordinateLimitsInsteadOfWrapping) {
    const int32_t top = std::numeric_limits<int32_t>::max(),
                  low = std::numeric_limits<int32_t>::min();
    EditModel model;
    model.Records().dimensions = {MakeDimension({top - 5, low + 5}, {0, 0})};
    model.SelectDimension(0);
    model.NudgeSelection(10, -10);
    EXPECT_EQ(model.Info().dimensions[0].start.x, top);
    EXPECT_EQ(model.Info().dimensions[0].start.y, low);
    EXPECT_EQ(model.Info().dimensions[0].end.x, 10);
}

} // namespace
