#include "platform/LogFont.h"
#include "platform/ColorRef.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

LOGFONTA Font(int32_t height, int32_t weight = 400) {
    LOGFONTA lf = DefaultLogFont();
    lf.lfHeight = height;
    lf.lfWeight = weight;
    return lf;
}

TEST(LogFontTest, ANegativeHeightIsTheEmAndAPositiveOneTheCell) {
    EXPECT_EQ(LogFontToQFont(Font(-20)).pixelSize(), 20);
    const QFont cell = LogFontToQFont(Font(40));
    const QFontMetrics fm(cell);
    EXPECT_NEAR(fm.ascent() + fm.descent(), 40, 2);
    EXPECT_LT(cell.pixelSize(), 40);
    for (int32_t h : {INT32_MIN, 0, INT32_MAX}) {
        const int px = LogFontToQFont(Font(h)).pixelSize();
        EXPECT_TRUE(px >= 1 && px <= 4000) << h << " gives " << px;
    }
}

// The fields a QFont does not know (escapement, character set) are kept.
TEST(LogFontTest, RoundTripsThroughQFont) {
    LOGFONTA lf = Font(-16, 700);
    lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = 1;
    lf.lfEscapement = 900;
    lf.lfCharSet = 136;
    SetFaceName(lf, QString::fromUtf8("新細明體"));
    EXPECT_EQ(QByteArray(lf.lfFaceName).toHex(), QByteArray("b773b2d3a9fac5e9"));
    const QFont font = LogFontToQFont(lf);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic() && font.underline() && font.strikeOut());
    EXPECT_EQ(font.family(), QString::fromUtf8("新細明體"));
    EXPECT_EQ(QFontToLogFont(font, lf), lf);
    EXPECT_EQ(LogFontToQFont(Font(-16, 0)).weight(), QFont::Normal);

    QFont points(QStringLiteral("Arial"));
    points.setPointSize(12); // 16 pixels on a 96-dpi Windows screen
    EXPECT_EQ(QFontToLogFont(points).lfHeight, -16);
}

TEST(ColorRefTest, IsRedInTheLowByte) {
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(ColorRefToQColor(0x00563412), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(QColorToColorRef(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_EQ(ColorRefToQColor(0xFF0000FF), QColor(255, 0, 0)); // high byte unused
}

} // namespace
