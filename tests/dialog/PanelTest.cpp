// The editing panel: values typed into the selected record keystroke by
// keystroke, the byte limits of the edit boxes, the note list, the delete
// rules, and what the panel shows after the selection changed.

#include "DialogFixture.h"

#include <QClipboard>
#include <QLabel>
#include <cstring>

namespace {

class PanelTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open(WritePhoto(QStringLiteral("room.jpg"), 800, 600));
    }
    void ClickPhoto(POINT p) {
        const POINT q = canvas().MapPoint(p, false);
        QTest::mouseClick(&canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(q.x, q.y));
        Flush();
    }
    void DrawDimension() {
        Click(IDC_TOOL_DIMENSION);
        ClickPhoto(POINT{100, 100});
        ClickPhoto(POINT{300, 100});
        ASSERT_EQ(canvas().m_nSelDim, 0);
    }
    void PlaceNote() {
        Click(IDC_TOOL_NOTE);
        ClickPhoto(POINT{100, 100});
        ASSERT_EQ(canvas().m_nSelNote, 0);
    }
};

TEST_F(PanelTest, TypingAValueIntoANewDimensionStoresEveryKeystroke) {
    PaintCounter counter;
    canvas().installEventFilter(&counter);
    SizeEdit()->setText(QStringLiteral("old"));
    DrawDimension();
    EXPECT_TRUE(SizeEdit()->text().isEmpty());
    EXPECT_EQ(dlg->focusWidget(), SizeEdit());
    for (const char* typed : {"2", "25", "250", "2500"}) {
        counter.paints = 0;
        QTest::keyClick(SizeEdit(), typed[strlen(typed) - 1]);
        Flush();
        EXPECT_STREQ(info().dimensions[0].value, typed);
        EXPECT_GE(counter.paints, 1) << typed;
    }
}

TEST_F(PanelTest, SelectingADimensionShowsItsColourValueAndFont) {
    Dimension dim = MakeDimension({100, 200}, {300, 200}, "12.5", RGB(0, 0, 255));
    SetFaceName(dim.font, QStringLiteral("Courier New"));
    info().dimensions.push_back(dim);
    Click(IDC_TOOL_SELECT);
    ClickPhoto(POINT{200, 201});
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(0, 0, 255));
    EXPECT_EQ(SizeEdit()->selectedText(), QStringLiteral("12.5"));
    EXPECT_EQ(dlg->focusWidget(), SizeEdit());
    EXPECT_EQ(dlg->Item<QLabel>(IDC_DIM_FONT_NAME)->text(), QStringLiteral("Courier New"));
    EXPECT_TRUE(SizeEdit()->isVisible() && !TitleEdit()->isVisible());
}

