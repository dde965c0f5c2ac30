// Two windows on one photo, or another program writing its info file: a save
// over a file that changed on disk since it was loaded or saved asks first,
// and overwrites only when the user says so.

#include "DialogFixture.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// How the info file changed behind window A's back.
enum class Change {
    OtherWindowSaves,      // window B on the same photo saves its records
    AppearsSinceLoad,      // there was none when A opened the photo; B saves one
    RewrittenInPlace,      // another program rewrites it, same size, 1 ns later
    ReplacedByAnotherFile, // another program renames a new file over it
};

class SaveConflict : public MainWindowTest, public ::testing::WithParamInterface<Change> {
protected:
    // Window B: opens the photo, draws its own dimension and saves.
    void SaveFromSecondWindow() {
        CMeasureDlg other;
        other.show();
        ASSERT_TRUE(other.OpenPhoto(kitchen));
        ASSERT_TRUE(WaitForFullPhoto(other.m_canvas));
        other.m_canvas.Model().Records().dimensions.push_back(MakeDimension({5, 5}, {90, 5}, "B"));
        prompter.texts.clear();
        QTest::mouseClick(other.GetDlgItem(IDC_SAVE_INFO), Qt::LeftButton);
        ASSERT_EQ(prompter.texts, QStringList{Utf8("照片信息保存完畢")});
        prompter.texts.clear();
    }
    // Another program writes `bytes` in place and leaves a later time stamp.
    void RewriteInPlace(const QByteArray& bytes) {
        struct stat before {};
        ASSERT_EQ(::stat(QFile::encodeName(dat), &before), 0);
        QFile file(dat);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        // Same size, and a time stamp that differs only in its nanoseconds.
        timespec times[2] = {before.st_atim, before.st_mtim};
        times[1].tv_nsec = (times[1].tv_nsec + 1) % 1000000000;
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(dat), times, 0), 0);
    }

    QString kitchen, dat = PathOf(QStringLiteral("kitchen.dat"));
};

TEST_P(SaveConflict, AsksBeforeOverwritingAndKeepsTheOtherChangesOnCancel) {
    const Change change = GetParam();
    kitchen = WritePhoto(QStringLiteral("kitchen.jpg"));
    PhotoInfo start;
    start.dimensions.push_back(MakeDimension({10, 10}, {100, 10}, "1"));
    if (change != Change::AppearsSinceLoad) {
        ASSERT_TRUE(WriteWholeFile(dat, start.Serialize()));
    }
    Open(kitchen);
    ASSERT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('|').toStdString();
    info().notes.push_back(MakeTitledNote({50, 50}, Utf8("窗戶"), Utf8("A 的記錄")));

    switch (change) {
    case Change::OtherWindowSaves:
    case Change::AppearsSinceLoad:
        SaveFromSecondWindow();
        break;
    case Change::RewrittenInPlace: {
        PhotoInfo other = start;
        other.dimensions[0].value[0] = '2';
        RewriteInPlace(other.Serialize());
        break;
    }
    case Change::ReplacedByAnotherFile: {
        PhotoInfo other = start;
        other.dimensions.push_back(MakeDimension({1, 1}, {2, 2}, "C"));
        ASSERT_TRUE(WriteWholeFile(dat + ".new", other.Serialize()));
        ASSERT_TRUE(QFile::remove(dat));
        ASSERT_TRUE(QFile::rename(dat + ".new", dat));
        break;
    }
    }
    const QByteArray theirs = ReadWholeFile(dat);
    ASSERT_FALSE(theirs.isEmpty());

    const QString question = Utf8("照片信息文件已被其他程序修改：") + dat + Utf8("\n是否覆蓋？");
    prompter.answers = {QMessageBox::Cancel};
    Click(IDC_SAVE_INFO);
    EXPECT_EQ(prompter.texts, QStringList{question});
    EXPECT_EQ(prompter.offered.last(), QMessageBox::Yes | QMessageBox::Cancel);
    EXPECT_EQ(ReadWholeFile(dat), theirs);
    EXPECT_TRUE(dlg->HasUnsavedChanges());

    // Asked again, as long as it has not been answered with overwrite.
    prompter.texts.clear();
    prompter.answers = {QMessageBox::Yes};
    Click(IDC_SAVE_INFO);
    EXPECT_EQ(prompter.texts, (QStringList{question, Utf8("照片信息保存完畢")}));
    EXPECT_EQ(ReadWholeFile(dat), info().Serialize());
    EXPECT_FALSE(dlg->HasUnsavedChanges());

    // The file is now the one this window wrote: no question.
    prompter.texts.clear();
    Click(IDC_SAVE_INFO);
    EXPECT_EQ(prompter.texts, QStringList{Utf8("照片信息保存完畢")});
}

const char* const kChangeNames[] = {"OtherWindowSaves", "AppearsSinceLoad", "RewrittenInPlace",
                                    "ReplacedByAnotherFile"};

INSTANTIATE_TEST_SUITE_P(Changes, SaveConflict,
                         ::testing::Values(Change::OtherWindowSaves, Change::AppearsSinceLoad,
                                           Change::RewrittenInPlace, Change::ReplacedByAnotherFile),
                         [](const auto& info) {
                             return std::string(kChangeNames[int(info.param)]);
                         });

// The question when closing goes the same way: a cancelled overwrite keeps
// the window open with its records.
TEST_F(MainWindowTest, ClosingWithChangesNeverOverwritesAnotherWindowsSave) {
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
    ASSERT_EQ(theirs, other.m_canvas.Model().Info().Serialize());

    prompter.texts.clear();
    prompter.answers = {QMessageBox::Save, QMessageBox::Cancel};
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_EQ(prompter.texts.size(), 2);
    EXPECT_EQ(prompter.texts[0], Utf8("照片信息已修改，是否保存？"));
    EXPECT_TRUE(prompter.texts[1].startsWith(Utf8("照片信息文件已被其他程序修改：")));
    EXPECT_EQ(ReadWholeFile(dat), theirs);
}

} // namespace
