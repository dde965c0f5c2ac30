#include "platform/Cp950.h"
#include "common/TestSupport.h"
#include "platform/Cp950Edit.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct CutCase {
    const char* bytes;
    size_t max;
    size_t expected;
};

class Cp950CutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(Cp950CutTest, NeverSplitsATwoByteCharacter) {
    const CutCase& c = GetParam();
    EXPECT_EQ(cp950::CutLength(c.bytes, std::strlen(c.bytes), c.max), c.expected)
        << QByteArray(c.bytes).toHex().constData() << " cut to " << c.max;
}

INSTANTIATE_TEST_SUITE_P(Cuts, Cp950CutTest,
                         ::testing::Values(CutCase{"abc", 2, 2}, CutCase{"abc", 5, 3},
                                           // "一二" is A4 40 A4 47
                                           CutCase{"\xA4\x40\xA4\x47", 3, 2},
                                           CutCase{"\xA4\x40\xA4\x47", 4, 4},
                                           CutCase{"a\xA4\x40", 2, 1},
                                           // a lone lead byte at the very end counts as one byte
                                           CutCase{"ab\xA4", 3, 3}, CutCase{"", 4, 0}));

TEST(Cp950Test, RoundTripsChineseAndTheEuroSign) {
    bool ok = false;
    const QByteArray bytes = cp950::FromQString(U("一二三四五 €"), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(bytes.toHex(), QByteArray("a440a447a454a57ca4ad20a3e1"));
    EXPECT_EQ(cp950::ToQString(bytes, &ok), U("一二三四五 €"));
    EXPECT_TRUE(ok);
    EXPECT_FALSE(cp950::CanEncode(U("ŝ")));
}

TEST(Cp950Test, AFieldIsCutAtACharacterBoundaryAndTerminated) {
    char field[4];
    std::memset(field, 'x', sizeof field);
    cp950::CopyToField(field, QByteArray("a\xA4\x40\xA4\x47"));
    EXPECT_EQ(QByteArray(field, 4), QByteArray("a\xA4\x40\0", 4));
    const char full[3] = {'a', 'b', 'c'}; // read no further than the field
    EXPECT_EQ(cp950::FieldBytes(full), QByteArray("abc"));
}

// What the user types is limited by the bytes it takes in the record.
TEST(Cp950EditTest, TypingStopsAtTheByteLimitWithoutSplittingACharacter) {
    Cp950LineEdit line(9);
    TypeText(&line, U("ab中文字句x")); // 句 would make 10 bytes
    EXPECT_EQ(line.text(), U("ab中文字x"));
    Cp950LineEdit other(18);
    TypeText(&other, U("aŝb")); // no CP950 form
    EXPECT_EQ(other.text(), U("ab"));

    Cp950TextEdit text(5);
    QSignalSpy edited(&text, &Cp950TextEdit::textEdited);
    TypeText(&text, U("ab"));
    QTest::keyClick(&text, Qt::Key_Return); // CR LF: 4 bytes
    TypeText(&text, U("cd"));
    EXPECT_EQ(text.toPlainText(), U("ab\nc"));
    EXPECT_EQ(ToRecordText(text.toPlainText()), QByteArray("ab\r\nc"));
    EXPECT_GE(edited.count(), 4);
    EXPECT_EQ(FittingPrefix(U("ab😀c"), 10), U("ab"));
}

// A record from an old file is shown as it is, and is no user edit.
TEST(Cp950EditTest, TextSetByTheProgramIsShownWholeWithoutAnEditSignal) {
    Cp950LineEdit line(18);
    QSignalSpy lineEdited(&line, &QLineEdit::textEdited);
    line.setText(U("0123456789012345678")); // 19 bytes
    EXPECT_EQ(line.text().size(), 19);
    Cp950TextEdit text(253);
    QSignalSpy textEdited(&text, &Cp950TextEdit::textEdited);
    text.SetText(FromRecordText(QByteArray("a\r\nb")));
    EXPECT_EQ(text.toPlainText(), U("a\nb"));
    EXPECT_EQ(lineEdited.count() + textEdited.count(), 0);
}

} // namespace
