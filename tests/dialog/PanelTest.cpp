// The editing panel: values typed into the selected record keystroke by
// keystroke, the byte limits of the edit boxes, the note list, the delete
// buttons, and what the panel shows after the selection changed. (Which
// record a deletion selects next: the edit model's tests.)

#include "DialogFixture.h"
#include "common/CanvasAccess.h"

#include <QClipboard>

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

TEST_F(PanelTest, TypingAValueIntoANewDimensionStoresEveryKeystroke) {
    PaintCounter counter;
    canvas().installEventFilter(&counter);
    SizeEdit()->setText(QStringLiteral("old"));
    Draw(true);
    EXPECT_TRUE(SizeEdit()->text().isEmpty());
    EXPECT_EQ(dlg->focusWidget(), SizeEdit());
    for (const QByteArray typed : {"2", "25", "250", "2500"}) {
        counter.paints = 0;
        QTest::keyClick(SizeEdit(), typed.back());
        QApplication::processEvents(); // the repaint
        EXPECT_EQ(QByteArray(info().dimensions[0].value), typed);
        EXPECT_GE(counter.paints, 1) << typed.data();
    }
}

TEST_F(PanelTest, APlacedNoteIsListedKeepsItsTitleUnlessGivenOneAndIsLetGoByAdd) {
    Draw(false);
    EXPECT_EQ(NoteList()->item(0)->text(), Utf8("01:新信息"));
    TitleEdit()->setText(QString()); // shown, not typed: the record keeps its title
    TextEdit()->SetText(QStringLiteral("new\ntext"));
    dlg->OnModifyNote();
    EXPECT_EQ(prompter.texts, QStringList{Utf8("信息標注的標題不能為空")});
    EXPECT_STREQ(info().notes[0].text, "");
    TitleEdit()->setText(QStringLiteral("New"));
    dlg->OnModifyNote();
    EXPECT_STREQ(info().notes[0].text, "new\r\ntext");
    EXPECT_EQ(NoteList()->item(0)->text(), QStringLiteral("01:New"));
    dlg->OnAddNote();
    EXPECT_TRUE(TitleEdit()->text().isEmpty() && !TitleEdit()->isEnabled());
}

struct LimitCase {
    int edit;
    QString typed;
    bool paste;
    QString kept; // by the edit and the record
};
class EditLimit : public PanelTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(EditLimit, TakesWhatFitsTheRecordAndNeverSplitsACharacter) {
    const LimitCase c = GetParam();
    Draw(c.edit == IDC_SIZE_EDIT);
    QWidget* edit = Item(c.edit);
    QMetaObject::invokeMethod(edit, "selectAll");
    if (c.paste) {
        QApplication::clipboard()->setText(c.typed);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    } else {
        TypeText(edit, c.typed);
    }
    const bool text = c.edit == IDC_NOTE_TEXT;
    EXPECT_EQ(edit->property(text ? "plainText" : "text").toString(), c.kept);
    const char* stored = c.edit == IDC_SIZE_EDIT ? info().dimensions[0].value
                         : text                  ? info().notes[0].text
                                                 : info().notes[0].title;
    EXPECT_EQ(QByteArray(stored), ToRecordText(c.kept));
}

// Size 9 bytes, title 18, text 253 (a line break takes two); Korean has no
// code page 950 form and is refused.
const QString k125(125, QChar(0x4E00));
const LimitCase kLimits[] = {
    {IDC_SIZE_EDIT, Utf8("12345678한一9"), false, "123456789"},
    {IDC_NOTE_TITLE, Utf8("x客廳北牆窗戶左側門框"), true, Utf8("x客廳北牆窗戶左側")},
    {IDC_NOTE_TEXT, k125 + Utf8("한\n一ab"), false, k125 + "\na"},
};
INSTANTIATE_TEST_SUITE_P(Edits, EditLimit, ::testing::ValuesIn(kLimits));

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
    ASSERT_EQ(canvas().Zoom(), 2.0f);
    const RECT shown = canvas().SourceRect();
    const RECT corner{0, 0, shown.Width(), shown.Height()}; // the top-left part of the photo
    // row picked; the centre of the view after it, or for note A, which lies
    // too near the photo's corner to be centred, the view's bottom-right corner
    const std::tuple<int, POINT, POINT> picks[] = {
        {1, {500, 350}, {}}, {1, {500, 350}, {}}, {0, {}, {800, 600}}};
    for (const auto& [row, centre, farCorner] : picks) {
        CanvasAccess::Source(canvas()) = corner; // panned away
        QListWidgetItem* item = NoteList()->item(row);
        QTest::mouseClick(NoteList()->viewport(), Qt::LeftButton, {},
                          NoteList()->visualItemRect(item).center());
        EXPECT_EQ(canvas().Model().SelNote(), row);
        const RECT& src = canvas().SourceRect();
        if (row == 1)
            EXPECT_EQ((POINT{(src.left + src.right) / 2, (src.top + src.bottom) / 2}), centre);
        else
            EXPECT_EQ((POINT{src.right, src.bottom}), farCorner);
    }
}

// The delete buttons take the selected record; the panel shows the next.
TEST_F(PanelTest, SelectionFillsThePanelLeavesNoStaleNoteControlsAndDeleteTakesTheRecord) {
    // A 19-byte title, one byte more than typing allows, stays as the file has it.
    const InfoNote note = MakeTitledNote({100, 100}, QStringLiteral("abcdefghijklmnopqrs"), "left");
    info().notes.push_back(note);
    info().dimensions.push_back(MakeDimension({300, 300}, {500, 300}, "12.5", RGB(0, 0, 255)));
    Click(IDC_TOOL_SELECT);
    for (POINT elsewhere : {POINT{700, 500}, POINT{400, 301}}) { // nothing, then the dimension
        ClickPhoto(POINT{102, 102});
        EXPECT_EQ(TitleEdit()->text(), QStringLiteral("abcdefghijklmnopqrs"));
        EXPECT_EQ(TextEdit()->toPlainText(), QStringLiteral("left"));
        ClickPhoto(elsewhere);
        EXPECT_TRUE(TitleEdit()->text().isEmpty() && TextEdit()->toPlainText().isEmpty());
        EXPECT_FALSE(TitleEdit()->isEnabled() || TextEdit()->isEnabled() ||
                     Item(IDC_DELETE_NOTE)->isEnabled());
    }
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
