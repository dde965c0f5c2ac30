// Pictures from the wild: junk bytes between segments are let pass when
// every row decodes; a file that ends early or whose coded data is damaged
// is refused, saying which. Real files from public test suites
// (tests/data/wild) and files damaged here.

#include "JpegFixtures.h"
#include "common/TestSupport.h"
#include "lumoimage/JpegRowDecoder.h"

namespace {

const std::uint8_t* Bytes(const QByteArray& a) {
    return reinterpret_cast<const std::uint8_t*>(a.constData());
}

QByteArray Wild(const char* name) {
    return ReadWholeFile(SourcePath(QStringLiteral("tests/data/wild/") + QLatin1String(name)));
}

// The start of the (last) scan: a thumbnail in the Exif has one of its own.
qsizetype ScanStart(const QByteArray& jpeg) {
    return jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2));
}

// `jpeg` with junk bytes put before the first marker `code` after SOI (after
// the start of the scan for a restart marker).
QByteArray JunkBefore(QByteArray jpeg, std::uint8_t code) {
    const char marker[] = {'\xFF', char(code)};
    const qsizetype from = code >= 0xD0 && code <= 0xD7 ? ScanStart(jpeg) : 2;
    return jpeg.insert(jpeg.indexOf(QByteArray(marker, 2), from), "junk!");
}

QImage Decoded(const QByteArray& jpeg, QString* error) {
    QImage out;
    DecodeJpegRows(Bytes(jpeg), std::size_t(jpeg.size()), 1, 1, nullptr, &out, error);
    return out;
}

TEST(WildJpeg, JunkBytesPassWhenEveryRowDecodesAndDamageIsRefusedForWhatItIs) {
    const QByteArray restarts = Wild("photoshop-200dpi.jpg");
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
        {"real, junk before DQT", Wild("junk_jpeg_header.jpg"), {}, nullptr},
        {"real, junk before APP1", Wild("photoshop-200dpi-broken.jpg"), restartsPicture, nullptr},
        {"junk before DQT", JunkBefore(clean, 0xDB), cleanPicture, nullptr},
        {"junk before DHT", JunkBefore(clean, 0xC4), cleanPicture, nullptr},
        {"junk before SOF", JunkBefore(clean, 0xC0), cleanPicture, nullptr},
        {"junk before SOS", JunkBefore(clean, 0xDA), cleanPicture, nullptr},
        {"junk before RST", JunkBefore(restarts, 0xD0), restartsPicture, nullptr},
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

} // namespace
