// Opening a photo in the window while it decodes on a worker: the window
// keeps turning its event loop, the picture commands wait for the full
// photo, a newer choice replaces an older one, and a photo that turns out
// damaged opens nothing and gives the previous photo back as it was shown.

#include "DialogFixture.h"
#include "common/DiskFaults.h"
#include "common/OpeningPhotos.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

namespace {

class OpenWhileDecodingTest : public MainWindowTest {
protected:
    // Chooses `path` in the open dialog and returns at once.
    void StartOpen(const QString& path) {
        prompter.paths.append(path);
        Click(IDC_OPEN_PHOTO);
    }
};

// The previous photo comes back as it was shown (view, records, selection);
// the damaged photo's info file is left as it was, and a record drawn on its
// stand-in is said to be lost.
TEST_F(OpenWhileDecodingTest, ADamagedPhotoSaysWhyAndGivesThePreviousPhotoBack) {
    const QString good = WritePhoto(QStringLiteral("good.jpg"), 1600, 1200);
    Open(good);
    info().dimensions.push_back(MakeDimension({10, 10}, {90, 10})); // not saved
    const QByteArray records = info().Serialize();
    canvas().Model().SelectDimension(0);
    canvas().SetZoom(ZoomIn);
    canvas().CentreOn(POINT{1200, 900});
    const RECT view = canvas().SourceRect();
    ASSERT_GT(view.left, 0);
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
    EXPECT_EQ(canvas().Photo().Image().size(), QSize(1600, 1200));
    EXPECT_EQ(canvas().Zoom(), 2.0f);
    EXPECT_EQ(canvas().SourceRect(), view);
    EXPECT_EQ(canvas().Model().SelDim(), 0);
    EXPECT_EQ(info().Serialize(), records);
    EXPECT_TRUE(dlg->HasUnsavedChanges()); // as before the open
    EXPECT_TRUE(Item(IDC_EXPORT_PICTURE)->isEnabled());
}

TEST_F(OpenWhileDecodingTest, AFirstPhotoThatFailsLeavesTheWindowWithoutAPhoto) {
    const QString bad = WriteOpeningPhoto(PathOf("bad.jpg"), NoisyPhoto(1200, 900), {160, 120});
    ASSERT_TRUE(TruncateToThreeQuarters(bad));
    const QString title = dlg->windowTitle();
    Open(bad);
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_TRUE(prompter.texts[0].startsWith(Utf8("無法打開圖片：") + bad + '\n'));
    EXPECT_TRUE(dlg->m_strPhotoPath.isEmpty());
    EXPECT_EQ(dlg->windowTitle(), title);
    EXPECT_FALSE(canvas().HasPhoto());
    for (int id : {IDC_CANVAS, IDC_SAVE_INFO, IDC_EXPORT_PICTURE, IDC_TOOL_DIMENSION})
        EXPECT_FALSE(Item(id)->isEnabled()) << id;
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

TEST_F(OpenWhileDecodingTest, ChoosingAnotherPhotoWhileOneDecodesOpensOnlyTheLaterOne) {
    const QString first = WriteOpeningPhoto(PathOf("a.jpg"), NoisyPhoto(1200, 900), {160, 120});
    const QString second = WritePhoto(QStringLiteral("b.jpg"), 640, 480);
    {
        HeldWorkers held;
        ASSERT_TRUE(held.AllHeld());
        StartOpen(first);
        StartOpen(second);
    }
    ASSERT_TRUE(WaitForFullPhoto(canvas()));
    QTest::qWait(50); // anything of the first still on its way arrives
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tessamar - [b.jpg]"));
    EXPECT_EQ(canvas().Photo().Image().size(), QSize(640, 480));
}

// A timer ticking every 5 ms while a 24-megapixel photo opens, until its full
// picture is on screen: the longest gap between ticks stays under 50 ms (a
// decode on the window's thread alone takes three times that). The best of
// three opens counts, so one stall of a busy machine does not.
TEST_F(OpenWhileDecodingTest, TheEventLoopKeepsTurningWhileABigPhotoOpens) {
    const QString path = WriteOpeningPhoto(PathOf("big.jpg"), NoisyPhoto(6000, 4000), {160, 120});
    qint64 best = std::numeric_limits<qint64>::max();
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0, worst = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            worst = std::max(worst, now - last);
            last = now;
        });
        tick.start(5);
        bool started = false;
        QTimer::singleShot(20, dlg.get(), [&] {
            StartOpen(path);
            started = true;
        });
        const QDeadlineTimer deadline(60000);
        while (!(started && !canvas().ShowsStandIn()) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        tick.stop();
        ASSERT_FALSE(canvas().ShowsStandIn());
        ASSERT_EQ(canvas().Photo().Image().size(), QSize(6000, 4000));
        best = std::min(best, worst);
    }
    EXPECT_LT(best, 50);
}

} // namespace
