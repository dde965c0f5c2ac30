// Saving the photo-info file, the question before changed records are
// replaced or the window closes, and unreadable info files kept aside.

#include "dialog/WorkflowSupport.h"

#include "common/TestSupport.h"
#include "platform/Cp950.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {
const QString kAskToSave = QString::fromUtf8("照片信息已修改，是否保存？");
const QString kSaved = QString::fromUtf8("照片信息保存完畢");
} // namespace

class WorkflowSaveTest : public WorkflowTest {
protected:
    // kitchen.jpg opened, with two dimensions and a note in Chinese.
    void OpenKitchenAndDraw() {
        kitchen = WritePhoto(QStringLiteral("kitchen.jpg"));
        OpenThroughDialog(kitchen);
        AddDimension(POINT{20, 30}, POINT{220, 30}, "2500", 0x000000FF);
        AddDimension(POINT{40, 200}, POINT{40, 60}, cp950::FromQString(Utf8("約3米")), 0x00FF0000);
        InfoNote& note = AddNote(POINT{100, 120}, Utf8("北牆"), Utf8("油漆剝落\n需要修補"));
        note.font.lfHeight = -18;
        drawn = dlg->m_canvas.m_info;
    }
    QString kitchen;
    PhotoInfo drawn;
};

TEST_F(WorkflowSaveTest, SavedRecordsComeBackWhenThePhotoIsOpenedAgain) {
    OpenKitchenAndDraw();
    EXPECT_TRUE(dlg->HasUnsavedChanges());
    PressSave();
    EXPECT_EQ(prompter.Texts(), QStringList{kSaved});
    EXPECT_FALSE(dlg->HasUnsavedChanges());

    const QByteArray bytes = ReadWholeFile(PathOf(QStringLiteral("kitchen.dat")));
    ASSERT_GE(bytes.size(), 16);
    EXPECT_EQ(bytes.left(8), QByteArray("\x4B\x5A\x52\x00\x08\x00\x01\x00", 8));
    EXPECT_EQ(qFromLittleEndian<int32_t>(bytes.constData() + 8), 2);
    EXPECT_EQ(qFromLittleEndian<int32_t>(bytes.constData() + 12 + 2 * 90), 1);
    EXPECT_EQ(bytes, drawn.Serialize());
    // The Chinese texts are stored as CP950 bytes.
    EXPECT_TRUE(bytes.contains(cp950::FromQString(Utf8("油漆剝落"))));

    // Saved: another photo opens without a question.
    prompter.messages.clear();
    OpenThroughDialog(WritePhoto(QStringLiteral("hall.jpg")));
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_TRUE(dlg->m_canvas.m_info.dimensions.empty());

    OpenThroughDialog(kitchen);
    EXPECT_EQ(dlg->m_canvas.m_info.dimensions, drawn.dimensions);
    EXPECT_EQ(dlg->m_canvas.m_info.notes, drawn.notes);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tessamar - [kitchen.jpg]"));

    // A second save replaces the first.
    dlg->m_canvas.m_info.notes.clear();
    PressSave();
    EXPECT_EQ(ReadWholeFile(PathOf(QStringLiteral("kitchen.dat"))).size(), 12 + 2 * 90 + 4);
}

struct AnswerCase {
    QMessageBox::StandardButton answer;
    bool kitchenSaved;
    bool hallOpened;
};

