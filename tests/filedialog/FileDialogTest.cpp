#include "filedialog/CMyFileDialog.h"
#include "filedialog/CPreviewStatic.h"
#include "filedialog/MfcFilter.h"
#include "filedialog/PreviewFit.h"
#include "filedialog/ThumbnailCache.h"

#include "common/Pictures.h"
#include "filedialog/AsyncPreviewLoader.h"

#include <QCoreApplication>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

namespace {

TEST(FitPictureRectTest, KeepsProportionsAndCentres) {
    const std::tuple<QSize, QSize, QRect> cases[] = {
        {{3000, 2000}, {120, 90}, {0, 5, 120, 80}},                // landscape
        {{2000, 3000}, {120, 90}, {30, 0, 60, 90}},                // portrait
        {{3001, 2000}, {121, 91}, {0, 5, 121, 80}},                // 80.64 truncates, (91-80)/2 = 5
        {{10000, 1}, {120, 90}, {0, 45, 120, 0}},                  // very wide: under a pixel high
        {{100000, 70000}, {30000, 20000}, {714, 0, 28571, 20000}}, // 32-bit overflow
        {{0, 2000}, {120, 90}, {0, 0, 0, 0}}};                     // nothing to draw
    for (const auto& [picture, client, expected] : cases)
        EXPECT_EQ(FitPictureRect(picture, client), expected)
            << picture.width() << "x" << picture.height();
}

TEST(MfcFilterTest, BecomesQtNameFilters) {
    const std::pair<const char*, QStringList> cases[] = {
        {"JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg|All Files (*.*)|*.*||",
         {"JPGE IMAGE (*.jpg *.jpeg)", "All Files (*)"}},
        {"Photos (*.jpg)|*.jpg", {"Photos (*.jpg)"}}, // no closing "||"
        {"|*.png||", {"*.png (*.png)"}},
        {"Images (*.png *.jpg);;Text (*.txt)", {"Images (*.png *.jpg)", "Text (*.txt)"}},
        {"", {}}};
    for (const auto& [mfc, expected] : cases)
        EXPECT_EQ(MfcFilterToNameFilters(QString::fromUtf8(mfc)), expected) << mfc;
}

const QColor kGrey(128, 128, 128);

// Lets every outstanding decode finish and delivers what it posted.
void SettleWorkers() {
    AsyncPreviewLoader::WaitForWorkers();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Colour of a pixel of a widget as painted.
QColor PixelOf(QWidget* widget, int x, int y) {
    return widget->grab().toImage().pixelColor(x, y);
}

class CPreviewStaticTest : public ::testing::Test {
protected:
    void SetUp() override { m_preview.resize(120, 90); }
    QTemporaryDir m_dir;
    CPreviewStatic m_preview;
};

TEST_F(CPreviewStaticTest, DrawsAGreyBoxWithABlackOutlineAndThePictureFittedInside) {
    EXPECT_EQ(PixelOf(&m_preview, 0, 0), QColor(Qt::black));
    EXPECT_EQ(PixelOf(&m_preview, 119, 89), QColor(Qt::black));
    EXPECT_EQ(PixelOf(&m_preview, 60, 45), kGrey);

    // Drawn 60 x 90 at (30, 0): grey left and right.
    ASSERT_TRUE(m_preview.LoadPicture(WriteJpeg(m_dir, "tall.jpg", 2000, 3000, Qt::green)));
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(2000, 3000));
    const QImage shown = m_preview.grab().toImage();
    for (int x : {28, 31, 88, 91})
        EXPECT_TRUE(IsNear(shown.pixelColor(x, 45), x < 30 || x > 89 ? kGrey : Qt::green, 11)) << x;
}

// A result still being decoded or one already posted: the newest selection
// wins, nothing older is shown.
TEST_F(CPreviewStaticTest, TheNewestSelectionWins) {
    const QString big = WriteJpeg(m_dir, "big.jpg", 4000, 3000, Qt::red);
    const QString second = WriteJpeg(m_dir, "second.jpg", 2000, 3000, Qt::blue);
    QList<QSize> shown;
    QObject::connect(&m_preview, &CPreviewStatic::PictureChanged,
                     [&] { shown.append(m_preview.GetPictureSize()); });
    m_preview.RequestPicture(big);
    m_preview.RequestPicture(second);
    SettleWorkers();
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(2000, 3000));

    m_preview.RequestPicture(big);
    AsyncPreviewLoader::WaitForWorkers(); // its result now waits in the event queue
    m_preview.RequestPicture(second);
    SettleWorkers();
    EXPECT_TRUE(IsNear(PixelOf(&m_preview, 60, 45), Qt::blue, 11));
    EXPECT_FALSE(shown.contains(QSize(4000, 3000)));
}

class CMyFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override { m_dialog.setDirectory(m_dir.path()); }
    QString SizeText() const { return m_dialog.SizeText()->text(); }

    QTemporaryDir m_dir;
    CMyFileDialog m_dialog{true, QString(), QString(), OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                           QStringLiteral("JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg||")};
};

