// The editing panel: values typed into the selected record keystroke by
// keystroke, the byte limits of the edit boxes, the note list, the delete
// buttons, and what the panel shows after the selection changed. (Which
// record a deletion selects next: the edit model's tests.)

#include "DialogFixture.h"
#include "common/CanvasAccess.h"

namespace {

class PanelTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open(WritePhoto(QStringLiteral("room.jpg"), 800, 600));
    }
    // Draws a dimension or places a note, which is then record 0 and selected.
    void Draw(bool dimension) {
        Click(dimension ? IDC_TOOL_DIMENSION : IDC_TOOL_NOTE);
        ClickPhoto(POINT{100, 100});
        if (dimension)
            ClickPhoto(POINT{300, 100});
        ASSERT_EQ(dimension ? canvas().Model().SelDim() : canvas().Model().SelNote(), 0);
    }
};

// A new record puts the keyboard in its empty edit box, and each keystroke
// reaches the record; each box takes what its record field holds: size 9
// bytes, title 18, text 253. (How a box keeps its limit, in characters of two bytes too:
// tests/platform.)
TEST_F(PanelTest, ANewRecordTakesTheKeyboardAndEachBoxWhatItsRecordFieldHolds) {
    SizeEdit()->setText(QStringLiteral("old"));
    Draw(true);
    EXPECT_TRUE(SizeEdit()->text().isEmpty());
    EXPECT_EQ(dlg->focusWidget(), SizeEdit());
    TypeText(SizeEdit(), QString(12, '1'));
    EXPECT_EQ(QByteArray(info().dimensions[0].value), QByteArray(9, '1'));
    Draw(false);
    TitleEdit()->selectAll();
    TypeText(TitleEdit(), QString(20, 't'));
    TextEdit()->selectAll();
    TypeText(TextEdit(), QString(300, 'x'));
    EXPECT_EQ(QByteArray(info().notes[0].title), QByteArray(18, 't'));
    EXPECT_EQ(QByteArray(info().notes[0].text), QByteArray(253, 'x'));
}

// A stored value longer than typing allows (a range reading of 11 digits)
// shows whole; the user may shorten it, and typing never makes it longer.
TEST_F(PanelTest, ALongValueShowsWholeAndTypingOnlyShortensIt) {
    info().dimensions.push_back(MakeDimension({100, 300}, {500, 300}, "12345678901"));
    Click(IDC_TOOL_SELECT);
    ClickPhoto(POINT{300, 301});
    EXPECT_EQ(SizeEdit()->text(), QStringLiteral("12345678901"));
    for (const auto& [key, after] :
         {std::pair{Qt::Key_7, "12345678901"}, std::pair{Qt::Key_Backspace, "1234567890"}}) {
        QTest::keyClick(SizeEdit(), Qt::Key_End);
        QTest::keyClick(SizeEdit(), key);
        EXPECT_EQ(SizeEdit()->text(), QString::fromLatin1(after));
        EXPECT_STREQ(info().dimensions[0].value, after);
    }
}

// Picking a row of the note list centres the view on that note, and picking
// the row already selected centres it again after the user panned away.
TEST_F(PanelTest, PickingANoteRowCentresTheViewOnTheNoteEvenWhenItIsSelectedAlready) {
    info().notes = {MakeNote({760, 560}, "A"), MakeNote({500, 350}, "B")};
    Click(IDC_TOOL_NOTE);
    dlg->RefreshNoteList();
    Click(IDC_ZOOM_IN); // 2.0: about a quarter of the photo shows
    const RECT shown = canvas().SourceRect();
    for (int pick = 0; pick < 2; ++pick) {
        CanvasAccess::Source(canvas()) = RECT{0, 0, shown.Width(), shown.Height()}; // panned away
        QTest::mouseClick(NoteList()->viewport(), Qt::LeftButton, {},
                          NoteList()->visualItemRect(NoteList()->item(1)).center());
        EXPECT_EQ(canvas().Model().SelNote(), 1);
        const RECT& src = canvas().SourceRect();
        EXPECT_EQ((POINT{(src.left + src.right) / 2, (src.top + src.bottom) / 2}),
                  (POINT{500, 350}));
    }
}

// The delete buttons take the selected record; the panel shows the next.
TEST_F(PanelTest, SelectionFillsThePanelLeavesNoStaleNoteControlsAndDeleteTakesTheRecord) {
    // A 19-byte title, one byte more than typing allows, stays as the file has it.
    const InfoNote note = MakeTitledNote({100, 100}, QStringLiteral("abcdefghijklmnopqrs"), "left");
    info().notes.push_back(note);
    info().dimensions.push_back(MakeDimension({300, 300}, {500, 300}, "12.5", RGB(0, 0, 255)));
    Click(IDC_TOOL_SELECT);
    ClickPhoto(POINT{102, 102});
    EXPECT_EQ(TitleEdit()->text(), QStringLiteral("abcdefghijklmnopqrs"));
    EXPECT_EQ(TextEdit()->toPlainText(), QStringLiteral("left"));
    ClickPhoto(POINT{400, 301}); // the dimension
    EXPECT_TRUE(TitleEdit()->text().isEmpty() && TextEdit()->toPlainText().isEmpty());
    EXPECT_FALSE(TitleEdit()->isEnabled() || TextEdit()->isEnabled() ||
                 Item(IDC_DELETE_NOTE)->isEnabled());
    EXPECT_TRUE(info().notes[0] == note);
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(0, 0, 255));
    EXPECT_EQ(SizeEdit()->selectedText(), QStringLiteral("12.5"));
    Click(IDC_DELETE_DIMENSION);
    EXPECT_TRUE(info().dimensions.empty() && SizeEdit()->text().isEmpty());
    ClickPhoto(POINT{102, 102});
    Click(IDC_DELETE_NOTE);
    EXPECT_TRUE(info().notes.empty() && TitleEdit()->text().isEmpty());
    EXPECT_EQ(NoteList()->count(), 0);
}

} // namespace