class WorkflowAskBeforeReplacing : public WorkflowSaveTest,
                                   public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(WorkflowAskBeforeReplacing, OpeningAnotherPhotoAsksAboutChangedRecords) {
    const AnswerCase c = GetParam();
    OpenKitchenAndDraw();
    const QString hall = WritePhoto(QStringLiteral("hall.jpg"));
    prompter.questionAnswers = {c.answer};

    OpenThroughDialog(hall);

    ASSERT_FALSE(prompter.messages.isEmpty());
    EXPECT_EQ(prompter.messages[0].text, kAskToSave);
    EXPECT_EQ(prompter.messages[0].buttons,
              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    EXPECT_EQ(prompter.messages.size(), 1) << prompter.Texts().join('|').toStdString();
    const QString info = PathOf(QStringLiteral("kitchen.dat"));
    EXPECT_EQ(QFile::exists(info), c.kitchenSaved);
    if (c.kitchenSaved) {
        EXPECT_EQ(ReadWholeFile(info), drawn.Serialize());
    }
    EXPECT_EQ(dlg->m_strPhotoPath, c.hallOpened ? hall : kitchen);
    if (!c.hallOpened) {
        EXPECT_EQ(dlg->m_canvas.m_info.dimensions, drawn.dimensions);
        EXPECT_TRUE(dlg->HasUnsavedChanges());
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, WorkflowAskBeforeReplacing,
                         ::testing::Values(AnswerCase{QMessageBox::Save, true, true},
                                           AnswerCase{QMessageBox::Discard, false, true},
                                           AnswerCase{QMessageBox::Cancel, false, false}));

TEST_F(WorkflowSaveTest, ClosingTheWindowAsksAboutChangedRecords) {
    ShowWindow();
    OpenKitchenAndDraw();

    prompter.questionAnswers = {QMessageBox::Cancel};
    dlg->reject();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(prompter.Texts(), QStringList{kAskToSave});

    // A save that fails keeps the window open.
    QDir(dir.path()).mkdir(QStringLiteral("kitchen.dat"));
    prompter.messages.clear();
    prompter.questionAnswers = {QMessageBox::Save};
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_TRUE(prompter.messages[1].text.startsWith(Utf8("保存照片信息失敗：")));
    QDir(dir.path()).rmdir(QStringLiteral("kitchen.dat"));

    prompter.messages.clear();
    prompter.questionAnswers = {QMessageBox::Save};
    dlg->reject();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(ReadWholeFile(PathOf(QStringLiteral("kitchen.dat"))), drawn.Serialize());
}

TEST_F(WorkflowSaveTest, ClosingWithoutChangesDoesNotAsk) {
    ShowWindow();
    OpenThroughDialog(WritePhoto(QStringLiteral("kitchen.jpg")));
    dlg->reject();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(WorkflowSaveTest, ASaveThatFailsSaysWhyAndKeepsTheRecords) {
    // The photo's folder vanishes while the photo is shown.
    QDir(dir.path()).mkdir(QStringLiteral("rooms"));
    kitchen = dir.filePath(QStringLiteral("rooms/kitchen.jpg"));
    ASSERT_TRUE(WriteWholeFile(kitchen, MakePhotoBytes(64, 48, Qt::gray)));
    OpenThroughDialog(kitchen);
    AddDimension(POINT{1, 1}, POINT{50, 1}, "120", 0xFF);
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("rooms"))).removeRecursively());

    PressSave();
    ASSERT_EQ(prompter.messages.size(), 1);
    const QString prefix =
        Utf8("保存照片信息失敗：") + dir.filePath(QStringLiteral("rooms/kitchen.dat"));
    EXPECT_TRUE(prompter.messages[0].text.startsWith(prefix))
        << prompter.messages[0].text.toStdString();
    EXPECT_GT(prompter.messages[0].text.size(), prefix.size()) << "the reason is given";
    EXPECT_FALSE(prompter.Texts().contains(kSaved));
    EXPECT_EQ(dlg->m_canvas.m_info.dimensions.size(), 1u);
    EXPECT_TRUE(dlg->HasUnsavedChanges());
}

TEST_F(WorkflowSaveTest, AnInfoPathThatIsAFolderIsNotASave) {
    const QString photo = WritePhoto(QStringLiteral("hall.jpg"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("hall.dat")));
    OpenThroughDialog(photo);
    EXPECT_TRUE(prompter.messages.isEmpty());
    PressSave();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(Utf8("保存照片信息失敗：")));
    EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("hall.dat"))).isDir());
}

struct DamagedCase {
    const char* name;
    QByteArray bytes;
};

