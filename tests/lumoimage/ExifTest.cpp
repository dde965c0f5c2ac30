// The Exif reader. The capture date read from a photo's Exif:
// DateTimeOriginal first, then DateTime; either byte order; nothing from a
// damaged or missing segment. Real files' Exif read as exiftool reads it:
// one reader gives the date, the orientation and the thumbnail with the same
// rules (the fuzz target fuzz/fuzz_jpeg.cpp feeds it damaged headers). The
// Exif an export keeps, made from real cameras' Exif: dates, camera, exposure
// and focal length kept, the orientation 1, the colour space sRGB, the
// thumbnail dropped, the location only when asked for.

#include "JpegFixtures.h"
#include "common/ExifBlob.h"
#include "common/TestSupport.h"
#include "lumoimage/ExifDate.h"
#include "lumoimage/ExifExport.h"
#include "lumoimage/ExifReader.h"
#include "lumoimage/TiffReader.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

// DateTimeOriginal first, then DateTime, in either byte order; nothing from
// a blank date, no dates, no Exif segment, no JPEG, or a pointer to the Exif
// IFD of the wrong type.
TEST(ExifDate, ReadsTheCaptureDate) {
    const QByteArray plain = EncodeTestJpeg(Solid(16, 8));
    QByteArray wrongType = WithExif(plain, {"2024:05:17 09:30:00", nullptr, false});
    wrongType[wrongType.indexOf(QByteArray("\x69\x87\x04\x00", 4)) + 2] = 2; // ASCII
    const std::pair<QByteArray, const char*> cases[] = {
        {WithExif(plain, {"2024:05:17 09:30:00", nullptr, false}), "2024-05-17T09:30:00"},
        {WithExif(plain, {"2023:01:02 03:04:05", "2024:12:31 23:59:59", false}),
         "2023-01-02T03:04:05"},
        {WithExif(plain, {nullptr, "2022:07:08 10:11:12", false}), "2022-07-08T10:11:12"},
        {WithExif(plain, {"2021:02:03 04:05:06", nullptr, true}), "2021-02-03T04:05:06"},
        {WithExif(plain, {"    :  :     :  :  ", nullptr, false}), ""},
        {WithExif(plain, {nullptr, nullptr, false}), ""},
        {plain, ""},
        {QByteArray("II*\0\x08\0\0\0", 8), ""},
        {wrongType, ""}};
    for (const auto& [jpeg, expected] : cases)
        EXPECT_EQ(ReadExifCaptureDate(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                                      std::size_t(jpeg.size()))
                      .toString(Qt::ISODate)
                      .toStdString(),
                  expected);
}

// Values as exiftool reports them for these files.
TEST(ExifReader, RealFilesGiveWhatExiftoolReads) {
    const struct {
        const char* file;
        const char* date;
        int orientation;
        std::size_t thumbnail;
    } cases[] = {
        {"Canon_40D.jpg", "2008:05:30 15:56:01", 1, 1378},
        {"Fujifilm_FinePix_E500.jpg", "2006:08:17 09:24:48", 1, 0},
        {"exif-ifd-offset.jpg", "2017:03:13 23:03:09", 1, 0},
        {"photoshop-200dpi-broken.jpg", "2017:03:13 23:03:09", 1, 858},
        {"invalid-exif.jpg", "", 1, 0}, // a TIFF header neither "II" nor "MM"
    };
    for (const auto& c : cases) {
        const QByteArray bytes =
            ReadWholeFile(SourcePath(QStringLiteral("tests/data/wild/") + c.file));
        JpegHeaderInfo info;
        ASSERT_TRUE(ScanJpegHeader(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   std::size_t(bytes.size()), &info))
            << c.file;
        EXPECT_EQ(info.captureDate, c.date) << c.file;
        EXPECT_EQ(info.orientation, c.orientation) << c.file;
        EXPECT_EQ(info.thumbnailLength, c.thumbnail) << c.file;
    }
}

using Fields = std::map<std::uint16_t, std::string>;

