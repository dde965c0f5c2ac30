// The row-by-row encoder: fed in bands of any height, it writes the very
// stream the one-call encoder writes for the whole picture, and it stops
// cleanly when its sink or its caller goes wrong.

#include "lumoimage/JpegRowEncoder.h"
#include "common/JpegEncoder.h"
#include "common/OpeningPhotos.h"
#include "lumoimage/CDibDC.h"

#include <gtest/gtest.h>

namespace {

// Fed in bands of `bandRows` to `sink`; false with `error` at the first refusal.
bool EncodeInBands(const QImage& image, int bandRows, const JpegEncodeSettings& settings,
                   const JpegSink& sink, QString* error, JpegRowEncoder* encoder) {
    if (!encoder->Start(image.width(), image.height(), settings, sink, error))
        return false;
    for (int top = 0; top < image.height(); top += bandRows)
        if (!encoder->WriteRows(
                image.copy(0, top, image.width(), std::min(bandRows, image.height() - top)), error))
            return false;
    return encoder->Finish(error);
}

// Bands of one row, odd bands, one pixel, the accurate DCT from quality 96, a
// low quality, and the chroma layouts.
TEST(RowEncoder, WritesTheOneCallEncodersStreamByteForByte) {
    const struct {
        QSize size;
        int bandRows, quality;
        ChromaSubsampling chroma;
    } cases[] = {{{97, 61}, 1, 95, ChromaSubsampling::Full444},
                 {{333, 257}, 7, 95, ChromaSubsampling::Full444},
                 {{1, 1}, 1, 95, ChromaSubsampling::Full444},
                 {{150, 130}, 13, 96, ChromaSubsampling::Full444},
                 {{150, 130}, 64, 40, ChromaSubsampling::Full444},
                 {{151, 131}, 9, 95, ChromaSubsampling::Half422},
                 {{151, 131}, 9, 95, ChromaSubsampling::Quarter420}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.size.width() << "x" << c.size.height() << " in "
                                          << c.bandRows << "-row bands, quality " << c.quality);
        const QImage image = NoisyPhoto(c.size.width(), c.size.height());
        const JpegEncodeSettings settings{c.quality, c.chroma};
        QByteArray whole, banded;
        QString error;
        ASSERT_TRUE(EncodeJpeg(image, settings, &whole, &error)) << error.toStdString();
        JpegRowEncoder encoder;
        const JpegSink sink = [&banded](const char* data, qsizetype size) {
            banded.append(data, size);
            return true;
        };
        ASSERT_TRUE(EncodeInBands(image, c.bandRows, settings, sink, &error, &encoder))
            << error.toStdString();
        EXPECT_TRUE(banded == whole);
    }
}

// Thin coloured lines on an export must not blur into their neighbours.
TEST(RowEncoder, TheExportKeepsFullColourResolution) {
    EXPECT_EQ(CDibDC::ExportSettings().chroma, ChromaSubsampling::Full444);
}

// The sink takes `allowed` calls and refuses the next: the encoder fails at
// once and takes nothing more. Noise compresses badly: the picture takes
// several hand-overs, the last one made while the stream is ended.
TEST(RowEncoder, StopsWhenTheSinkRefusesAndTakesNoMoreRows) {
    const QImage image = NoisyPhoto(1600, 1200);
    int calls = 0;
    QString error;
    {
        JpegRowEncoder encoder;
        const JpegSink counting = [&calls](const char*, qsizetype) { return ++calls > 0; };
        ASSERT_TRUE(EncodeInBands(image, 100, {}, counting, &error, &encoder));
    }
    ASSERT_GE(calls, 3);
    for (const int allowed : {0, 1, calls - 1}) {
        int taken = 0;
        const JpegSink refusing = [&taken, allowed](const char*, qsizetype) {
            return taken++ < allowed;
        };
        JpegRowEncoder encoder;
        error.clear();
        EXPECT_FALSE(EncodeInBands(image, 100, {}, refusing, &error, &encoder)) << allowed;
        EXPECT_TRUE(encoder.SinkFailed());
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(encoder.WriteRows(image.copy(0, 0, image.width(), 1), &error));
        EXPECT_FALSE(encoder.Finish(&error));
        EXPECT_EQ(taken, allowed + 1);
    }
}

// Sizes it cannot encode are refused at Start; rows that do not fit the
// picture at WriteRows; a picture never whole is never ended as if it were.
TEST(RowEncoder, MisuseIsRefusedWithAReasonAndNeverFinishesShort) {
    const JpegSink sink = [](const char*, qsizetype) { return true; };
    for (const QSize size : {QSize(0, 10), QSize(70000, 2)}) {
        QString error;
        EXPECT_FALSE(JpegRowEncoder().Start(size.width(), size.height(), {}, sink, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    for (const QSize band : {QSize(40, 31), QSize(39, 10), QSize(40, 29)}) {
        JpegRowEncoder encoder;
        QString error;
        ASSERT_TRUE(encoder.Start(40, 30, {}, sink, &error));
        EXPECT_EQ(encoder.WriteRows(NoisyPhoto(band.width(), band.height()), &error),
                  band.height() == 29);
        EXPECT_EQ(error.isEmpty(), band.height() == 29);
        EXPECT_FALSE(encoder.Finish(&error));
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
