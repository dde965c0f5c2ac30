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
#include <QMenu>
#include <QPushButton>

namespace {

// Answers the plane size dialog with `width` x `height` (empty: cancel) and
// picks the context-menu item with command `pick`.
class ReferencePrompter : public ScriptedPrompter {
public:
    QString width, height;
    int dialogs = 0;
    int pick = 0;
    bool pickEnabled = false;

    int RunDialog(QDialog& dialog) override {
        ++dialogs;
        auto* size = qobject_cast<PlaneSizeDialog*>(&dialog);
        if (!size || width.isEmpty())
            return QDialog::Rejected;
        QTest::keyClicks(size->WidthEdit(), width);
        QTest::keyClicks(size->HeightEdit(), height);
        const bool ok = size->Buttons()->button(QDialogButtonBox::Ok)->isEnabled();
        return ok ? QDialog::Accepted : QDialog::Rejected;
    }
    QAction* PopupMenu(QMenu& menu, const QPoint&) override {
        for (QAction* action : menu.actions())
            if (action->data().toInt() == pick && pick != 0) {
                pickEnabled = action->isEnabled();
                return action;
            }
        return nullptr;
    }
};

class ReferenceTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // This test's prompter answers every prompt, the open dialog too.
        refPrompter.paths.append(WritePhoto(QStringLiteral("wall.jpg"), 800, 600));
        Click(IDC_OPEN_PHOTO);
        ASSERT_TRUE(WaitForFullPhoto(canvas()));
        ASSERT_TRUE(canvas().Photo().HasPicture());
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
    QCheckBox* Check() { return dlg->Item<QCheckBox>(IDC_REFERENCE_CHECK); }

    ReferencePrompter refPrompter;
    ScopedPrompter refScope{&refPrompter};
};

TEST_F(ReferenceTest, TheCheckBoxIsOffForTextValuesAndSaysWhy) {
    SelectDimension(2);
    ASSERT_TRUE(Check()->isVisible());
    EXPECT_FALSE(Check()->isEnabled());
    EXPECT_FALSE(Check()->toolTip().isEmpty());
    SelectDimension(0);
    EXPECT_TRUE(Check()->isEnabled());
    EXPECT_TRUE(Check()->toolTip().isEmpty());
    EXPECT_FALSE(Check()->isChecked());
    // It stays inside the dimension group, below the controls placed there.
    const QRect group = Item(IDC_PROPERTY_GROUP)->geometry();
    EXPECT_TRUE(group.contains(Check()->geometry()));
    EXPECT_GE(Check()->geometry().top(), Item(IDC_DELETE_DIMENSION)->geometry().bottom());
    // Notes hide it with the other dimension controls.
    Click(IDC_TOOL_NOTE);
    EXPECT_FALSE(Check()->isVisible());
}

// The check box, the plane's four clicks with its size and the menu's items
// reach the model (each change one step: the edit model's tests).
TEST_F(ReferenceTest, FourClicksInAnyOrderAndTheSizePlaceThePlaneTheMenuDeletesIt) {
    refPrompter.width = QStringLiteral("800");
    refPrompter.height = QStringLiteral("2000");
    refPrompter.pick = ID_REFERENCE_PLANE;
    ClickPhoto(POINT{700, 550}, Qt::RightButton);
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
    refPrompter.pick = ID_DELETE_REFERENCE_PLANE;
    ClickPhoto(POINT{700, 550}, Qt::RightButton);
    EXPECT_FALSE(info().reference.hasPlane);
}

TEST_F(ReferenceTest, ACornerClickedTwiceIsRefusedWithAMessage) {
    refPrompter.width = QStringLiteral("800");
    refPrompter.height = QStringLiteral("2000");
    canvas().BeginPlaneCorners();
    for (POINT p : {POINT{300, 50}, POINT{500, 50}, POINT{500, 50}, POINT{300, 550}})
        ClickPhoto(p);
    EXPECT_FALSE(info().reference.hasPlane);
    EXPECT_EQ(refPrompter.dialogs, 0);
    EXPECT_EQ(refPrompter.texts.size(), 1);
}

// Escape, a cancelled size dialog and another photo drop the corners placed
// so far; the window stays.
TEST_F(ReferenceTest, TheCornersPlacedSoFarAreDroppedByEscapeACancelOrAnotherPhoto) {
    canvas().BeginPlaneCorners();
    ClickPhoto(POINT{300, 50});
    canvas().setFocus();
    QTest::keyClick(&canvas(), Qt::Key_Escape);
    EXPECT_FALSE(canvas().PlacingPlaneCorners());
    EXPECT_TRUE(dlg->isVisible());
    canvas().BeginPlaneCorners();
    for (POINT p : {POINT{300, 50}, POINT{500, 50}, POINT{500, 550}, POINT{300, 550}})
        ClickPhoto(p);
    EXPECT_EQ(refPrompter.dialogs, 1);
    EXPECT_FALSE(info().reference.hasPlane);
    canvas().BeginPlaneCorners();
    ClickPhoto(POINT{300, 50});
    info().dimensions.clear(); // nothing unsaved: no question
    refPrompter.paths.append(WritePhoto(QStringLiteral("other.jpg"), 400, 300));
    Click(IDC_OPEN_PHOTO);
    EXPECT_FALSE(canvas().PlacingPlaneCorners());
}

TEST_F(ReferenceTest, TheCheckBoxMakesTheReferenceAndTheMenuWritesTheComputedValues) {
    refPrompter.pick = ID_WRITE_COMPUTED;
    ClickPhoto(POINT{700, 550}, Qt::RightButton);
    EXPECT_FALSE(refPrompter.pickEnabled); // nothing computed yet
    SelectDimension(0);
    QTest::mouseClick(Check(), Qt::LeftButton);
    EXPECT_EQ(info().reference.dimension, 0);
    ClickPhoto(POINT{700, 550}, Qt::RightButton);
    EXPECT_TRUE(refPrompter.pickEnabled);
    EXPECT_STREQ(info().dimensions[1].value, "400"); // 200 px at 2 mm a pixel
    canvas().Undo();
    canvas().Undo();
    EXPECT_EQ(info().reference.dimension, -1);
    EXPECT_FALSE(Check()->isChecked());
}

} // namespace
