// The capture date read from a photo's Exif: DateTimeOriginal first, then
// DateTime; either byte order; nothing from a damaged or missing segment.

#include "lumoimage/ExifDate.h"
#include "JpegFixtures.h"
#include "common/ExifBlob.h"

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

TEST(ExifDate, NoExifSegmentOrNoJpegIsNoDate) {
    EXPECT_FALSE(Read(PlainJpeg()).isValid());
    EXPECT_FALSE(Read(QByteArray("II*\0\x08\0\0\0", 8)).isValid()); // bare TIFF
}

TEST(ExifDate, EveryTruncationIsSafe) {
    // Cut anywhere inside the segment: never a read outside the bytes, and
    // never a date that is not the one stored.
    const QByteArray whole = WithExif(PlainJpeg(), {"2024:05:17 09:30:00", nullptr, false});
    for (int n = 0; n < 120; ++n) {
        const QDateTime date = Read(whole.left(n));
        if (date.isValid()) {
            EXPECT_EQ(date.toString(Qt::ISODate), QStringLiteral("2024-05-17T09:30:00")) << n;
        }
    }
}

} // namespace
