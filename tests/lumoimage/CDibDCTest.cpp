#include "lumoimage/CDibDC.h"
#include "JpegFixtures.h"
#include "common/TestSupport.h"
#include "lumoimage/ExifReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

class CDibDCTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }
    QTemporaryDir m_dir;
};

QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
    return image;
}

TEST_F(CDibDCTest, SaveThenLoadKeepsSizeAndColours) {
    CDibDC source;
    ASSERT_TRUE(source.CreateDibDC(97, 61, 32));
    source.Image() = Gradient(97, 61);
    const QString path = m_dir.filePath("round.jpg");
    ASSERT_TRUE(source.Save(path)) << source.ErrorString().toStdString();

    CDibDC loaded;
    ASSERT_TRUE(loaded.Load(path, 32)) << loaded.ErrorString().toStdString();
    EXPECT_EQ(loaded.GetSize().cx, 97);
    EXPECT_EQ(loaded.GetSize().cy, 61);
    EXPECT_EQ(loaded.Image().format(), QImage::Format_RGB32);
    int worst = 0;
    for (int y = 0; y < 61; ++y)
        for (int x = 0; x < 97; ++x) {
            const QRgb a = source.Image().pixel(x, y);
            const QRgb b = loaded.Image().pixel(x, y);
            ASSERT_EQ(qAlpha(b), 255);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 8);
}

TEST_F(CDibDCTest, CreateDibDCGivesAWhitePictureAndRefusesNonsense) {
    CDibDC dib;
    EXPECT_FALSE(dib.HasPicture());
    EXPECT_FALSE(dib.CreateDibDC(0, 10, 32));
    EXPECT_FALSE(dib.CreateDibDC(10, 10, 24));
    EXPECT_FALSE(dib.CreateDibDC(65535, 65535, 32));
    EXPECT_FALSE(dib.HasPicture());
    ASSERT_TRUE(dib.CreateDibDC(30, 20, 32));
    EXPECT_EQ(dib.GetSize().cx, 30);
    EXPECT_EQ(dib.GetSize().cy, 20);
    EXPECT_EQ(dib.Image().pixel(29, 19), qRgb(255, 255, 255));
}

