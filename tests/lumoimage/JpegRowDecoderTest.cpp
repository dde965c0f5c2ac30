// Decoding a batch of rows at a time: the same pixels as libjpeg-turbo's
// one-call decoder, given up when asked; and the first steps of
// opening a photo (its header, and its thumbnail as a stand-in).

#include "lumoimage/JpegRowDecoder.h"
#include "common/OpeningPhotos.h"
#include "common/TestSupport.h"
#include "lumoimage/PhotoOpening.h"

#include <QTemporaryDir>

namespace {

const std::uint8_t* Bytes(const QByteArray& a) {
    return reinterpret_cast<const std::uint8_t*>(a.constData());
}

struct RowCase {
    const char* name;
    int width, height;
    int subsampling;
    int num, denom;
};

class RowDecodeMatches : public ::testing::TestWithParam<RowCase> {};

// Photographic noise: every 8 x 8 block differs, so a wrong row, colour
// conversion or upsampling shows.
TEST_P(RowDecodeMatches, TheOneCallDecodersPixels) {
    const RowCase& c = GetParam();
    const QByteArray jpeg = EncodeTestJpeg(NoisyPhoto(c.width, c.height), 90, c.subsampling);
    const tjscalingfactor factor{c.num, c.denom};
    QImage expected(TJSCALED(c.width, factor), TJSCALED(c.height, factor), QImage::Format_RGB32);
    tjhandle tj = tjInitDecompress();
    ASSERT_EQ(tjDecompress2(tj, Bytes(jpeg), static_cast<unsigned long>(jpeg.size()),
                            expected.bits(), expected.width(), int(expected.bytesPerLine()),
                            expected.height(), TJPF_BGRX, 0),
              0);
    tjDestroy(tj);
    QImage decoded;
    QString error;
    DecodeControl control;
    ASSERT_EQ(DecodeJpegRows(Bytes(jpeg), std::size_t(jpeg.size()), c.num, c.denom, &control,
                             &decoded, &error),
              RowDecodeResult::Done)
        << error.toStdString();
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_EQ(decoded, expected);
    EXPECT_EQ(control.rowsDone.load(), expected.height());
}

INSTANTIATE_TEST_SUITE_P(Layouts, RowDecodeMatches,
                         ::testing::Values(RowCase{"full444", 173, 91, TJSAMP_444, 1, 1},
                                           RowCase{"full420", 200, 150, TJSAMP_420, 1, 1},
                                           RowCase{"grey", 64, 200, TJSAMP_GRAY, 1, 1},
                                           RowCase{"eighth420", 640, 480, TJSAMP_420, 1, 8},
                                           RowCase{"quarter422", 333, 97, TJSAMP_422, 1, 4},
                                           RowCase{"threeQuarters", 120, 80, TJSAMP_420, 3, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RowDecode, ARaisedCancelStopsBeforeTheNextBatchAndKeepsTheOutput) {
    const QByteArray jpeg = EncodeTestJpeg(NoisyPhoto(64, 256));
    DecodeControl control;
    control.cancel = true;
    const QImage before = Solid(3, 3, Qt::green);
    QImage out = before;
    QString error;
    EXPECT_EQ(DecodeJpegRows(Bytes(jpeg), std::size_t(jpeg.size()), 1, 1, &control, &out, &error),
              RowDecodeResult::Cancelled);
    EXPECT_EQ(out, before);
    EXPECT_EQ(control.rowsDone.load(), 0);
}

// Which thumbnails stand in for a 1600 x 1200 photo: those of the photo's
// proportions; alone when their long side is at least 1/16 of the photo's
// (100 pixels), else until a reduced decode replaces them.
TEST(PhotoHeadTest, AThumbnailOfTheSameProportionsStandsInAloneWhenLargeEnough) {
    QTemporaryDir dir;
    const QImage photo = NoisyPhoto(1600, 1200);
    const struct {
        const char* name;
        QSize thumbnail;
        int orientation;
        QSize standIn; // 0 x 0: none
        bool sharp;
    } cases[] = {
        {"a sixteenth", {100, 75}, 1, {100, 75}, true},
        {"too small", {96, 72}, 1, {96, 72}, false},
        {"letterboxed", {160, 160}, 1, {0, 0}, false},
        {"turned", {100, 75}, 6, {75, 100}, true},
        {"small and turned", {80, 60}, 6, {60, 80}, false},
    };
    for (const auto& c : cases) {
        const QString path = WriteOpeningPhoto(dir.filePath(QString::fromLatin1(c.name) + ".jpg"),
                                               photo, c.thumbnail, c.orientation);
        PhotoHead head;
        QString error;
        ASSERT_TRUE(ReadPhotoHead(path, &head, &error)) << c.name << ": " << error.toStdString();
        EXPECT_EQ(head.upright, c.orientation == 6 ? QSize(1200, 1600) : QSize(1600, 1200));
        bool sharp = !c.sharp;
        EXPECT_EQ(ThumbnailStandIn(head, &sharp).size(), c.standIn) << c.name;
        EXPECT_EQ(sharp, c.sharp) << c.name;
    }
}

} // namespace
