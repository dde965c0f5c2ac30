// Opening a photo in the window while it decodes on a worker: the picture
// commands wait for the full photo, and a photo that turns out damaged
// says why and gives the previous photo back. (The view, the records and
// a newer open while one decodes: the canvas's tests.)

#include "DialogFixture.h"
#include "common/DiskFaults.h"
#include "common/OpeningPhotos.h"

#include <QClipboard>
#include <QFileInfo>

namespace {

class OpenWhileDecodingTest : public MainWindowTest {
protected:
    // Chooses `path` in the open dialog and returns at once.
    void StartOpen(const QString& path) {
        prompter.paths.append(path);
        Click(IDC_OPEN_PHOTO);
    }
};

// The previous photo comes back with its title and unsaved state; the
// damaged photo's info file is left as it was, and a record drawn on its
// stand-in is said to be lost.
TEST_F(OpenWhileDecodingTest, ADamagedPhotoSaysWhyAndGivesThePreviousPhotoBack) {
    const QString good = WritePhoto(QStringLiteral("good.jpg"), 1600, 1200);
    Open(good);
    info().dimensions.push_back(MakeDimension({10, 10}, {90, 10})); // not saved
    const QString bad = WriteOpeningPhoto(PathOf("bad.jpg"), NoisyPhoto(1200, 900), {160, 120});
    ASSERT_TRUE(TruncateToThreeQuarters(bad));
    ASSERT_TRUE(WriteWholeFile(PathOf("bad.dat"), "KZR")); // damaged

    prompter.answers = {QMessageBox::Discard}; // the unsaved-work question comes first
    {
        HeldWorkers held;
        ASSERT_TRUE(held.AllHeld());
        StartOpen(bad);
        ASSERT_EQ(prompter.texts.size(), 1);
        EXPECT_EQ(dlg->m_strPhotoPath, bad); // its stand-in is shown meanwhile
        EXPECT_TRUE(info().dimensions.empty());
        Click(IDC_TOOL_DIMENSION);
        QTest::mouseClick(&canvas(), Qt::LeftButton, {}, QPoint(30, 30));
        QTest::mouseClick(&canvas(), Qt::LeftButton, {}, QPoint(90, 30));
        ASSERT_EQ(info().dimensions.size(), 1u);
    }
    ASSERT_TRUE(WaitForFullPhoto(canvas()));

    ASSERT_EQ(prompter.texts.size(), 2);
    EXPECT_TRUE(prompter.texts[1].startsWith(Utf8("無法打開圖片：") + bad + '\n'))
        << prompter.texts[1].toStdString();
    EXPECT_TRUE(
        prompter.texts[1].contains(QLatin1String("incomplete: it ends before its last row")));
    EXPECT_TRUE(prompter.texts[1].endsWith(Utf8("\n照片無法完整打開，對它所做的修改將會遺失。")));
    EXPECT_EQ(NamesIn(dir.path()), (QStringList{"bad.dat", "bad.jpg", "good.jpg"}));
    EXPECT_EQ(dlg->m_strPhotoPath, good);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tessamar - [good.jpg]"));
    EXPECT_TRUE(dlg->HasUnsavedChanges()); // as before the open
    EXPECT_TRUE(Item(IDC_EXPORT_PICTURE)->isEnabled());
}

// Export, report and Ctrl+C never act on the stand-in: they are disabled
// until the full photo is there. The records can be saved meanwhile.
TEST_F(OpenWhileDecodingTest, PictureCommandsWaitForTheFullPhotoAndRecordsCanBeSaved) {
    const QString path = WriteOpeningPhoto(PathOf("room.jpg"), NoisyPhoto(1600, 1200), {100, 75});
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    {
        HeldWorkers held;
        ASSERT_TRUE(held.AllHeld());
        StartOpen(path);
        ASSERT_TRUE(canvas().ShowsStandIn());
        EXPECT_TRUE(Item(IDC_CANVAS)->isEnabled());
        EXPECT_FALSE(Item(IDC_EXPORT_PICTURE)->isEnabled());
        EXPECT_FALSE(Item(IDC_EXPORT_REPORT)->isEnabled());
        dlg->OnCopyPicture();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        info().notes.push_back(MakeNote({20, 20}));
        Click(IDC_SAVE_INFO);
        EXPECT_TRUE(QFileInfo::exists(PathOf("room.dat")));
        EXPECT_FALSE(dlg->HasUnsavedChanges());
    }
    ASSERT_TRUE(WaitForFullPhoto(canvas()));
    EXPECT_TRUE(Item(IDC_EXPORT_PICTURE)->isEnabled());
    EXPECT_TRUE(Item(IDC_EXPORT_REPORT)->isEnabled());
    dlg->OnCopyPicture();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(1600, 1200));
}

} // namespace
