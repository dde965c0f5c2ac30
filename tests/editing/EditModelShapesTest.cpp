// The edit model's areas and angles: each add, nudge run, point drag and
// delete is one step; a deletion selects the following shape; undo puts the
// shapes back as they were and selects the one the step changed, redo
// repeats it.

#include "editing/EditModel.h"
#include "platform/LogFont.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

AreaRecord Triangle(int32_t x) {
    AreaRecord area;
    area.corners = {{x, 0}, {x + 100, 0}, {x, 80}};
    area.font = DefaultLogFont();
    return area;
}

AngleRecord Corner(int32_t x) {
    return AngleRecord{0, {x + 50, 0}, {x, 0}, {x, 50}, DefaultLogFont()};
}

struct ShapeRow {
    const char* what;
    bool angles;  // the rows act on angles, else on areas
    int selected; // before the action, among three shapes of the kind
    std::function<void(EditModel&)> action;
    int steps;             // on the history after it
    int selectedAfter;     // the shape selected after it
    int selectedAfterUndo; // and once every step is undone
};

TEST(EditModelShapes, EachEditIsOneStepAndUndoSelectsWhatItChanged) {
    const ShapeRow rows[] = {
        {"an area added", false, -1, [](EditModel& m) { m.AddArea(Triangle(900)); }, 1, 3, -1},
        {"a run of nudges", false, 1,
         [](EditModel& m) {
             for (int i = 0; i < 3; ++i)
                 m.NudgeSelection(1, -1);
         },
         1, 1, 1},
        {"a corner dragged", false, 2,
         [](EditModel& m) {
             m.BeginRecordDrag(true);
             for (int i = 1; i <= 5; ++i)
                 m.SelectedArea()->corners[1] = {300 + 7 * i, 4 * i};
             m.FinishRecordDrag(false);
         },
         1, 2, 2},
        {"an area deleted: the following takes its place", false, 1,
         [](EditModel& m) { m.DeleteSelectedArea(); }, 1, 1, 1},
        {"the last area deleted: the new last", false, 2,
         [](EditModel& m) { m.DeleteSelectedArea(); }, 1, 1, 2},
        {"an area marked as an opening", false, 0,
         [](EditModel& m) { m.ChangeSelectedArea([](AreaRecord& a) { a.opening = true; }); }, 1, 0,
         0},
        {"an angle added", true, -1, [](EditModel& m) { m.AddAngle(Corner(900)); }, 1, 3, -1},
        {"an angle's vertex dragged", true, 0,
         [](EditModel& m) {
             m.BeginRecordDrag(true);
             for (int i = 1; i <= 5; ++i)
                 m.SelectedAngle()->vertex = {-i, 2 * i};
             m.FinishRecordDrag(false);
         },
         1, 0, 0},
        {"an angle deleted", true, 0, [](EditModel& m) { m.DeleteSelectedAngle(); }, 1, 0, 0},
    };
    for (const ShapeRow& row : rows) {
        SCOPED_TRACE(row.what);
        EditModel model;
        for (int i = 0; i < 3; ++i) {
            model.Records().areas.push_back(Triangle(200 * i));
            model.Records().angles.push_back(Corner(200 * i));
        }
        row.angles ? model.SelectAngle(row.selected) : model.SelectArea(row.selected);
        const QByteArray before = model.Info().Serialize();
        auto selected = [&] { return row.angles ? model.SelAngle() : model.SelArea(); };

        row.action(model);
        const QByteArray after = model.Info().Serialize();
        EXPECT_NE(after, before);
        EXPECT_EQ(model.History().Stack().count(), row.steps);
        EXPECT_EQ(selected(), row.selectedAfter);

        for (int i = 0; i < row.steps; ++i)
            model.History().Undo();
        EXPECT_EQ(model.Info().Serialize(), before);
        EXPECT_EQ(selected(), row.selectedAfterUndo);
        for (int i = 0; i < row.steps; ++i)
            model.History().Redo();
        EXPECT_EQ(model.Info().Serialize(), after);
    }
}

} // namespace
