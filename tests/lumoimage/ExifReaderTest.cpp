#include "lumoimage/ExifReader.h"
#include "JpegFixtures.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Every prefix of a real header, and every single-byte corruption of its Exif
// segment, is read without going outside the buffer (the sanitizer build
// checks) and gives either the true values or the neutral ones.
TEST(ExifReaderTest, DamagedHeadersNeverReadOutOfBounds) {
    const QByteArray thumb = EncodeTestJpeg(CornerMarkedPicture(16, 8));
    const QByteArray jpeg = WithExif(EncodeTestJpeg(CornerMarkedPicture(48, 32)), 8, thumb, true);
    const auto scan = [](std::vector<std::uint8_t> bytes) { // exactly these bytes, no slack
        JpegHeaderInfo info;
        ScanJpegHeader(bytes.data(), bytes.size(), &info);
        EXPECT_TRUE(info.orientation >= 1 && info.orientation <= 8) << info.orientation;
        EXPECT_LE(info.thumbnailOffset + info.thumbnailLength,
                  info.thumbnailLength ? bytes.size() : ~0u);
        return info;
    };
    const auto* begin = reinterpret_cast<const std::uint8_t*>(jpeg.constData());
    EXPECT_EQ(scan({begin, begin + jpeg.size()}).orientation, 8);
    for (qsizetype n = 0; n < jpeg.size(); ++n)
        scan({begin, begin + n});
    for (qsizetype i = 2; i < jpeg.indexOf(thumb); ++i)
        for (std::uint8_t value : {0x00, 0x7F, 0xFF}) {
            std::vector<std::uint8_t> bytes(begin, begin + jpeg.size());
            bytes[std::size_t(i)] = value;
            scan(bytes);
        }
}

} // namespace
