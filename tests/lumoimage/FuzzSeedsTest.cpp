// Writes the seed corpus of the JPEG fuzz target (fuzz/corpus/jpeg) from the
// same fixtures the image tests use. Not run with the tests; to write the
// seeds again (one command):
//   TESSAMAR_FUZZ_SEEDS=fuzz/corpus/jpeg build/test_lumoimage
//       --gtest_also_run_disabled_tests --gtest_filter='*WriteJpegFuzzSeeds*'

#include "JpegFixtures.h"
#include "common/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// A CMYK stream (stored as Adobe inverted inks, as libjpeg-turbo writes it).
QByteArray EncodeCmykJpeg(int width, int height) {
    std::vector<unsigned char> pixels(std::size_t(width * height * 4));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>(i * 37);
    return EncodePixels(pixels.data(), width, width * 4, height, TJPF_CMYK, 80, TJSAMP_420);
}

TEST(JpegFuzzSeeds, DISABLED_WriteJpegFuzzSeeds) {
    const QString folder = qEnvironmentVariable("TESSAMAR_FUZZ_SEEDS");
    ASSERT_FALSE(folder.isEmpty()) << "name the corpus folder in TESSAMAR_FUZZ_SEEDS";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QImage picture = CornerMarkedPicture(48, 32);
    const QByteArray good = EncodeTestJpeg(CornerMarkedPicture(64, 48), 90, TJSAMP_420);
    const QByteArray thumb = EncodeTestJpeg(CornerMarkedPicture(16, 8), 80);
    const std::pair<const char*, QByteArray> seeds[] = {
        {"baseline-444.jpg", EncodeTestJpeg(picture)},
        {"baseline-420.jpg", good},
        {"subsampled-422.jpg", EncodeTestJpeg(picture, 85, TJSAMP_422)},
        {"subsampled-440.jpg", EncodeTestJpeg(picture, 85, TJSAMP_440)},
        {"subsampled-411.jpg", EncodeTestJpeg(picture, 85, TJSAMP_411)},
        {"grey.jpg", EncodeTestJpeg(picture, 95, TJSAMP_GRAY)},
        {"progressive.jpg", EncodeTestJpeg(picture, 90, TJSAMP_420, TJFLAG_PROGRESSIVE)},
        {"cmyk.jpg", EncodeCmykJpeg(24, 16)},
        {"trailer.jpg", EncodeTestJpeg(picture) + QByteArray(200, '\x5A') + "SEFT"},
        {"exif-6-little.jpg", WithExif(EncodeTestJpeg(CornerMarkedPicture(24, 40)), 6)},
        {"exif-8-big-thumbnail.jpg", WithExif(EncodeTestJpeg(picture), 8, thumb, true)},
        {"exif-1-thumbnail.jpg", WithExif(good, 1, thumb)},
        {"truncated-scan.jpg", CutInFirstScan(good)},
        {"huge-frame.jpg", WithHugeFrame(good)},
        {"twelve-bit.jpg", WithTwelveBitFrame(good)},
    };
    for (const auto& [name, bytes] : seeds) {
        ASSERT_FALSE(bytes.isEmpty()) << name;
        EXPECT_LT(bytes.size(), 8 * 1024) << name;
        ASSERT_TRUE(WriteWholeFile(QDir(folder).filePath(QLatin1String(name)), bytes)) << name;
    }
}

} // namespace