TEST_F(CDibDCTest, GreyscaleAndCmykFilesOpenAsColourPictures) {
    QImage grey(32, 16, QImage::Format_Grayscale8);
    grey.fill(200);
    QByteArray greyBytes;
    {
        QBuffer buffer(&greyBytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(QImageWriter(&buffer, "jpeg").write(grey));
    }
    CDibDC dib;
    ASSERT_TRUE(dib.Load(Write("grey.jpg", greyBytes), 32)) << dib.ErrorString().toStdString();
    EXPECT_TRUE(IsNear(BlockColour(dib.Image(), 8, 8), QColor(200, 200, 200), 3));

    // Adobe-style CMYK with inverted ink values: full "cyan" byte and full
    // "black" byte stored as 255/255 mean no ink at all on that channel.
    std::vector<unsigned char> cmyk(16 * 16 * 4);
    for (size_t i = 0; i < cmyk.size(); i += 4) {
        cmyk[i] = 255;     // C (inverted: no cyan)
        cmyk[i + 1] = 0;   // M (inverted: full magenta)
        cmyk[i + 2] = 0;   // Y (inverted: full yellow)
        cmyk[i + 3] = 255; // K (inverted: no black)
    }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(
        tjCompress2(handle, cmyk.data(), 16, 64, 16, TJPF_CMYK, &jpeg, &size, TJSAMP_444, 95, 0),
        0);
    const QByteArray cmykBytes(reinterpret_cast<const char*>(jpeg), qsizetype(size));
    tjFree(jpeg);
    tjDestroy(handle);
    ASSERT_TRUE(dib.Load(Write("cmyk.jpg", cmykBytes), 32)) << dib.ErrorString().toStdString();
    EXPECT_TRUE(IsNear(BlockColour(dib.Image(), 0, 0), QColor(255, 0, 0), 6))
        << ::testing::PrintToString(BlockColour(dib.Image(), 0, 0));
}

// --- Exif orientation -------------------------------------------------------

struct OrientationCase {
    int orientation;
    // Where the stored top-left (red) and top-right (green) blocks end up
    // once upright: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
    int redCorner;
    int greenCorner;
};

class OrientationTest : public CDibDCTest, public ::testing::WithParamInterface<OrientationCase> {};

QPoint CornerBlock(const QImage& image, int corner) {
    const int right = image.width() - 8, bottom = image.height() - 8;
    switch (corner) {
    case 1:
        return {right, 0};
    case 2:
        return {right, bottom};
    case 3:
        return {0, bottom};
    default:
        return {0, 0};
    }
}

TEST_P(OrientationTest, TurnsThePictureUpright) {
    const OrientationCase c = GetParam();
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "Motorola byte order" : "Intel byte order");
        const QByteArray jpeg =
            WithExif(EncodeTestJpeg(CornerMarkedPicture(48, 32)), c.orientation, {}, bigEndian);
        CDibDC dib;
        ASSERT_TRUE(dib.Load(Write("o.jpg", jpeg), 32)) << dib.ErrorString().toStdString();
        const bool swapped = c.orientation >= 5;
        EXPECT_EQ(dib.GetSize().cx, swapped ? 32 : 48);
        EXPECT_EQ(dib.GetSize().cy, swapped ? 48 : 32);
        const QImage& image = dib.Image();
        const QPoint red = CornerBlock(image, c.redCorner);
        const QPoint green = CornerBlock(image, c.greenCorner);
        EXPECT_TRUE(IsNear(BlockColour(image, red.x(), red.y()), Qt::red, 30))
            << ::testing::PrintToString(BlockColour(image, red.x(), red.y()));
        EXPECT_TRUE(IsNear(BlockColour(image, green.x(), green.y()), Qt::green, 30))
            << ::testing::PrintToString(BlockColour(image, green.x(), green.y()));
        // the other two corners stay blue
        for (int corner = 0; corner < 4; ++corner) {
            if (corner == c.redCorner || corner == c.greenCorner)
                continue;
            const QPoint p = CornerBlock(image, corner);
            EXPECT_TRUE(IsNear(BlockColour(image, p.x(), p.y()), Qt::blue, 30)) << corner;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllEight, OrientationTest,
                         ::testing::Values(OrientationCase{1, 0, 1}, OrientationCase{2, 1, 0},
                                           OrientationCase{3, 2, 3}, OrientationCase{4, 3, 2},
                                           OrientationCase{5, 0, 3}, OrientationCase{6, 1, 2},
                                           OrientationCase{7, 2, 1}, OrientationCase{8, 3, 0}));

TEST_F(CDibDCTest, OpensAFiftyMegapixelPhoto) {
    QImage big(8192, 6144, QImage::Format_RGB32);
    big.fill(QColor(90, 140, 200));
    for (int y = 0; y < 64; ++y)
        std::fill_n(reinterpret_cast<QRgb*>(big.scanLine(6144 - 64 + y)) + 8192 - 64, 64,
                    qRgb(250, 250, 0));
    const QString path = Write("big.jpg", EncodeTestJpeg(big, 80, true));
    big = QImage();
    CDibDC dib;
    ASSERT_TRUE(dib.Load(path, 32)) << dib.ErrorString().toStdString();
    EXPECT_EQ(dib.GetSize().cx, 8192);
    EXPECT_EQ(dib.GetSize().cy, 6144);
    EXPECT_TRUE(IsNear(BlockColour(dib.Image(), 0, 0), QColor(90, 140, 200), 6));
    EXPECT_TRUE(IsNear(BlockColour(dib.Image(), 8192 - 32, 6144 - 32), QColor(250, 250, 0), 8));
}

// --- Broken input ------------------------------------------------------------

QByteArray GoodJpeg() {
    QImage image(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) & 255, (x * y) & 255, (y * 53) & 255));
    return EncodeTestJpeg(image, 90, true);
}

qsizetype ScanStart(const QByteArray& jpeg) {
    return jpeg.indexOf(QByteArray("\xFF\xDA", 2));
}

struct BrokenCase {
    const char* name;
    QByteArray (*bytes)();
    const char* reason; // a word the error must contain
};

class BrokenInputTest : public CDibDCTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenInputTest, FailsCleanlyAndKeepsThePreviousPicture) {
    const BrokenCase c = GetParam();
    CDibDC dib;
    ASSERT_TRUE(dib.Load(Write("good.jpg", EncodeTestJpeg(CornerMarkedPicture(48, 32))), 32));
    const QImage before = dib.Image();

