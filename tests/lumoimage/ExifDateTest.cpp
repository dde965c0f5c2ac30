// The capture date read from a photo's Exif: DateTimeOriginal first, then
// DateTime; either byte order; nothing from a damaged or missing segment.
// Real files' Exif read as exiftool reads it: one reader gives the date, the
// orientation and the thumbnail with the same rules.

#include "lumoimage/ExifDate.h"
#include "JpegFixtures.h"
#include "common/ExifBlob.h"
#include "common/TestSupport.h"
#include "lumoimage/ExifReader.h"

#include <gtest/gtest.h>

namespace {

QByteArray PlainJpeg() {
    return EncodeTestJpeg(Solid(16, 8));
}

QDateTime Read(const QByteArray& jpeg) {
    return ReadExifCaptureDate(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                               static_cast<std::size_t>(jpeg.size()));
}

struct DateCase {
    const char* name;
    ExifDates dates;
    const char* expected; // ISO, or null for none
};
void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.name;
}

class ExifDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(ExifDateTest, ReadsTheCaptureDate) {
    const DateCase& c = GetParam();
    const QDateTime date = Read(WithExif(PlainJpeg(), c.dates));
    if (!c.expected) {
        EXPECT_FALSE(date.isValid()) << date.toString(Qt::ISODate).toStdString();
        return;
    }
    EXPECT_EQ(date.toString(Qt::ISODate).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, ExifDateTest,
    ::testing::Values(
        DateCase{"original", {"2024:05:17 09:30:00", nullptr, false}, "2024-05-17T09:30:00"},
        DateCase{"original before modified",
                 {"2023:01:02 03:04:05", "2024:12:31 23:59:59", false},
                 "2023-01-02T03:04:05"},
        DateCase{"modified only", {nullptr, "2022:07:08 10:11:12", false}, "2022-07-08T10:11:12"},
        DateCase{"big endian", {"2021:02:03 04:05:06", nullptr, true}, "2021-02-03T04:05:06"},
        DateCase{"blank date", {"    :  :     :  :  ", nullptr, false}, nullptr},
        DateCase{"no dates", {nullptr, nullptr, false}, nullptr}));

// No Exif segment, no JPEG, a pointer to the Exif IFD of the wrong type.
TEST(ExifDate, WhatHoldsNoReadableDateGivesNone) {
    EXPECT_FALSE(Read(PlainJpeg()).isValid());
    EXPECT_FALSE(Read(QByteArray("II*\0\x08\0\0\0", 8)).isValid()); // bare TIFF
    QByteArray jpeg = WithExif(PlainJpeg(), {"2024:05:17 09:30:00", nullptr, false});
    jpeg[jpeg.indexOf(QByteArray("\x69\x87\x04\x00", 4)) + 2] = 2; // ASCII
    EXPECT_FALSE(Read(jpeg).isValid());
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

} // namespace
