// A photo with restart markers decoded in two parts, the lower one from a
// marker near the middle: the picture is the whole decode's byte for byte,
// whatever the markers' spacing and the reduction, and a damaged marker below the cut
// falls back to the whole decode (which refuses the photo, saying why). The
// file is read a slice at a time: one that shrinks after its head was read
// is refused as a cut one.

#include "lumoimage/PartedDecode.h"
#include "common/OpeningPhotos.h"
#include "common/RestartMarkedJpeg.h"
#include "lumoimage/PhotoHeadBytes.h"
#include "lumoimage/PhotoOpening.h"
#include "lumoimage/PixelBuffer.h"

#include <QTemporaryDir>

namespace {

struct Case {
    const char* name;
    int width, height;
    int rows;  // a restart marker every so many rows of blocks (0: none)
    int units; // or every so many blocks units
    bool grey;
    int denom;
    bool damage; // a marker below the middle misnumbered
    bool split;  // the lower part takes its rows
};

// Noise in each channel apart, so the colour differs from row to row (the
// smoothing of colour between rows shows at the cut).
QImage ColourNoise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t seed = 7;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, qRgb(int(seed >> 24), int(seed >> 16) & 0xFF, (x + y) & 0xFF));
        }
    return image;
}

// The lower part's first marker is past the middle: the last one.
QByteArray DamageLastMarker(QByteArray jpeg) {
    for (int i = int(jpeg.size()) - 2; i > 0; --i)
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) & 0xF8) == 0xD0) {
            jpeg[i + 1] = char(0xD0 + ((uchar(jpeg[i + 1]) + 3) & 7));
            break;
        }
    return jpeg;
}

TEST(PartedDecode, GivesTheWholeDecodesPictureOrRefusal) {
    const Case cases[] = {
        {"no markers", 320, 240, 0, 0, false, 8, false, false},
        {"every row", 320, 240, 1, 0, false, 8, false, true},
        {"every 2 rows", 320, 240, 2, 0, false, 8, false, true},
        {"odd rows of blocks", 200, 200, 2, 0, false, 8, false, true}, // 13 rows
        {"not a row's blocks", 640, 480, 0, 7, false, 8, false, true}, // 40 a row
        {"grey", 328, 100, 1, 0, true, 8, false, true},
        {"damaged marker", 320, 240, 1, 0, false, 8, true, true},
        {"full size", 200, 200, 2, 0, false, 1, false, true},
        {"a quarter", 320, 240, 1, 0, false, 4, false, true},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray jpeg =
            EncodeRestartMarkedJpeg(ColourNoise(c.width, c.height), 90, c.rows, c.units, c.grey);
        if (c.damage)
            jpeg = DamageLastMarker(jpeg);
        const QString path = dir.filePath(QLatin1String(c.name) + QLatin1String(".jpg"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
        file.close();
        QImage whole;
        QString wholeError;
        const RowDecodeResult wholeResult = DecodeJpegRows(Bytes(jpeg), std::size_t(jpeg.size()), 1,
                                                           8, nullptr, &whole, &wholeError);

        QImage picture = AllocateRgb32((c.width + 7) / 8, (c.height + 7) / 8);
        picture.fill(Qt::magenta);
        PartedDecode parts(
            path, jpeg, 1, 8,
            RowTarget{picture.bits(), picture.bytesPerLine(), picture.width(), picture.height()});
        QString upperError, lowerError, error;
        // The lower part first: it finds its cut before the upper part starts.
        const RowDecodeResult lower = parts.Lower(nullptr, &lowerError);
        const RowDecodeResult upper = parts.Upper(nullptr, &upperError);
        const RowDecodeResult result = parts.Finish(upper, lower, nullptr, &error);
        EXPECT_EQ(parts.WasSplit(), c.split);
        EXPECT_EQ(lower, c.damage ? RowDecodeResult::Failed : RowDecodeResult::Done);
        ASSERT_EQ(result, wholeResult) << error.toStdString();
        if (result == RowDecodeResult::Done)
            EXPECT_EQ(picture, whole);
        else
            EXPECT_EQ(error, wholeError);
    }
}

// The upper part past the cut before the lower one looks: it decodes all.
TEST(PartedDecode, ALowerPartTooLateLeavesTheRowsToTheUpper) {
    QTemporaryDir dir;
    const QByteArray jpeg = EncodeRestartMarkedJpeg(NoisyPhoto(320, 240), 90, 1);
    const QString path = dir.filePath(QStringLiteral("p.jpg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
    file.close();
    QImage picture = AllocateRgb32(40, 30);
    PartedDecode parts(path, jpeg, 1, 8, RowTarget{picture.bits(), picture.bytesPerLine(), 40, 30});
    QString error;
    const RowDecodeResult upper = parts.Upper(nullptr, &error);
    const RowDecodeResult lower = parts.Lower(nullptr, &error);
    EXPECT_EQ(parts.Finish(upper, lower, nullptr, &error), RowDecodeResult::Done);
    EXPECT_FALSE(parts.WasSplit());
    QImage whole;
    DecodeJpegRows(Bytes(jpeg), std::size_t(jpeg.size()), 1, 8, nullptr, &whole, &error);
    EXPECT_EQ(picture, whole);
}

TEST(PhotoFileDecode, AFileThatShrinksAfterItsHeadIsReadIsRefusedAsCut) {
    QTemporaryDir dir;
    const QString path =
        WriteOpeningPhoto(dir.filePath(QStringLiteral("p.jpg")), NoisyPhoto(1200, 900), {}, 6);
    PhotoHead head;
    QString error;
    ASSERT_TRUE(ReadPhotoHead(path, &head, &error));
    QImage upright;
    ASSERT_EQ(DecodePhotoFileUpright(path, head, 1, 8, nullptr, &upright, &error),
              RowDecodeResult::Done);
    EXPECT_EQ(upright.size(), QSize(113, 150)); // turned upright
    ASSERT_TRUE(TruncateToThreeQuarters(path));
    EXPECT_EQ(DecodePhotoFileUpright(path, head, 1, 1, nullptr, &upright, &error),
              RowDecodeResult::Failed);
    EXPECT_TRUE(error.contains(QLatin1String("ends before its last row"))) << error.toStdString();
}

} // namespace
