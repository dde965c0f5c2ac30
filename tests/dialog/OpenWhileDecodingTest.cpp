// Opening a photo in the window while it decodes on a worker: the picture
// commands wait for the full photo, and a photo that turns out damaged
// says why and gives the previous photo back. (The view, the records and
// a newer open while one decodes: the canvas's tests.)

#include "DialogFixture.h"
#include "common/DiskFaults.h"
#include "common/OpeningPhotos.h"

#include <QClipboard>

namespace {

// Export, report and Ctrl+C never act on the stand-in: they are disabled
// until the full photo is there. A photo that turns out damaged gives the
// previous one back with its title and unsaved state; its info file is left
// as it was, and a record drawn on its stand-in is said to be lost.
TEST_F(MainWindowTest, ADamagedPhotoSaysWhyAndGivesThePreviousPhotoBack) {
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
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        prompter.paths.append(bad);
        Click(IDC_OPEN_PHOTO);
        ASSERT_EQ(prompter.texts.size(), 1);
        EXPECT_EQ(dlg->m_strPhotoPath, bad); // its stand-in is shown meanwhile
        EXPECT_FALSE(Item(IDC_EXPORT_PICTURE)->isEnabled() || Item(IDC_EXPORT_REPORT)->isEnabled());
        dlg->OnCopyPicture();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
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

} // namespace