// Every entry of IFD0, the Exif IFD and the GPS IFD as text: ASCII as it is,
// numbers as "n" or "n/d" joined with spaces; "ifd1" when IFD0 links one.
Fields ReadBack(const QByteArray& payload) {
    Fields fields;
    if (!payload.startsWith(QByteArray("Exif\0\0", 6)))
        return fields;
    const TiffView view(reinterpret_cast<const std::uint8_t*>(payload.constData()) + 6,
                        std::size_t(payload.size() - 6));
    std::uint32_t exif = 0, gps = 0;
    auto read = [&](const TiffEntry& e) {
        if (e.type == 2) {
            fields[e.tag] = view.Ascii(e);
            return;
        }
        std::string text;
        const bool rational = e.type == 5 || e.type == 10;
        const std::size_t step = e.elementSize * (rational ? 2 : 1);
        for (std::size_t i = 0; i < e.count && e.valueBytes; ++i) {
            const std::size_t at = e.valueAt + step * i;
            std::uint32_t n = 0, d = 0;
            std::uint16_t s = 0;
            if (e.elementSize == 1)
                n = view.Data()[at];
            else if (e.elementSize == 2)
                view.U16(at, &s), n = s;
            else
                view.U32(at, &n);
            text += (i ? " " : "") + std::to_string(n);
            if (rational && view.U32(at + 4, &d))
                text += "/" + std::to_string(d);
        }
        fields[e.tag] = text;
        if (e.tag == 0x8769)
            view.IfdPointer(e, &exif);
        if (e.tag == 0x8825)
            view.IfdPointer(e, &gps);
    };
    if (view.WalkIfd(view.FirstIfd(), read) != 0)
        fields[0] = "ifd1";
    if (exif)
        view.WalkIfd(exif, read);
    if (gps)
        view.WalkIfd(gps, read);
    return fields;
}

QByteArray ExportOf(const char* file, bool keepLocation) {
    return ExportExifOfPhoto(SourcePath(QStringLiteral("tests/data/wild/") + file), keepLocation);
}

TEST(ExifExport, KeepsWhatAPhotoShouldKeepAndDropsTheRest) {
    const struct {
        const char* file;
        Fields expected; // every field the export holds, pointers aside
    } cases[] = {
        {"Canon_40D.jpg", // little-endian, with a thumbnail and a maker's note
         {{0x010F, "Canon"},
          {0x0110, "Canon EOS 40D"},
          {0x0112, "1"},
          {0x0132, "2008:07:31 10:38:11"},
          {0x829A, "1/160"},
          {0x829D, "71/10"},
          {0x8822, "1"},
          {0x8827, "100"},
          {0x9003, "2008:05:30 15:56:01"},
          {0x9004, "2008:05:30 15:56:01"},
          {0x9201, "483328/65536"},
          {0x9202, "368640/65536"},
          {0x9204, "0/1"},
          {0x9207, "5"},
          {0x9209, "9"},
          {0x920A, "135/1"},
          {0x9291, "00"},
          {0x9292, "00"},
          {0xA001, "1"},
          {0xA402, "1"},
          {0xA403, "0"}}},
        {"exif_gps.jpg", // big-endian, with a location
         {{0x010F, "Make"},
          {0x0110, "XXX-XXX"},
          {0x0112, "1"},
          {0x829A, "4294967295/1"},
          {0x9003, "2099:09:29 10:10:10"},
          {0x9204, "2147483647/2147483648"},
          {0xA001, "1"},
          {0xA432, "1/1 1/1 1/1 1/1"},
          {0xA433, "LensMake"}}},
    };
    for (const auto& c : cases) {
        Fields fields = ReadBack(ExportOf(c.file, false));
        fields.erase(0x8769);
        EXPECT_EQ(fields, c.expected) << c.file;
    }
    // The location only when asked for; no segment when there is no readable Exif.
    const Fields kept = ReadBack(ExportOf("exif_gps.jpg", true));
    EXPECT_EQ(kept.at(0x001D), "1999:99:99 99:99:99"); // GPSDateStamp, as exiftool reads it
    EXPECT_EQ(kept.at(0x0000), "0 0 0 1");             // GPSVersionID
    EXPECT_TRUE(ExportOf("invalid-exif.jpg", true).isEmpty());
    EXPECT_TRUE(ExportOf("junk_jpeg_header.jpg", true).isEmpty());
}

} // namespace
