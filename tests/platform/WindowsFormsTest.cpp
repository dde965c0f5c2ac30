// The Windows forms the photo-info file stores: CP950 text, LOGFONT fonts,
// COLORREF colours.
#include "common/TestSupport.h"
#include "platform/ColorRef.h"
#include "platform/Cp950.h"
#include "platform/Cp950Edit.h"
#include "platform/LogFont.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <tuple>

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(Cp950Test, RoundTripsChineseAndTheEuroSign) {
    bool ok = false;
    const QByteArray bytes = cp950::FromQString(U("一二三四五 €"), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(bytes.toHex(), QByteArray("a440a447a454a57ca4ad20a3e1"));
    EXPECT_EQ(cp950::ToQString(bytes, &ok), U("一二三四五 €"));
    EXPECT_TRUE(ok);
    cp950::FromQString(U("ŝ"), &ok);
    EXPECT_FALSE(ok);
}

// "一二" is A4 40 A4 47; a lone lead byte at the very end counts as one byte.
TEST(Cp950Test, CutsNeverSplitATwoByteCharacter) {
    const std::tuple<const char*, size_t, size_t> cuts[] = {
        {"abc", 2, 2},       {"abc", 5, 3},    {"\xA4\x40\xA4\x47", 3, 2},
        {"a\xA4\x40", 2, 1}, {"ab\xA4", 3, 3}, {"", 4, 0}};
    for (const auto& [bytes, max, expected] : cuts)
        EXPECT_EQ(cp950::CutLength(bytes, std::strlen(bytes), max), expected)
            << QByteArray(bytes).toHex().constData() << " cut to " << max;
    char field[4];
    std::memset(field, 'x', sizeof field);
    cp950::CopyToField(field, QByteArray("a\xA4\x40\xA4\x47")); // cut and terminated
    EXPECT_EQ(QByteArray(field, 4), QByteArray("a\xA4\x40\0", 4));
    const char full[3] = {'a', 'b', 'c'}; // read no further than the field
    EXPECT_EQ(cp950::FieldBytes(full), QByteArray("abc"));
}

// What the user types is limited by the bytes it takes in the record (the
// panel's edit boxes, a line break taking two bytes, are tested through the
// window in tests/dialog/PanelTest.cpp); what reaches the line another way (a
// text dropped on it) is held to the limit by its validator. A record from an
// old file is shown whole, and is no user edit.
TEST(Cp950EditTest, TypingStopsAtTheByteLimitWithoutSplittingACharacter) {
    Cp950LineEdit line(9);
    Cp950TextEdit text(5);
    QSignalSpy lineEdited(&line, &QLineEdit::textEdited);
    QSignalSpy textEdited(&text, &Cp950TextEdit::textEdited);
    line.setText(U("0123456789"));
    text.SetText(FromRecordText(QByteArray("a\r\nbcde")));
    EXPECT_EQ(line.text(), U("0123456789"));
    EXPECT_EQ(text.toPlainText(), U("a\nbcde"));
    EXPECT_EQ(lineEdited.count() + textEdited.count(), 0);

    line.clear();
    TypeText(&line, U("ab中文字句x")); // 句 would make 10 bytes
    EXPECT_EQ(line.text(), U("ab中文字x"));
    EXPECT_EQ(FittingPrefix(U("ab😀c"), 10), U("ab"));
    const Cp950ByteValidator validator(9, nullptr);
    QString nine = U("中文字句x"), ten = U("中文字句xy");
    int at = 0;
    EXPECT_EQ(validator.validate(nine, at), QValidator::Acceptable);
    EXPECT_EQ(validator.validate(ten, at), QValidator::Invalid);
}

// A negative height is the em, a positive one the cell, and any other still a
// size that can be drawn; the fields a QFont does not know (escapement,
// character set) are kept through it; weight 0 is the normal weight.
TEST(LogFontTest, RoundTripsThroughQFont) {
    LOGFONTA lf = DefaultLogFont();
    for (int32_t h : {INT32_MIN, 0, INT32_MAX}) {
        lf.lfHeight = h;
        const int px = LogFontToQFont(lf).pixelSize();
        EXPECT_TRUE(px >= 1 && px <= 4000) << h << " gives " << px;
    }
    lf.lfHeight = 40;
    lf.lfWeight = 0;
    const QFontMetrics cell(LogFontToQFont(lf));
    EXPECT_NEAR(cell.ascent() + cell.descent(), 40, 2);
    EXPECT_EQ(LogFontToQFont(lf).weight(), QFont::Normal);
    lf.lfHeight = -16;
    lf.lfWeight = 700;
    lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = 1;
    lf.lfEscapement = 900;
    lf.lfCharSet = 136;
    SetFaceName(lf, QString::fromUtf8("新細明體"));
    EXPECT_EQ(QByteArray(lf.lfFaceName).toHex(), QByteArray("b773b2d3a9fac5e9"));
    const QFont font = LogFontToQFont(lf);
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic() && font.underline() && font.strikeOut());
    EXPECT_EQ(font.family(), QString::fromUtf8("新細明體"));
    EXPECT_EQ(QFontToLogFont(font, lf), lf);
    QFont points(QStringLiteral("Arial"));
    points.setPointSize(12); // 16 pixels on a 96-dpi Windows screen
    EXPECT_EQ(QFontToLogFont(points).lfHeight, -16);
}

TEST(ColorRefTest, IsRedInTheLowByte) {
    EXPECT_EQ(ColorRefToQColor(RGB(0x12, 0x34, 0x56)), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(QColorToColorRef(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_EQ(ColorRefToQColor(0xFF0000FF), QColor(255, 0, 0)); // high byte unused
}

} // namespace