TEST_F(PanelTest, PlacedNoteIsListedModifiedOnlyWithATitleAndLetGoByAdd) {
    PlaceNote();
    EXPECT_EQ(NoteList()->item(0)->text(), Utf8("01:新信息"));
    EXPECT_EQ(dlg->focusWidget(), TextEdit());
    TitleEdit()->setText(QString()); // shown, not typed: the record keeps its title
    TextEdit()->SetText(QStringLiteral("new\ntext"));
    dlg->OnModifyNote();
    EXPECT_EQ(prompter.texts, QStringList{Utf8("信息標注的標題不能為空")});
    EXPECT_EQ(NoteTitle(0), Utf8("新信息"));
    EXPECT_STREQ(info().notes[0].text, "");
    TitleEdit()->setText(QStringLiteral("New"));
    dlg->OnModifyNote();
    EXPECT_STREQ(info().notes[0].text, "new\r\ntext");
    EXPECT_EQ(NoteList()->item(0)->text(), QStringLiteral("01:New"));

    dlg->OnAddNote();
    EXPECT_EQ(canvas().m_nSelNote, -2);
    EXPECT_TRUE(TitleEdit()->text().isEmpty());
    EXPECT_FALSE(TitleEdit()->isEnabled());
    TypeText(TitleEdit(), QStringLiteral("x"));
    EXPECT_EQ(NoteTitle(0), QStringLiteral("New"));
    EXPECT_EQ(prompter.texts.size(), 1);
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
    if (c.edit == IDC_SIZE_EDIT)
        DrawDimension();
    else
        PlaceNote();
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
INSTANTIATE_TEST_SUITE_P(
    Edits, EditLimit,
    ::testing::Values(LimitCase{IDC_SIZE_EDIT, Utf8("12345678一"), false, "12345678"},
                      LimitCase{IDC_SIZE_EDIT, Utf8("12345678한9"), false, "123456789"},
                      LimitCase{IDC_NOTE_TITLE, Utf8("一二三四五六七八九十x"), false,
                                Utf8("一二三四五六七八九")},
                      LimitCase{IDC_NOTE_TITLE, Utf8("客廳北牆窗戶左側門框上緣"), true,
                                Utf8("客廳北牆窗戶左側門")},
                      LimitCase{IDC_NOTE_TEXT, k125 + Utf8("한\n一ab"), false, k125 + "\na"}));

TEST_F(PanelTest, ANoteFromAFileIsShownWholeAndItsControlsClearedWhenDeselected) {
    // A 19-byte title, one byte more than typing allows, stays as the file has it.
    const InfoNote note = MakeNote({100, 100}, QStringLiteral("abcdefghijklmnopqrs"), "left");
    info().notes.push_back(note);
    info().dimensions.push_back(MakeDimension({300, 300}, {500, 300}, "1"));
    Click(IDC_TOOL_SELECT);
    for (POINT elsewhere : {POINT{400, 301}, POINT{700, 500}}) { // a dimension, then nothing
        ClickPhoto(POINT{102, 102});
        EXPECT_EQ(TitleEdit()->text(), QStringLiteral("abcdefghijklmnopqrs"));
        EXPECT_EQ(TextEdit()->toPlainText(), QStringLiteral("left"));
        EXPECT_TRUE(info().notes[0] == note);
        EXPECT_TRUE(TitleEdit()->isVisible() && !SizeEdit()->isVisible());
        ClickPhoto(elsewhere);
        EXPECT_TRUE(TitleEdit()->text().isEmpty() && TextEdit()->toPlainText().isEmpty());
        EXPECT_FALSE(TitleEdit()->isEnabled() || TextEdit()->isEnabled());
        EXPECT_FALSE(Item(IDC_DELETE_NOTE)->isEnabled());
    }
}

struct DeleteCase {
    bool notes;
    int count, selected, selectedAfter;
    QList<int> remaining; // the records left, by their first index
};
class PanelDelete : public PanelTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(PanelDelete, KeepsTheIndexOrMovesToTheNewLast) {
    const DeleteCase& c = GetParam();
    for (int i = 0; i < c.count; ++i) {
        const int y = 52 + 60 * i;
        if (c.notes)
            info().notes.push_back(MakeNote({100, y - 2}, QString::number(i)));
        else
            info().dimensions.push_back(MakeDimension({60, y}, {300, y}, QByteArray::number(i)));
    }
    const int& selection = c.notes ? canvas().m_nSelNote : canvas().m_nSelDim;
    Click(IDC_TOOL_SELECT);
    ClickPhoto(POINT{102, 52 + 60 * c.selected});
    ASSERT_EQ(selection, c.selected);
    Click(c.notes ? IDC_DELETE_NOTE : IDC_DELETE_DIMENSION);

    QList<int> remaining;
    for (const InfoNote& n : info().notes)
        remaining.append(QByteArray(n.title).toInt());
    for (const Dimension& d : info().dimensions)
        remaining.append(QByteArray(d.value).toInt());
    EXPECT_EQ(remaining, c.remaining);
    EXPECT_EQ(selection, c.selectedAfter);
    const QString shown = c.notes ? TitleEdit()->text() : SizeEdit()->text();
    EXPECT_EQ(shown, c.selectedAfter < 0 ? "" : QString::number(c.remaining[c.selectedAfter]));
    EXPECT_EQ(Item(c.notes ? IDC_DELETE_NOTE : IDC_DELETE_DIMENSION)->isEnabled(),
              c.selectedAfter >= 0);
}

INSTANTIATE_TEST_SUITE_P(
    FirstMiddleLastOnly, PanelDelete,
    ::testing::Values(DeleteCase{false, 3, 0, 0, {1, 2}}, DeleteCase{false, 3, 1, 1, {0, 2}},
                      DeleteCase{false, 3, 2, 1, {0, 1}}, DeleteCase{false, 1, 0, -1, {}},
                      DeleteCase{true, 3, 0, 0, {1, 2}}, DeleteCase{true, 3, 1, 1, {0, 2}},
                      DeleteCase{true, 3, 2, 1, {0, 1}}, DeleteCase{true, 1, 0, -1, {}}));

TEST_F(PanelTest, ListRowsMatchNotesPastOneHundred) {
    Open(WritePhoto(QStringLiteral("hall.jpg"), 3600, 2400));
    for (int i = 0; i < 120; ++i)
        info().notes.push_back(MakeNote({30 * i, 20 * i}, QStringLiteral("N%1").arg(i)));
    dlg->RefreshNoteList();
    ASSERT_EQ(NoteList()->count(), 120);
    for (int row : {0, 9, 99, 100, 119})
        EXPECT_EQ(NoteList()->item(row)->text(),
                  QStringLiteral("%1:N%2").arg(row + 1, 2, 10, QChar('0')).arg(row));

    // Picking row 105 selects note 105; deleting it moves row 106 up.
    Click(IDC_TOOL_NOTE);
    QListWidgetItem* item = NoteList()->item(105);
    NoteList()->scrollToItem(item);
    QTest::mouseClick(NoteList()->viewport(), Qt::LeftButton, {},
                      NoteList()->visualItemRect(item).center());
    ASSERT_EQ(canvas().m_nSelNote, 105);
    EXPECT_EQ(TitleEdit()->text(), QStringLiteral("N105"));
    Click(IDC_DELETE_NOTE);
    EXPECT_EQ(NoteList()->item(105)->text(), QStringLiteral("106:N106"));
}

} // namespace
