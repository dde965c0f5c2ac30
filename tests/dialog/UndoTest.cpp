// Undo and redo in the main window: every kind of step taken back and given
// again to the same bytes, typing merged into one step, one history for the
// whole window (the edit boxes' own undo never wins), a new history for each
// photo, and the unsaved-work question following the bytes saving would
// write. (The record keys against the edit boxes' keys: tests/x11.)

#include "DialogFixture.h"

#include <QMouseEvent>
#include <QShortcut>
#include <functional>

namespace {

class UndoTest : public MainWindowTest {
public:
    // The steps of the table below drive the window through these.
    using MainWindowTest::canvas;
    using MainWindowTest::Click;
    using MainWindowTest::dlg;
    using MainWindowTest::SizeEdit;
    using MainWindowTest::TextEdit;
    using MainWindowTest::TitleEdit;

protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        Open(WritePhoto(QStringLiteral("room.jpg"), 800, 600));
        info().dimensions = {MakeDimension({100, 100}, {300, 100}, QStringLiteral("12"), 0xFF),
                             MakeDimension({100, 300}, {300, 300}, QStringLiteral("34"), 0xFF00)};
        info().notes = {MakeTitledNote({500, 100}, Utf8("北牆"), QStringLiteral("abc")),
                        MakeTitledNote({500, 300}, QStringLiteral("two"))};
        Click(IDC_SAVE_INFO); // the state the history starts from
        prompter.texts.clear();
    }

public:
    QPoint View(POINT p) {
        const POINT q = canvas().MapPoint(p, false);
        return QPoint(q.x, q.y);
    }
    void Mouse(QEvent::Type type, POINT p, Qt::MouseButtons held) {
        const QPoint q = View(p);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(q), QPointF(canvas().mapToGlobal(q)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&canvas(), &event);
    }
    void ClickPhoto(POINT p) {
        QTest::mouseClick(&canvas(), Qt::LeftButton, Qt::NoModifier, View(p));
        QApplication::processEvents();
    }
    void DragPhoto(POINT from, POINT to) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        QApplication::processEvents();
    }
    void SelectDimension(int i) {
        Click(IDC_TOOL_SELECT);
        ClickPhoto(POINT{200, i == 0 ? 100 : 300});
        ASSERT_EQ(canvas().Model().SelDim(), i);
    }
    void SelectNote(int i) {
        Click(IDC_TOOL_SELECT);
        ClickPhoto(POINT{503, i == 0 ? 103 : 303});
        ASSERT_EQ(canvas().Model().SelNote(), i);
    }
    // A key as the user presses it: to whatever has the focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : dlg.get(), key, mods);
        QApplication::processEvents();
    }
    void Undo() { Key(Qt::Key_Z, Qt::ControlModifier); }
    void Redo(bool shiftZ = false) {
        if (shiftZ)
            Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        else
            Key(Qt::Key_Y, Qt::ControlModifier);
    }

protected:
    QByteArray Bytes() { return info().Serialize(); }
    int Steps() { return canvas().Model().History().Stack().count(); }
    // The panel shows the selected records as they are now.
    void ExpectPanelShowsRecords(const char* when) {
        if (const Dimension* dim = canvas().SelectedDimension()) {
            EXPECT_EQ(SizeEdit()->text(), cp950::FieldToQString(dim->value)) << when;
            EXPECT_EQ(dlg->m_colourSwatch.m_colour, dim->colour) << when;
            EXPECT_EQ(dlg->Item<QLabel>(IDC_DIM_FONT_NAME)->text(), FaceName(dim->font)) << when;
        }
        if (const InfoNote* note = canvas().SelectedNote()) {
            EXPECT_EQ(TitleEdit()->text(), cp950::FieldToQString(note->title)) << when;
            EXPECT_EQ(ToRecordText(TextEdit()->toPlainText()), QByteArray(note->text)) << when;
        }
        EXPECT_EQ(NoteList()->count(), static_cast<int>(info().notes.size())) << when;
    }
};

