#include "filedialog/CPreviewStatic.h"

#include "PictureFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QColor kGrey(128, 128, 128);

class CPreviewStaticTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_preview.resize(120, 90);
    }
    QString Jpeg(const char* name, int w, int h, QColor colour = Qt::red) {
        return WriteJpeg(m_dir.filePath(QString::fromLatin1(name)), w, h, colour);
    }
    QTemporaryDir m_dir;
    CPreviewStatic m_preview;
};

TEST_F(CPreviewStaticTest, EmptyPreviewIsAGreyBoxWithABlackOutline) {
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(0, 0));
    EXPECT_EQ(PixelOf(&m_preview, 60, 45), kGrey);
    EXPECT_EQ(PixelOf(&m_preview, 0, 0), QColor(Qt::black));
    EXPECT_EQ(PixelOf(&m_preview, 119, 89), QColor(Qt::black));
    EXPECT_EQ(PixelOf(&m_preview, 60, 89), QColor(Qt::black));
    EXPECT_EQ(PixelOf(&m_preview, 1, 1), kGrey);
}

TEST_F(CPreviewStaticTest, LandscapePictureIsDrawnFittedAndCentredVertically) {
    ASSERT_TRUE(m_preview.LoadPicture(Jpeg("wide.jpg", 3000, 2000, Qt::blue)));
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(3000, 2000));
    // drawn 120 x 80 at (0, 5)
    EXPECT_EQ(PixelOf(&m_preview, 60, 3), kGrey);
    EXPECT_TRUE(Near(PixelOf(&m_preview, 60, 6), Qt::blue));
    EXPECT_TRUE(Near(PixelOf(&m_preview, 1, 45), Qt::blue));
    EXPECT_TRUE(Near(PixelOf(&m_preview, 60, 83), Qt::blue));
    EXPECT_EQ(PixelOf(&m_preview, 60, 86), kGrey);
}

TEST_F(CPreviewStaticTest, PortraitPictureIsDrawnFittedAndCentredHorizontally) {
    ASSERT_TRUE(m_preview.LoadPicture(Jpeg("tall.jpg", 2000, 3000, Qt::green)));
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(2000, 3000));
    // drawn 60 x 90 at (30, 0)
    EXPECT_EQ(PixelOf(&m_preview, 28, 45), kGrey);
    EXPECT_TRUE(Near(PixelOf(&m_preview, 31, 45), Qt::green));
    EXPECT_TRUE(Near(PixelOf(&m_preview, 88, 45), Qt::green));
    EXPECT_EQ(PixelOf(&m_preview, 91, 45), kGrey);
}

TEST_F(CPreviewStaticTest, AFileThatCannotBeDecodedLeavesTheBoxGreyAndSaysWhy) {
    ASSERT_TRUE(m_preview.LoadPicture(Jpeg("good.jpg", 300, 200)));
    const QString broken = m_dir.filePath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(WriteBrokenJpeg(broken));

    EXPECT_FALSE(m_preview.LoadPicture(broken));
    EXPECT_FALSE(m_preview.HasPicture());
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(0, 0));
    EXPECT_FALSE(m_preview.LastError().isEmpty());
    EXPECT_EQ(PixelOf(&m_preview, 60, 45), kGrey);
}

TEST_F(CPreviewStaticTest, ANewerRequestWinsOverOneStillRunning) {
    const QString first = Jpeg("first.jpg", 4000, 3000, Qt::red);
    const QString second = Jpeg("second.jpg", 300, 200, Qt::blue);
    QList<QSize> shown;
    QObject::connect(&m_preview, &CPreviewStatic::PictureChanged,
                     [&] { shown.append(m_preview.GetPictureSize()); });
    m_preview.RequestPicture(first);
    m_preview.RequestPicture(second);
    SettleWorkers();
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(300, 200));
    EXPECT_FALSE(shown.contains(QSize(4000, 3000)));
    EXPECT_EQ(m_preview.PicturePath(), second);
}

TEST_F(CPreviewStaticTest, AResultAlreadyPostedIsDroppedWhenTheSelectionHasMovedOn) {
    const QString first = Jpeg("first.jpg", 3000, 2000, Qt::red);
    const QString second = Jpeg("second.jpg", 2000, 3000, Qt::blue);
    m_preview.RequestPicture(first);
    AsyncPreviewLoader::WaitForWorkers(); // first's result now waits in the event queue
    m_preview.RequestPicture(second);
    SettleWorkers();
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(2000, 3000));
    EXPECT_TRUE(Near(PixelOf(&m_preview, 60, 45), Qt::blue));
}

TEST_F(CPreviewStaticTest, AnImmediateLoadIsNotOverwrittenByAnEarlierRequest) {
    const QString first = Jpeg("first.jpg", 3000, 2000, Qt::red);
    const QString second = Jpeg("second.jpg", 300, 300, Qt::blue);
    m_preview.RequestPicture(first);
    ASSERT_TRUE(m_preview.LoadPicture(second));
    SettleWorkers();
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(300, 300));
}

} // namespace
