// Escape, the close box and the exit and help commands of the main window.

#include "DialogFixture.h"
#include "WorkflowSupport.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>

namespace {
class EscapeTest : public MainWindowTest {
protected:
    void SelectToolAndPanel() {
        ShowWindow();
        EnablePhotoControls();
        QTest::mouseClick(Item(IDC_TOOL_SELECT), Qt::LeftButton);
        dlg->ShowEditPanel(SelectionDimension);
        ASSERT_EQ(dlg->m_canvas.CurrentTool(), ToolSelect);
        ASSERT_TRUE(Item(IDC_SIZE_EDIT)->isVisible());
    }
    void ExpectDragToolAndOpen() {
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(dlg->m_canvas.CurrentTool(), ToolDrag);
        EXPECT_EQ(dlg->m_nTool, ToolDrag);
        EXPECT_TRUE(qobject_cast<QAbstractButton*>(Item(IDC_TOOL_DRAG))->isChecked());
        for (int id : kDimensionGroup)
            EXPECT_FALSE(Item(id)->isVisible()) << id;
        for (int id : kNoteGroup)
            EXPECT_FALSE(Item(id)->isVisible()) << id;
        EXPECT_EQ(dlg->m_bCancelCloses, 1);
    }
};
} // namespace

TEST_F(EscapeTest, EscapeSwitchesToTheDragToolAndKeepsTheWindowOpen) {
    SelectToolAndPanel();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    ExpectDragToolAndOpen();
    // Escape from inside an edit box does the same.
    QTest::mouseClick(Item(IDC_TOOL_DIMENSION), Qt::LeftButton);
    Item(IDC_SIZE_EDIT)->setFocus();
    QTest::keyClick(Item(IDC_SIZE_EDIT), Qt::Key_Escape);
    ExpectDragToolAndOpen();
    // And again with the drag tool already current.
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    ExpectDragToolAndOpen();
}

TEST_F(EscapeTest, EscapeInTheNoteTextSwitchesTools) {
    ShowWindow();
    EnablePhotoControls();
    Item(IDC_NOTE_TEXT)->setEnabled(true);
    QTest::mouseClick(Item(IDC_TOOL_NOTE), Qt::LeftButton);
    Item(IDC_NOTE_TEXT)->setFocus();
    QTest::keyClick(Item(IDC_NOTE_TEXT), Qt::Key_Escape);
    ExpectDragToolAndOpen();
}

TEST_F(EscapeTest, CloseRequestAfterEscapeCloses) {
    SelectToolAndPanel();
    // Pressed and released: the release leaves nothing behind.
    QTest::keyPress(dlg.get(), Qt::Key_Escape);
    QTest::keyRelease(dlg.get(), Qt::Key_Escape);
    ExpectDragToolAndOpen();
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(EscapeTest, CloseRequestClosesEvenWhenACancelWouldOnlySwitchTools) {
    SelectToolAndPanel();
    // Whatever the flag holds, the close box closes.
    dlg->m_bCancelCloses = 0;
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(EscapeTest, ExitClosesWhateverTheFlagHolds) {
    ShowWindow();
    dlg->m_bCancelCloses = 0;
    Item(IDC_EXIT)->setVisible(true);
    QTest::mouseClick(Item(IDC_EXIT), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

namespace {
// Catches what the help command hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};
} // namespace

TEST_F(MainWindowTest, HelpOpensTheHelpFileBesideTheProgramWhenThereIsOne) {
    const QString path = CMeasureDlg::HelpFilePath();
    EXPECT_EQ(path, QCoreApplication::applicationDirPath() + QStringLiteral("/help.chm"));
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");

    QFile::remove(path);
    dlg->OnHelp();
    EXPECT_TRUE(catcher.opened.isEmpty());

    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ITSF");
    }
    Item(IDC_HELP)->setVisible(true);
    QTest::mouseClick(Item(IDC_HELP), Qt::LeftButton);
    QFile::remove(path);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], QUrl::fromLocalFile(path));
}

namespace {
class CloseWithChangesTest : public WorkflowTest {
protected:
    void OpenAndDraw() {
        ShowWindow();
        OpenThroughDialog(WritePhoto(QStringLiteral("hall.jpg")));
        AddDimension(POINT{1, 1}, POINT{50, 1}, "12", RGB(0, 0, 255));
        ASSERT_TRUE(dlg->HasUnsavedChanges());
        prompter.messages.clear();
    }
};
} // namespace

TEST_F(CloseWithChangesTest, EscapeNeverAsksExitAndCloseBoxAskFirst) {
    OpenAndDraw();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(prompter.messages.isEmpty());

    // Kept open by the answer: the tool stays, the next request asks again.
    prompter.questionAnswers = {QMessageBox::Cancel};
    dlg->OnExit();
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(dlg->m_bCancelCloses, 1);

    prompter.questionAnswers = {QMessageBox::Cancel};
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(prompter.messages.size(), 2);

    prompter.questionAnswers = {QMessageBox::Discard};
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(prompter.messages.size(), 3);
}

#include "CommandsKeyboardTest.moc"
