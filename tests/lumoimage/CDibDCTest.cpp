#include "lumoimage/CDibDC.h"
#include "JpegFixtures.h"
#include "common/NonRegularFiles.h"
#include "common/TestSupport.h"
#include "lumoimage/ImageOrientation.h"
#include "lumoimage/JpegPreview.h"
#include "lumoimage/PixelBuffer.h"

#include <QTemporaryDir>
#include <QTransform>
#include <gtest/gtest.h>

namespace {

class CDibDCTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }
    QTemporaryDir m_dir;
};

// Exif orientations 1 to 8: the stored picture turned clockwise, then
// mirrored, stands upright. 9 is no valid value and leaves it as it is.
class OrientationTest : public CDibDCTest, public ::testing::WithParamInterface<int> {
protected:
    QImage Upright(const QImage& stored) const {
        const int o = GetParam(), turn[] = {0, 0, 180, 0, 90, 90, 90, 270, 0};
        return stored.transformed(QTransform().rotate(turn[o - 1]))
            .mirrored(o == 2 || o == 5, o == 4 || o == 7);
    }
};

TEST_P(OrientationTest, TurnsThePictureUpright) {
    SCOPED_TRACE(::testing::Message() << "orientation " << GetParam());
    // Odd sizes that do not fill the last tile, and a picture large enough to
    // live in a mapped buffer: every pixel moves where it belongs.
    for (const QSize size : {QSize(37, 23), QSize(1, 5), QSize(2100, 1001)}) {
        QImage stored = AllocateRgb32(size.width(), size.height());
        for (int i = 0; i < size.width() * size.height(); ++i)
            stored.setPixel(i % size.width(), i / size.width(), 0xFF000000u | quint32(i));
        EXPECT_TRUE(TurnUpright(stored, GetParam()) == Upright(stored))
            << size.width() << "x" << size.height();
    }
    // A photo is opened upright, whichever byte order its Exif data has: the
    // red and green corners tell all eight apart.
    const QByteArray jpeg = EncodeTestJpeg(CornerMarkedPicture(48, 32));
    const QImage want = Upright(CornerMarkedPicture(48, 32));
    CDibDC dib;
    for (bool bigEndian : {false, true}) {
        const QString path = Write("turned.jpg", WithExif(jpeg, GetParam(), {}, bigEndian));
        ASSERT_TRUE(dib.Load(path, 32)) << dib.ErrorString().toStdString();
        ASSERT_EQ(dib.Image().size(), want.size());
        for (const QPoint p :
             {QPoint(3, 3), QPoint(want.width() - 4, 3), QPoint(3, want.height() - 4),
              QPoint(want.width() - 4, want.height() - 4)})
            EXPECT_TRUE(IsNear(dib.Image().pixelColor(p), want.pixelColor(p), 30)) << bigEndian;
    }
}

INSTANTIATE_TEST_SUITE_P(AllEight, OrientationTest, ::testing::Range(1, 10));

// Greyscale, progressive, and a vendor trailer after the end marker: whole
// photos that must open.
TEST_F(CDibDCTest, OpensUnusualButWholeFiles) {
    const QImage picture = CornerMarkedPicture(48, 32);
    const std::pair<QByteArray, QColor> files[] = {
        {EncodeTestJpeg(picture, 95, TJSAMP_GRAY), QColor(76, 76, 76)},
        {EncodeTestJpeg(picture, 90, TJSAMP_420, TJFLAG_PROGRESSIVE), Qt::red},
        {EncodeTestJpeg(picture) + QByteArray(5000, '\x5A') + "SEFT", Qt::red}};
    for (size_t i = 0; i < std::size(files); ++i) {
        CDibDC dib, fromMemory;
        ASSERT_TRUE(dib.Load(Write("file.jpg", files[i].first), 32)) << i;
        EXPECT_TRUE(IsNear(dib.Image().pixelColor(3, 3), files[i].second, 30)) << i;
        // The bytes in memory take the same road.
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(files[i].first.constData());
        ASSERT_TRUE(fromMemory.LoadFromMemory(bytes, std::size_t(files[i].first.size()), 32));
        EXPECT_TRUE(fromMemory.Image() == dib.Image()) << i;
    }
}

// A damaged photo is never opened as if it were whole, nor previewed.
TEST_F(CDibDCTest, BrokenFilesFailWithAReasonAndKeepThePreviousPicture) {
    CDibDC dib;
    ASSERT_TRUE(dib.Load(Write("good.jpg", EncodeTestJpeg(CornerMarkedPicture(48, 32))), 32));
    const QImage before = dib.Image();

    const QByteArray good = EncodeTestJpeg(CornerMarkedPicture(64, 48), 90, TJSAMP_420);
    ASSERT_TRUE(MakeFifo(m_dir.filePath("pipe.jpg")));
    const FifoWatchdog watchdog({m_dir.filePath("pipe.jpg")});
    const struct {
        QString path;
        const char* reason; // a word the message must hold
    } files[] = {{m_dir.filePath("nothing-here.jpg"), "does not exist"},
                 {m_dir.path(), "folder"},
                 {Write("empty.jpg", {}), "empty"},
                 {Write("png.jpg", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)), "not a JPEG"},
                 // The decoder's refusals (JpegRowDecoderTest, WildJpegTest) come through.
                 {Write("scan.jpg", CutInFirstScan(good)), "incomplete"},
                 {m_dir.filePath("pipe.jpg"), "named pipe, not a picture file"}};
    for (const auto& file : files) {
        EXPECT_FALSE(dib.Load(file.path, 32)) << file.path.toStdString();
        EXPECT_TRUE(dib.ErrorString().contains(QLatin1String(file.reason), Qt::CaseInsensitive))
            << file.path.toStdString() << ": " << dib.ErrorString().toStdString();
        EXPECT_TRUE(dib.Image() == before) << file.path.toStdString();
        QImage preview;
        QSize full;
        QString error;
        EXPECT_FALSE(LoadJpegPreview(file.path, QSize(120, 90), &preview, &full, &error));
        EXPECT_TRUE(preview.isNull() && !error.isEmpty());
    }
    EXPECT_FALSE(watchdog.Fired());
}

} // namespace
