// Photos with an ICC profile are decoded to sRGB: the picture against the
// photo converted to sRGB by another tool (Little CMS's jpgicc) for the
// profiles cameras and phones write: Adobe RGB, Display P3, a CMYK press
// profile, an XYB-coded photo's own. Converted, they are near 59 dB PSNR;
// left as stored, 18 to 40 dB: the bar is 45 dB (30 dB is what shows right).

#include "common/Pictures.h"
#include "common/TestSupport.h"
#include "lumoimage/JpegRowDecoder.h"

#include <QProcess>
#include <QTemporaryDir>

namespace {

QString Wild(const char* name) {
    return SourcePath(QStringLiteral("tests/data/wild/") + QLatin1String(name));
}

// jpgicc converts `photo` with `options`, writing `out`.
bool Jpgicc(const QStringList& options, const QString& photo, const QString& out) {
    QProcess run;
    run.start(QStringLiteral("jpgicc"), options + QStringList{photo, out});
    return run.waitForFinished(60000) && run.exitStatus() == QProcess::NormalExit &&
           run.exitCode() == 0;
}

QImage Decoded(const QString& path) {
    const QByteArray bytes = ReadWholeFile(path);
    QImage out;
    QString error;
    DecodeJpegRows(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                   std::size_t(bytes.size()), 1, 1, nullptr, &out, &error);
    return out;
}

TEST(PhotoColour, PhotosWithAProfileDecodeAsAnotherToolConvertsThemToSrgb) {
    QTemporaryDir dir;
    // A CMYK photo with a press profile, made from the Adobe RGB one.
    const QString cmyk = dir.filePath(QStringLiteral("cmyk.jpg"));
    ASSERT_TRUE(Jpgicc({QStringLiteral("-e"), QStringLiteral("-q95"),
                        QStringLiteral("-o/usr/share/color/icc/ghostscript/default_cmyk.icc")},
                       Wild("adobe-rgb.jpg"), cmyk));
    for (const QString& photo :
         {Wild("adobe-rgb.jpg"), Wild("display-p3.jpg"), Wild("xyb.jpg"), cmyk}) {
        const QString reference = dir.filePath(QStringLiteral("reference.jpg"));
        ASSERT_TRUE(Jpgicc({QStringLiteral("-q100")}, photo, reference)) << photo.toStdString();
        EXPECT_GE(Psnr(Decoded(photo), QImage(reference)), 45.0) << photo.toStdString();
    }
}

} // namespace
