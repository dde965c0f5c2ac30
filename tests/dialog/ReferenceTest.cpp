// The reference length and plane in the main window: the "作為參考" check
// box, the four-click plane and its size dialog, the context menu's
// reference items. (The reference changes and computed values: the edit
// model's and the document's tests; a reference that cannot be read:
// WorkflowTest.)

#include "DialogFixture.h"
#include "canvas/CanvasTypes.h"
#include "dialog/PlaneSizeDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>

namespace {

class ReferenceTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open(WritePhoto(QStringLiteral("wall.jpg"), 800, 600));
        // A door 800 mm wide drawn 400 px wide, a line of 200 px without a
        // value, and one labelled with text.
        info().dimensions = {MakeDimension({100, 100}, {500, 100}, QStringLiteral("800")),
                             MakeDimension({100, 300}, {300, 300}),
                             MakeDimension({100, 500}, {300, 500}, Utf8("客廳"))};
    }
    void SelectDimension(int i) {
        Click(IDC_TOOL_SELECT);
        ClickPhoto(POINT{200, 100 + 200 * i});
        ASSERT_EQ(canvas().Model().SelDim(), i);
    }
    void Menu(int command) {
        prompter.pick = command;
        ClickPhoto(POINT{700, 550}, Qt::RightButton);
    }
    QCheckBox* Check() { return dlg->Item<QCheckBox>(IDC_REFERENCE_CHECK); }
};

TEST_F(ReferenceTest, TheCheckBoxMakesTheReferenceAndTheMenuWritesTheComputedValues) {
    SelectDimension(2);
    EXPECT_FALSE(Check()->isEnabled()); // a text is no length, and the tip says so
    EXPECT_FALSE(Check()->toolTip().isEmpty());
    Menu(ID_WRITE_COMPUTED);
    EXPECT_FALSE(prompter.picked); // nothing computed yet
    SelectDimension(0);
    EXPECT_TRUE(Check()->toolTip().isEmpty());
    QTest::mouseClick(Check(), Qt::LeftButton);
    EXPECT_EQ(info().reference.dimension, 0);
    Menu(ID_WRITE_COMPUTED);
    EXPECT_TRUE(prompter.picked);
    EXPECT_STREQ(info().dimensions[1].value, "400"); // 200 px at 2 mm a pixel
    canvas().Undo();
    canvas().Undo();
    EXPECT_EQ(info().reference.dimension, -1);
    EXPECT_FALSE(Check()->isChecked());
    Click(IDC_TOOL_NOTE); // notes hide it with the other dimension controls
    EXPECT_FALSE(Check()->isVisible());
}

// Four clicks in any order and the size dialog place the plane, a corner
// clicked twice is refused with a message, Escape drops the corners placed
// so far (the window stays), and the menu deletes the plane.
TEST_F(ReferenceTest, FourCornersAndTheSizePlaceThePlaneAndTheMenuDeletesIt) {
    int dialogs = 0;
    prompter.dialog = [&dialogs](QDialog& shown) {
        ++dialogs;
        auto& size = dynamic_cast<PlaneSizeDialog&>(shown);
        QTest::keyClicks(size.WidthEdit(), QStringLiteral("800"));
        QTest::keyClicks(size.HeightEdit(), QStringLiteral("2000"));
        return size.Buttons()->button(QDialogButtonBox::Ok)->isEnabled() ? QDialog::Accepted
                                                                         : QDialog::Rejected;
    };
    canvas().BeginPlaneCorners();
    for (POINT p : {POINT{300, 50}, POINT{500, 50}, POINT{500, 50}, POINT{300, 550}})
        ClickPhoto(p);
    EXPECT_FALSE(info().reference.hasPlane);
    EXPECT_EQ(prompter.texts.size(), 1);
    canvas().BeginPlaneCorners();
    ClickPhoto(POINT{300, 50});
    canvas().setFocus();
    QTest::keyClick(&canvas(), Qt::Key_Escape);
    EXPECT_FALSE(canvas().PlacingPlaneCorners());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dialogs, 0);

    Menu(ID_REFERENCE_PLANE);
    ASSERT_TRUE(canvas().PlacingPlaneCorners());
    for (POINT p : {POINT{500, 550}, POINT{300, 50}, POINT{300, 550}, POINT{500, 50}})
        ClickPhoto(p);
    EXPECT_FALSE(canvas().PlacingPlaneCorners());
    ASSERT_TRUE(info().reference.hasPlane);
    const POINT expected[4] = {{300, 50}, {500, 50}, {500, 550}, {300, 550}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(info().reference.plane.corners[i], expected[i]) << i;
    EXPECT_EQ(std::make_pair(info().reference.plane.width, info().reference.plane.height),
              std::make_pair(800.0, 2000.0));
    Menu(ID_DELETE_REFERENCE_PLANE);
    EXPECT_FALSE(info().reference.hasPlane);
}

} // namespace