    const QString path = Write("broken.jpg", c.bytes());
    EXPECT_FALSE(dib.Load(path, 32));
    EXPECT_TRUE(dib.ErrorString().contains(QLatin1String(c.reason), Qt::CaseInsensitive))
        << dib.ErrorString().toStdString();
    EXPECT_TRUE(dib.HasPicture());
    EXPECT_EQ(dib.Image(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenInputTest,
    ::testing::Values(
        BrokenCase{"Empty", [] { return QByteArray(); }, "empty"},
        BrokenCase{"Text", [] { return QByteArray("These are the room notes, not a photo.\n"); },
                   "not a JPEG"},
        BrokenCase{"Png",
                   [] {
                       QByteArray png;
                       QBuffer buffer(&png);
                       buffer.open(QIODevice::WriteOnly);
                       CornerMarkedPicture(16, 16).save(&buffer, "PNG");
                       return png;
                   },
                   "not a JPEG"},
        BrokenCase{"OnlyTheMarker", [] { return GoodJpeg().left(3); }, "header"},
        BrokenCase{"CutInTheHeader", [] { return GoodJpeg().left(40); }, "header"},
        BrokenCase{"CutJustIntoTheScan",
                   [] {
                       const QByteArray j = GoodJpeg();
                       return j.left(ScanStart(j) + 20);
                   },
                   "incomplete"},
        BrokenCase{"CutHalfway",
                   [] {
                       const QByteArray j = GoodJpeg();
                       return j.left(ScanStart(j) + (j.size() - ScanStart(j)) / 2);
                   },
                   "incomplete"},
        BrokenCase{"OnlyTheEndMarkerMissing", [] { return GoodJpeg().chopped(2); }, "incomplete"},
        BrokenCase{"GarbageInTheScan",
                   [] {
                       QByteArray j = GoodJpeg();
                       const qsizetype mid = ScanStart(j) + (j.size() - ScanStart(j)) / 2;
                       j.replace(mid, 4, QByteArray("\xFF\xD9\x00\x00", 4));
                       return j;
                   },
                   "incomplete"},
        BrokenCase{"HugeHeaderSize", [] { return WithFrameSize(GoodJpeg(), 65535, 65535); },
                   "too large"},
        BrokenCase{"OverTheLimit", [] { return WithFrameSize(GoodJpeg(), 20000, 15000); },
                   "too large"}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

TEST_F(CDibDCTest, ProgressiveFilesOpenAndFailWhenCut) {
    const QImage picture = CornerMarkedPicture(48, 32);
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(handle, picture.constBits(), 48, int(picture.bytesPerLine()), 32,
                          TJPF_BGRX, &jpeg, &size, TJSAMP_420, 90, TJFLAG_PROGRESSIVE),
              0);
    const QByteArray bytes(reinterpret_cast<const char*>(jpeg), qsizetype(size));
    tjFree(jpeg);
    tjDestroy(handle);
    CDibDC dib;
    ASSERT_TRUE(dib.Load(Write("progressive.jpg", bytes), 32)) << dib.ErrorString().toStdString();
    EXPECT_TRUE(IsNear(BlockColour(dib.Image(), 40, 0), Qt::green, 40));
    // cut inside the later scans: the first scans alone would give a blurred picture
    EXPECT_FALSE(dib.Load(Write("cut.jpg", bytes.left(bytes.size() * 3 / 4)), 32));
    EXPECT_EQ(dib.GetSize().cx, 48);
}

// Phones append data after the end marker (a second picture for MPF, vendor
// trailers); the photo itself is whole and must open.
TEST_F(CDibDCTest, DataAfterTheEndMarkerIsIgnored) {
    const QByteArray photo = EncodeTestJpeg(CornerMarkedPicture(48, 32));
    CDibDC dib;
    ASSERT_TRUE(dib.Load(Write("trailer.jpg", photo + QByteArray(5000, '\x5A') + "SEFT"), 32))
        << dib.ErrorString().toStdString();
    ASSERT_TRUE(dib.Load(Write("mpf.jpg", photo + GoodJpeg()), 32))
        << dib.ErrorString().toStdString();
    EXPECT_EQ(dib.GetSize().cx, 48);
    EXPECT_TRUE(IsNear(BlockColour(dib.Image(), 0, 0), Qt::red, 30));
}

TEST_F(CDibDCTest, MissingFilesAndFoldersFailWithAReason) {
    CDibDC dib;
    EXPECT_FALSE(dib.Load(m_dir.filePath("nothing-here.jpg"), 32));
    EXPECT_TRUE(dib.ErrorString().contains("does not exist")) << dib.ErrorString().toStdString();
    EXPECT_FALSE(dib.Load(m_dir.path(), 32));
    EXPECT_TRUE(dib.ErrorString().contains("folder")) << dib.ErrorString().toStdString();
    EXPECT_FALSE(dib.Load(Write("ok.jpg", GoodJpeg()), 24));
    EXPECT_FALSE(dib.HasPicture());
}

#if !defined(__SANITIZE_ADDRESS__)
// Caps the address space just above what the process already uses, then
// loads: 0 when the load failed with a memory reason.
int LoadUnderMemoryCap(const QString& path) {
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t cap = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(256) << 20);
    const rlimit limit{cap, cap};
    setrlimit(RLIMIT_AS, &limit);
    CDibDC dib;
    const bool loaded = dib.Load(path, 32);
    return !loaded && dib.ErrorString().contains("memory") ? 0 : 1;
}

// A picture that needs 1 GB cannot be had under the cap: Load must say so.
TEST_F(CDibDCTest, APictureTooLargeForMemoryFailsCleanly) {
    const QString path = Write("huge.jpg", WithFrameSize(GoodJpeg(), 16000, 16000));
    EXPECT_EXIT(std::_Exit(LoadUnderMemoryCap(path)), ::testing::ExitedWithCode(0), "");
}
#endif

// --- Saving ------------------------------------------------------------------

TEST_F(CDibDCTest, FailedSavesReportFailureAndLeaveNoFile) {
    CDibDC dib;
    const QString target = m_dir.filePath("out.jpg");
    EXPECT_FALSE(dib.Save(target)); // nothing to save
    EXPECT_FALSE(QFile::exists(target));

    ASSERT_TRUE(dib.CreateDibDC(40, 30, 32));
    const QString inMissingFolder = m_dir.filePath("no-such-folder/out.jpg");
    EXPECT_FALSE(dib.Save(inMissingFolder));
    EXPECT_FALSE(dib.ErrorString().isEmpty());
    EXPECT_FALSE(QFile::exists(inMissingFolder));

    // a folder nobody may create files in, not even the superuser
    const QString procTarget = QStringLiteral("/proc/tessamar-export.jpg");
    if (QFileInfo(QStringLiteral("/proc")).isDir()) {
        EXPECT_FALSE(dib.Save(procTarget));
        EXPECT_FALSE(dib.ErrorString().isEmpty());
        EXPECT_FALSE(QFile::exists(procTarget));
    }

    const QString folder = m_dir.filePath("a-folder.jpg");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(dib.Save(folder));
    EXPECT_TRUE(dib.ErrorString().contains("folder")) << dib.ErrorString().toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(folder).isEmpty());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 0);
}

