// The exported picture of the canvas.
#include "canvas/CPhotoCanvas.h"
#include "canvas/CanvasTestPhotos.h"
#include "common/TestSupport.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Export : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_canvas.resize(300, 200);
        QImage photo(640, 480, QImage::Format_RGB32);
        photo.fill(QColor(40, 160, 90));
        ShowPhotoOnCanvas(m_canvas, photo);
    }
    QImage ReadBack(const QString& path) {
        QImageReader reader(path);
        return reader.read();
    }
    QTemporaryDir m_dir;
    CPhotoCanvas m_canvas;
};

bool Near(QRgb a, QRgb b, int tolerance = 6) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

TEST_F(Export, WritesThePhotoAtItsOwnSizeWhateverTheView) {
    m_canvas.SetZoom(ZoomOut);
    m_canvas.CentreOn(POINT{600, 400});
    const QString out = m_dir.filePath(QStringLiteral("out.jpg"));
    ASSERT_TRUE(m_canvas.ExportAnnotatedImage(out)) << m_canvas.ExportError().toStdString();
    const QImage picture = ReadBack(out);
    ASSERT_EQ(picture.size(), QSize(640, 480));
    EXPECT_TRUE(Near(picture.pixel(0, 0), qRgb(40, 160, 90)));
    EXPECT_TRUE(Near(picture.pixel(639, 479), qRgb(40, 160, 90)));
    EXPECT_TRUE(m_canvas.ExportError().isEmpty());
}

TEST_F(Export, LeavesTheCanvasPhotoAsItWas) {
    const qint64 key = m_canvas.m_dib.Image().cacheKey();
    ASSERT_TRUE(m_canvas.ExportAnnotatedImage(m_dir.filePath(QStringLiteral("out.jpg"))));
    EXPECT_EQ(m_canvas.m_dib.Image().cacheKey(), key);
    EXPECT_EQ(m_canvas.m_dib.Image().pixel(10, 10), qRgb(40, 160, 90));
}

TEST_F(Export, ReportsAFolderThatIsNotThere) {
    const QString out = m_dir.filePath(QStringLiteral("no/such/folder/out.jpg"));
    EXPECT_FALSE(m_canvas.ExportAnnotatedImage(out));
    EXPECT_FALSE(m_canvas.ExportError().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST(ExportWithoutPhoto, ReportsThatNothingWasWritten) {
    QTemporaryDir dir;
    CPhotoCanvas canvas;
    const QString out = dir.filePath(QStringLiteral("out.jpg"));
    EXPECT_FALSE(canvas.ExportAnnotatedImage(out));
    EXPECT_FALSE(canvas.ExportError().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out));
}

} // namespace
