// Opening a photo file: turned upright by its Exif orientation, unusual but
// whole files opened, and what cannot be opened refused with a reason the
// same from the full load, the head read at once and the file dialog's
// preview, keeping the picture held before; the preview and the window's
// stand-in take the Exif thumbnail when it will do.

#include "lumoimage/CDibDC.h"
#include "JpegFixtures.h"
#include "common/NonRegularFiles.h"
#include "common/TestSupport.h"
#include "lumoimage/ImageOrientation.h"
#include "lumoimage/JpegPreview.h"
#include "lumoimage/PhotoOpening.h"
#include "lumoimage/PixelBuffer.h"

#include <QTemporaryDir>
#include <QTransform>
#include <gtest/gtest.h>

namespace {

// Exif orientations 1 to 8: the stored picture turned clockwise, then
// mirrored, stands upright. 9 is no valid value and leaves it as it is. Odd
// sizes that do not fill the last tile, and a picture large enough to live in
// a mapped buffer: every pixel moves where it belongs.
TEST(ImageOrientation, TurnsThePictureUpright) {
    const int turn[] = {0, 0, 180, 0, 90, 90, 90, 270, 0};
    for (const QSize size : {QSize(37, 23), QSize(1, 5), QSize(2100, 1001)}) {
        QImage stored = AllocateRgb32(size.width(), size.height());
        for (int i = 0; i < size.width() * size.height(); ++i)
            stored.setPixel(i % size.width(), i / size.width(), 0xFF000000u | quint32(i));
        for (int o = 1; o <= 9; ++o)
            EXPECT_TRUE(TurnUpright(stored, o) ==
                        stored.transformed(QTransform().rotate(turn[o - 1]))
                            .mirrored(o == 2 || o == 5, o == 4 || o == 7))
                << o << ": " << size.width() << "x" << size.height();
    }
}

class CDibDCTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }
    QTemporaryDir m_dir;
};

// Greyscale, progressive, a vendor trailer after the end marker, and a photo
// turned a quarter by its Exif data (its red corner comes top right): whole
// photos that must open. (Opening from memory serves only fuzz/fuzz_jpeg.cpp.)
TEST_F(CDibDCTest, OpensUnusualButWholeFiles) {
    const QImage picture = CornerMarkedPicture(48, 32);
    const struct {
        QByteArray bytes;
        QPoint at;
        QColor colour;
    } files[] = {{EncodeTestJpeg(picture, 95, TJSAMP_GRAY), {3, 3}, QColor(76, 76, 76)},
                 {EncodeTestJpeg(picture, 90, TJSAMP_420, TJFLAG_PROGRESSIVE), {3, 3}, Qt::red},
                 {EncodeTestJpeg(picture) + QByteArray(5000, '\x5A') + "SEFT", {3, 3}, Qt::red},
                 {WithExif(EncodeTestJpeg(picture), 6, {}, true), {28, 3}, Qt::red}};
    for (const auto& file : files) {
        CDibDC dib;
        ASSERT_TRUE(dib.Load(Write("file.jpg", file.bytes), 32)) << dib.ErrorString().toStdString();
        EXPECT_TRUE(IsNear(dib.Image().pixelColor(file.at), file.colour, 30));
    }
}

// A damaged photo is never opened as if it were whole, nor previewed. The
// decoder's own refusals are tested with it (JpegRowDecoderTest).
TEST_F(CDibDCTest, WhatCannotBeOpenedIsRefusedAlikeByEveryRoadAndKeepsThePreviousPicture) {
    CDibDC dib;
    ASSERT_TRUE(dib.Load(Write("good.jpg", EncodeTestJpeg(CornerMarkedPicture(48, 32))), 32));
    const QImage before = dib.Image();
    const QByteArray good = EncodeTestJpeg(CornerMarkedPicture(64, 64), 90, TJSAMP_420);
    QByteArray twelveBit = good;
    // The frame header's sample precision: SOF0 is followed by length, then it.
    twelveBit[twelveBit.indexOf("\xFF\xC0") + 4] = 12;
    ASSERT_TRUE(MakeFifo(m_dir.filePath("pipe.jpg")));
    const FifoWatchdog watchdog({m_dir.filePath("pipe.jpg")});
    const struct {
        QString path;
        const char* reason; // a word the message must hold
    } files[] = {{m_dir.filePath("nothing-here.jpg"), "does not exist"},
                 {m_dir.path(), "folder"},
                 {m_dir.filePath("pipe.jpg"), "named pipe, not a picture file"},
                 {Write("empty.jpg", {}), "empty"},
                 {Write("text.jpg", "not a picture at all"), "not a JPEG"},
                 {Write("soi.jpg", QByteArray("\xFF\xD8\xFF\xD9", 4)), "header"},
                 {Write("twelve.jpg", twelveBit), "12-bit samples; only 8-bit"},
                 // One row past the most pixels a photo may have (2^28).
                 {Write("large.jpg", WithFrameSize(good, 16384, 16385)), "too large"},
                 {Write("scan.jpg", CutInFirstScan(good)), "incomplete"}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.path.toStdString());
        EXPECT_FALSE(dib.Load(file.path, 32));
        EXPECT_TRUE(dib.ErrorString().contains(QLatin1String(file.reason), Qt::CaseInsensitive))
            << dib.ErrorString().toStdString();
        EXPECT_TRUE(dib.Image() == before);
        PhotoHead head;
        QString error;
        if (!file.path.endsWith("scan.jpg")) { // the head alone is whole
            EXPECT_FALSE(ReadPhotoHead(file.path, &head, &error));
            EXPECT_EQ(error, dib.ErrorString());
        }
        QImage preview;
        QSize full;
        EXPECT_FALSE(LoadJpegPreview(file.path, QSize(120, 90), &preview, &full, &error));
        EXPECT_TRUE(preview.isNull() && !error.isEmpty());
    }
    EXPECT_FALSE(watchdog.Fired());
    // The most pixels a photo may have pass the head.
    PhotoHead head;
    QString error;
    EXPECT_TRUE(
        ReadPhotoHead(Write("largest.jpg", WithFrameSize(good, 16384, 16384)), &head, &error))
        << error.toStdString();
}