TEST_F(CDibDCTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    CDibDC dib;
    ASSERT_TRUE(dib.CreateDibDC(40, 30, 32));
    const QString folder = m_dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString target = folder + "/out.jpg";
    ASSERT_TRUE(WriteWholeFile(target, "old"));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(dib.Save(target));
    EXPECT_FALSE(dib.ErrorString().isEmpty());
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadWholeFile(target), QByteArray("old"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
}

TEST_F(CDibDCTest, ExportedFileIsUprightWithoutOrientationTag) {
    CDibDC dib;
    const QByteArray turned = WithExif(EncodeTestJpeg(CornerMarkedPicture(48, 32)), 6);
    ASSERT_TRUE(dib.Load(Write("turned.jpg", turned), 32));
    const QString out = m_dir.filePath("export.jpg");
    ASSERT_TRUE(dib.Save(out)) << dib.ErrorString().toStdString();

    const QByteArray written = ReadWholeFile(out);
    EXPECT_EQ(written.indexOf(QByteArray("Exif\0\0", 6)), -1);
    JpegHeaderInfo header;
    ASSERT_TRUE(ScanJpegHeader(reinterpret_cast<const std::uint8_t*>(written.constData()),
                               std::size_t(written.size()), &header));
    EXPECT_EQ(header.orientation, 1);
    EXPECT_EQ(header.width, 32);
    EXPECT_EQ(header.height, 48);

    CDibDC again;
    ASSERT_TRUE(again.Load(out, 32));
    EXPECT_TRUE(IsNear(BlockColour(again.Image(), 24, 0), Qt::red, 30));
}

TEST_F(CDibDCTest, ThinRedLinesStayRedAfterExport) {
    CDibDC dib;
    ASSERT_TRUE(dib.CreateDibDC(64, 64, 32));
    for (int i = 0; i < 64; ++i) {
        dib.Image().setPixel(i, 21, qRgb(255, 0, 0)); // odd rows and columns sit
        dib.Image().setPixel(37, i, qRgb(255, 0, 0)); // alone in a chroma pair
    }
    const QString out = m_dir.filePath("lines.jpg");
    ASSERT_TRUE(dib.Save(out));
    CDibDC again;
    ASSERT_TRUE(again.Load(out, 32));
    for (int i = 0; i < 64; i += 5) {
        for (const QPoint p : {QPoint(i, 21), QPoint(37, i)}) {
            const QColor c = again.Image().pixelColor(p);
            EXPECT_GE(c.red(), 200) << p.x() << "," << p.y();
            EXPECT_LE(c.green(), 70) << p.x() << "," << p.y();
            EXPECT_LE(c.blue(), 70) << p.x() << "," << p.y();
        }
        if (i == 37)
            continue;
        const QColor beside = again.Image().pixelColor(i, 23);
        EXPECT_GE(std::min({beside.red(), beside.green(), beside.blue()}), 200) << i;
    }
}

} // namespace
