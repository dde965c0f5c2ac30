#include "canvas/WrapNoteText.h"

#include "platform/Cp950.h"

#include <gtest/gtest.h>

namespace {

// Every one-byte character is 6 pixels wide and every two-byte one 12, so
// the wrap width of five CJK characters is 60.
int FixedWidth(const char* bytes, int len) {
    int w = 0;
    for (int i = 0; i < len;) {
        const bool wide = static_cast<unsigned char>(bytes[i]) >= 0xA0;
        w += wide ? 12 : 6;
        i += wide ? 2 : 1;
    }
    return w;
}

QByteArray Cp(const char* utf8) {
    return cp950::FromQString(QString::fromUtf8(utf8));
}

struct WrapCase {
    const char* text;
    std::vector<const char*> lines;
    int widest;
};

class WrapExamples : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapExamples, BreaksAsTheNoteShowsThem) {
    const WrappedText out = WrapNoteText(Cp(GetParam().text), FixedWidth, 60);
    std::vector<QByteArray> expected;
    for (const char* l : GetParam().lines)
        expected.push_back(Cp(l));
    EXPECT_EQ(out.lines, expected);
    EXPECT_EQ(out.widest, GetParam().widest);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrapExamples,
    ::testing::Values(WrapCase{"aaaa bbbb cc dd", {"aaaa bbbb ", "cc dd"}, 60},
                      WrapCase{"abcdefghijk", {"abcdefghij", "k"}, 60},
                      WrapCase{"中文abcdefghij", {"中文", "abcdefghij"}, 60},
                      WrapCase{"ab d中文字句子", {"ab d中文字", "句子"}, 60},
                      WrapCase{"aaaaaaaaaa b", {"aaaaaaaaaa", " b"}, 60},
                      WrapCase{"一二三四五六", {"一二三四五", "六"}, 60}, WrapCase{"", {""}, 0},
                      WrapCase{"ab\r\ncd", {"ab", "cd"}, 12}, WrapCase{"ab\r\n", {"ab", ""}, 12},
                      // A space that overflows starts the next line.
                      WrapCase{"aaaaaaaaaa  x", {"aaaaaaaaaa", "  x"}, 60},
                      // A lone carriage return at the end still gives the empty line.
                      WrapCase{"ab\r", {"ab", ""}, 12}));

TEST(WrapNoteText, LeadByteAtTheVeryEndIsOnePiece) {
    QByteArray text("abc");
    text.append('\xA4');
    const WrappedText out = WrapNoteText(text, FixedWidth, 60);
    ASSERT_EQ(out.lines.size(), 1u);
    EXPECT_EQ(out.lines[0], text);
}

TEST(WrapNoteText, BreakPointIsNotResetWhenALineEnds) {
    // The break after "a " stays the latest opportunity after the first wrap;
    // it lies before the new line's start, so the next overflow splits plainly.
    const WrappedText out = WrapNoteText(QByteArray("a bbbbbbbbbbbbbbbbbbbbbb"), FixedWidth, 60);
    const std::vector<QByteArray> expected{"a ", "bbbbbbbbbb", "bbbbbbbbbb", "bb"};
    EXPECT_EQ(out.lines, expected);
}

TEST(WrapNoteText, WordBreakWidthsAreMeasuredAsWholeStrings) {
    // A measure that kerns: a run is one pixel narrower than its pieces.
    auto kerned = [](const char*, int len) { return len == 1 ? 6 : 6 * len - 1; };
    const WrappedText out = WrapNoteText(QByteArray("aaaa bbbbbb"), kerned, 60);
    ASSERT_EQ(out.lines.size(), 2u);
    EXPECT_EQ(out.lines[0], QByteArray("aaaa "));
    EXPECT_EQ(out.widest, 6 * 6 - 1); // "bbbbbb" measured at the break: 35
}

} // namespace
