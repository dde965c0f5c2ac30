// The typing road under a real X server: a pick or a new record puts the
// keyboard in the record's edit box with its text selected, whatever press
// came on the canvas; Alt+arrows and Alt+Delete act on the selected record
// wherever the focus is, while Delete, Backspace and the arrows keep their
// meaning in the edit boxes; Return presses no button.

#include "WindowUnderX.h"

#include <QPushButton>
#include <QTimer>
#include <X11/keysym.h>

namespace {

class TypingRoadUnderX : public WindowUnderX {
protected:
    void SetUp() override {
        WindowUnderX::SetUp();
        ASSERT_TRUE(dlg->OpenPhoto(WritePhoto(QStringLiteral("room.jpg"), 800, 600)));
        ASSERT_TRUE(WaitForFullPhoto(canvas()));
        info().dimensions = {MakeDimension({100, 100}, {300, 100}, QStringLiteral("2500"))};
        info().notes = {MakeTitledNote({500, 100}, QStringLiteral("wall"), QStringLiteral("abc"))};
        Click(IDC_SAVE_INFO); // nothing unsaved
        prompter.texts.clear();
    }
    void ClickPhoto(POINT p, unsigned button = 1) {
        const POINT q = canvas().MapPoint(p, false);
        ClickAt(&canvas(), QPoint(q.x, q.y), button);
    }
    void Pick(bool note) {
        Click(IDC_TOOL_SELECT);
        ClickPhoto(note ? POINT{503, 103} : POINT{200, 100});
        ASSERT_EQ(note ? canvas().Model().SelNote() : canvas().Model().SelDim(), 0);
    }
    void Type(const char* text) {
        for (const char* c = text; *c; ++c)
            Chord({}, KeySymbol(*c));
    }
};

TEST_F(TypingRoadUnderX, AValueTypedAroundTheContextMenuKeepsEveryDigit) {
    Click(IDC_TOOL_DIMENSION);
    ClickPhoto(POINT{400, 400});
    ClickPhoto(POINT{600, 450});
    ASSERT_EQ(info().dimensions.size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), SizeEdit());
    Type("25");
    // The menu runs its own loop from the press: Escape is sent from there.
    bool menuShown = false;
    QTimer::singleShot(400, [this, &menuShown] {
        menuShown = QApplication::activePopupWidget() != nullptr;
        keys.Chord({}, XK_Escape);
    });
    ClickPhoto(POINT{500, 500}, 3);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    EXPECT_TRUE(menuShown);
    Type("00");
    EXPECT_STREQ(info().dimensions[1].value, "2500");
    EXPECT_NE(QApplication::focusWidget(), &canvas());
}

// A key pressed right after a pick goes to the picked record's edit box,
// whose whole text is selected.
struct PickCase {
    const char* name;
    bool note;
    KeySymbol key;
    const char* textAfter; // of the edit box
};
class AfterAPick : public TypingRoadUnderX, public ::testing::WithParamInterface<PickCase> {};