// Typing a file's name shows its preview and size and chooses it. The panel
// (145 x 94 dialog units) holds the preview (80 x 60) centred near its top
// and the size text beneath it, right of the list, which shows only the
// filter's patterns.
TEST_F(CMyFileDialogTest, TypingAFileNameShowsItsPreviewBesideTheListAndChoosesIt) {
    WriteJpeg(m_dir, "room.jpg", 3000, 2000);
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    QTest::keyClicks(m_dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), "room.jpg");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !SizeText().isEmpty(); }));
    EXPECT_EQ(SizeText(), QString::fromUtf8("Size:3000×2000"));
    EXPECT_EQ(m_dialog.GetPathName(), m_dir.filePath("room.jpg"));
    EXPECT_EQ(m_dialog.GetFileName(), QStringLiteral("room.jpg"));

    const QLabel* size = m_dialog.SizeText();
    const auto* list = m_dialog.findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_TRUE(list && m_dialog.Preview()->isVisible() && size->isVisible());
    const QWidget* panel = m_dialog.Panel();
    const QRect shown = m_dialog.Preview()->geometry();
    EXPECT_NEAR(shown.center().x(), panel->width() / 2, 1);
    EXPECT_NEAR(shown.width() * 145.0 / panel->width(), 80, 1);
    EXPECT_NEAR(shown.height() * 94.0 / panel->height(), 60, 1);
    EXPECT_GT(size->geometry().top(), shown.bottom());
    EXPECT_GE(panel->mapTo(&m_dialog, QPoint(0, 0)).x(),
              list->mapTo(&m_dialog, QPoint(list->width(), 0)).x());
    EXPECT_EQ(m_dialog.findChild<QFileSystemModel*>()->nameFilters(),
              (QStringList{"*.jpg", "*.jpeg"}));
}

// Folders and names of nothing leave the preview as it was; a file that
// cannot be decoded leaves the box grey, the size text empty, and says why.
TEST_F(CMyFileDialogTest, OnlyFilesChangeThePreview) {
    Q_EMIT m_dialog.currentChanged(WriteJpeg(m_dir, "door.jpeg", 2000, 3000));
    SettleWorkers();
    for (const QString& nothing : {QString(), m_dir.filePath("gone.jpg"), m_dir.path()}) {
        Q_EMIT m_dialog.currentChanged(nothing);
        SettleWorkers();
        EXPECT_EQ(SizeText(), QString::fromUtf8("Size:2000×3000")) << nothing.toStdString();
    }
    const QString broken = m_dir.filePath("broken.jpg");
    ASSERT_TRUE(QFile(broken).open(QIODevice::WriteOnly)); // empty
    Q_EMIT m_dialog.currentChanged(broken);
    SettleWorkers();
    EXPECT_FALSE(m_dialog.Preview()->toolTip().isEmpty());
    EXPECT_EQ(PixelOf(m_dialog.Preview(), 10, 10), kGrey);
    EXPECT_TRUE(SizeText().isEmpty());
}

TEST_F(CMyFileDialogTest, ClosingOrDestroyingWhileAPictureIsDecodingDropsItsResult) {
    m_dialog.show();
    Q_EMIT m_dialog.currentChanged(WriteJpeg(m_dir, "big.jpg", 4000, 3000));
    ASSERT_TRUE(m_dialog.Preview()->IsLoading());
    m_dialog.reject();
    EXPECT_FALSE(m_dialog.Preview()->IsLoading());
    SettleWorkers();
    EXPECT_TRUE(SizeText().isEmpty());
    {
        CMyFileDialog other(true);
        Q_EMIT other.currentChanged(m_dir.filePath("big.jpg"));
    }
    SettleWorkers(); // nothing is delivered to the dialog that is gone
}

// The file list's small pictures: made off the GUI thread, and made again
// when the photo changes on disk (a new change time).
TEST(ThumbnailCache, DecodesEachPhotoOnceAndARewrittenPhotoAgain) {
    QTemporaryDir dir;
    const QString path = WriteJpeg(dir, "p.jpg", 400, 300, Qt::blue);
    ThumbnailCache cache(QSize(48, 48));
    EXPECT_TRUE(cache.Thumbnail(path, 1).isNull()); // queued
    ASSERT_TRUE(QTest::qWaitFor([&] { return !cache.Thumbnail(path, 1).isNull(); }));
    EXPECT_TRUE(IsNear(cache.Thumbnail(path, 1).pixelColor(24, 18), Qt::blue, 11));
    WriteJpeg(dir, "p.jpg", 400, 300, Qt::green);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !cache.Thumbnail(path, 2).isNull(); }));
    EXPECT_TRUE(IsNear(cache.Thumbnail(path, 2).pixelColor(24, 18), Qt::green, 11));
}

} // namespace
