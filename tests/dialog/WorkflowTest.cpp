// Opening a photo, saving its info file, a damaged info file, and the
// question before changed records are lost. Every failure says why.

#include "DialogFixture.h"
#include "common/NonRegularFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Each failure says why; a named pipe as the photo or as its info file is
// refused at once, saying what it is. (Every kind of file refused, and why:
// tests/platform.)
TEST_F(MainWindowTest, OpeningEnablesThePhotoControlsAndAFailedOpenSaysWhyAndChangesNothing) {
    const auto photoControls = {IDC_CANVAS, IDC_SAVE_INFO, IDC_EXPORT_PICTURE, IDC_TOOL_DIMENSION};
    for (int id : photoControls)
        EXPECT_FALSE(Item(id)->isEnabled()) << id;
    const QString missing = PathOf("gone.jpg"), bad = PathOf("notes.jpg"), pipe = PathOf("p.jpg");
    ASSERT_TRUE(WriteWholeFile(bad, "not a picture at all"));
    ASSERT_TRUE(MakeFifo(pipe));
    ASSERT_TRUE(MakeFifo(PathOf(QStringLiteral("flat.2.dat"))));
    const FifoWatchdog watchdog({pipe, PathOf("flat.2.dat")});
    canvas().SetTool(ToolNote);
    Open(WritePhoto(QStringLiteral("flat.2.jpeg")));
    for (int id : photoControls)
        EXPECT_TRUE(Item(id)->isEnabled()) << id;
    EXPECT_EQ(canvas().CurrentTool(), ToolNote); // the user's tool stays
    for (const QString& path : {missing, bad, pipe})
        Open(path);
    ASSERT_EQ(prompter.texts.size(), 4);
    EXPECT_TRUE(
        prompter.texts[0].startsWith(Utf8("照片信息文件無法讀取：") + PathOf("flat.2.dat")));
    EXPECT_TRUE(prompter.texts[0].contains(QLatin1String("named pipe, not a photo-info file")));
    EXPECT_EQ(prompter.texts[1], Utf8("找不到文件：") + missing);
    EXPECT_TRUE(prompter.texts[2].startsWith(Utf8("無法打開圖片：") + bad + '\n'));
    EXPECT_TRUE(prompter.texts[3].startsWith(Utf8("無法打開圖片：") + pipe + '\n'));
    EXPECT_TRUE(prompter.texts[3].contains(QLatin1String("named pipe, not a picture file")));
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tessamar - [flat.2.jpeg]"));
    EXPECT_EQ(canvas().Photo().GetSize().cx, 320);
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

// Not an info file at all, one that ends early, and one whose reference
// cannot be read (its records are kept).
struct DamagedCase {
    QByteArray bytes;
    const char* says;
    size_t dimensions; // kept
};
class DamagedInfo : public MainWindowTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedInfo, IsRenamedAsideReportedAndNeverSavedOver) {
    const DamagedCase& c = GetParam();
    const QString dat = PathOf(QStringLiteral("kitchen.dat"));
    ASSERT_TRUE(WriteWholeFile(dat, c.bytes));
    ASSERT_TRUE(WriteWholeFile(dat + ".damaged", "older")); // an earlier one stays too
    Open(WritePhoto(QStringLiteral("kitchen.jpg")));
    const QString aside = dat + ".damaged-2";
    EXPECT_EQ(prompter.texts, QStringList{Utf8(c.says) + aside});
    EXPECT_EQ(info().dimensions.size(), c.dimensions);
    EXPECT_FALSE(info().reference.HasReference());
    EXPECT_EQ(ReadWholeFile(dat + ".damaged"), QByteArray("older"));
    Click(IDC_SAVE_INFO);
    EXPECT_EQ(ReadWholeFile(dat), info().Serialize());
    EXPECT_EQ(ReadWholeFile(aside), c.bytes);
}

QByteArray WithDamagedReference() {
    PhotoInfo written;
    written.dimensions = {MakeDimension({10, 10}, {210, 10}, QStringLiteral("800"))};
    return written.Serialize() + QByteArray("TSMREXT\0", 8) + QByteArray(3, '\x7f');
}
const char kMovedAside[] = "照片信息文件已損壞，已改名保存為：";
INSTANTIATE_TEST_SUITE_P(
    Files, DamagedInfo,
    ::testing::Values(
        DamagedCase{"JFIF and more", kMovedAside, 0},
        DamagedCase{PhotoInfo().Serialize().chopped(1), kMovedAside, 0},
        DamagedCase{WithDamagedReference(),
                    "參考長度或參考平面無法讀取，尺寸和信息已載入。\n原文件已改名保存為：", 1}));

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
