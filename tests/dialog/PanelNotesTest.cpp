// The editing panel with notes: the note list, the title and text edits, the
// delete, add and modify commands, and what the panel shows after the canvas
// changed the selection by itself.
#include "PanelSupport.h"

#include <QClipboard>
#include <QLabel>
#include <QScrollBar>

namespace {

TEST_F(PanelTest, PlacedNoteIsListedAndItsTextEditFocused) {
    ChooseTool(IDC_TOOL_NOTE);
    ClickPhoto(POINT{100, 100});
    ASSERT_EQ(canvas().m_nSelNote, 0);
    ASSERT_EQ(NoteList()->count(), 1);
    EXPECT_EQ(NoteList()->item(0)->text(), QString::fromUtf8("01:新信息"));
    EXPECT_EQ(NoteList()->currentRow(), 0);
    EXPECT_EQ(TitleEdit()->text(), QString::fromUtf8("新信息"));
    EXPECT_TRUE(TitleEdit()->isEnabled());
    EXPECT_TRUE(TextEdit()->isEnabled());
    EXPECT_TRUE(Item(IDC_DELETE_NOTE)->isEnabled());
    EXPECT_EQ(dlg->focusWidget(), TextEdit());

    counter.paints = 0;
    TypeText(TextEdit(), QString::fromUtf8("窗\n台"));
    Flush();
    EXPECT_EQ(cp950::FieldBytes(canvas().m_info.notes[0].text),
              cp950::FromQString(QString::fromUtf8("窗\r\n台")));
    EXPECT_GE(counter.paints, 1);
}

TEST_F(PanelTest, TitleAndTextEditsLimitByRecordBytes) {
    ChooseTool(IDC_TOOL_NOTE);
    ClickPhoto(POINT{100, 100});
    TitleEdit()->selectAll();
    // Ten two-byte characters: the tenth would be bytes 19 and 20 of 18.
    TypeText(TitleEdit(), QString::fromUtf8("一二三四五六七八九十"));
    EXPECT_EQ(TitleEdit()->text(), QString::fromUtf8("一二三四五六七八九"));
    TypeText(TitleEdit(), QStringLiteral("x"));
    EXPECT_EQ(RecordTitle(0), QString::fromUtf8("一二三四五六七八九"));
    EXPECT_EQ(cp950::FieldLength(canvas().m_info.notes[0].title, 20), 18u);

    // 125 two-byte characters (250 bytes), a line break (CR LF, 252), one
    // letter (253); nothing more fits, and Korean never does.
    TypeText(TextEdit(), QString(125, QChar(0x4E00)));
    TypeText(TextEdit(), QString::fromUtf8("한\n"));
    TypeText(TextEdit(), QString::fromUtf8("一ab"));
    const QByteArray stored = cp950::FieldBytes(canvas().m_info.notes[0].text);
    EXPECT_EQ(stored.size(), 253);
    EXPECT_TRUE(stored.endsWith("\r\na"));
    EXPECT_EQ(TextEdit()->toPlainText(), QString(125, QChar(0x4E00)) + QStringLiteral("\na"));
}

TEST_F(PanelTest, PastingStoresWhatFitsIntoTheRecord) {
    ChooseTool(IDC_TOOL_NOTE);
    ClickPhoto(POINT{100, 100});
    QApplication::clipboard()->setText(QString::fromUtf8("客廳北牆窗戶左側門框上緣"));
    TitleEdit()->selectAll();
    QTest::keyClick(TitleEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(RecordTitle(0), QString::fromUtf8("客廳北牆窗戶左側門"));
    TextEdit()->setFocus();
    QTest::keyClick(TextEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cp950::FieldToQString(canvas().m_info.notes[0].text),
              QString::fromUtf8("客廳北牆窗戶左側門框上緣"));
}

TEST_F(PanelTest, FillingTheTitleFromARecordNeverChangesIt) {
    // 19 bytes, as a photo-info file may hold; the edit takes 18 when typed.
    InfoNote note = MakeNote({100, 100}, QStringLiteral("abcdefghijklmnopqrs"), QString());
    canvas().m_info.notes.push_back(note);
    ChooseTool(IDC_TOOL_SELECT);
    ClickPhoto(POINT{102, 102});
    ASSERT_EQ(canvas().m_nSelNote, 0);
    EXPECT_EQ(TitleEdit()->text(), QStringLiteral("abcdefghijklmnopqrs"));
    EXPECT_EQ(RecordTitle(0), QStringLiteral("abcdefghijklmnopqrs"));
    dlg->RefreshNoteList();
    EXPECT_TRUE(canvas().m_info.notes[0] == note);
}

TEST_F(PanelTest, NoteControlsFollowTheCanvasClearingTheNoteSelection) {
    canvas().m_info.dimensions.push_back(MakeDimension({300, 300}, {500, 300}, "1", RGB(0, 0, 0)));
    canvas().m_info.notes.push_back(
        MakeNote({100, 100}, QStringLiteral("Door"), QStringLiteral("left side")));
    ChooseTool(IDC_TOOL_SELECT);
    ClickPhoto(POINT{102, 102});
    ASSERT_EQ(canvas().m_nSelNote, 0);
    EXPECT_EQ(TitleEdit()->text(), QStringLiteral("Door"));
    EXPECT_EQ(TextEdit()->toPlainText(), QStringLiteral("left side"));
    EXPECT_FALSE(TitleEdit()->isHidden());

    // A dimension picked: the note controls no longer show the note.
    ClickPhoto(POINT{400, 301});
    ASSERT_EQ(canvas().m_nSelNote, -1);
    EXPECT_TRUE(TitleEdit()->text().isEmpty());
    EXPECT_TRUE(TextEdit()->toPlainText().isEmpty());
    EXPECT_FALSE(TitleEdit()->isEnabled());
    EXPECT_FALSE(Item(IDC_DELETE_NOTE)->isEnabled());

    // Back to the note, then a click on nothing.
    ClickPhoto(POINT{102, 102});
    EXPECT_EQ(TitleEdit()->text(), QStringLiteral("Door"));
    ClickPhoto(POINT{700, 500});
    EXPECT_TRUE(TitleEdit()->text().isEmpty());
    EXPECT_FALSE(TextEdit()->isEnabled());

    // The note tool shows the group, with nothing selected to edit.
    ChooseTool(IDC_TOOL_NOTE);
    EXPECT_FALSE(TitleEdit()->isHidden());
    EXPECT_TRUE(TitleEdit()->text().isEmpty());
    QTest::mouseClick(Item(IDC_DELETE_NOTE), Qt::LeftButton);
    EXPECT_EQ(canvas().m_info.notes.size(), 1u);
    EXPECT_EQ(RecordTitle(0), QStringLiteral("Door"));
}

struct NoteDeleteCase {
    int count;
    int selected;
    int selectedAfter;
    QStringList titlesAfter;
};

class PanelDeleteNote : public PanelTest, public ::testing::WithParamInterface<NoteDeleteCase> {};

TEST_P(PanelDeleteNote, KeepsTheIndexOrMovesToTheNewLast) {
    const NoteDeleteCase& c = GetParam();
    for (int i = 0; i < c.count; ++i)
        canvas().m_info.notes.push_back(MakeNote({100, 50 + 60 * i}, QStringLiteral("N%1").arg(i),
                                                 QStringLiteral("t%1").arg(i)));
    ChooseTool(IDC_TOOL_SELECT);
    ClickPhoto(POINT{102, 52 + 60 * c.selected});
    ASSERT_EQ(canvas().m_nSelNote, c.selected);
    QTest::mouseClick(Item(IDC_DELETE_NOTE), Qt::LeftButton);
    Flush();

    QStringList titles;
    for (size_t i = 0; i < canvas().m_info.notes.size(); ++i)
        titles.append(RecordTitle(i));
    EXPECT_EQ(titles, c.titlesAfter);
    EXPECT_EQ(canvas().m_nSelNote, c.selectedAfter);
    ASSERT_EQ(NoteList()->count(), c.titlesAfter.size());
    for (int row = 0; row < NoteList()->count(); ++row)
        EXPECT_EQ(NoteList()->item(row)->text(),
                  QStringLiteral("%1:%2").arg(row + 1, 2, 10, QChar('0')).arg(c.titlesAfter[row]));
    if (c.selectedAfter < 0) {
        EXPECT_TRUE(TitleEdit()->text().isEmpty());
        EXPECT_TRUE(TextEdit()->toPlainText().isEmpty());
        EXPECT_FALSE(TitleEdit()->isEnabled());
        EXPECT_FALSE(TextEdit()->isEnabled());
    } else {
        EXPECT_EQ(NoteList()->currentRow(), c.selectedAfter);
        EXPECT_EQ(TitleEdit()->text(), c.titlesAfter[c.selectedAfter]);
    }
}

INSTANTIATE_TEST_SUITE_P(FirstLastOnly, PanelDeleteNote,
                         ::testing::Values(NoteDeleteCase{3, 0, 0, {"N1", "N2"}},
                                           NoteDeleteCase{3, 2, 1, {"N0", "N1"}},
                                           NoteDeleteCase{3, 1, 1, {"N0", "N2"}},
                                           NoteDeleteCase{1, 0, -1, {}}));

TEST_F(PanelTest, ListRowsMatchNotesPastOneHundred) {
    ShowBlankPhoto(QSize(4000, 3000));
    for (int i = 0; i < 120; ++i)
        canvas().m_info.notes.push_back(
            MakeNote({30 * i, 20 * i}, QStringLiteral("N%1").arg(i, 3, 10, QChar('0')), QString()));
    ChooseTool(IDC_TOOL_NOTE);
    dlg->RefreshNoteList();
    ASSERT_EQ(NoteList()->count(), 120);
    for (int row = 0; row < 120; ++row)
        EXPECT_EQ(
            NoteList()->item(row)->text(),
            QStringLiteral("%1:N%2").arg(row + 1, 2, 10, QChar('0')).arg(row, 3, 10, QChar('0')));

    // The user picks row 105: note 105 is selected and brought into view.
    QListWidgetItem* item = NoteList()->item(105);
    NoteList()->scrollToItem(item);
    QTest::mouseClick(NoteList()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      NoteList()->visualItemRect(item).center());
    Flush();
    ASSERT_EQ(canvas().m_nSelNote, 105);
    EXPECT_EQ(TitleEdit()->text(), QStringLiteral("N105"));
    const RECT src = canvas().m_rcSrc;
    const POINT anchor = canvas().m_info.notes[105].anchor;
    EXPECT_LE(src.left, anchor.x);
    EXPECT_GT(src.right, anchor.x);
    EXPECT_LE(src.top, anchor.y);
    EXPECT_GT(src.bottom, anchor.y);

    QTest::mouseClick(Item(IDC_DELETE_NOTE), Qt::LeftButton);
    ASSERT_EQ(canvas().m_info.notes.size(), 119u);
    EXPECT_EQ(RecordTitle(104), QStringLiteral("N104"));
    EXPECT_EQ(RecordTitle(105), QStringLiteral("N106"));
    EXPECT_EQ(canvas().m_nSelNote, 105);
    EXPECT_EQ(NoteList()->item(105)->text(), QStringLiteral("106:N106"));
}

TEST_F(PanelTest, AddClearsTheNoteSelectionAndDisablesTheNoteControls) {
    ChooseTool(IDC_TOOL_NOTE);
    ClickPhoto(POINT{100, 100});
    dlg->OnAddNote();
    EXPECT_EQ(canvas().m_nSelNote, -2);
    EXPECT_TRUE(TitleEdit()->text().isEmpty());
    EXPECT_FALSE(TitleEdit()->isEnabled());
    TypeText(TitleEdit(), QStringLiteral("x")); // a disabled edit takes nothing
    EXPECT_EQ(RecordTitle(0), QString::fromUtf8("新信息"));
}

TEST_F(PanelTest, ModifyRefusesAnEmptyTitleAndStoresTitleAndTextOtherwise) {
    RecordingPrompter prompter;
    ScopedPrompter scoped(&prompter);
    canvas().m_info.notes.push_back(
        MakeNote({100, 100}, QStringLiteral("Old"), QStringLiteral("old")));
    canvas().m_nSelNote = 0;
    dlg->RefreshNoteList();
    TitleEdit()->setText(QString());
    TextEdit()->SetText(QStringLiteral("new\ntext"));
    dlg->OnModifyNote();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0], QString::fromUtf8("信息標注的標題不能為空"));
    EXPECT_EQ(RecordTitle(0), QStringLiteral("Old"));
    EXPECT_STREQ(canvas().m_info.notes[0].text, "old");

    TitleEdit()->setText(QStringLiteral("New"));
    dlg->OnModifyNote();
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(RecordTitle(0), QStringLiteral("New"));
    EXPECT_STREQ(canvas().m_info.notes[0].text, "new\r\ntext");
    EXPECT_EQ(NoteList()->item(0)->text(), QStringLiteral("01:New"));
}

} // namespace
