// The row-by-row encoder: fed in bands of any height, it writes the very
// stream the one-call encoder writes for the whole picture, and it stops
// cleanly when its sink or its caller goes wrong.

#include "lumoimage/JpegRowEncoder.h"
#include "common/JpegEncoder.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Photographic enough for the encoder: gradients, a sharp edge, fine noise.
QImage Textured(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28);
            image.setPixel(x, y,
                           qRgb((x * 255 / width + noise) & 255, (y * 255 / height) ^ noise,
                                x > width / 2 ? 30 + noise : 220 - noise));
        }
    return image;
}

// Rows [top, top + rows) of `image`, as a picture of their own.
QImage Rows(const QImage& image, int top, int rows) {
    return image.copy(0, top, image.width(), rows);
}

QByteArray EncodeInBands(const QImage& image, int bandRows, const JpegEncodeSettings& settings) {
    QByteArray out;
    JpegRowEncoder encoder;
    QString error;
    const JpegSink sink = [&out](const char* data, qsizetype size) {
        out.append(data, size);
        return true;
    };
    if (!encoder.Start(image.width(), image.height(), settings, sink, &error))
        return "start: " + error.toUtf8();
    for (int top = 0; top < image.height(); top += bandRows)
        if (!encoder.WriteRows(Rows(image, top, std::min(bandRows, image.height() - top)), &error))
            return "rows: " + error.toUtf8();
    if (!encoder.Finish(&error))
        return "finish: " + error.toUtf8();
    return out;
}

struct StreamCase {
    const char* name;
    QSize size;
    int bandRows;
    int quality;
    ChromaSubsampling chroma;
};
void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.name;
}

class RowEncoderStream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(RowEncoderStream, IsTheOneCallEncodersStreamByteForByte) {
    const StreamCase& c = GetParam();
    const QImage image = Textured(c.size.width(), c.size.height());
    const JpegEncodeSettings settings{c.quality, c.chroma};
    QByteArray whole;
    QString error;
    ASSERT_TRUE(EncodeJpeg(image, settings, &whole, &error)) << error.toStdString();
    const QByteArray banded = EncodeInBands(image, c.bandRows, settings);
    ASSERT_EQ(banded.size(), whole.size()) << banded.left(80).toStdString();
    EXPECT_TRUE(banded == whole);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, RowEncoderStream,
    ::testing::Values(
        StreamCase{"OneRowBands", {97, 61}, 1, 95, ChromaSubsampling::Full444},
        StreamCase{"OddBands", {333, 257}, 7, 95, ChromaSubsampling::Full444},
        StreamCase{"BandsOfTheMcuHeight", {640, 480}, 16, 95, ChromaSubsampling::Full444},
        StreamCase{"BandTallerThanThePicture", {201, 99}, 500, 95, ChromaSubsampling::Full444},
        StreamCase{"OnePixel", {1, 1}, 1, 95, ChromaSubsampling::Full444},
        StreamCase{"AccurateDctFrom96", {150, 130}, 13, 96, ChromaSubsampling::Full444},
        StreamCase{"LowQuality", {150, 130}, 64, 40, ChromaSubsampling::Full444},
        StreamCase{"Chroma422", {151, 131}, 9, 95, ChromaSubsampling::Half422},
        StreamCase{"Chroma420", {151, 131}, 9, 95, ChromaSubsampling::Quarter420}),
    [](const auto& info) { return std::string(info.param.name); });

// The sink takes `allowed` calls and refuses the next.
struct RefusingSink {
    int allowed;
    int calls = 0;
    qsizetype bytes = 0;
    bool operator()(const char*, qsizetype size) {
        if (calls++ >= allowed)
            return false;
        bytes += size;
        return true;
    }
};

TEST(RowEncoder, StopsWhenTheSinkRefusesAndTakesNoMoreRows) {
    // Noise compresses badly: the picture takes several hand-overs, the last
    // one made while the stream is ended.
    const QImage image = Textured(1600, 1200);
    RefusingSink all{1 << 30};
    {
        JpegRowEncoder encoder;
        QString error;
        ASSERT_TRUE(encoder.Start(
            image.width(), image.height(), JpegEncodeSettings{},
            [&all](const char* d, qsizetype n) { return all(d, n); }, &error));
        for (int top = 0; top < image.height(); top += 100)
            ASSERT_TRUE(encoder.WriteRows(Rows(image, top, 100), &error));
        ASSERT_TRUE(encoder.Finish(&error));
    }
    ASSERT_EQ(all.bytes, EncodeInBands(image, 100, JpegEncodeSettings{}).size());
    ASSERT_GE(all.calls, 3);
    for (int allowed : {0, 1, all.calls - 1}) {
        RefusingSink counter{allowed};
        JpegRowEncoder encoder;
        QString error;
        const bool started = encoder.Start(
            image.width(), image.height(), JpegEncodeSettings{},
            [&counter](const char* d, qsizetype n) { return counter(d, n); }, &error);
        ASSERT_TRUE(started) << error.toStdString(); // the header fits the first buffer
        bool failed = false;
        for (int top = 0; top < image.height() && !failed; top += 100)
            failed = !encoder.WriteRows(Rows(image, top, 100), &error);
        if (!failed)
            failed = !encoder.Finish(&error);
        EXPECT_TRUE(failed) << allowed;
        EXPECT_TRUE(encoder.SinkFailed());
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(counter.calls, allowed + 1);
        // Nothing more is taken once it failed.
        EXPECT_FALSE(encoder.WriteRows(Rows(image, 0, 1), &error));
        EXPECT_FALSE(encoder.Finish(&error));
        EXPECT_EQ(counter.calls, allowed + 1);
    }
}

struct MisuseCase {
    const char* name;
    QSize picture;
    QSize band; // fed once after Start
    bool rowsAccepted;
};
void PrintTo(const MisuseCase& c, std::ostream* os) {
    *os << c.name;
}

class RowEncoderMisuse : public ::testing::TestWithParam<MisuseCase> {};

TEST_P(RowEncoderMisuse, IsRefusedWithAReasonAndNeverFinishesShort) {
    const MisuseCase& c = GetParam();
    QByteArray out;
    JpegRowEncoder encoder;
    QString error;
    ASSERT_TRUE(encoder.Start(
        c.picture.width(), c.picture.height(), JpegEncodeSettings{},
        [&out](const char* d, qsizetype n) {
            out.append(d, n);
            return true;
        },
        &error));
    EXPECT_EQ(encoder.WriteRows(Textured(c.band.width(), c.band.height()), &error), c.rowsAccepted);
    if (!c.rowsAccepted) {
        EXPECT_FALSE(error.isEmpty());
    }
    error.clear();
    // The picture is never whole here: it is not ended as if it were.
    EXPECT_FALSE(encoder.Finish(&error));
    EXPECT_FALSE(error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Misuse, RowEncoderMisuse,
                         ::testing::Values(MisuseCase{"TooManyRows", {40, 30}, {40, 31}, false},
                                           MisuseCase{"WrongWidth", {40, 30}, {39, 10}, false},
                                           MisuseCase{"RowsMissing", {40, 30}, {40, 29}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RowEncoder, RefusesSizesItCannotEncode) {
    for (const QSize size : {QSize(0, 10), QSize(10, 0), QSize(70000, 2)}) {
        JpegRowEncoder encoder;
        QString error;
        EXPECT_FALSE(encoder.Start(
            size.width(), size.height(), JpegEncodeSettings{},
            [](const char*, qsizetype) { return true; }, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