TEST_P(AfterAPick, TheKeyEditsTheSelectedText) {
    const PickCase& c = GetParam();
    Pick(c.note);
    Chord({}, c.key);
    const QString text = c.note ? TextEdit()->toPlainText() : SizeEdit()->text();
    EXPECT_EQ(text, QString::fromLatin1(c.textAfter));
    EXPECT_EQ(info().dimensions.size(), 1u);
    EXPECT_EQ(info().notes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AfterAPick,
    ::testing::Values(PickCase{"BackspaceClearsTheValue", false, XK_BackSpace, ""},
                      PickCase{"ReturnReplacesTheNoteText", true, XK_Return, "\n"}),
    [](const ::testing::TestParamInfo<PickCase>& info) { return std::string(info.param.name); });

// With the focus in each edit box: the plain keys edit its text, Alt+Right
// moves the selected record by one photo pixel, Alt+Delete deletes it.
class RecordKeys : public TypingRoadUnderX, public ::testing::WithParamInterface<int> {};

TEST_P(RecordKeys, TakeNothingFromTheEditBox) {
    const int id = GetParam();
    const bool note = id != IDC_SIZE_EDIT;
    Pick(note);
    QWidget* edit = Item(id);
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
    Chord({}, XK_End); // the caret after the text, nothing selected
    Chord({}, XK_Left);
    Chord({}, XK_BackSpace);
    Chord({}, XK_Delete);
    const QString text = id == IDC_NOTE_TEXT   ? TextEdit()->toPlainText()
                         : id == IDC_SIZE_EDIT ? SizeEdit()->text()
                                               : TitleEdit()->text();
    EXPECT_EQ(text, id == IDC_NOTE_TEXT ? "a" : id == IDC_SIZE_EDIT ? "25" : "wa");
    ASSERT_EQ(info().dimensions.size() + info().notes.size(), 2u);
    EXPECT_EQ(info().dimensions[0].start, (POINT{100, 100}));
    EXPECT_EQ(info().notes[0].anchor, (POINT{500, 100}));

    Chord({XK_Alt_L}, XK_Right);
    Chord({XK_Alt_L}, XK_Down);
    const POINT moved = note ? info().notes[0].anchor : info().dimensions[0].start;
    EXPECT_EQ(moved, note ? (POINT{501, 101}) : (POINT{101, 101}));
    Chord({XK_Alt_L}, XK_Delete);
    EXPECT_EQ(info().notes.size(), note ? 0u : 1u);
    EXPECT_EQ(info().dimensions.size(), note ? 1u : 0u);
    EXPECT_EQ(canvas().Model().History().Stack().count(), 3)
        << "the edits, the run of nudges, the delete";
}

INSTANTIATE_TEST_SUITE_P(Focus, RecordKeys,
                         ::testing::Values(IDC_SIZE_EDIT, IDC_NOTE_TITLE, IDC_NOTE_TEXT));

// Return with the focus on any button of the window presses none, and none
// is drawn as the default one.
TEST_F(TypingRoadUnderX, ReturnPressesNoButton) {
    int pressed = 0;
    QStringList tried;
    Pick(false);
    for (QAbstractButton* button : dlg->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || !button->isEnabled())
            continue;
        const auto* push = qobject_cast<QPushButton*>(button);
        EXPECT_FALSE(push && push->isDefault()) << button->text().toStdString();
        const auto count =
            QObject::connect(button, &QAbstractButton::clicked, [&pressed] { ++pressed; });
        button->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([button] { return button->hasFocus(); }));
        Chord({}, XK_Return);
        QObject::disconnect(count);
        EXPECT_EQ(pressed, 0) << button->text().toStdString();
        pressed = 0;
        tried << button->text();
    }
    EXPECT_TRUE(tried.contains(Utf8("輸出報告(&R)"))) << tried.join('|').toStdString();
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('|').toStdString();
}

} // namespace

// Placing an area after typing a value: the tool click leaves the keyboard
// where the window puts it, and Backspace then takes back the last corner
// (the value is kept), Escape drops the rest and returns to the drag tool.
TEST_F(TypingRoadUnderX, BackspaceAndEscapeReachAnAreaBeingPlaced) {
    Click(IDC_TOOL_DIMENSION);
    ClickPhoto(POINT{400, 400});
    ClickPhoto(POINT{600, 450});
    ASSERT_EQ(QApplication::focusWidget(), SizeEdit());
    Type("25");
    Click(IDC_TOOL_AREA);
    for (POINT p : {POINT{100, 300}, POINT{300, 300}, POINT{300, 500}})
        ClickPhoto(p);
    ASSERT_EQ(canvas().ShapePoints().size(), 3u);
    Chord({}, XK_BackSpace);
    EXPECT_EQ(canvas().ShapePoints(), (std::vector<POINT>{{100, 300}, {300, 300}}));
    EXPECT_STREQ(info().dimensions[1].value, "25");
    Chord({}, XK_Escape);
    EXPECT_FALSE(canvas().PlacingShape());
    EXPECT_EQ(canvas().CurrentTool(), ToolDrag);
    EXPECT_TRUE(info().areas.empty());
}