// The photo is 1600 x 1200 and grey with a red top-left corner; its thumbnail
// is orange, so the result tells which one was decoded. The box is 120 x 90.
// The window takes a thumbnail of the photo's proportions as a stand-in:
// alone when its long side is at least 1/16 of the photo's (100 pixels),
// else until a reduced decode replaces it.
TEST(PreviewChoiceTest, DecodesOnlyWhatTheBoxNeedsAndTurnsItUpright) {
    const struct {
        int orientation;
        QSize thumbnail; // empty: none
        bool thumbnailUsed;
        QSize standIn; // ThumbnailStandIn's, 0 x 0: none
        bool sharp;    // it stands in alone
    } cases[] = {{7, {}, false, {0, 0}, false},
                 {8, {160, 120}, true, {120, 160}, true},
                 {6, {80, 60}, false, {60, 80}, false},
                 {1, {100, 75}, false, {100, 75}, true}, // a sixteenth of the photo
                 {1, {160, 90}, false, {0, 0}, false}};  // letterboxed
    QImage photo(1600, 1200, QImage::Format_RGB32);
    photo.fill(Qt::darkGray);
    QPainter(&photo).fillRect(0, 0, 160, 160, Qt::red);
    const QByteArray photoJpeg = EncodeTestJpeg(photo, 80, TJSAMP_420);
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "orientation " << c.orientation << ", thumbnail "
                                          << c.thumbnail.width() << "x" << c.thumbnail.height());
        QImage thumbnail(c.thumbnail, QImage::Format_RGB32);
        thumbnail.fill(QColor(255, 160, 0));
        const QByteArray thumb = thumbnail.isNull() ? QByteArray() : EncodeTestJpeg(thumbnail, 80);
        ASSERT_TRUE(WriteWholeFile(path, WithExif(photoJpeg, c.orientation, thumb)));
        QImage out;
        QSize full;
        PhotoHead head;
        QString error;
        ASSERT_TRUE(LoadJpegPreview(path, QSize(120, 90), &out, &full, &error))
            << error.toStdString();
        ASSERT_TRUE(ReadPhotoHead(path, &head, &error)) << error.toStdString();
        EXPECT_EQ(full, c.orientation >= 5 ? QSize(1200, 1600) : QSize(1600, 1200));
        EXPECT_EQ(head.upright, full);
        bool sharp = !c.sharp;
        EXPECT_EQ(ThumbnailStandIn(head, &sharp).size(), c.standIn);
        EXPECT_EQ(sharp, c.sharp);
        // Enough pixels to be drawn fitted into the box without enlarging, upright:
        // 4:3 fills it, 3:4 is 67 pixels wide (1200 * 90 / 1600, truncated).
        const QSize drawn = c.orientation >= 5 ? QSize(67, 90) : QSize(120, 90);
        EXPECT_TRUE(out.width() >= drawn.width() && out.height() >= drawn.height()) << out.width();
        EXPECT_EQ(out.width() > out.height(), full.width() > full.height());
        const QColor centre = out.pixelColor(out.width() / 2, out.height() / 2);
        EXPECT_TRUE(IsNear(centre, c.thumbnailUsed ? QColor(255, 160, 0) : Qt::darkGray, 20));
        // The red corner lands where the orientation puts it: bottom right for 7.
        const QPoint corner(c.orientation == 1 ? 4 : out.width() - 5,
                            c.orientation == 7 ? out.height() - 5 : 4);
        EXPECT_TRUE(c.thumbnailUsed || IsNear(out.pixelColor(corner), Qt::red, 40));
    }
}

} // namespace