class WorkflowDamagedInfo : public WorkflowTest,
                            public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(WorkflowDamagedInfo, AnUnreadableInfoFileIsKeptAsideAndReported) {
    const QByteArray damaged = GetParam().bytes;
    const QString photo = WritePhoto(QStringLiteral("kitchen.jpg"));
    const QString info = PathOf(QStringLiteral("kitchen.dat"));
    ASSERT_TRUE(WriteWholeFile(info, damaged));
    // An earlier damaged copy is not replaced either.
    ASSERT_TRUE(WriteWholeFile(info + ".damaged", "older"));

    OpenThroughDialog(photo);

    const QString aside = info + ".damaged-2";
    EXPECT_EQ(prompter.Texts(), QStringList{Utf8("照片信息文件已損壞，已改名保存為：") + aside});
    EXPECT_EQ(ReadWholeFile(aside), damaged);
    EXPECT_EQ(ReadWholeFile(info + ".damaged"), QByteArray("older"));
    EXPECT_FALSE(QFile::exists(info));
    EXPECT_EQ(dlg->m_strPhotoPath, photo);
    EXPECT_TRUE(dlg->m_canvas.m_info.dimensions.empty());
    EXPECT_TRUE(dlg->m_canvas.m_info.notes.empty());

    // Saving now writes a fresh file; the damaged one stays aside.
    PressSave();
    EXPECT_EQ(ReadWholeFile(info), PhotoInfo().Serialize());
    EXPECT_EQ(ReadWholeFile(aside), damaged);
}

namespace {
QByteArray TruncatedInfo() {
    PhotoInfo info;
    Dimension dim;
    dim.start = POINT{1, 1};
    dim.end = POINT{9, 1};
    info.dimensions.assign(3, dim);
    const QByteArray whole = info.Serialize();
    return whole.left(whole.size() - 50);
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Files, WorkflowDamagedInfo,
                         ::testing::Values(DamagedCase{"NotInfoFile", QByteArray("JFIF and more")},
                                           DamagedCase{"Truncated", TruncatedInfo()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkflowTest, AnUnreadableInfoFileThatCannotBeMovedIsOverwrittenOnlyWhenAllowed) {
    const QString photo = WritePhoto(QStringLiteral("kitchen.jpg"));
    const QString info = PathOf(QStringLiteral("kitchen.dat"));
    ASSERT_TRUE(WriteWholeFile(info, "KZR"));
    // Every name it could move to is taken.
    ASSERT_TRUE(WriteWholeFile(info + ".damaged", ""));
    for (int i = 2; i <= 100; ++i)
        ASSERT_TRUE(WriteWholeFile(info + QStringLiteral(".damaged-%1").arg(i), ""));

    OpenThroughDialog(photo);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(
        prompter.messages[0].text.startsWith(Utf8("照片信息文件已損壞，無法改名保存：") + info));
    EXPECT_EQ(dlg->m_strPhotoPath, photo);

    prompter.messages.clear();
    prompter.questionAnswers = {QMessageBox::No};
    PressSave();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(ReadWholeFile(info), QByteArray("KZR"));

    prompter.messages.clear();
    prompter.questionAnswers = {QMessageBox::Yes};
    PressSave();
    EXPECT_EQ(prompter.Texts().last(), kSaved);
    EXPECT_EQ(ReadWholeFile(info), PhotoInfo().Serialize());
}

TEST_F(WorkflowTest, AnInfoFileThatCannotBeOpenedIsReportedAndNotSavedOverSilently) {
    const QString photo = WritePhoto(QStringLiteral("kitchen.jpg"));
    const QString info = PathOf(QStringLiteral("kitchen.dat"));
    ASSERT_TRUE(WriteWholeFile(info, "private"));
    ASSERT_TRUE(QFile::setPermissions(info, QFileDevice::WriteOwner));
    if (QFile file(info); file.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this user can read any file";

    OpenThroughDialog(photo);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(Utf8("照片信息文件無法讀取：") + info));

    prompter.questionAnswers = {QMessageBox::No};
    PressSave();
    QFile::setPermissions(info, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(ReadWholeFile(info), QByteArray("private"));
}
