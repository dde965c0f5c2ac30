// Two windows on one photo: a save over an info file that the other window
// saved since this one loaded or saved it asks first, from the save button
// and from the question on closing, and overwrites only when told to. (How
// a change on disk is told apart: FileStamp's tests in tests/platform.)

#include "DialogFixture.h"

TEST_F(MainWindowTest, ASaveOverAnotherWindowsSaveAsksFirstFromTheButtonAndOnClosing) {
    const QString kitchen = WritePhoto(QStringLiteral("kitchen.jpg"));
    const QString dat = PathOf(QStringLiteral("kitchen.dat"));
    Open(kitchen);
    info().notes.push_back(MakeTitledNote({50, 50}, Utf8("A")));
    CMeasureDlg other;
    other.show();
    ASSERT_TRUE(other.OpenPhoto(kitchen));
    ASSERT_TRUE(WaitForFullPhoto(other.m_canvas));
    other.m_canvas.Model().Records().notes.push_back(MakeTitledNote({60, 60}, Utf8("B")));
    QTest::mouseClick(other.GetDlgItem(IDC_SAVE_INFO), Qt::LeftButton);
    const QByteArray theirs = ReadWholeFile(dat);

    const QString question = Utf8("照片信息文件已被其他程序修改：") + dat + Utf8("\n是否覆蓋？");
    prompter.texts.clear();
    prompter.answers = {QMessageBox::Save, QMessageBox::Cancel};
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(prompter.texts, (QStringList{Utf8("照片信息已修改，是否保存？"), question}));
    EXPECT_EQ(ReadWholeFile(dat), theirs);

    // Asked again, as long as it has not been answered with overwrite.
    prompter.texts.clear();
    prompter.answers = {QMessageBox::Cancel, QMessageBox::Yes};
    Click(IDC_SAVE_INFO);
    EXPECT_EQ(prompter.offered.last(), QMessageBox::Yes | QMessageBox::Cancel);
    EXPECT_EQ(ReadWholeFile(dat), theirs);
    Click(IDC_SAVE_INFO);
    EXPECT_EQ(ReadWholeFile(dat), info().Serialize());
    EXPECT_FALSE(dlg->HasUnsavedChanges());
    // The file is now the one this window wrote: no question.
    Click(IDC_SAVE_INFO);
    EXPECT_EQ(prompter.texts, (QStringList{question, question, Utf8("照片信息保存完畢"),
                                           Utf8("照片信息保存完畢")}));
}
