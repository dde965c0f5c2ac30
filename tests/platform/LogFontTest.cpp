#include "platform/LogFont.h"
#include "platform/ColorRef.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

LOGFONTA Font(int32_t height, int32_t weight = 400) {
    LOGFONTA lf = DefaultLogFont();
    lf.lfHeight = height;
    lf.lfWeight = weight;
    return lf;
}

TEST(LogFontTest, DefaultIsThirteenPixelArial) {
    const LOGFONTA lf = DefaultLogFont();
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfPitchAndFamily, 0x20);
    EXPECT_EQ(QByteArray(lf.lfFaceName), QByteArray("Arial"));
    EXPECT_EQ(lf.lfWidth | lf.lfEscapement | lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfItalic | lf.lfUnderline | lf.lfStrikeOut | lf.lfCharSet, 0);
}

TEST(LogFontTest, ANegativeHeightIsThePixelSizeOfTheEm) {
    EXPECT_EQ(LogFontToQFont(Font(-20)).pixelSize(), 20);
    EXPECT_EQ(LogFontToQFont(Font(-13)).pixelSize(), 13);
}

TEST(LogFontTest, APositiveHeightIsTheCellHeight) {
    const QFont font = LogFontToQFont(Font(40));
    const QFontMetrics fm(font);
    EXPECT_NEAR(fm.ascent() + fm.descent(), 40, 2);
    EXPECT_LT(font.pixelSize(), 40); // the em is smaller than the cell
}

TEST(LogFontTest, ExtremeHeightsGiveAUsableSize) {
    for (int32_t h : {INT32_MIN, -1000000, 0, 1000000, INT32_MAX}) {
        const int px = LogFontToQFont(Font(h)).pixelSize();
        EXPECT_GE(px, 1) << h;
        EXPECT_LE(px, 4000) << h;
    }
}

TEST(LogFontTest, CarriesWeightStyleAndFace) {
    LOGFONTA lf = Font(-16, 700);
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 1;
    SetFaceName(lf, QString::fromUtf8("新細明體"));
    EXPECT_EQ(QByteArray(lf.lfFaceName).toHex(), QByteArray("b773b2d3a9fac5e9"));
    const QFont font = LogFontToQFont(lf);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_TRUE(font.strikeOut());
    EXPECT_EQ(font.family(), QString::fromUtf8("新細明體"));
    EXPECT_EQ(LogFontToQFont(Font(-16, 0)).weight(), QFont::Normal);
    EXPECT_FALSE(LogFontToQFont(Font(-16)).italic());
}

TEST(LogFontTest, BackFromQFontKeepsTheFieldsAQFontDoesNotKnow) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setUnderline(true);
    LOGFONTA base = DefaultLogFont();
    base.lfEscapement = 900;
    base.lfCharSet = 136;
    const LOGFONTA lf = QFontToLogFont(font, base);
    EXPECT_EQ(lf.lfHeight, -17);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfCharSet, 136);
    EXPECT_EQ(QByteArray(lf.lfFaceName), QByteArray("Arial"));

    QFont points(QStringLiteral("Arial"));
    points.setPointSize(12); // 16 pixels on a 96-dpi Windows screen
    EXPECT_EQ(QFontToLogFont(points).lfHeight, -16);
}

TEST(LogFontTest, RoundTripsThroughQFont) {
    LOGFONTA lf = Font(-22, 700);
    lf.lfStrikeOut = 1;
    EXPECT_EQ(QFontToLogFont(LogFontToQFont(lf), lf), lf);
}

TEST(ColorRefTest, IsRedInTheLowByte) {
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(GetRValue(0x00563412), 0x12);
    EXPECT_EQ(GetGValue(0x00563412), 0x34);
    EXPECT_EQ(GetBValue(0x00563412), 0x56);
    EXPECT_EQ(ColorRefToQColor(0x00563412), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(QColorToColorRef(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_EQ(QColorToColorRef(QColor::fromHsv(0, 255, 255)), RGB(255, 0, 0));
    // The unused high byte is ignored on the way to a colour.
    EXPECT_EQ(ColorRefToQColor(0xFF0000FF), QColor(255, 0, 0));
}

} // namespace
