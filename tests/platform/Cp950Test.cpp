#include "platform/Cp950.h"

#include <gtest/gtest.h>

namespace {

struct CutCase {
    const char* bytes;
    size_t max;
    size_t expected;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << QByteArray(c.bytes).toHex().constData() << " max " << c.max;
}

class Cp950CutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(Cp950CutTest, NeverSplitsATwoByteCharacter) {
    const CutCase& c = GetParam();
    EXPECT_EQ(cp950::CutLength(c.bytes, std::strlen(c.bytes), c.max), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, Cp950CutTest,
    ::testing::Values(CutCase{"abc", 2, 2}, CutCase{"abc", 5, 3},
                      // "一二" is A4 40 A4 47
                      CutCase{"\xA4\x40\xA4\x47", 3, 2}, CutCase{"\xA4\x40\xA4\x47", 4, 4},
                      CutCase{"a\xA4\x40", 2, 1}, CutCase{"a\xA4\x40", 1, 1},
                      // a lone lead byte at the very end counts as one byte
                      CutCase{"ab\xA4", 3, 3}, CutCase{"", 4, 0}));

TEST(Cp950Test, RoundTripsChineseAndTheEuroSign) {
    const QString text = QString::fromUtf8("一二三四五 €");
    bool ok = false;
    const QByteArray bytes = cp950::FromQString(text, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(bytes.toHex(), QByteArray("a440a447a454a57ca4ad20a3e1"));
    EXPECT_EQ(cp950::ToQString(bytes, &ok), text);
    EXPECT_TRUE(ok);
}

TEST(Cp950Test, ReportsCharactersWithoutACp950Form) {
    EXPECT_FALSE(cp950::CanEncode(QString::fromUtf8("😀")));
    EXPECT_FALSE(cp950::CanEncode(QString::fromUtf8("ŝ")));
    EXPECT_TRUE(cp950::CanEncode(QString::fromUtf8("abc 新信息")));
}

TEST(Cp950Test, CopyToFieldTerminatesAndCutsAtACharacterBoundary) {
    char field[4];
    std::memset(field, 'x', sizeof field);
    cp950::CopyToField(field, QByteArray("a\xA4\x40\xA4\x47"));
    EXPECT_EQ(QByteArray(field, 4), QByteArray("a\xA4\x40\0", 4));
    EXPECT_EQ(cp950::FieldBytes(field), QByteArray("a\xA4\x40"));
}

TEST(Cp950Test, FieldBytesStopsAtTheFieldEnd) {
    const char field[3] = {'a', 'b', 'c'};
    EXPECT_EQ(cp950::FieldBytes(field), QByteArray("abc"));
}

} // namespace
