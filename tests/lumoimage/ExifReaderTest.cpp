#include "lumoimage/ExifReader.h"
#include "JpegFixtures.h"

#include <gtest/gtest.h>

namespace {

const std::uint8_t* U(const QByteArray& a) {
    return reinterpret_cast<const std::uint8_t*>(a.constData());
}

TEST(ExifReaderTest, FindsFrameOrientationAndThumbnailInBothByteOrders) {
    const QByteArray thumb = EncodeTestJpeg(CornerMarkedPicture(16, 8));
    for (bool bigEndian : {false, true}) {
        const QByteArray jpeg =
            WithExif(EncodeTestJpeg(CornerMarkedPicture(48, 32)), 6, thumb, bigEndian);
        JpegHeaderInfo info;
        ASSERT_TRUE(ScanJpegHeader(U(jpeg), std::size_t(jpeg.size()), &info));
        EXPECT_TRUE(info.hasFrame);
        EXPECT_EQ(info.width, 48);
        EXPECT_EQ(info.height, 32);
        EXPECT_EQ(info.components, 3);
        EXPECT_EQ(info.orientation, 6);
        ASSERT_EQ(info.thumbnailLength, std::size_t(thumb.size()));
        EXPECT_EQ(jpeg.mid(qsizetype(info.thumbnailOffset), thumb.size()), thumb);
    }
}

TEST(ExifReaderTest, RefusesWhatIsNotAJpegStream) {
    JpegHeaderInfo info;
    const QByteArray png("\x89PNG\r\n\x1a\n", 8);
    EXPECT_FALSE(ScanJpegHeader(U(png), std::size_t(png.size()), &info));
    EXPECT_FALSE(ScanJpegHeader(nullptr, 0, &info));
}

// Every prefix of a real header, and every single-byte corruption of the Exif
// segment, must be read without going outside the buffer (the sanitizer
// build checks) and give either the true values or the neutral ones.
TEST(ExifReaderTest, DamagedHeadersNeverReadOutOfBounds) {
    const QByteArray thumb = EncodeTestJpeg(CornerMarkedPicture(16, 8));
    const QByteArray jpeg = WithExif(EncodeTestJpeg(CornerMarkedPicture(48, 32)), 8, thumb);
    for (qsizetype n = 0; n <= jpeg.size(); ++n) {
        // a copy of exactly n bytes, so the sanitizer sees any over-read
        std::vector<std::uint8_t> head(U(jpeg), U(jpeg) + n);
        JpegHeaderInfo info;
        ScanJpegHeader(head.data(), head.size(), &info);
        EXPECT_TRUE(info.orientation == 1 || info.orientation == 8);
        if (info.thumbnailLength > 0) {
            EXPECT_LE(info.thumbnailOffset + info.thumbnailLength, head.size());
        }
    }
    const qsizetype exifEnd = 2 + 4 + 6 + 8 + 2 + 12 + 4 + 2 + 36 + 4;
    for (qsizetype i = 2; i < exifEnd; ++i) {
        for (int value : {0x00, 0xFF, 0x7F}) {
            std::vector<std::uint8_t> bytes(U(jpeg), U(jpeg) + jpeg.size());
            bytes[std::size_t(i)] = std::uint8_t(value);
            JpegHeaderInfo info;
            ScanJpegHeader(bytes.data(), bytes.size(), &info);
            EXPECT_GE(info.orientation, 1);
            EXPECT_LE(info.orientation, 8);
            if (info.thumbnailLength > 0) {
                EXPECT_LE(info.thumbnailOffset + info.thumbnailLength, bytes.size());
            }
        }
    }
}

TEST(ExifReaderTest, IgnoresOutOfRangeValuesAndStrayOffsets) {
    // orientation 9 is not a valid value
    const QByteArray jpeg = WithExif(EncodeTestJpeg(CornerMarkedPicture(16, 16)), 9);
    JpegHeaderInfo info;
    ASSERT_TRUE(ScanJpegHeader(U(jpeg), std::size_t(jpeg.size()), &info));
    EXPECT_EQ(info.orientation, 1);

    // IFD0 pointing at itself-ish and at the end of the payload
    QByteArray tiff("II*\0\x08\0\0\0\xFF\xFF", 10);
    EXPECT_EQ(ParseExifTiff(U(tiff), std::size_t(tiff.size())).orientation, 1);
    QByteArray far("MM\0*\xFF\xFF\xFF\xF0", 8);
    EXPECT_EQ(ParseExifTiff(U(far), std::size_t(far.size())).orientation, 1);
}

} // namespace
