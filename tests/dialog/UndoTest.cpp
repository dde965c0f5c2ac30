// Undo and redo in the main window: the keys and menu entries reach the one
// history of the window (the edit boxes' own undo never wins), the focus
// leaving a box ends a run of typing, the panel shows what a step brought
// back, another photo starts a new history, and the unsaved-work question
// follows the bytes saving would write. (Which changes are one step: the
// edit model's tests; the record keys against the edit boxes': tests/x11.)

#include "DialogFixture.h"

namespace {

class UndoTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        Open(WritePhoto(QStringLiteral("room.jpg"), 800, 600));
        info().dimensions = {MakeDimension({100, 100}, {300, 100}, QStringLiteral("12"))};
        Click(IDC_SAVE_INFO); // the state the history starts from
        prompter.texts.clear();
        Click(IDC_TOOL_SELECT);
        ClickPhoto(POINT{200, 100});
        ASSERT_EQ(canvas().Model().SelDim(), 0);
    }
    // A key as the user presses it: to whatever has the focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : dlg.get(), key, mods);
    }
    int Steps() { return canvas().Model().History().Stack().count(); }
};

TEST_F(UndoTest, CtrlZInAnEditBoxTakesBackTheRunTheFocusEndedNotTheBoxsOwnHistory) {
    SizeEdit()->setFocus();
    SizeEdit()->selectAll();
    QTest::keyClicks(SizeEdit(), "56");
    Item(IDC_OPEN_PHOTO)->setFocus(); // the run ends
    SizeEdit()->setFocus();
    QTest::keyClicks(SizeEdit(), "7");
    ASSERT_EQ(Steps(), 2);
    Key(Qt::Key_Z);
    EXPECT_STREQ(info().dimensions[0].value, "56");
    Key(Qt::Key_Z);
    EXPECT_EQ(SizeEdit()->text(), QStringLiteral("12"));
    // Taken back by the history: the box's own undo would leave nothing to redo.
    Key(Qt::Key_Y);
    EXPECT_EQ(SizeEdit()->text(), QStringLiteral("56"));
    Q_EMIT canvas().menuCommand(ID_EDIT_REDO); // the context menu's entry
    EXPECT_STREQ(info().dimensions[0].value, "567");
}

TEST_F(UndoTest, TheQuestionOnClosingFollowsTheHistorysSavedState) {
    Key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(dlg->HasUnsavedChanges());
    Key(Qt::Key_Z);
    EXPECT_FALSE(dlg->HasUnsavedChanges());
    Key(Qt::Key_Y);
    prompter.answers = {QMessageBox::Cancel};
    dlg->close();
    EXPECT_EQ(prompter.texts, QStringList{Utf8("照片信息已修改，是否保存？")});
    EXPECT_TRUE(dlg->isVisible());
    Click(IDC_SAVE_INFO);
    Key(Qt::Key_Z);
    EXPECT_TRUE(dlg->HasUnsavedChanges()); // the saved state moved with the save
    prompter.answers = {QMessageBox::Discard};
    Open(WritePhoto(QStringLiteral("hall.jpg")));
    EXPECT_EQ(Steps(), 0); // another photo, another history
    dlg->close();          // nothing changed: no question
    EXPECT_FALSE(dlg->isVisible());
}

} // namespace
