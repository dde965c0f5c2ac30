// Decoding a batch of rows at a time: the same pixels as libjpeg-turbo's
// one-call decoder, given up when asked. Pictures from the wild: junk bytes
// between segments are let pass when every row decodes; a file that ends
// early or whose coded data is damaged is refused, saying which. Real files
// from public test suites (tests/data/wild) and files damaged here. Photos
// with an ICC profile decoded to sRGB.

#include "lumoimage/JpegRowDecoder.h"
#include "common/OpeningPhotos.h"
#include "common/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>

namespace {

const std::uint8_t* Bytes(const QByteArray& a) {
    return reinterpret_cast<const std::uint8_t*>(a.constData());
}

QString Wild(const char* name) {
    return SourcePath(QStringLiteral("tests/data/wild/") + QLatin1String(name));
}

// Photographic noise: every 8 x 8 block differs, so a wrong row, colour
// conversion or upsampling shows. Full, 4:2:0 and grey; reduced to 1/8 in
// 4:2:0, 1/4 in 4:2:2 and 3/4.
TEST(RowDecode, GivesTheOneCallDecodersPixels) {
    const struct {
        int width, height, subsampling, num, denom;
    } cases[] = {{173, 91, TJSAMP_444, 1, 1},  {200, 150, TJSAMP_420, 1, 1},
                 {64, 200, TJSAMP_GRAY, 1, 1}, {640, 480, TJSAMP_420, 1, 8},
                 {333, 97, TJSAMP_422, 1, 4},  {120, 80, TJSAMP_420, 3, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.width << "x" << c.height << " at " << c.num << "/" << c.denom);
        const QByteArray jpeg = EncodeTestJpeg(NoisyPhoto(c.width, c.height), 90, c.subsampling);
        const tjscalingfactor factor{c.num, c.denom};
        QImage expected(TJSCALED(c.width, factor), TJSCALED(c.height, factor),
                        QImage::Format_RGB32);
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
}

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

// The start of the (last) scan: a thumbnail in the Exif has one of its own.
qsizetype ScanStart(const QByteArray& jpeg) {
    return jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2));
}

QImage Decoded(const QByteArray& jpeg, QString* error) {
    QImage out;
    DecodeJpegRows(Bytes(jpeg), std::size_t(jpeg.size()), 1, 1, nullptr, &out, error);
    return out;
}

TEST(WildJpeg, JunkBytesPassWhenEveryRowDecodesAndDamageIsRefusedForWhatItIs) {
    const QByteArray restarts = ReadWholeFile(Wild("photoshop-200dpi.jpg"));
    const QByteArray clean = EncodeTestJpeg(CornerMarkedPicture(64, 48));
    QString error;
    const QImage cleanPicture = Decoded(clean, &error);
    const QImage restartsPicture = Decoded(restarts, &error);
    ASSERT_FALSE(cleanPicture.isNull()) << error.toStdString();
    ASSERT_FALSE(restartsPicture.isNull()) << error.toStdString();
    const QByteArray progressive =
        EncodeTestJpeg(CornerMarkedPicture(64, 48), 95, TJSAMP_444, TJFLAG_PROGRESSIVE);
    QByteArray corrupt = clean;
    // A restart marker where none belongs, in the middle of the scan.
    corrupt.insert((ScanStart(clean) + clean.size()) / 2, "\xFF\xD3", 2);
    const struct {
        const char* name;
        QByteArray bytes;
        QImage picture; // null: refused
        const char* says;
    } cases[] = {
        {"real, junk before DQT", ReadWholeFile(Wild("junk_jpeg_header.jpg")), {}, nullptr},
        {"real, junk before APP1", ReadWholeFile(Wild("photoshop-200dpi-broken.jpg")),
         restartsPicture, nullptr},
        {"junk before RST",
         QByteArray(restarts).insert(restarts.indexOf("\xFF\xD0", ScanStart(restarts)), "junk!"),
         restartsPicture, nullptr},
        {"junk before EOI", clean.left(clean.size() - 2) + "junk!\xFF\xD9", cleanPicture, nullptr},
        {"no EOI", clean.left(clean.size() - 2), cleanPicture, nullptr},
        {"cut in a segment of the header", clean.left(40), {}, "ends in its header"},
        {"cut before the scan", clean.left(ScanStart(clean)), {}, "ends in its header"},
        {"cut in the scan", CutInFirstScan(clean), {}, "ends before its last row"},
        {"progressive, cut in its last scan",
         progressive.left(progressive.size() - 20),
         {},
         "ends before its last row"},
        {"corrupt scan", corrupt, {}, "picture data is damaged"},
    };
    for (const auto& c : cases) {
        error.clear();
        const QImage picture = Decoded(c.bytes, &error);
        if (c.says) {
            EXPECT_TRUE(picture.isNull()) << c.name;
            EXPECT_TRUE(error.contains(QLatin1String(c.says)))
                << c.name << ": " << error.toStdString();
        } else if (c.picture.isNull()) {
            EXPECT_EQ(picture.size(), QSize(1024, 768)) << c.name << ": " << error.toStdString();
        } else {
            EXPECT_TRUE(picture == c.picture) << c.name << ": " << error.toStdString();
        }
    }
}

// Photos with an ICC profile are decoded to sRGB: the picture against the
// photo converted to sRGB by another tool (Little CMS's jpgicc) for the
// profiles cameras and phones write: Adobe RGB, Display P3, a CMYK press
// profile, an XYB-coded photo's own. Converted, they are near 59 dB PSNR;
// left as stored, 18 to 40 dB: the bar is 45 dB (30 dB is what shows right).

// jpgicc converts `photo` with `options`, writing `out`.
bool Jpgicc(const QStringList& options, const QString& photo, const QString& out) {
    QProcess run;
    run.start(QStringLiteral("jpgicc"), options + QStringList{photo, out});
    return run.waitForFinished(60000) && run.exitStatus() == QProcess::NormalExit &&
           run.exitCode() == 0;
}

TEST(PhotoColour, PhotosWithAProfileDecodeAsAnotherToolConvertsThemToSrgb) {
    QTemporaryDir dir;
    // A CMYK photo with a press profile, made from the Adobe RGB one.
    const QString cmyk = dir.filePath(QStringLiteral("cmyk.jpg"));
    ASSERT_TRUE(Jpgicc({QStringLiteral("-e"), QStringLiteral("-q95"),
                        QStringLiteral("-o/usr/share/color/icc/ghostscript/default_cmyk.icc")},
                       Wild("adobe-rgb.jpg"), cmyk));
    QString error;
    for (const QString& photo :
         {Wild("adobe-rgb.jpg"), Wild("display-p3.jpg"), Wild("xyb.jpg"), cmyk}) {
        const QString reference = dir.filePath(QStringLiteral("reference.jpg"));
        ASSERT_TRUE(Jpgicc({QStringLiteral("-q100")}, photo, reference)) << photo.toStdString();
        EXPECT_GE(Psnr(Decoded(ReadWholeFile(photo), &error), QImage(reference)), 45.0)
            << photo.toStdString();
    }
}

} // namespace