struct StepCase {
    const char* name;
    std::function<void(UndoTest&)> step;
};
void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.name;
}
class EveryStep : public UndoTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(EveryStep, IsOneStepThatUndoesAndRedoesToTheSameBytes) {
    const QByteArray before = Bytes();
    GetParam().step(*this);
    QApplication::processEvents();
    const QByteArray after = Bytes();
    ASSERT_NE(after, before);
    EXPECT_EQ(Steps(), 1);
    Undo();
    EXPECT_EQ(Bytes(), before);
    ExpectPanelShowsRecords("undone");
    Redo();
    EXPECT_EQ(Bytes(), after);
    ExpectPanelShowsRecords("redone");
    Undo();
    Redo(true);
    EXPECT_EQ(Bytes(), after);
    EXPECT_TRUE(prompter.texts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EveryStep,
    ::testing::Values(StepCase{"DrawDimension",
                               [](UndoTest& t) {
                                   t.Click(IDC_TOOL_DIMENSION);
                                   t.ClickPhoto(POINT{400, 400});
                                   t.ClickPhoto(POINT{600, 450});
                               }},
                      StepCase{"PlaceNote",
                               [](UndoTest& t) {
                                   t.Click(IDC_TOOL_NOTE);
                                   t.ClickPhoto(POINT{700, 500});
                               }},
                      StepCase{"DeleteDimension",
                               [](UndoTest& t) {
                                   t.SelectDimension(0);
                                   t.Click(IDC_DELETE_DIMENSION);
                               }},
                      StepCase{"DeleteNote",
                               [](UndoTest& t) {
                                   t.SelectNote(0);
                                   t.Click(IDC_DELETE_NOTE);
                               }},
                      StepCase{"DragRecord",
                               [](UndoTest& t) {
                                   t.Click(IDC_TOOL_SELECT);
                                   t.DragPhoto(POINT{200, 300}, POINT{230, 340});
                               }},
                      StepCase{"DragEnd",
                               [](UndoTest& t) {
                                   t.SelectDimension(0);
                                   t.DragPhoto(POINT{300, 100}, POINT{320, 160});
                               }},
                      StepCase{"TypeValue",
                               [](UndoTest& t) {
                                   t.SelectDimension(1);
                                   t.SizeEdit()->setFocus();
                                   QTest::keyClicks(t.SizeEdit(), "987");
                               }},
                      StepCase{"TypeTitle",
                               [](UndoTest& t) {
                                   t.SelectNote(0);
                                   t.TitleEdit()->setFocus();
                                   QTest::keyClicks(t.TitleEdit(), "xy");
                               }},
                      StepCase{"TypeText",
                               [](UndoTest& t) {
                                   t.SelectNote(1);
                                   t.TextEdit()->setFocus();
                                   QTest::keyClicks(t.TextEdit(), "more");
                               }},
                      StepCase{"ModifyNote",
                               [](UndoTest& t) {
                                   t.SelectNote(0);
                                   t.TitleEdit()->setText(QStringLiteral("New"));
                                   t.dlg->OnModifyNote();
                               }},
                      StepCase{"DimensionFont",
                               [](UndoTest& t) {
                                   t.SelectDimension(0);
                                   t.Click(IDC_DIM_FONT);
                               }},
                      StepCase{"NoteFont",
                               [](UndoTest& t) {
                                   t.SelectNote(1);
                                   t.Click(IDC_NOTE_FONT);
                               }},
                      StepCase{"DimensionColour",
                               [](UndoTest& t) {
                                   t.SelectDimension(1);
                                   t.Click(IDC_COLOUR_SWATCH);
                               }},
                      StepCase{"AllDimensionFonts",
                               [](UndoTest& t) { Q_EMIT t.canvas().menuCommand(ID_ALL_DIM_FONT); }},
                      StepCase{
                          "AllDimensionColours",
                          [](UndoTest& t) { Q_EMIT t.canvas().menuCommand(ID_ALL_DIM_COLOUR); }},
                      StepCase{"Nudges",
                               [](UndoTest& t) {
                                   t.SelectDimension(0);
                                   t.Key(Qt::Key_Right, Qt::AltModifier);
                                   t.Key(Qt::Key_Right, Qt::AltModifier);
                                   t.Key(Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier);
                               }},
                      StepCase{"MenuEntries",
                               [](UndoTest& t) {
                                   // Undo from the menu takes a step back; redo gives it again.
                                   t.SelectDimension(0);
                                   t.Key(Qt::Key_Left, Qt::AltModifier);
                                   Q_EMIT t.canvas().menuCommand(ID_EDIT_UNDO);
                                   Q_EMIT t.canvas().menuCommand(ID_EDIT_REDO);
                               }}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST_F(UndoTest, TypingMergesUntilAnotherRecordAnotherFieldOrTheFocusLeaves) {
    SelectDimension(0);
    SizeEdit()->setFocus();
    QTest::keyClicks(SizeEdit(), "5");
    QTest::keyClicks(SizeEdit(), "6");
    EXPECT_EQ(Steps(), 1);
    Item(IDC_OPEN_PHOTO)->setFocus(); // focus left
    SizeEdit()->setFocus();
    QTest::keyClicks(SizeEdit(), "7");
    EXPECT_EQ(Steps(), 2);
    SelectDimension(1); // another record
    SizeEdit()->setFocus();
    QTest::keyClicks(SizeEdit(), "8");
    EXPECT_EQ(Steps(), 3);
    SelectNote(0);
    TitleEdit()->setFocus();
    QTest::keyClicks(TitleEdit(), "a");
    TextEdit()->setFocus(); // another field
    QTest::keyClicks(TextEdit(), "b");
    QTest::keyClicks(TextEdit(), "c");
    EXPECT_EQ(Steps(), 5);
    Undo(); // the whole run "bc"
    EXPECT_STREQ(info().notes[0].text, "abc");
    EXPECT_EQ(TextEdit()->toPlainText(), QStringLiteral("abc"));
    EXPECT_EQ(QApplication::focusWidget(), TextEdit());
}

TEST_F(UndoTest, CtrlZInAnEditBoxUndoesTheWholeRunNotTheBoxsOwnHistory) {
    SelectDimension(0);
    SizeEdit()->setFocus();
    SizeEdit()->selectAll();
    QTest::keyClicks(SizeEdit(), "56");
    ASSERT_STREQ(info().dimensions[0].value, "56");
    Undo();
    EXPECT_STREQ(info().dimensions[0].value, "12");
    EXPECT_EQ(SizeEdit()->text(), QStringLiteral("12"));
    // Taken back by the history (the box's own undo would have left nothing
    // to redo).
    EXPECT_TRUE(canvas().Model().History().Stack().canRedo());
    Redo();
    EXPECT_STREQ(info().dimensions[0].value, "56");
    EXPECT_EQ(SizeEdit()->text(), QStringLiteral("56"));
    // The window's shortcuts act wherever the focus is.
    for (QShortcut* key : dlg->m_windowKeys)
        EXPECT_EQ(key->context(), Qt::WindowShortcut);
}

TEST_F(UndoTest, TypingThatEndsWhereItBeganLeavesNoStepAndNothingUnsaved) {
    SelectNote(1);
    TextEdit()->setFocus();
    QTest::keyClicks(TextEdit(), "q");
    QTest::keyClick(TextEdit(), Qt::Key_Backspace);
    EXPECT_EQ(Steps(), 0);
    EXPECT_FALSE(dlg->HasUnsavedChanges());
}

TEST_F(UndoTest, AnotherPhotoStartsANewHistory) {
    SelectDimension(0);
    Key(Qt::Key_Up, Qt::AltModifier);
    ASSERT_EQ(Steps(), 1);
    prompter.answers = {QMessageBox::Discard};
    Open(WritePhoto(QStringLiteral("hall.jpg")));
    EXPECT_EQ(Steps(), 0);
    Undo();
    EXPECT_TRUE(info().dimensions.empty());
}

TEST_F(UndoTest, UndoingBackToTheSavedStateAsksNothingRedoingPastItAsks) {
    SelectDimension(0);
    SizeEdit()->setFocus();
    QTest::keyClicks(SizeEdit(), "9");
    SelectDimension(1);
    Key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(dlg->HasUnsavedChanges());
    Undo();
    Undo();
    EXPECT_FALSE(dlg->HasUnsavedChanges());
    Redo();
    EXPECT_TRUE(dlg->HasUnsavedChanges());
    prompter.answers = {QMessageBox::Cancel};
    dlg->close();
    EXPECT_EQ(prompter.texts, QStringList{Utf8("照片信息已修改，是否保存？")});
    EXPECT_TRUE(dlg->isVisible());
    Undo();
    dlg->close(); // back at the saved state: closes without a question
    EXPECT_EQ(prompter.texts.size(), 1);
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(UndoTest, SavingMovesTheCleanStateToWhereTheHistoryIs) {
    SelectDimension(0);
    Key(Qt::Key_Up, Qt::AltModifier);
    Click(IDC_SAVE_INFO);
    EXPECT_FALSE(dlg->HasUnsavedChanges());
    Undo();
    EXPECT_TRUE(dlg->HasUnsavedChanges());
}

// Saving would write the bytes last saved: nothing to ask.
TEST_F(UndoTest, ADimensionDrawnAndDeletedAgainLeavesNothingToAsk) {
    Click(IDC_TOOL_DIMENSION);
    ClickPhoto(POINT{400, 400});
    ClickPhoto(POINT{600, 450});
    Click(IDC_DELETE_DIMENSION);
    ASSERT_EQ(Steps(), 2);
    dlg->close();
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('|').toStdString();
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(UndoTest, TheCursorShowsAMovableHandle) {
    SelectDimension(0);
    Mouse(QEvent::MouseMove, POINT{301, 99}, Qt::NoButton);
    EXPECT_EQ(canvas().cursor().shape(), Qt::SizeAllCursor);
    Mouse(QEvent::MouseMove, POINT{200, 200}, Qt::NoButton);
    EXPECT_EQ(canvas().cursor().shape(), Qt::ArrowCursor);
}

} // namespace
