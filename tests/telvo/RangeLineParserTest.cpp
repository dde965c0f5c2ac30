#include "telvo/RangeLineParser.h"
#include "telvo/TelvoComm.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

void PrintTo(const RangeEvent& e, std::ostream* os) {
    *os << "{" << e.code << ", " << e.value << "}";
}

namespace {

constexpr int16_t D = kRangeEventDistance;
constexpr int16_t K = kRangeEventKey;

struct StreamCase {
    const char* name;
    std::string bytes;
    std::vector<RangeEvent> expected;
    size_t dropped;
};

void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.name;
}

class RangeLineParserStreamTest : public ::testing::TestWithParam<StreamCase> {};

TEST_P(RangeLineParserStreamTest, GivesTheEventsOfWellFormedLinesOnly) {
    const StreamCase& c = GetParam();
    RangeLineParser parser;
    EXPECT_EQ(parser.Feed(c.bytes), c.expected);
    EXPECT_EQ(parser.DroppedLines(), c.dropped);
    EXPECT_EQ(parser.PendingBytes(), 0u);
}

TEST_P(RangeLineParserStreamTest, GivesTheSameEventsFedOneByteAtATime) {
    const StreamCase& c = GetParam();
    RangeLineParser parser;
    std::vector<RangeEvent> events;
    for (char byte : c.bytes)
        parser.Feed(&byte, 1, events);
    EXPECT_EQ(events, c.expected);
    EXPECT_EQ(parser.DroppedLines(), c.dropped);
}

const std::string kLongDigits(70, '1');

INSTANTIATE_TEST_SUITE_P(
    Lines, RangeLineParserStreamTest,
    ::testing::Values(
        StreamCase{"distance_lf", "D 2345\n", {{D, 2345}}, 0},
        StreamCase{"distance_cr", "D 2345\r", {{D, 2345}}, 0},
        StreamCase{"distance_crlf", "D 2345\r\n", {{D, 2345}}, 0},
        StreamCase{"negative", "D -7\n", {{D, -7}}, 0},
        StreamCase{"plus_sign_and_zeros", "D +0012\n", {{D, 12}}, 0},
        StreamCase{"zero", "D 0\n", {{D, 0}}, 0},
        StreamCase{"keys", "K 6\nK 8\n", {{K, 6}, {K, 8}}, 0},
        StreamCase{"other_key_passes", "K 3\n", {{K, 3}}, 0},
        StreamCase{"blanks_around", "  \tD \t 15 \t\r\n", {{D, 15}}, 0},
        StreamCase{"int32_max", "D 2147483647\n", {{D, 2147483647}}, 0},
        StreamCase{"int32_min", "D -2147483648\n", {{D, INT32_MIN}}, 0},
        StreamCase{"int32_max_plus_one", "D 2147483648\n", {}, 1},
        StreamCase{"int32_min_minus_one", "D -2147483649\n", {}, 1},
        StreamCase{"huge", "D 99999999999999999999\n", {}, 1},
        StreamCase{"empty_and_blank_lines", "\n\r\n\r\r  \t\nD 1\n\n", {{D, 1}}, 0},
        StreamCase{
            "mixed_terminators", "D 1\rK 8\nD 2\r\nD 3\n\r", {{D, 1}, {K, 8}, {D, 2}, {D, 3}}, 0},
        StreamCase{"lower_case_kind", "d 5\nk 8\n", {}, 2},
        StreamCase{"no_blank_after_kind", "D5\n", {}, 1}, StreamCase{"kind_only", "D\nD \n", {}, 2},
        StreamCase{"sign_only", "D -\nD +\n", {}, 2},
        StreamCase{"two_signs", "D --5\nD +-5\n", {}, 2},
        StreamCase{"fraction", "D 12.5\nD 1,5\n", {}, 2},
        StreamCase{"unit_suffix", "D 2345mm\nD 2345 mm\n", {}, 2},
        StreamCase{"two_numbers", "D 1 2\n", {}, 1},
        StreamCase{"unknown_kind", "X 5\nDD 5\n", {}, 2},
        StreamCase{"garbage_between_good_lines", "D 1\n#$%^&*\nK 6\n", {{D, 1}, {K, 6}}, 1},
        StreamCase{"nul_inside_line", std::string("D 1\0\n", 5), {}, 1},
        StreamCase{"binary_junk", std::string("\0\xff\x80\x01\x02\nD 9\n", 10), {{D, 9}}, 1},
        StreamCase{"longest_line_kept", "D " + std::string(62, '0') + "\n", {{D, 0}}, 0},
        StreamCase{"overlong_line_dropped", "D " + std::string(63, '0') + "\nD 4\n", {{D, 4}}, 1},
        StreamCase{"overlong_digits", "D " + kLongDigits + "\rK 8\r", {{K, 8}}, 1},
        StreamCase{
            "overlong_junk_with_good_tail", std::string(500, 'x') + "D 5\nD 6\n", {{D, 6}}, 1}),
    [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.name); });

TEST(RangeLineParserTest, APartialLineWaitsForItsTerminator) {
    RangeLineParser parser;
    EXPECT_TRUE(parser.Feed("D 23").empty());
    EXPECT_EQ(parser.PendingBytes(), 4u);
    EXPECT_TRUE(parser.Feed("45").empty());
    EXPECT_EQ(parser.Feed("\r\nK "), (std::vector<RangeEvent>{{D, 2345}}));
    EXPECT_EQ(parser.Feed("8\n"), (std::vector<RangeEvent>{{K, 8}}));
    EXPECT_EQ(parser.PendingBytes(), 0u);
}

TEST(RangeLineParserTest, AnOverlongLineStaysDroppedAcrossFeeds) {
    RangeLineParser parser;
    // The tail of an overlong line must not pass for a line of its own.
    EXPECT_TRUE(parser.Feed(std::string(64, ' ')).empty());
    EXPECT_TRUE(parser.Feed("x").empty());
    EXPECT_TRUE(parser.Feed("D 5").empty());
    EXPECT_EQ(parser.PendingBytes(), 0u);
    EXPECT_TRUE(parser.Feed("\n").empty());
    EXPECT_EQ(parser.Feed("D 5\n"), (std::vector<RangeEvent>{{D, 5}}));
    EXPECT_EQ(parser.DroppedLines(), 1u);
}

} // namespace
