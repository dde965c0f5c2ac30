// Opening a photo, saving its info file, a damaged info file, and the
// question before changed records are lost. Every failure says why.

#include "DialogFixture.h"
#include "common/NonRegularFiles.h"
#include "dialog/DamagedInfoFile.h"

#include <QDir>

namespace {

// A failure says why; a named pipe as the photo or as its info file is
// refused at once, saying what it is. (Every kind of file refused, and why:
// tests/platform.)
TEST_F(MainWindowTest, OpeningEnablesThePhotoControlsAndANamedPipeIsRefusedAtOnce) {
    EXPECT_FALSE(Item(IDC_CANVAS)->isEnabled() || Item(IDC_EXPORT_PICTURE)->isEnabled());
    const QString pipe = PathOf("p.jpg");
    ASSERT_TRUE(MakeFifo(pipe));
    ASSERT_TRUE(MakeFifo(PathOf(QStringLiteral("flat.2.dat"))));
    const FifoWatchdog watchdog({pipe, PathOf("flat.2.dat")});
    canvas().SetTool(ToolNote);
    Open(WritePhoto(QStringLiteral("flat.2.jpeg")));
    EXPECT_TRUE(Item(IDC_CANVAS)->isEnabled() && Item(IDC_EXPORT_PICTURE)->isEnabled());
    EXPECT_EQ(canvas().CurrentTool(), ToolNote); // the user's tool stays
    Open(pipe);
    ASSERT_EQ(prompter.texts.size(), 2);
    EXPECT_TRUE(
        prompter.texts[0].startsWith(Utf8("照片信息文件無法讀取：") + PathOf("flat.2.dat")));
    EXPECT_TRUE(prompter.texts[0].contains(QLatin1String("named pipe, not a photo-info file")));
    EXPECT_TRUE(prompter.texts[1].startsWith(Utf8("無法打開圖片：") + pipe + '\n'));
    EXPECT_TRUE(prompter.texts[1].contains(QLatin1String("named pipe, not a picture file")));
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tessamar - [flat.2.jpeg]"));
}

// kitchen.jpg opened, with a blue dimension and a note in Chinese drawn on it.
class PhotoWithRecordsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open(kitchen = WritePhoto(QStringLiteral("kitchen.jpg")));
        info().dimensions.push_back(MakeDimension({40, 60}, {200, 60}, Utf8("約3米"), 0xFF0000));
        info().notes.push_back(MakeTitledNote({60, 100}, Utf8("北牆"), Utf8("油漆剝落\n需要修補")));
        drawn = info();
    }
    QString kitchen, dat = PathOf(QStringLiteral("kitchen.dat"));
    PhotoInfo drawn;
};

enum Leaving { OpenAnother, CloseBox, Exit };
class AskBeforeLosingChanges
    : public PhotoWithRecordsTest,
      public ::testing::WithParamInterface<std::tuple<Leaving, QMessageBox::StandardButton>> {};

TEST_P(AskBeforeLosingChanges, SavesDiscardsOrStays) {
    const auto [leaving, answer] = GetParam();
    const QString hall = WritePhoto(QStringLiteral("hall.jpg"));
    prompter.answers = {answer};
    if (leaving == OpenAnother)
        Open(hall);
    else if (leaving == CloseBox)
        dlg->close();
    else
        dlg->OnExit();

    EXPECT_EQ(prompter.texts, QStringList{Utf8("照片信息已修改，是否保存？")});
    EXPECT_EQ(prompter.offered[0], QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    EXPECT_EQ(ReadWholeFile(dat), answer == QMessageBox::Save ? drawn.Serialize() : QByteArray());
    const bool stays = answer == QMessageBox::Cancel;
    EXPECT_EQ(dlg->isVisible(), stays || leaving == OpenAnother);
    EXPECT_EQ(dlg->m_strPhotoPath, stays || leaving != OpenAnother ? kitchen : hall);
}

INSTANTIATE_TEST_SUITE_P(Answers, AskBeforeLosingChanges,
                         ::testing::Combine(::testing::Values(OpenAnother, CloseBox, Exit),
                                            ::testing::Values(QMessageBox::Save,
                                                              QMessageBox::Discard,
                                                              QMessageBox::Cancel)));

// From the button, and from the question on closing, which a failed save answers by staying.
TEST_F(PhotoWithRecordsTest, ASaveThatFailsOnClosingKeepsTheWindowOpen) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("kitchen.dat/old")));
    Click(IDC_SAVE_INFO);
    prompter.answers = {QMessageBox::Save};
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_EQ(prompter.texts.size(), 3);
    for (int i : {0, 2})
        EXPECT_TRUE(prompter.texts[i].startsWith(Utf8("保存照片信息失敗：") + dat + '\n')) << i;
    EXPECT_TRUE(QDir(dat + "/old").exists());
    EXPECT_EQ(info().notes, drawn.notes);
}

// A damaged info file goes to the first free name beside it, whole; an
// earlier one stays. (Which files are damaged: tests/document.)
TEST(MoveDamagedFileAsideTest, TakesTheFirstFreeNameAndReplacesNothing) {
    QTemporaryDir dir;
    const QString dat = dir.filePath(QStringLiteral("kitchen.dat"));
    ASSERT_TRUE(WriteWholeFile(dat, "KZR") && WriteWholeFile(dat + ".damaged", "older"));
    const MoveAsideResult moved = MoveDamagedFileAside(dat);
    EXPECT_TRUE(moved.moved);
    EXPECT_EQ(moved.newPath, dat + ".damaged-2");
    EXPECT_EQ(ReadWholeFile(dat + ".damaged-2"), QByteArray("KZR"));
    EXPECT_EQ(ReadWholeFile(dat + ".damaged"), QByteArray("older"));
}

// One that cannot be moved aside is told, and overwritten only when the user
// says so.
TEST_F(MainWindowTest, ADamagedInfoFileThatCannotBeMovedAsideIsOverwrittenOnlyWhenAllowed) {
    const QString dat = PathOf(QStringLiteral("kitchen.dat"));
    ASSERT_TRUE(WriteWholeFile(dat, "KZR"));
    // Every name it could move to is taken.
    ASSERT_TRUE(WriteWholeFile(dat + ".damaged", ""));
    for (int i = 2; i <= 100; ++i)
        ASSERT_TRUE(WriteWholeFile(dat + QStringLiteral(".damaged-%1").arg(i), ""));
    Open(WritePhoto(QStringLiteral("kitchen.jpg")));
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_TRUE(prompter.texts[0].startsWith(Utf8("照片信息文件已損壞，無法改名保存：") + dat));
    prompter.answers = {QMessageBox::No, QMessageBox::Yes};
    Click(IDC_SAVE_INFO);
    EXPECT_EQ(ReadWholeFile(dat), QByteArray("KZR"));
    Click(IDC_SAVE_INFO);
    EXPECT_EQ(ReadWholeFile(dat), PhotoInfo().Serialize());
    EXPECT_EQ(prompter.offered[1], QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(prompter.texts.last(), Utf8("照片信息保存完畢"));
}

} // namespace
