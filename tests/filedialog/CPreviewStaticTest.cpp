#include "filedialog/CPreviewStatic.h"

#include "PictureFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QColor kGrey(128, 128, 128);

class CPreviewStaticTest : public ::testing::Test {
protected:
    void SetUp() override { m_preview.resize(120, 90); }
    QString Jpeg(const char* name, int w, int h, QColor colour = Qt::red) {
        return WriteJpeg(m_dir.filePath(QString::fromLatin1(name)), w, h, colour);
    }
    QTemporaryDir m_dir;
    CPreviewStatic m_preview;
};

TEST_F(CPreviewStaticTest, DrawsAGreyBoxWithABlackOutlineAndThePictureFittedInside) {
    for (const QPoint p : {QPoint(0, 0), QPoint(119, 89), QPoint(60, 89)})
        EXPECT_EQ(PixelOf(&m_preview, p.x(), p.y()), QColor(Qt::black));
    EXPECT_EQ(PixelOf(&m_preview, 1, 1), kGrey);
    EXPECT_EQ(PixelOf(&m_preview, 60, 45), kGrey);

    // Drawn 120 x 80 at (0, 5): grey above and below.
    ASSERT_TRUE(m_preview.LoadPicture(Jpeg("wide.jpg", 3000, 2000, Qt::blue)));
    EXPECT_EQ(m_preview.GetPictureSize(), QSize(3000, 2000));
    EXPECT_EQ(PixelOf(&m_preview, 60, 3), kGrey);
    for (const QPoint p : {QPoint(60, 6), QPoint(1, 45), QPoint(60, 83)})
        EXPECT_TRUE(Near(PixelOf(&m_preview, p.x(), p.y()), Qt::blue)) << p.x() << "," << p.y();
    EXPECT_EQ(PixelOf(&m_preview, 60, 86), kGrey);

    // Drawn 60 x 90 at (30, 0): grey left and right.
    ASSERT_TRUE(m_preview.LoadPicture(Jpeg("tall.jpg", 2000, 3000, Qt::green)));
    EXPECT_EQ(PixelOf(&m_preview, 28, 45), kGrey);
    EXPECT_TRUE(Near(PixelOf(&m_preview, 31, 45), Qt::green));
    EXPECT_TRUE(Near(PixelOf(&m_preview, 88, 45), Qt::green));
    EXPECT_EQ(PixelOf(&m_preview, 91, 45), kGrey);
}

// A result still being decoded or one already posted: the newest selection
// wins, nothing older is shown.
TEST_F(CPreviewStaticTest, TheNewestSelectionWins) {
    const QString big = Jpeg("big.jpg", 4000, 3000, Qt::red);
    const QString second = Jpeg("second.jpg", 2000, 3000, Qt::blue);
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
    EXPECT_EQ(m_preview.PicturePath(), second);
    EXPECT_TRUE(Near(PixelOf(&m_preview, 60, 45), Qt::blue));

    EXPECT_FALSE(shown.contains(QSize(4000, 3000)));
}

} // namespace
